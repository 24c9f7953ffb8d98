// The end of a level: when the story and the endless level end, what the
// result changes in the player's progress and the named values, the score
// submitted, the end dialog it queues, and the endless mode's difficulty
// steps.
#include "game/shop/levelend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/gamestate.h"
#include "game/floor/customer.h"
#include "game/level/levelmanager.h"
#include "game/level/upgrademanager.h"
#include "game/progression/plotmanager.h"
#include "game/shell/block.h"
#include "online/qmhiscores.h"
#include "tests/shop/shoptesting.h"

namespace {

class LevelEndTest : public LevelScreenTest {
protected:
    int Value(const char* name) { return VValueManager::Get()->GetInt(name, 0); }
    std::shared_ptr<VLevelManager> Levels() { return VLevelManager::Get(); }
    RTimer* Timer(ShopWindow* screen) { return screen->GetLevelTimer(); }

    // Ticks until the level has ended, at most for the time given.
    void TickUntilEnded(ShopWindow* screen, int milliseconds = 5000) {
        for (int waited = 0; waited < milliseconds && !screen->HasLevelEnded(); waited += 16) Tick();
    }
    // The player's unsubmitted local score of the current mode and its game
    // data; -1 without one.
    int LocalScore(std::string* data = nullptr) {
        int score = 0;
        int rank = 0;
        char text[64] = {};
        if (!VGame::Get()->GetHiscores()->GetUserEntry(0, &score, &rank, text, sizeof text)) return -1;
        if (data) *data = text;
        return score;
    }
    int Queued() { return std::stoi(Eval("table.getn(gCommandQueue)")); }
};

TEST_F(LevelEndTest, AStoryLevelWhoseCustomersAreGoneEndsOnceAfterTheWait) {
    ShopWindow* screen = Screen();
    ASSERT_NE(screen, nullptr);
    Start(screen);
    ASSERT_TRUE(screen->GetEndTime().has_value());
    int32_t end = static_cast<int32_t>(*screen->GetEndTime());
    EXPECT_TRUE(screen->IsLevelClosing());
    TickUntilEnded(screen);
    ASSERT_TRUE(screen->HasLevelEnded());
    int32_t waited = Timer(screen)->GetElapsedTime() - end;
    EXPECT_GE(waited, 2001);
    EXPECT_LT(waited, 2001 + 32);
    EXPECT_EQ(Queued(), 1);
    // The tick ends nothing more, and its animation stops.
    EXPECT_FALSE(screen->Animate());
    Tick(200);
    EXPECT_EQ(Queued(), 1);
    EXPECT_TRUE(screen->IsLevelClosing());
    RunQueued();
    EXPECT_EQ(Eval("shown[1]"), "scripts/endlevel.lua");
    EXPECT_EQ(Eval("shown.level_pass"), "endlevel_fail");
    EXPECT_EQ(Eval("shown.level_num"), "1");
    EXPECT_EQ(Eval("shown.level_status"), "0");
}

TEST_F(LevelEndTest, TheStoryEndWaitsForCustomersAndTheDelivery) {
    struct Case {
        const char* name;
        std::string customers;
        bool busy;
        bool timeUp;
        bool ends;
    };
    const std::string late = "<customer><type>walker</type><start>90</start></customer>";
    const std::vector<Case> cases = {
        {"nobody", "", false, false, true},
        {"nobody, delivery busy", "", true, true, false},
        {"one waiting, time up", Customer(), false, true, false},
        {"one to come", late, false, false, false},
        {"one to come, time up", late, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteLevel(1, c.customers);
        ShopWindow* screen = Screen();
        ASSERT_NE(screen, nullptr);
        screen->SetDeliveryBusy(c.busy);
        Start(screen);
        if (c.timeUp) Timer(screen)->SetElapsedTime(60000);
        Tick(3);
        EXPECT_EQ(screen->GetEndTime().has_value(), c.ends);
        TickUntilEnded(screen, 2500);
        EXPECT_EQ(screen->HasLevelEnded(), c.ends);
        dialog->DeleteChildren();
    }
}

TEST_F(LevelEndTest, ALevelEndsOnceTheLastCustomerHasLeftAfterTheTime) {
    WriteLevel(1, Customer());
    ShopWindow* screen = Screen();
    ASSERT_NE(screen, nullptr);
    Start(screen);
    ASSERT_EQ(screen->GetActiveCustomers().size(), 1u);
    Timer(screen)->SetElapsedTime(60000);
    Tick(10);
    EXPECT_FALSE(screen->GetEndTime().has_value());
    // Out of patience, the customer leaves angry.
    screen->GetActiveCustomers().front()->SetPatience(0);
    for (int i = 0; i < 300 && !screen->GetActiveCustomers().empty(); ++i) Tick();
    ASSERT_TRUE(screen->GetActiveCustomers().empty());
    Tick();
    ASSERT_TRUE(screen->GetEndTime().has_value());
    // Set once: the wait counts from the departure.
    uint32_t end = *screen->GetEndTime();
    Tick(5);
    EXPECT_EQ(*screen->GetEndTime(), end);
    TickUntilEnded(screen);
    EXPECT_TRUE(screen->HasLevelEnded());
}

TEST_F(LevelEndTest, TheEndWaitsForTheLevelToBeSetUp) {
    TWindowManager::GetInstance()->RunWindowScript(dialog, "scripts/testlevel.lua");
    ShopWindow* screen = ShopWindow::GetCurrent();
    ASSERT_NE(screen, nullptr);
    Tick(300);
    EXPECT_FALSE(screen->GetEndTime().has_value());
    EXPECT_FALSE(screen->HasLevelEnded());
    EXPECT_EQ(Queued(), 0);
}

TEST_F(LevelEndTest, TheResultSettlesIntoTheProgressAndTheValues) {
    struct Case {
        const char* name;
        int previous;
        int total;
        int status;
        const char* label;
        int completed;
        int mastered;
    };
    const std::vector<Case> cases = {
        {"first pass", 0, 150, 1, "endlevel_pass", 1, 0},
        {"first mastery", 0, 250, 2, "endlevel_master", 1, 1},
        {"replayed pass", 1, 150, 1, "endlevel_pass", 0, 0},
        {"mastery after a pass", 1, 250, 2, "endlevel_master", 0, 1},
        {"mastered again", 2, 260, 2, "endlevel_master", 0, 0},
    };
    // The local table keeps the player's best.
    int best = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Levels()->SetCurrentLevel(1);
        Levels()->SetHighestComplete(c.previous == 0 ? 0 : 1, true);
        Levels()->SetLevelStatus(1, c.previous);
        Levels()->SetCurrentLocationScore(1000);
        ShopWindow* screen = Screen();
        ASSERT_NE(screen, nullptr);
        VValueManager::Get()->SetValue("completed_grytviken", 3, false);
        VValueManager::Get()->SetValue("num_levels_mastered", 2, false);
        VValueManager::Get()->SetValue("total_worth", 5000, false);
        SetValue("current_level_total", static_cast<float>(c.total));
        EXPECT_EQ(Value("current_worth"), 1000);

        screen->EndLevel();
        EXPECT_EQ(Levels()->GetLevelStatus(1), std::max(c.previous, c.status));
        EXPECT_EQ(Value("completed_grytviken"), 3 + c.completed);
        EXPECT_EQ(Value("num_levels_mastered"), 2 + c.mastered);
        EXPECT_EQ(Value("total_worth"), 5000 + c.total);
        EXPECT_EQ(Value("current_worth"), 1000 + c.total);
        // The takings are in the worth now, which the end dialog shows once.
        EXPECT_EQ(Value("current_level_total"), 0);
        EXPECT_EQ(Levels()->GetLocationScore(1), 1000 + c.total);
        EXPECT_EQ(Levels()->GetCurrentLevel(), 2);
        EXPECT_EQ(Levels()->GetHighestComplete(), 1);
        EXPECT_EQ(Value("do_map_transition"), 0);
        std::string data;
        best = std::max(best, 5000 + c.total);
        EXPECT_EQ(LocalScore(&data), best);
        EXPECT_EQ(data, "1");
        RunQueued();
        EXPECT_EQ(Eval("shown.level_pass"), c.label);
        EXPECT_EQ(Eval("shown.level_num"), "1");
        EXPECT_EQ(Eval("shown.level_status"), std::to_string(c.status));
        EXPECT_EQ(TGameState::Get()->GetState("end-status"), TString("LevelCompleteStory"));
        dialog->DeleteChildren();
    }
}

TEST_F(LevelEndTest, AFailureChangesNoTotalsAndSubmitsNothingButSendsItsStatistics) {
    Levels()->SetCurrentLocationScore(1000);
    ShopWindow* screen = Screen();
    ASSERT_NE(screen, nullptr);
    VValueManager::Get()->SetValue("total_worth", 5000, false);
    SetValue("current_level_total", 99);
    TGameState::Get()->SetState("end-status", "");
    screen->EndLevel();
    EXPECT_EQ(Levels()->GetLevelStatus(1), 0);
    EXPECT_EQ(Levels()->GetCurrentLevel(), 1);
    EXPECT_EQ(Value("total_worth"), 5000);
    EXPECT_EQ(Value("current_worth"), 1000);
    EXPECT_EQ(Value("current_level_total"), 0);
    EXPECT_EQ(Value("completed_grytviken"), 0);
    EXPECT_EQ(Levels()->GetLocationScore(1), 1000);
    EXPECT_EQ(LocalScore(), -1);
    EXPECT_EQ(TGameState::Get()->GetState("end-status"), TString("LevelCompleteStory"));
    RunQueued();
    EXPECT_EQ(Eval("shown.level_pass"), "endlevel_fail");
}

TEST_F(LevelEndTest, PassingTheLastLevelOfALocationAsksForTheMap) {
    struct Case {
        int level;
        int transition;
    };
    for (Case c : {Case{10, 1}, Case{2, 0}, Case{60, 0}}) {
        SCOPED_TRACE(c.level);
        Levels()->SetHighestComplete(c.level - 1, true);
        Levels()->SetCurrentLevel(c.level);
        ShopWindow* screen = Screen();
        ASSERT_NE(screen, nullptr);
        SetValue("current_level_total", 150);
        screen->EndLevel();
        EXPECT_EQ(Levels()->GetHighestComplete(), c.level);
        EXPECT_EQ(Value("do_map_transition"), c.transition);
        dialog->DeleteChildren();
    }
}

TEST_F(LevelEndTest, ProgressSurvivesARestart) {
    ShopWindow* screen = Screen();
    ASSERT_NE(screen, nullptr);
    SetValue("current_level_total", 250);
    screen->EndLevel();
    dialog->DeleteChildren();

    ReleaseManagerSingleton<VLevelManager>();
    ReleaseManagerSingleton<VValueManager>();
    VGame::Destroy();
    VGame::Create();
    EXPECT_EQ(Levels()->GetCurrentLevel(), 2);
    EXPECT_EQ(Levels()->GetLevelStatus(1), 2);
    EXPECT_EQ(Value("total_worth"), 250);
    EXPECT_EQ(Value("completed_grytviken"), 1);
    EXPECT_EQ(Value("num_levels_mastered"), 1);
    EXPECT_EQ(Levels()->GetLocationScore(1), 250);
}

TEST_F(LevelEndTest, ACheatEndAndTheTicksAfterItEndTheLevelOnce) {
    ShopWindow* screen = Screen();
    ASSERT_NE(screen, nullptr);
    Start(screen);
    ASSERT_EQ(Eval("DoCheatGame(1, '')"), "");
    EXPECT_TRUE(screen->HasLevelEnded());
    EXPECT_TRUE(screen->IsLevelClosing());
    EXPECT_EQ(Value("completed_grytviken"), 1);
    TickUntilEnded(screen);
    Tick(200);
    EXPECT_EQ(Queued(), 1);
    EXPECT_EQ(Value("completed_grytviken"), 1);
    EXPECT_EQ(Value("total_worth"), 100);
}

// A goal of the level's episode: ten served customers for the first backdrop.

class PlotGoalEndTest : public LevelEndTest {
protected:
    void SetUp() override {
        LevelEndTest::SetUp();
        if (IsSkipped()) return;
        // Made afresh, so it publishes its functions on this test's script.
        ReleaseManagerSingleton<VPlotManager>();
        std::string script = kLevelScript;
        const std::string location = "location_grytviken = {";
        script.replace(script.find(location), location.size(),
                       location + R"( plot = { story_06_goal = { type = "quest", threshold = 10, compare = ">=",
                           compValue = "served_this_level", rewardCategory = "aesthetic", reward = "kBackground1",
                           rewardType = "activate" } },)");
        mScript = script;
        AddFile("scripts/testlevel.lua", mScript);
        AddFile("locations/grytviken/upgrades.xml",
                "<upgrades><upgradetype type=\"aesthetic\"><upgrade name=\"kBackground1\"><cost>1</cost>"
                "<header>hdr_back</header><content>cnt_back</content></upgrade></upgradetype></upgrades>");
        WriteLevel(1, "<plot>story_06_goal</plot>");
        AddStrings({{"quest_complete", "Earned %1% (%2%)"},
                    {"quest_failed", "Missed"},
                    {"hdr_back", "A new backdrop"},
                    {"cnt_back", "brighter walls"}});
        // The episode is told: no plot window opens at the start.
        GetPlayerBinaryBlock("plot_grytviken")->WriteByte(0, 1);
    }
    void TearDown() override {
        ReleaseManagerSingleton<VPlotManager>();
        LevelEndTest::TearDown();
    }

    // Plays the first level to its end with the customers served.
    void PlayServing(int served) {
        ShopWindow* screen = Screen();
        ASSERT_NE(screen, nullptr);
        Start(screen);
        SetValue("current_level_total", 150);
        VValueManager::Get()->SetValue("served_this_level", static_cast<float>(served), false);
        ASSERT_EQ(Eval("DoCheatGame(1, '')"), "");
        ASSERT_TRUE(screen->HasLevelEnded());
    }
    static bool Owned() { return VUpgradeManager::Get()->IsUpgradeOwned("kBackground1", "aesthetic"); }

    std::string mScript;
};

TEST_F(PlotGoalEndTest, AMetGoalIsGrantedOnceAndTold) {
    PlayServing(10);
    EXPECT_TRUE(Owned());
    EXPECT_EQ(Eval("GetPlotMessage()"), "Earned A new backdrop (brighter walls)");
    // A catalogue read afresh forgets the grant; the met goal does not give it again.
    VUpgradeManager::Get()->LoadCatalogue("locations/grytviken/upgrades.xml");
    VPlotManager::Get()->EvaluateQueuedItems();
    EXPECT_FALSE(Owned());
    EXPECT_EQ(Eval("GetPlotMessage()"), "Earned A new backdrop (brighter walls)");
}

TEST_F(PlotGoalEndTest, AMissedGoalGrantsNothingAndSaysSo) {
    PlayServing(9);
    EXPECT_FALSE(Owned());
    EXPECT_EQ(Eval("GetPlotMessage()"), "Missed");
}

// Endless mode.

class EndlessEndTest : public LevelEndTest {
protected:
    void SetUp() override {
        LevelEndTest::SetUp();
        if (IsSkipped()) return;
        VGame::Get()->SetCurrentGameMode(1);
    }
};

TEST_F(EndlessEndTest, AngryCustomersUpToTheLimitEndTheLevel) {
    struct Case {
        int angry;
        int limit;  // 0: undeclared
        bool ends;
    };
    for (Case c : {Case{4, 0, false}, Case{5, 0, true}, Case{6, 7, false}, Case{7, 7, true}}) {
        SCOPED_TRACE(std::to_string(c.angry) + " of " + std::to_string(c.limit));
        ShopWindow* screen = Screen();
        ASSERT_NE(screen, nullptr);
        ASSERT_TRUE(screen->IsEndlessMode());
        Start(screen);
        if (c.limit > 0) SetValue("angry_customer_limit", static_cast<float>(c.limit));
        SetValue("angry_this_level", static_cast<float>(c.angry));
        Tick();
        EXPECT_EQ(screen->GetEndTime().has_value(), c.ends);
        dialog->DeleteChildren();
    }
}

TEST_F(EndlessEndTest, TheEndRecordsTheTimeAndSubmitsTheWorthWithoutSaving) {
    ShopWindow* screen = Screen();
    ASSERT_NE(screen, nullptr);
    Start(screen);
    Timer(screen)->SetElapsedTime(125400);
    SetValue("current_worth", 777);
    SetValue("total_worth", 40);
    SetValue("angry_this_level", 5);
    TickUntilEnded(screen);
    ASSERT_TRUE(screen->HasLevelEnded());
    int seconds = Timer(screen)->GetElapsedTime() / 1000;
    EXPECT_EQ(Value("endless_time"), seconds);
    std::string data;
    EXPECT_EQ(LocalScore(&data), 777);
    EXPECT_EQ(data, std::to_string(seconds));
    RunQueued();
    EXPECT_EQ(Eval("shown[1]"), "scripts/endlevel.lua");
    EXPECT_EQ(Eval("shown.level_pass"), "endlevel_endless");
    EXPECT_EQ(Eval("shown.time"), Timer(screen)->GetText().c_str());
    EXPECT_EQ(Eval("shown.level_status"), "0");
    // Nothing was saved: a reload gives the stored worth back.
    LoadManagedValues();
    EXPECT_EQ(Value("total_worth"), 0);
}

TEST_F(EndlessEndTest, TheLevelStepsUpAtItsThresholdAtMostEveryQuarterSecond) {
    ShopWindow* screen = Screen();
    ASSERT_NE(screen, nullptr);
    Start(screen);
    SetValue("endless_threshold_1", 0.5f);
    SetValue("endless_threshold_2", 0.0f);
    Timer(screen)->SetElapsedTime(29000);
    Tick(20);
    EXPECT_EQ(Levels()->GetCurrentLevel(), 1);
    Timer(screen)->SetElapsedTime(30000);
    Tick();
    EXPECT_EQ(Levels()->GetCurrentLevel(), 2);
    Tick(10);
    EXPECT_EQ(Levels()->GetCurrentLevel(), 2);
    Tick(10);
    EXPECT_EQ(Levels()->GetCurrentLevel(), 3);
    // A level without its threshold stays.
    Tick(40);
    EXPECT_EQ(Levels()->GetCurrentLevel(), 3);
}

TEST_F(EndlessEndTest, TheTenthLevelOfABlockTakesNoStep) {
    ShopWindow* screen = Screen();
    ASSERT_NE(screen, nullptr);
    Start(screen);
    SetValue("endless_threshold_0", 0.0f);
    SetValue("endless_threshold_10", 0.0f);
    Levels()->SetCurrentLevel(10);
    Tick(40);
    EXPECT_EQ(Levels()->GetCurrentLevel(), 10);
}

}  // namespace
