// What the level screen tells the rest of the game: the statistics of a
// level (reset when it loads, sent in order when it ends, with the play-time
// timer of the level's play number), every click counted, the end-of-level
// text, whether the level is closing, the pre-level shop asked once, and the
// screen drawn without its customers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/platformevent.h"
#include "tests/shop/leveltesting.h"

namespace {

class ShopWindowLevelTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        WriteAsset("values.xml", "<values><value name=\"current_level\" value=\"1\"/></values>");
    }
};

TEST_F(ShopWindowLevelTest, LoadingALevelResetsItsStatisticsAndStartsThePlayTimeOfItsNumber) {
    TGameState::Get()->SetStateInt("TotalCustomers", 9);
    TGameState::Get()->SetStateInt("TrashUsedItemID", 4);
    records->records.clear();
    int before = ShopWindow::GetPlayNumber();
    screen->LevelSetup();
    int play = ShopWindow::GetPlayNumber();
    EXPECT_EQ(play, before + 1);
    const std::vector<std::string> expected = {
        "LevelNumber=1", "TutorialEnd=-1", "TotalCustomers=0", "TotalCustomersLost=0", "OrderCompleted=0",
        "MenuDeliveryChainPointsEarned=0", "ServiceChainPointsEarned=0", "CashPickupChainPointsEarned=0",
        "DisplayUsed=0", "TrashUsed=0", "TrashUsedItemID=-1", "TotalClicks=0", "TotalValidClicks=0",
        "SweetRewardsEarnedID=-1", "LatestLevelStory=1", "PlayTime_" + std::to_string(play) + "=1",
    };
    std::vector<std::string> keys;
    for (const std::string& record : expected) keys.push_back(record.substr(0, record.find('=')));
    EXPECT_EQ(Only(*records, keys), expected);
    screen->LevelSetup();
    EXPECT_EQ(ShopWindow::GetPlayNumber(), play + 1);
    EXPECT_EQ(State(("PlayTime_" + std::to_string(play + 1)).c_str()), "1");
}

TEST_F(ShopWindowLevelTest, TheMetricsOfALevelGoOutInOrder) {
    screen->LevelSetup();
    SetValue("current_level_total", 612.8f);
    records->records.clear();
    screen->DoMetrics(1, true);
    std::string play = std::to_string(ShopWindow::GetPlayNumber());
    const std::vector<std::string> expected = {
        "PlayTime_" + play + "=0",
        "begin-status=LevelCompleteStory",
        "add-state=LevelNumber",
        "add-timer=PlayTime_" + play,
        "add-value=1",
        "add-timer=DiaryTime_" + play,
        "add-timer=TutorialTime_" + play,
        "add-state=TutorialEnd",
        "add-value=612",
        "add-value=1",
        "add-state=TotalCustomers",
        "add-state=TotalCustomersLost",
        "add-state=OrderCompleted",
        "add-state=MenuDeliveryChainPointsEarned",
        "add-state=ServiceChainPointsEarned",
        "add-state=CashPickupChainPointsEarned",
        "add-state=DisplayUsed",
        "add-state=TrashUsed",
        "add-state=TrashUsedItemID",
        "add-state=TotalClicks",
        "add-state=TotalValidClicks",
        "add-state=SweetRewardsEarnedID",
        "end-status=LevelCompleteStory",
    };
    EXPECT_EQ(records->records, expected);
    records->records.clear();
    screen->DoMetrics(0, false);
    EXPECT_EQ(records->records.at(4), "add-value=0");
    EXPECT_EQ(records->records.at(9), "add-value=0");
}

TEST_F(ShopWindowLevelTest, EveryClickCountsWhetherItHitsASpriteOrNot) {
    screen->LevelSetup();
    for (int click = 0; click < 3; ++click) screen->OnMouseDown(TPoint(5 + 100 * click, 590));
    EXPECT_EQ(State("TotalClicks"), "3");
}

TEST_F(ShopWindowLevelTest, TheEndOfLevelTextIsTheBlurbOfThePassOrTheFailure) {
    screen->LevelSetup();
    EXPECT_STREQ(screen->GetEndlevelText(1).c_str(), "endlevel_blurb_1");
    EXPECT_STREQ(screen->GetEndlevelText(0).c_str(), "endlevel_blurb_2");
    PlayMode(1, 0);
    screen->LevelSetup();
    EXPECT_STREQ(screen->GetEndlevelText(0).c_str(), "endlevel_endless_blurb_1");
}

TEST_F(ShopWindowLevelTest, AStoryLevelClosesWhenItsTimeIsUpAndAnEndlessOneDoesNot) {
    EXPECT_FALSE(screen->IsLevelClosing());
    screen->LevelSetup();
    EXPECT_FALSE(screen->IsLevelClosing());
    timer->SetElapsedTime(149999);
    EXPECT_FALSE(screen->IsLevelClosing());
    timer->SetElapsedTime(150000);
    EXPECT_TRUE(screen->IsLevelClosing());
    PlayMode(1, 0);
    screen->LevelSetup();
    timer->SetElapsedTime(900000);
    EXPECT_FALSE(screen->IsLevelClosing());
}

TEST_F(ShopWindowLevelTest, ThePrelevelShopIsAskedOnceAndItsClosingBringsThePlot) {
    EXPECT_FALSE(screen->LevelNeedsPrelevel());
    screen->RefreshAfterUpgrades();
    EXPECT_FALSE(screen->IsPlotPending());
    WriteAsset("values.xml", "<values><value name=\"current_level\" value=\"4\"/></values>");
    WriteAsset("levels/level04.xml", LevelFile(""));
    screen->LevelSetup();
    EXPECT_TRUE(screen->LevelNeedsPrelevel());
    screen->ReadyForPrelevel();
    Frame();
    EXPECT_FALSE(screen->LevelNeedsPrelevel());
    EXPECT_FALSE(screen->IsPlotPending());
    screen->RefreshAfterUpgrades();
    EXPECT_TRUE(screen->IsPlotPending());
    Frame();
    EXPECT_FALSE(screen->IsPlotPending());
}

TEST_F(ShopWindowLevelTest, DrawingWithoutCustomersLeavesThemAsTheyWere) {
    StartLevel();
    ASSERT_EQ(screen->GetActiveCustomers().size(), 1u);
    std::shared_ptr<VCustomer> kid = screen->GetActiveCustomers().front();
    screen->DrawWithLayers();
    EXPECT_TRUE(kid->IsVisible());
    kid->SetVisible(false);
    screen->DrawWithLayers();
    EXPECT_FALSE(kid->IsVisible());
}

TEST_F(ShopWindowLevelTest, TheScreenGoingTakesTheLevelWithIt) {
    PlayMode(0, 0);
    ReplaceScreen("screen");
    screen->LevelSetup();
    EXPECT_TRUE(VGame::Get()->IsGameLoaded());
    dialog.reset();
    screen = nullptr;
    EXPECT_EQ(ShopWindow::GetCurrent(), nullptr);
    EXPECT_FALSE(VGame::Get()->IsGameLoaded());
}

}  // namespace
