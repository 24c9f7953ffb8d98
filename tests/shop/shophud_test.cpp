// The level's HUD: the clock set up from the level's time limit and its
// sweep, the takings against the goal and mastery scores on the gauge and
// the dial, endless mode's angry customers against their limit, the clock
// stopped while the floor is paused or a tutorial holds the game, and
// shares of nothing that read full rather than as no number.
#include <gtest/gtest.h>

#include <string>

#include "game/level/levelmanager.h"
#include "game/progression/tutorialmanager.h"
#include "game/sprites/spritemanager.h"
#include "tests/shop/leveltesting.h"

namespace {

class ShopHudTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        WriteAsset("levels/goals.xml",
                   "<levelgoals><levelgoal level=\"1\" goal=\"500\" mastery=\"800\"/>"
                   "<levelgoal level=\"2\" goal=\"0\" mastery=\"0\"/>"
                   "<levelgoal level=\"3\" goal=\"300\" mastery=\"300\"/></levelgoals>");
    }

    void LoadLevel(int level, const std::string& file = LevelFile("")) {
        WriteAsset("levels/level0" + std::to_string(level) + ".xml", file);
        WriteAsset("values.xml", "<values><value name=\"current_level\" value=\"" + std::to_string(level) +
                                     "\"/><value name=\"angry_customer_limit\" value=\"8\"/></values>");
        screen->LevelSetup();
    }
};

TEST_F(ShopHudTest, TheClockCountsDownFromTheLevelsTimeAndTheSweepFollows) {
    LoadLevel(1);
    EXPECT_EQ(hud->GetLevelTime(), 150000);
    EXPECT_EQ(timer->GetStartTime(), 150000);
    EXPECT_STREQ(timer->GetText().c_str(), "2:30");
    EXPECT_FLOAT_EQ(sweep->GetValue(), 1.0f);
    EXPECT_FLOAT_EQ(dial->GetValue(), 0.0f);
    EXPECT_EQ(HudText("goal_score"), "$500");
    EXPECT_EQ(HudText("mastery_score"), "$800");
    EXPECT_EQ(HudText("level_name"), "level_abbreviation  1");
    EXPECT_FALSE(hud->FindChildWindow("extension", -1)->IsVisible());
    timer->SetElapsedTime(37500);
    hud->Update();
    EXPECT_NEAR(sweep->GetValue(), 0.75f, 1e-5f);
}

TEST_F(ShopHudTest, TheDialFillsToTheGoalThenFromTheGoalToMastery) {
    const struct {
        int level;
        float total;
        int layer;
        float dial;
    } cases[] = {
        {1, 250, 0, 0.5f}, {1, 500, 1, 0}, {1, 650, 1, 0.5f}, {1, 900, 1, 1},
        // Goals of nothing, or a mastery no higher than the goal, read full.
        {2, 0, 1, 1}, {3, 300, 1, 1}, {3, 100, 0, 1.0f / 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << ", total " << c.total);
        LoadLevel(c.level);
        SetValue("current_level_total", c.total);
        hud->Update();
        EXPECT_EQ(gauge->GetLayer(), c.layer);
        EXPECT_NEAR(dial->GetValue(), c.dial, 1e-5f);
    }
}

TEST_F(ShopHudTest, ALevelWithoutTimeShowsAnEmptySweep) {
    LoadLevel(1, "<level><location>grytviken</location></level>");
    EXPECT_EQ(hud->GetLevelTime(), 0);
    timer->SetElapsedTime(500);
    hud->Update();
    EXPECT_FLOAT_EQ(sweep->GetValue(), 0.0f);
}

TEST_F(ShopHudTest, EndlessModeCountsUpAndShowsTheAngryCustomersAgainstTheirLimit) {
    PlayMode(2, 1);
    hud->PostInit(TWindowStyle(nullptr));
    timer->SetPosition(40, 30);
    LoadLevel(1);
    EXPECT_EQ(gauge->GetLayer(), 2);
    EXPECT_FALSE(hud->FindChildWindow("level_name", -1)->IsVisible());
    EXPECT_EQ(timer->GetStartTime(), 0);
    EXPECT_EQ(HudText("anger_score"), "0/8");
    SetValue("angry_this_level", 3);
    timer->SetElapsedTime(90000);
    hud->Update();
    EXPECT_STREQ(timer->GetText().c_str(), "1:30");
    EXPECT_EQ(HudText("anger_score"), "3/8");
    EXPECT_FLOAT_EQ(dial->GetValue(), 0.375f);
    EXPECT_FLOAT_EQ(sweep->GetValue(), 1.0f);
    SetValue("angry_customer_limit", 0);
    hud->Update();
    EXPECT_FLOAT_EQ(dial->GetValue(), 1.0f);

    // The clock of an endless HUD stands 10 pixels higher.
    ReplaceScreen("screen");
    timer->SetPosition(40, 30);
    hud->PostInit(TWindowStyle(nullptr));
    EXPECT_EQ(timer->GetRect().top, 20);
    EXPECT_EQ(timer->GetRect().left, 40);
}

TEST_F(ShopHudTest, TheClockStopsWhileTheFloorIsPausedOrATutorialHoldsTheGame) {
    LoadLevel(1);
    EXPECT_FALSE(timer->IsRunning());
    hud->Update();
    EXPECT_FALSE(timer->IsRunning());
    screen->GetSpriteManager()->SetPaused(false);
    hud->Update();
    EXPECT_TRUE(timer->IsRunning());
    VTutorialManager::Get()->SetInputAllowed(true);
    hud->Update();
    EXPECT_FALSE(timer->IsRunning());
    VTutorialManager::Get()->SetInputAllowed(false);
    hud->Update();
    EXPECT_TRUE(timer->IsRunning());
}

TEST_F(ShopHudTest, AMissingChildIsNotFed) {
    LoadLevel(1);
    while (!hud->GetChildren().empty()) {
        TWindow* child = hud->GetChildren().front();
        hud->RemoveChild(child);
        delete child;
    }
    SetValue("current_level_total", 600);
    hud->Setup();
    hud->Update();
    EXPECT_EQ(hud->GetGameTimer(), nullptr);
    EXPECT_EQ(screen->GetLevelTimer(), nullptr);
    EXPECT_FALSE(screen->IsLevelClosing());
}

}  // namespace
