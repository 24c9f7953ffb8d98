// The game's main routine: the set-up and what it fixes, the session
// records, the handling of each loop event, and the teardown.
#include <string>
#include <vector>

#include "core/app/gamestate.h"
#include "core/app/platformevent.h"
#include "game/level/levelmanager.h"
#include "game/shell/sessionmetrics.h"
#include "game/startup/gamemain.h"
#include "game/transitions/transitionmanager.h"
#include "tests/core/app/recordinghandler.h"
#include "tests/shell/shelltesting.h"

namespace {

// Counts the key presses that reach it.
class KeyWindow : public TWindow {
public:
    bool OnKeyDown(int key, int /*modifiers*/) override {
        keys.push_back(key);
        return true;
    }
    std::vector<int> keys;
};

TPlatformEvent Event(int32_t type, int32_t param = 0) {
    TPlatformEvent event;
    event.type = type;
    event.param = param;
    return event;
}

class GameMainTest : public ShellTest {
protected:
    void TearDown() override {
        GameMainTearDown(mSession);
        ShellTest::TearDown();
    }

    // The handler list owns it; it goes with the game state at teardown.
    RecordingHandler* Record() {
        auto* handler = new RecordingHandler();
        TGameState::AddHandler(handler);
        return handler;
    }

    int Queued() { return std::stoi(Eval("table.getn(gCommandQueue)")); }

    // A game on a display whose focus window counts the keys.
    KeyWindow* StartGameWithFocus() {
        mPlatform->SetDisplay(800, 600, false);
        VGame::Create();
        auto* window = new KeyWindow();
        TWindowManager* manager = TWindowManager::GetInstance();
        manager->GetRootWindow()->AddChild(window, true);
        manager->SetFocus(window);
        return window;
    }

    // True once the platform hands out the quit event.
    bool QuitArrives() {
        for (int i = 0; i < 50; ++i) {
            TPlatformEvent event;
            mPlatform->GetEvent(event);
            if (event.type == TPlatformEvent::kQuit) return true;
            mTimer.Advance(20);
        }
        return false;
    }

    // Scripts are read as memory files: the file index was made with the platform.
    void WriteAsset(const std::string& name, const std::string& text) { AddFile(name, text); }

    TGameSession mSession;
};

TEST_F(GameMainTest, SessionRecordsAreDeclaredInOrder) {
    SetSetting(kSettingVersion, "2.5");
    RecordingHandler* handler = Record();
    DeclareSessionMetrics();
    std::vector<std::string> expected = {
        "SessionTime=1",
        "begin-session=SessionData",
        "add-value=2.5",
        "add-timer=SessionTime",
        "add-timer=StoryModePlayTime",
        "add-timer=MainMenuScreenTime",
        "add-timer=MetaMapScreenTime",
        "add-timer=HelpScreenTime",
        "add-timer=UpgradeScreenTime",
        "add-timer=SweetRewardsScreenTime",
        "end-session=SessionData",
    };
    for (const char* minutes : {"15", "30", "45", "59"}) {
        std::string progress = std::string("Progress-") + minutes;
        expected.push_back(std::string("begin-elapsed(") + minutes + ")=" + progress);
        expected.push_back("add-state=LatestLevelStory");
        expected.push_back("add-timer=StoryModePlayTime");
        expected.push_back(std::string("end-elapsed(") + minutes + ")=" + progress);
    }
    ASSERT_EQ(expected.size(), 27u);
    EXPECT_EQ(handler->records, expected);
}

TEST_F(GameMainTest, StoryTimersFollowTheModeAndThePlay) {
    RecordingHandler* handler = Record();
    VGame* game = VGame::Create();
    game->InsideGame(true);
    game->InsideGame(false);
    game->SetCurrentGameMode(1);
    game->InsideGame(true);
    game->InsideGame(false);
    game->SetCurrentGameMode(0);
    EXPECT_EQ(Only(*handler, {"StoryModeSessionTime", "StoryModePlayTime"}),
              (std::vector<std::string>{"StoryModeSessionTime=1", "StoryModePlayTime=1", "StoryModePlayTime=0",
                                        "StoryModeSessionTime=0", "StoryModeSessionTime=1"}));
}

TEST_F(GameMainTest, PausesAreOfferedOncePerLeavingOfThePlay) {
    struct Case {
        const char* name;
        bool inside;
        std::vector<TPlatformEvent> events;
        int queued;
        bool insideAfter;
        size_t keysReached;
    };
    const Case cases[] = {
        {"deactivation in play", true, {Event(18, 0), Event(18, 0)}, 1, false, 0},
        {"deactivation outside play", false, {Event(18, 0)}, 0, false, 0},
        {"reactivation", true, {Event(18, 1)}, 0, true, 0},
        {"escape twice", true, {Event(11, 27), Event(11, 27)}, 1, false, 2},
        {"another key", true, {Event(11, 65)}, 0, true, 1},
    };
    KeyWindow* window = StartGameWithFocus();
    VGame* game = VGame::Get();
    for (const Case& c : cases) {
        game->InsideGame(c.inside);
        window->keys.clear();
        ASSERT_EQ(Run("gCommandQueue = {}"), "");
        for (const TPlatformEvent& event : c.events) HandleGameEvent(mPlatform.get(), event);
        EXPECT_EQ(Queued(), c.queued) << c.name;
        EXPECT_EQ(game->AreInsideGame(), c.insideAfter) << c.name;
        EXPECT_EQ(window->keys.size(), c.keysReached) << c.name;
    }
}

TEST_F(GameMainTest, ACloseRequestAsksUnlessQuitting) {
    WriteAsset("scripts/quitverify.lua", "verifyRuns = (verifyRuns or 0) + 1\n");
    StartGameWithFocus();
    HandleGameEvent(mPlatform.get(), Event(TPlatformEvent::kCloseRequest));
    EXPECT_EQ(Eval("verifyRuns"), "1");
    ASSERT_EQ(Run("SetQuitting(true)"), "");
    HandleGameEvent(mPlatform.get(), Event(TPlatformEvent::kCloseRequest));
    EXPECT_EQ(Eval("verifyRuns"), "1");
    EXPECT_FALSE(QuitArrives());
}

TEST_F(GameMainTest, ACloseRequestWithoutItsQuestionQuits) {
    StartGameWithFocus();
    HandleGameEvent(mPlatform.get(), Event(TPlatformEvent::kCloseRequest));
    EXPECT_TRUE(mLog.Contains("scripts/quitverify.lua did not run"));
    EXPECT_TRUE(QuitArrives());
}

TEST_F(GameMainTest, AltEnterStoresTheFullScreenStateThePlatformReports) {
    StartGameWithFocus();
    for (bool fullScreen : {true, false}) {
        mPlatform->SetFullScreen(fullScreen);
        Prefs().SetInt(TPrefs::kGlobal, "fullscreen", 7, false);
        HandleGameEvent(mPlatform.get(), Event(TPlatformEvent::kFullScreenToggled));
        EXPECT_EQ(Prefs().GetInt(TPrefs::kGlobal, "fullscreen", -1), mPlatform->IsFullScreen() ? 1 : 0);
    }
}

TEST_F(GameMainTest, SetUpFixesItsSettingsAndMakesTheGame) {
    SetSetting(kSettingGameName, "another");
    SetSetting(kSettingVsync, "0");
    GameMainSetUp(mPlatform.get(), mSession);
    EXPECT_EQ(GetSetting(kSettingGameName, ""), "vandermoot");
    EXPECT_EQ(GetSetting(kSettingVsync, ""), "1");
    ASSERT_NE(VGame::Get(), nullptr);
    EXPECT_NE(VSoundManager::Get(), nullptr);
    EXPECT_TRUE(mPlatform->IsDisplayReady());
    // The first start is full screen.
    EXPECT_TRUE(mPlatform->IsFullScreen());
    EXPECT_NE(RTransitionManager::Get(), nullptr);
    for (const char* windowClass :
         {"TSlider", "RGame", "RScorer", "RAdapt", "RWindow", "RAlert", "RShrinkText", "KSplit9Image", "KBar",
          "VTintWindow", "VSpriteWindow", "VObjectWindow", "ShopWindow"}) {
        EXPECT_EQ(Eval(std::string("type(") + windowClass + ")"), "function") << windowClass;
    }
    EXPECT_TRUE(mLog.Contains("scripts/mainloop.lua did not run"));

    GameMainTearDown(mSession);
    EXPECT_EQ(VGame::Get(), nullptr);
    EXPECT_EQ(VSoundManager::Get(), nullptr);
    EXPECT_EQ(RTransitionManager::Get(), nullptr);
    EXPECT_EQ(VLevelManager::GetIfCreated(), nullptr);
    EXPECT_EQ(mSession.heldAssets, nullptr);
}

TEST_F(GameMainTest, AStoredWindowedModeIsKept) {
    {
        TPrefs prefs(true);
        prefs.SetInt(TPrefs::kGlobal, "fullscreen", 0, true);
    }
    GameMainSetUp(mPlatform.get(), mSession);
    EXPECT_FALSE(mPlatform->IsFullScreen());
}

TEST_F(GameMainTest, TheFirstScreenRunsAsTheMainCoroutine) {
    WriteAsset("scripts/mainloop.lua", "started = true\nreturn function() firstScreen = 'shown' end\n");
    GameMainSetUp(mPlatform.get(), mSession);
    EXPECT_EQ(Eval("started"), "true");
    EXPECT_EQ(Eval("firstScreen"), "shown");
}

TEST_F(GameMainTest, ABrokenFirstScreenIsLoggedAndTheLoopRunsUntilQuit) {
    WriteAsset("scripts/mainloop.lua", "return function( end\n");
    GameMainSetUp(mPlatform.get(), mSession);
    EXPECT_TRUE(mLog.Contains("scripts/mainloop.lua did not run"));
    mPlatform->PostQuit(0);
    GameMainLoop(mPlatform.get());
    EXPECT_NE(VGame::Get(), nullptr);
}

TEST_F(GameMainTest, TeardownWithADialogOpenLeavesNothingBehind) {
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_EQ(Run("PushModal('dialog')"), "");
    ASSERT_EQ(Run("InsideGame(true)"), "");
    GameMainTearDown(mSession);
    EXPECT_EQ(VGame::Get(), nullptr);
    // The dialog's script no longer reaches the game.
    EXPECT_EQ(Eval("type(InsideGame)"), "nil");
}

}  // namespace
