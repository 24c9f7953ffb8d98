#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/app/msnzylomhandler.h"
#include "tests/core/app/gamestatefakes.h"

namespace {

// A portal page as host: a recording channel to a live host window.
class PortalTest : public GameStateTest {
protected:
    void SetUp() override {
        GameStateTest::SetUp();
        services.ConnectHost(channel);
    }

    // The texts posted so far, each put together from its 8-byte pieces.
    std::vector<std::string> Events() const {
        std::vector<std::string> events;
        std::string text;
        for (const auto& post : channel.Posts()) {
            char piece[8];
            for (int i = 0; i < 4; ++i) {
                piece[i] = char(post.record.wParam >> (8 * i));
                piece[4 + i] = char(post.record.lParam >> (8 * i));
            }
            const size_t length = strnlen(piece, sizeof piece);
            text.append(piece, length);
            if (length < sizeof piece) {
                events.push_back(text);
                text.clear();
            }
        }
        return events;
    }

    void Set(const char* key, const char* value) { State().SetState(key, value); }
    void HostSays(int number) { State().SetStateInt("windowmessage", number); }
    bool Held() { return State().IsGameHeld(); }

    host::RecordingChannel channel;
};

TEST_F(PortalTest, SessionReadyIsPostedOnceInExactPiecesAndPausesForTheMsnHost) {
    InstallMsnHandler();
    Set("sessionready", "");
    Set("sessionready", "");
    // 29 characters and the NUL; the last piece has zeros after the NUL.
    const std::vector<host::Record> expected = {
        {0x400, 0x73736553, 0x526E6F69},  // "Sess" "ionR"
        {0x400, 0x79646165, 0x643C2228},  // "eady" "(\"<d"
        {0x400, 0x3E617461, 0x61642F3C},  // "ata>" "</da"
        {0x400, 0x223E6174, 0x00000029},  // "ta>\"" ")"
    };
    std::vector<host::Record> records;
    for (const auto& post : channel.Posts()) {
        EXPECT_EQ(post.window, kHost);
        records.push_back(post.record);
    }
    EXPECT_EQ(records, expected);
    EXPECT_EQ(Events(), std::vector<std::string>{"SessionReady(\"<data></data>\")"});
    EXPECT_TRUE(Held());
    EXPECT_EQ(services.calls, (std::vector<std::string>{"ShowSystemCursor(0)", "SetArrowCursor"}));
}

TEST_F(PortalTest, HostPauseCountsFromTheFirstMessageFourAndRestoresTheCursor) {
    InstallMsnHandler();
    timer.Set(1000);
    HostSays(4);
    timer.Set(3000);
    HostSays(4);
    EXPECT_TRUE(Held());
    timer.Set(4000);
    HostSays(5);
    EXPECT_FALSE(Held());
    EXPECT_EQ(GetHostPausedTime(), 3000u);
    EXPECT_EQ(services.calls, (std::vector<std::string>{"ShowSystemCursor(0)", "SetArrowCursor", "RestoreCursor",
                                                        "ShowSystemCursor(1)", "UpdateSystemCursor"}));
    // Each of 6, 9 and 10 ends a pause too; the total grows by each.
    for (int ender : {6, 9, 10}) {
        HostSays(4);
        timer.Advance(100);
        HostSays(ender);
        EXPECT_FALSE(Held()) << ender;
    }
    EXPECT_EQ(GetHostPausedTime(), 3300u);
}

TEST_F(PortalTest, HostPauseDuringTheGamesOwnPauseLeavesTheCursorAlone) {
    InstallZylomHandler();
    Set("pause", "1");
    HostSays(4);
    HostSays(5);
    EXPECT_TRUE(services.calls.empty());
}

TEST_F(PortalTest, MessageFourReleasesTheMouseOnlyWhenPortalHostedAndCaptured) {
    InstallMsnHandler();
    services.captured = true;
    HostSays(4);
    EXPECT_EQ(services.calls.front(), "ShowSystemCursor(0)");
    HostSays(5);
    services.calls.clear();
    services.hosted = true;
    HostSays(4);
    EXPECT_EQ(services.calls.front(), "ReleaseMouseCapture");
}

TEST_F(PortalTest, SystemModeNamesThePortalAndMsnWinsOverZylom) {
    struct Case {
        bool msn, zylom;
        const char* read;
    } cases[] = {{false, false, "stored"}, {true, false, "msn"}, {false, true, "zylom"}, {true, true, "msn"}};
    for (const Case& c : cases) {
        if (c.msn) InstallMsnHandler();
        if (c.zylom) InstallZylomHandler();
        if (!c.msn && !c.zylom) TGameState::AddHandler(new TMsnZylomHandler());
        Set("systemmode", "stored");
        EXPECT_EQ(std::string(State().GetState("systemmode").c_str()), c.read);
        delete TGameState::Get();
        ResetPortalState();
    }
}

TEST_F(PortalTest, ScoresAreBroadcastAtMostEveryFiveSecondsAcrossTheTickWrap) {
    InstallZylomHandler();
    HostSays(7);  // a new game turns broadcasting on and starts the clock
    for (uint32_t start : {100000u, 0xFFFFF000u}) {
        channel.ClearPosts();
        timer.Set(start);
        Set("score", "10");
        timer.Set(start + 4999);
        Set("score", "11");
        timer.Set(start + 5000);
        Set("score", "12");
        const std::vector<std::string> events = Events();
        ASSERT_EQ(events.size(), 2u) << "from " << start;
        EXPECT_NE(events[0].find("<score>10</score>"), std::string::npos) << events[0];
        EXPECT_NE(events[1].find("<score>12</score>"), std::string::npos) << events[1];
    }
}

TEST_F(PortalTest, ScoreBroadcastCarriesThePortalClockInSeconds) {
    InstallZylomHandler();
    Set("score", "5");
    EXPECT_TRUE(channel.Posts().empty());  // not broadcasting before a new game
    HostSays(7);
    timer.Advance(12345);
    Set("score", "77");
    EXPECT_EQ(Events(), std::vector<std::string>{"ScoreBroadcast(\"<game><score>77</score><time>12</time></game>\")"});
    Set("gameover", "");
    timer.Advance(6000);
    Set("score", "78");
    EXPECT_EQ(Events().back(), "GameEnd(\"<gamedata></gamedata>\")");
}

TEST_F(PortalTest, EventsOfTheGameReachTheHostWithTheirTexts) {
    InstallZylomHandler();
    Set("gamemode", "timed");
    Set("breaknow", "");
    Set("breaknow", "");
    Set("pause", "1");
    Set("pause", "1");
    Set("pause", "0");
    HostSays(7);  // resets the break count
    Set("breaknow", "");
    const std::vector<std::string> expected = {
        "GameReady(\"<data><mode>timed</mode></data>\")",
        "GameBreak(\"<data><breakpoint>1</breakpoint></data>\")",
        "GameBreak(\"<data><breakpoint>2</breakpoint></data>\")",
        "GamePause(\"<data>true</data>\")",
        "GamePause(\"<data>false</data>\")",
        "GameBreak(\"<data><breakpoint>1</breakpoint></data>\")",
    };
    EXPECT_EQ(Events(), expected);
    // Zylom posts with pause never hold the game.
    EXPECT_FALSE(Held());
}

TEST_F(PortalTest, GamePauseIsNotPostedWhileTheHostHoldsTheGame) {
    InstallZylomHandler();
    HostSays(4);
    Set("pause", "1");
    EXPECT_TRUE(channel.Posts().empty());
}

TEST_F(PortalTest, PortalHostedRunsPostNothingAndTurnBroadcastingOn) {
    services.hosted = true;
    InstallMsnHandler();
    Set("sessionready", "");
    EXPECT_TRUE(channel.Posts().empty());
    EXPECT_FALSE(Held());
    // Broadcasting is on: a score goes out (as nothing) and msn sound plays.
    UseSound(0.4f);
    Set("mute", "0");
    EXPECT_FLOAT_EQ(MasterVolume(), 0.4f);
}

TEST_F(PortalTest, WithoutAHostNothingIsPostedAndNothingHoldsTheGame) {
    services.channel = nullptr;
    services.window = host::kNoWindow;
    InstallMsnHandler();
    Set("sessionready", "");
    Set("gamemode", "x");
    EXPECT_FALSE(Held());
    EXPECT_TRUE(services.calls.empty());
}

TEST_F(PortalTest, MsnSoundStaysMutedUntilANewGameTurnsBroadcastingOn) {
    UseSound(0.8f);
    InstallMsnHandler();
    Set("mute", "0");
    EXPECT_FLOAT_EQ(MasterVolume(), 0.0f);
    HostSays(2);
    HostSays(3);
    EXPECT_FLOAT_EQ(MasterVolume(), 0.0f);
    HostSays(7);
    EXPECT_FLOAT_EQ(MasterVolume(), 0.8f);
}

TEST_F(PortalTest, SoundIsMutedWhileAnyPauseOrMuteHolds) {
    UseSound(0.5f);
    InstallZylomHandler();
    struct Step {
        const char* key;
        const char* value;
        float volume;
    } steps[] = {
        {"windowmessage", "2", 0.0f}, {"windowmessage", "3", 0.5f},  // host menu
        {"pause", "1", 0.0f},         {"pause", "0", 0.5f},          // the game's pause
        {"windowmessage", "4", 0.0f}, {"windowmessage", "5", 0.5f},  // host pause
        // The game's mute, taken by the portal: were the game state's own mute
        // to run as well, it would save the silenced volume and restore that.
        {"mute", "1", 0.0f},          {"mute", "0", 0.5f},
    };
    for (const Step& step : steps) {
        Set(step.key, step.value);
        EXPECT_FLOAT_EQ(MasterVolume(), step.volume) << step.key << " " << step.value;
    }
    Set("mute", "1");
    EXPECT_TRUE(State().QueryMuteGame());
}

TEST_F(PortalTest, MenuAndRestartRequestsAreAnsweredOnce) {
    InstallMsnHandler();
    HostSays(8);
    EXPECT_TRUE(State().QueryRestartMode());
    EXPECT_FALSE(State().QueryRestartMode());
    // A new game is a restart unless the menu was asked for before it.
    HostSays(7);
    EXPECT_TRUE(State().QueryRestartMode());
    HostSays(1);
    EXPECT_TRUE(State().QueryJumpToMenu());
    EXPECT_FALSE(State().QueryJumpToMenu());
    HostSays(7);
    EXPECT_FALSE(State().QueryRestartMode());
    HostSays(7);
    EXPECT_TRUE(State().QueryRestartMode());
}

TEST_F(PortalTest, UnknownAndNonNumericHostMessagesDoNothing) {
    InstallMsnHandler();
    for (const char* value : {"99", "-4", "abc", "", "4294967300"}) Set("windowmessage", value);
    EXPECT_FALSE(Held());
    EXPECT_FALSE(State().QueryRestartMode());
    EXPECT_FALSE(State().QueryJumpToMenu());
    EXPECT_TRUE(channel.Posts().empty());
}

TEST_F(PortalTest, OutsideAPortalModeOnlyTheTakenKeysAreTaken) {
    UseSound(0.5f);
    TGameState::AddHandler(new TMsnZylomHandler());
    Set("mute", "1");
    Set("windowmessage", "4");
    Set("sessionready", "");
    Set("gamemode", "x");
    EXPECT_FLOAT_EQ(MasterVolume(), 0.5f);
    EXPECT_FALSE(Held());
    EXPECT_TRUE(channel.Posts().empty());
    EXPECT_EQ(GetHostPausedTime(), 0u);
    EXPECT_FALSE(IsMsnMode());
    EXPECT_FALSE(IsZylomMode());
}

TEST_F(PortalTest, RestartIntervalComesFromTheCommandLineInZylomMode) {
    struct Case {
        const char* line;
        int interval;  // -1: never due
    } cases[] = {
        {"game -com_interval=30", 30},
        {"game -com_interval 2 -zylom", 2},
        {"game -com_interval=0", 0},
        {"game -com_interval=", -1},
        {"game -com_interval", -1},
        {"game -zylom", -1},
        {"game -com_interval=abc", 0},
    };
    for (const Case& c : cases) {
        InstallZylomHandler();
        Set("cmdline", c.line);
        HostSays(7);
        if (c.interval < 0) {
            timer.Advance(1000000);
            EXPECT_EQ(std::string(State().GetState("restartbutton").c_str()), "0") << c.line;
        } else {
            timer.Advance(uint32_t(c.interval + 1) * 1000 - 1);
            EXPECT_EQ(std::string(State().GetState("restartbutton").c_str()), "0") << c.line;
            timer.Advance(1);
            EXPECT_EQ(std::string(State().GetState("restartbutton").c_str()), "1") << c.line;
        }
        delete TGameState::Get();
        ResetPortalState();
    }
}

TEST_F(PortalTest, CommandLineIsIgnoredOutsideZylomMode) {
    InstallMsnHandler();
    Set("cmdline", "game -com_interval=0");
    HostSays(7);
    timer.Advance(5000);
    EXPECT_EQ(std::string(State().GetState("restartbutton").c_str()), "0");
}

}  // namespace
