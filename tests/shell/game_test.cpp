// The game object: players and their options, modes and difficulties, the
// progress blocks, the script functions, and the guards against indexes and
// arguments that would reach the wrong table or no number.
#include <functional>

#include "game/shell/blockstore.h"
#include "online/qmhiscores.h"
#include "tests/shell/shelltesting.h"

namespace {

class GameTest : public ShellTest {
protected:
    VGame& Game() { return *VGame::Get(); }

    // Players stored before the game starts, each with a name and a data
    // version ("" leaves the version out).
    void StoreUsers(const std::vector<std::pair<std::string, std::string>>& users, int current) {
        TPrefs prefs(true);
        for (size_t i = 0; i < users.size(); ++i) {
            int user = static_cast<int>(i);
            prefs.SetString(user, "name", users[i].first.c_str(), false);
            if (!users[i].second.empty()) prefs.SetString(user, "userversionnumber", users[i].second.c_str(), false);
        }
        prefs.SetInt(TPrefs::kGlobal, "curuser", current, false);
        prefs.Save();
    }

    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int i = 0; i < Game().GetNumUsers(); ++i) names.push_back(Game().GetUserName(i).c_str());
        return names;
    }

    int StoredCurrent() { return Prefs().GetInt(TPrefs::kGlobal, "curuser", -99); }
};

TEST_F(GameTest, WithoutUsersNoneIsCurrentAndNoProgressLoads) {
    VGame::Create();
    EXPECT_EQ(StoredCurrent(), -1);
    EXPECT_EQ(Game().GetBlocks(), nullptr);
    EXPECT_EQ(Eval("GetScore()"), "0");
    EXPECT_EQ(Eval("GetLastLevelCompleted()"), "0");
    EXPECT_EQ(Eval("GetCurrentUserName()"), "");
}

TEST_F(GameTest, ANewUserCopiesTheCurrentScopesSoundOptionsAndBecomesCurrent) {
    VGame::Create();
    Prefs().SetInt(TPrefs::kGlobal, "soundlevel", 300, false);
    Prefs().SetInt(TPrefs::kGlobal, "soundoff", 1, false);
    EXPECT_EQ(Run("CreateNewUser('Ada')"), "");
    EXPECT_EQ(StoredCurrent(), 0);
    EXPECT_EQ(Prefs().GetInt(0, "soundlevel", 0), 300);
    EXPECT_EQ(Prefs().GetInt(0, "musiclevel", 0), 750);
    EXPECT_EQ(Prefs().GetInt(0, "soundoff", 0), 1);
    EXPECT_EQ(Prefs().GetString(0, "userversionnumber", ""), "1.0");
    EXPECT_EQ(Eval("GetCurrentUserName()"), "Ada");
    // The first user's progress is loaded: every block, the upgrades filled.
    ASSERT_NE(Game().GetBlocks(), nullptr);
    auto upgrades = Game().GetBlocks()->GetBinaryBlock("upgrades_gaberoun");
    ASSERT_NE(upgrades, nullptr);
    EXPECT_EQ(upgrades->GetSize(), 75);
    EXPECT_EQ(upgrades->GetData()[74], 0xFF);
    EXPECT_EQ(Game().GetBlocks()->GetIntBlock("show_tutorials")->GetValue(), 1);
}

TEST_F(GameTest, ProgressBlocksAreRegisteredInTheirOrder) {
    StoreUsers({{"Ada", "1.0"}}, 0);
    VGame::Create();
    const char* const expected[] = {
        "score", "level", "highest_level", "level_status", "level_best_score", "level_score", "show_tutorials",
        "tutorials", "achievements", "upgrades_grytviken", "upgrades_namche", "upgrades_krakatoa",
        "upgrades_kamchatka", "upgrades_iquitos", "upgrades_gaberoun", "plot_value_grytviken", "plot_value_namche",
        "plot_value_krakatoa", "plot_value_kamchatka", "plot_value_iquitos", "plot_value_gaberoun", "plot_grytviken",
        "plot_namche", "plot_krakatoa", "plot_kamchatka", "plot_iquitos", "plot_gaberoun"};
    VBlockStore* blocks = Game().GetBlocks();
    ASSERT_NE(blocks, nullptr);
    for (const char* name : expected) EXPECT_NE(blocks->Find(name), nullptr) << name;
    EXPECT_EQ(blocks->GetBinaryBlock("level_best_score")->GetSize(), 240);
    EXPECT_EQ(blocks->GetBinaryBlock("plot_namche")->GetData()[0], 0);
}

TEST_F(GameTest, StoredProgressIsReadForTheCurrentUser) {
    // The last level completed is the saved named value of the same key.
    AddFile("values.xml", "<values><value name=\"highest_level\" value=\"0\" saved=\"true\"/></values>");
    StoreUsers({{"Ada", "1.0"}, {"Bea", "1.0"}}, 0);
    {
        TPrefs prefs(true);
        prefs.SetInt(1, "score", 4200, false);
        prefs.SetInt(1, "highest_level", 7, true);
    }
    VGame::Create();
    EXPECT_EQ(Eval("GetScore()"), "0");
    EXPECT_EQ(Run("SetCurrentUser(1)"), "");
    EXPECT_EQ(Eval("GetScore()"), "4200");
    EXPECT_EQ(Eval("GetLastLevelCompleted()"), "7");
}

TEST_F(GameTest, DeletingSelectsTheUserBeforeOrTheLastOne) {
    struct Case {
        int users;
        int deleted;
        int current;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {3, 0, 1, {"u1", "u2"}},
        {3, 2, 1, {"u0", "u1"}},
        {1, 0, -1, {}},
    };
    for (const Case& c : cases) {
        VGame::Destroy();
        std::remove((mTemp / "user/prefs.dat").c_str());
        std::vector<std::pair<std::string, std::string>> users;
        for (int i = 0; i < c.users; ++i) users.push_back({std::string("u") += std::to_string(i), "1.0"});
        StoreUsers(users, 0);
        VGame::Create();
        EXPECT_EQ(Run("DeleteUser(" + std::to_string(c.deleted) + ")"), "");
        EXPECT_EQ(StoredCurrent(), c.current) << c.users << " users, deleted " << c.deleted;
        EXPECT_EQ(Names(), c.left);
    }
}

TEST_F(GameTest, DeletingOutsideTheUsersIsRefused) {
    StoreUsers({{"Ada", "1.0"}, {"Bea", "1.0"}}, 1);
    VGame::Create();
    for (const char* index : {"-1", "2", "-7"}) {
        EXPECT_EQ(Run(std::string("DeleteUser(") + index + ")"), "");
        EXPECT_EQ(Names(), (std::vector<std::string>{"Ada", "Bea"})) << index;
        // The global table (user -1) keeps its keys.
        EXPECT_EQ(StoredCurrent(), 1);
    }
    EXPECT_TRUE(mLog.Contains("VGame::DeleteUser: no user -1"));
}

TEST_F(GameTest, ModesAndDifficulties) {
    VGame::Create();
    struct Step {
        std::function<void(VGame&)> act;
        int mode;
        int difficulty;
    };
    const Step steps[] = {
        {[](VGame& g) { g.SetCurrentDifficulty(2); }, 0, 2},  // story keeps its mode
        {[](VGame& g) { g.SetCurrentGameMode(4); }, 0, 2},    // out of range: nothing
        {[](VGame& g) { g.SetCurrentGameMode(-1); }, 0, 2},
        {[](VGame& g) { g.SetCurrentGameMode(0); }, 0, 0},    // a mode resets the difficulty
        {[](VGame& g) { g.SetCurrentGameMode(1); }, 1, 0},
        {[](VGame& g) { g.SetCurrentDifficulty(2); }, 3, 2},  // endless follows the difficulty
        {[](VGame& g) { g.SetCurrentDifficulty(3); }, 3, 2},
        {[](VGame& g) { g.SetCurrentDifficulty(0); }, 1, 0},
    };
    int i = 0;
    for (const Step& step : steps) {
        step.act(Game());
        EXPECT_EQ(Game().GetCurrentGameMode(), step.mode) << "step " << i;
        EXPECT_EQ(Game().GetCurrentDifficulty(), step.difficulty) << "step " << i;
        ++i;
    }
    EXPECT_EQ(Prefs().GetInt(TPrefs::kGlobal, "gamemode", -1), 1);
    EXPECT_EQ(Eval("GetCurrentGameMode()"), "1");
}

TEST_F(GameTest, StoredModeAndUserOutOfRangeFallBack) {
    StoreUsers({{"Ada", "1.0"}}, 5);
    {
        TPrefs prefs(true);
        prefs.SetInt(TPrefs::kGlobal, "gamemode", 9, true);
    }
    VGame::Create();
    EXPECT_EQ(Game().GetCurrentGameMode(), 0);
    // A user that does not exist would take the saves of nobody.
    EXPECT_EQ(StoredCurrent(), -1);
    EXPECT_EQ(Run("SetCurrentUser(0)"), "");
    EXPECT_EQ(StoredCurrent(), 0);
    EXPECT_EQ(Run("SetCurrentUser(3)"), "");
    EXPECT_EQ(StoredCurrent(), 0);
    EXPECT_EQ(Run("SetCurrentUser(-3)"), "");
    EXPECT_EQ(StoredCurrent(), -1);
}

TEST_F(GameTest, StaleUsersAreRemovedAtStartAdjacentOnesToo) {
    StoreUsers({{"old0", ""}, {"keep1", "1.0"}, {"old2", "0.9"}, {"old3", ""}, {"keep4", "1.0"}}, -1);
    VGame::Create();
    EXPECT_EQ(Names(), (std::vector<std::string>{"keep1", "keep4"}));
}

TEST_F(GameTest, NamesAreComparedExactly) {
    StoreUsers({{"Ada", "1.0"}}, 0);
    VGame::Create();
    EXPECT_EQ(Eval("IsNameInUse('Ada')"), "true");
    EXPECT_EQ(Eval("IsNameInUse('ada')"), "false");
    EXPECT_EQ(Eval("IsNameInUse('Ada ')"), "false");
}

TEST_F(GameTest, RenamingWithoutAUserChangesNothing) {
    VGame::Create();
    EXPECT_EQ(Run("ChangeCurrentUserName('Zed')"), "");
    EXPECT_EQ(Prefs().GetString(TPrefs::kGlobal, "name", "absent"), "absent");
}

TEST_F(GameTest, RenamingCarriesAnUnsubmittedLocalScoreToTheNewName) {
    StoreUsers({{"Ada", "1.0"}}, 0);
    VGame::Create();
    Game().SetCurrentGameMode(2);
    ASSERT_TRUE(Game().GetHiscores()->AddLocalScore(1234, true, "level=3", ""));
    EXPECT_EQ(Run("ChangeCurrentUserName('Bea')"), "");
    EXPECT_EQ(Game().GetUserName(0), "Bea");

    // The client now plays as Bea in the current mode, and finds her score.
    int score = 0;
    int rank = 0;
    char data[101] = {};
    ASSERT_TRUE(Game().GetHiscores()->GetUserEntry(0, &score, &rank, data, sizeof data));
    EXPECT_EQ(score, 1234);
    EXPECT_STREQ(data, "level=3");
    // Another mode holds nothing for her.
    Game().SetCurrentGameMode(3);
    EXPECT_FALSE(Game().GetHiscores()->GetUserEntry(0, &score, &rank, data, sizeof data));
}

TEST_F(GameTest, RandomAndRem) {
    VGame::Create();
    struct Case {
        const char* expression;
        const char* result;
    };
    const Case cases[] = {
        {"random(1)", "1"},      {"rem(-1, 3)", "2"}, {"rem(7.5, 2)", "1"}, {"rem(7, -3)", "-2"},
        {"rem(5, 0)", "0"},      {"rem(0, 0)", "0"},  {"random(0)", "0"},   {"random(-4)", "0"},
    };
    for (const Case& c : cases) EXPECT_EQ(Eval(c.expression), c.result) << c.expression;
    EXPECT_TRUE(mLog.Contains("VGame::Random: no number from 1 to 0"));
    for (int i = 0; i < 50; ++i) {
        int drawn = Game().Random(6);
        EXPECT_GE(drawn, 1);
        EXPECT_LE(drawn, 6);
    }
}

TEST_F(GameTest, SoundMuteTogglesTheCurrentUsersOption) {
    StoreUsers({{"Ada", "1.0"}}, 0);
    VGame::Create();
    EXPECT_EQ(Run("ToggleSoundMute()"), "");
    EXPECT_EQ(Prefs().GetInt(0, "soundoff", -1), 1);
    EXPECT_EQ(Run("ToggleSoundMute()"), "");
    EXPECT_EQ(Prefs().GetInt(0, "soundoff", -1), 0);
    EXPECT_EQ(Prefs().GetInt(TPrefs::kGlobal, "soundoff", -1), -1);
}

TEST_F(GameTest, RunFlagsFromScripts) {
    VGame::Create();
    EXPECT_EQ(Eval("AreQuitting()"), "false");
    EXPECT_EQ(Run("SetQuitting(true)"), "");
    EXPECT_EQ(Eval("AreQuitting()"), "true");
    EXPECT_EQ(Run("InsideGame(true)"), "");
    EXPECT_EQ(Eval("AreInsideGame()"), "true");
    EXPECT_EQ(Eval("IsGameLoaded()"), "false");
}

TEST_F(GameTest, DestroyWithdrawsTheScriptFunctions) {
    VGame::Create();
    EXPECT_EQ(Eval("type(GetNumUsers)"), "function");
    VGame::Destroy();
    EXPECT_EQ(VGame::Get(), nullptr);
    for (const char* name : {"ToggleFullScreen", "GetNumUsers", "random", "rem", "LaunchURL"}) {
        EXPECT_EQ(Eval(std::string("type(") + name + ")"), "nil") << name;
    }
}

TEST_F(GameTest, QuitToMainMenuPopsToTheBottomModal) {
    mPlatform->SetDisplay(800, 600, false);
    VGame::Create();
    TWindowManager* manager = TWindowManager::GetInstance();
    TModalWindow* root = manager->GetTopModal();
    ASSERT_NE(root, nullptr);
    manager->PushModal(new TModalWindow());
    manager->PushModal(new TModalWindow());
    EXPECT_EQ(Run("QuitToMainMenu()"), "");
    EXPECT_EQ(manager->GetTopModal(), root);
}

TEST_F(GameTest, QuitToMainMenuStopsAtAModalThatWillNotGo) {
    mPlatform->SetDisplay(800, 600, false);
    VGame::Create();
    TWindowManager* manager = TWindowManager::GetInstance();
    manager->PushModal(new TModalWindow());
    // A root screen made over a dialog has a parent, yet is never popped.
    auto* root = new TModalWindow();
    manager->SetRootWindow(root);
    Game().QuitToMainMenu();
    EXPECT_EQ(manager->GetTopModal(), root);
    EXPECT_TRUE(mLog.Contains("VGame::QuitToMainMenu: modal"));
}

TEST_F(GameTest, FullScreenTogglesAndIsStored) {
    mPlatform->SetDisplay(800, 600, false);
    VGame::Create();
    bool before = mPlatform->IsFullScreen();
    EXPECT_EQ(Eval("ToggleFullScreen()"), "true");
    EXPECT_NE(mPlatform->IsFullScreen(), before);
    EXPECT_EQ(Prefs().GetInt(TPrefs::kGlobal, "fullscreen", -1), mPlatform->IsFullScreen() ? 1 : 0);
}

TEST_F(GameTest, GetIntSettingReadsNumbersWithADefault) {
    SetSetting("count", "42");
    SetSetting("empty", "");
    EXPECT_EQ(GetIntSetting("count", 7), 42);
    EXPECT_EQ(GetIntSetting("empty", 7), 7);
    EXPECT_EQ(GetIntSetting("absent", 7), 7);
}

}  // namespace
