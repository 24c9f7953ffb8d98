// The level manager: goals, results recorded at the end of a level, the
// current and highest level, location scores, and the player's blocks they
// are kept in.
#include <algorithm>

#include "game/level/level.h"
#include "game/level/levelmanager.h"
#include "tests/level/leveltesting.h"

namespace {

class LevelManagerTest : public LevelTestBase {
protected:
    void SetUp() override {
        LevelTestBase::SetUp();
        AddFile("levels/goals.xml",
                "<levelgoals><levelgoal level=\"1\" goal=\"1000\" mastery=\"1500\"/>"
                "<levelgoal level=\"2\" goal=\"2000\" mastery=\"3000\"/><other level=\"3\" goal=\"9\"/>"
                "<levelgoal level=\"4\" goal=\"x\"/></levelgoals>");
        DeclareLevelValues();
    }

    VLevelManager& Levels() { return *VLevelManager::Get(); }

    // Plays the level with the score: its result and counted score.
    std::pair<int, int> Play(int number, int score) {
        Levels().SetCurrentLevelObject(ZqLevel::Create(number, ""));
        int counted = -1;
        int status = Levels().RecordResult(score, counted);
        return {status, counted};
    }

    std::vector<int> Statuses(int first, int last) {
        std::vector<int> statuses;
        for (int level = first; level <= last; ++level) statuses.push_back(Levels().GetLevelStatus(level));
        return statuses;
    }
};

TEST_F(LevelManagerTest, ResultsRiseButNeverFall) {
    StartPlayer();
    struct Step {
        int score;
        int status;
        int counted;
        int stored;
        int best;
        bool replaying;
    };
    const Step steps[] = {
        {1200, 1, 1200, 1, 1200, false},
        {1600, 2, 400, 2, 1600, true},
        {900, 0, 0, 2, 1600, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.score);
        EXPECT_EQ(Play(1, step.score), std::make_pair(step.status, step.counted));
        EXPECT_EQ(Levels().IsReplaying(), step.replaying);
        EXPECT_EQ(Levels().GetLevelStatus(1), step.stored);
        EXPECT_EQ(Levels().GetCurrentResult(), step.stored);
        EXPECT_EQ(Levels().GetBestScore(1), step.best);
        EXPECT_EQ(Stored("level_status").at(0), step.stored);
        EXPECT_EQ(IntAt(Stored("level_best_score"), 0), step.best);
    }
}

TEST_F(LevelManagerTest, WithoutADefinitionOnlyTheBestScoreIsKept) {
    StartPlayer();
    Levels().SetCurrentLevel(2);
    int counted = -1;
    EXPECT_EQ(Levels().RecordResult(5000, counted), 0);
    EXPECT_EQ(counted, -1);
    EXPECT_EQ(Levels().GetLevelStatus(2), 0);
    EXPECT_EQ(Levels().GetBestScore(2), 5000);
}

TEST_F(LevelManagerTest, OnlyACompletedLevelAdvances) {
    StartPlayer();
    EXPECT_EQ(Play(1, 999).first, 0);
    Levels().AdvanceLevel();
    EXPECT_EQ(Levels().GetCurrentLevel(), 1);
    EXPECT_EQ(Levels().GetHighestComplete(), 0);
    EXPECT_EQ(Play(1, 1000).first, 1);
    Levels().AdvanceLevel();
    EXPECT_EQ(Levels().GetCurrentLevel(), 2);
    EXPECT_EQ(Levels().GetHighestComplete(), 1);
    EXPECT_EQ(Eval("GetLastLevelCompleted()"), "1");
}

TEST_F(LevelManagerTest, ForcingALowerHighestLevelClearsTheLevelsAboveIt) {
    StartPlayer();
    Levels().SetLevelStatus(3, 2);
    Levels().SetLevelStatus(7, 2);
    Levels().SetHighestComplete(9, false);
    EXPECT_EQ(Statuses(1, 10), (std::vector<int>{1, 1, 2, 1, 1, 1, 2, 1, 1, 0}));
    // Not forced, a lower level changes nothing.
    Levels().SetHighestComplete(5, false);
    EXPECT_EQ(Levels().GetHighestComplete(), 9);
    Levels().SetHighestComplete(5, true);
    EXPECT_EQ(Levels().GetHighestComplete(), 5);
    EXPECT_EQ(Statuses(1, 10), (std::vector<int>{1, 1, 2, 1, 1, 0, 0, 0, 0, 0}));
    std::vector<uint8_t> stored = Stored("level_status");
    EXPECT_EQ(std::vector<uint8_t>(stored.begin(), stored.begin() + 10),
              (std::vector<uint8_t>{1, 1, 2, 1, 1, 0, 0, 0, 0, 0}));
}

TEST_F(LevelManagerTest, TheSweepStopsAtTheLastLevelWhenTheHighestLevelIsUndeclared) {
    AddFile("values.xml", "<values/>");
    StartPlayer();
    Levels().SetLevelStatus(60, 1);
    Levels().SetLevelStatus(61, 1);
    Levels().SetHighestComplete(59, true);
    EXPECT_EQ(Levels().GetLevelStatus(59), 1);
    EXPECT_EQ(Levels().GetLevelStatus(60), 0);
    EXPECT_EQ(Levels().GetLevelStatus(61), 1);
}

TEST_F(LevelManagerTest, TenLevelsShareALocationScore) {
    StartPlayer();
    const std::pair<int, int> cases[] = {{1, 0}, {10, 0}, {11, 1}, {60, 5}};
    for (const auto& [level, location] : cases) {
        SCOPED_TRACE(level);
        EXPECT_EQ(VLevelManager::GetLocationIndex(level), location);
        Levels().SetLocationScore(level, 100 * level);
        EXPECT_EQ(Levels().GetLocationScore(level), 100 * level);
        EXPECT_EQ(IntAt(Stored("level_score"), static_cast<size_t>(location)), 100 * level);
    }
    EXPECT_EQ(Levels().GetLocationScore(5), 1000);
    Levels().SetCurrentLevel(12);
    EXPECT_EQ(Levels().GetCurrentLocationScore(), 1100);
}

TEST_F(LevelManagerTest, LevelsOutsideTheBlocksAreKeptInMemoryOnly) {
    StartPlayer();
    const char* const blocks[] = {"level_status", "level_best_score", "level_score"};
    std::vector<std::vector<uint8_t>> before;
    for (const char* block : blocks) before.push_back(Stored(block));
    for (int level : {0, -3, 61, 1000, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(level);
        Levels().SetLevelStatus(level, 2);
        Levels().SetBestScore(level, 777);
        Levels().SetLocationScore(level, 55);
        EXPECT_EQ(Levels().GetLevelStatus(level), 2);
        EXPECT_EQ(Levels().GetBestScore(level), 777);
        EXPECT_EQ(Levels().GetLocationScore(level), 55);
    }
    // Level 0 has no location of its own: the first location's score stays.
    EXPECT_EQ(Levels().GetLocationScore(1), 0);
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(Stored(blocks[i]), before[i]) << blocks[i];
}

TEST_F(LevelManagerTest, ScriptsReadGoalsAndTheCurrentLevel) {
    StartPlayer();
    Levels();
    EXPECT_EQ(Eval("GetGoalScore(1)"), "1000");
    EXPECT_EQ(Eval("GetMasteryScore(2)"), "3000");
    // Absent from the goals, or not a number there.
    EXPECT_EQ(Eval("GetGoalScore(33)"), "0");
    EXPECT_EQ(Eval("GetGoalScore(3)"), "0");
    EXPECT_EQ(Eval("GetGoalScore(4)"), "0");
    EXPECT_EQ(Run("SetCurrentLevel(2)"), "");
    EXPECT_EQ(Levels().GetCurrentLevel(), 2);
    EXPECT_EQ(Levels().GetCurrentGoal(), 2000);
    EXPECT_EQ(Eval("GetCurrentLevel()"), "2");
    Play(2, 3000);
    EXPECT_EQ(Eval("GetCurrentResult()"), "2");
    Levels().SetHighestComplete(2, false);
    EXPECT_EQ(Eval("GetHighestComplete()"), "2");
    // A released manager answers 0 and changes nothing.
    ReleaseManagerSingleton<VLevelManager>();
    EXPECT_EQ(Eval("GetCurrentLevel()"), "0");
    EXPECT_EQ(Run("SetCurrentLevel(9)"), "");
    EXPECT_EQ(VValueManager::Get()->GetInt("current_level", 0), 2);
}

TEST_F(LevelManagerTest, AMissingOrMalformedGoalsFileIsLoggedAndGivesNoGoals) {
    const std::pair<const char*, const char*> cases[] = {
        {nullptr, "VLevelManager: cannot read levels/goals.xml"},
        {"<goals><levelgoal level=\"1\" goal=\"5\"/>", "VLevelManager: no \"levelgoals\" element in levels/goals.xml"},
    };
    for (const auto& [xml, logged] : cases) {
        ReleaseManagerSingleton<VLevelManager>();
        RegisterMemoryFile("levels/goals.xml", nullptr, 0);
        if (xml) AddFile("levels/goals.xml", xml);
        EXPECT_EQ(Levels().GetGoalScore(1), 0) << logged;
        EXPECT_TRUE(mLog.Contains(logged)) << logged;
    }
}

TEST_F(LevelManagerTest, ProgressSurvivesANewGameOnTheSamePreferences) {
    StartPlayer();
    Play(1, 1600);
    Levels().AdvanceLevel();
    Play(2, 2500);
    Levels().SetCurrentLocationScore(4100);
    Levels().AdvanceLevel();

    ReleaseManagerSingleton<VLevelManager>();
    ReleaseManagerSingleton<VValueManager>();
    VGame::Destroy();
    VGame::Create();

    EXPECT_EQ(Levels().GetCurrentLevel(), 3);
    EXPECT_EQ(Levels().GetHighestComplete(), 2);
    EXPECT_EQ(Eval("GetLastLevelCompleted()"), "2");
    EXPECT_EQ(Statuses(1, 3), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(Levels().GetBestScore(1), 1600);
    EXPECT_EQ(Levels().GetBestScore(2), 2500);
    EXPECT_EQ(Levels().GetLocationScore(7), 4100);
}

TEST_F(LevelManagerTest, ShortBlocksReadWhatTheyHoldAndGrowWhenWritten) {
    CreateGameWithUser();
    Store("level_status", {2, 1, 1, 0, 0, 0, 0, 0, 0, 1});
    Store("level_best_score", {0x10, 0x27, 0, 0, 0x20});
    Levels().SetLevelStatus(11, 2);
    Levels().SetBestScore(3, 50);
    VGame::Get()->LoadUserProgress();
    EXPECT_EQ(Statuses(1, 12), (std::vector<int>{2, 1, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(Levels().GetBestScore(1), 10000);
    EXPECT_EQ(Levels().GetBestScore(2), 0x20);
    EXPECT_EQ(Levels().GetBestScore(3), 0);

    Levels().SetLevelStatus(20, 1);
    std::vector<uint8_t> stored = Stored("level_status");
    ASSERT_EQ(stored.size(), 60u);
    EXPECT_EQ(stored[0], 2);
    EXPECT_EQ(stored[9], 1);
    EXPECT_EQ(stored[19], 1);
    EXPECT_EQ(std::count(stored.begin(), stored.end(), 0), 55);
}

}  // namespace
