// The game state's steps at the front of the pump: the host window, its
// records, the held game and the full-screen wish of a portal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pumptesting.h"
#include "tests/core/app/gamestatefakes.h"

namespace pumptest {
namespace {

class GameStateStepsTest : public PumpTest {
protected:
    void SetUp() override {
        PumpTest::SetUp();
        mServices.ConnectHost(mChannel);
        SetGameStateServices(&mServices);
        mHandler = new HoldingHandler();
        TGameState::AddHandler(mHandler);
    }

    void TearDown() override {
        ClearGameState();
        PumpTest::TearDown();
    }

    void MakePortal() {
        TPlatformSetup setup;
        setup.commandLine = "game -pq=1";
        mServices.hosted = true;
        Make(setup);
    }

    FakeServices mServices;
    host::RecordingChannel mChannel;
    HoldingHandler* mHandler = nullptr;
};

TEST_F(GameStateStepsTest, SaysSessionReadyOnceAndTakesHostRecords) {
    Make();
    mChannel.Send({host::kUserMessage, 7, 0});
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{2}}));
    UntilIdle();
    EXPECT_EQ(mHandler->writes, (std::vector<std::string>{"sessionready=", "windowmessage=7"}));
}

TEST_F(GameStateStepsTest, APortalWhoseHostIsGoneQuits) {
    MakePortal();
    mChannel.SetAlive(kHost, false);
    EXPECT_EQ(Next().type, TPlatformEvent::kQuit);
}

TEST_F(GameStateStepsTest, WhileHeldWindowEventsAreHandledAndAQuitEndsTheHold) {
    Make();
    mHandler->holdFor = 3;
    mWindow->Queue(Native(EventKind::kFocusLost));
    EXPECT_EQ(UntilIdle(), (std::vector<Seen>{{18, 0}, {18, 0}})) << "the focus change waited for the hold";

    mHandler->holdFor = 100;
    mWindow->Queue(Native(EventKind::kQuit));
    EXPECT_EQ(Next().type, TPlatformEvent::kQuit);
    EXPECT_GT(mHandler->holdFor, 0);
}

TEST_F(GameStateStepsTest, TheTimerLeavesOutTheHostsPauses) {
    Make();
    InstallZylomHandler();
    At(1000);
    mChannel.Send({host::kUserMessage, 4, 0});
    Next();
    At(1300);
    mChannel.Send({host::kUserMessage, 5, 0});
    Next();
    EXPECT_EQ(mData->Timer(), 1000u);
}

TEST_F(GameStateStepsTest, APortalHearsTheFullScreenWish) {
    MakePortal();
    EXPECT_TRUE(mData->SetFullScreen(true));
    ASSERT_EQ(mChannel.Posts().size(), 1u);
    EXPECT_EQ(mChannel.Posts()[0].window, kHost);
    EXPECT_EQ(mChannel.Posts()[0].record, (host::Record{host::kUserMessage, 1, 0}));
    EXPECT_FALSE(mDisplay.fullScreen);
}

}  // namespace
}  // namespace pumptest
