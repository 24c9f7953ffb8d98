#include "foundation/clock.h"

#include <gtest/gtest.h>

#include "platform/os/timer.h"

namespace {

class TClockTest : public testing::Test {
protected:
    void SetUp() override { os::SetCurrentTimer(&mTimer); }
    void TearDown() override { os::SetCurrentTimer(nullptr); }
    os::FakeTimer mTimer{5000};
};

TEST_F(TClockTest, StartsPausedAtZero) {
    TClock clock;
    mTimer.Advance(300);
    EXPECT_EQ(clock.GetTime(), 0);
    EXPECT_EQ(clock.Start(), 0);
    mTimer.Advance(120);
    EXPECT_EQ(clock.GetTime(), 120);
}

TEST_F(TClockTest, PauseAndResumeSkipThePausedSpan) {
    TClock clock;
    clock.Start();
    mTimer.Advance(100);
    EXPECT_FALSE(clock.Pause());
    EXPECT_EQ(clock.GetTime(), 100);
    mTimer.Advance(500);
    EXPECT_TRUE(clock.Pause());  // already paused: nothing changes
    EXPECT_EQ(clock.GetTime(), 100);
    EXPECT_EQ(clock.Start(), 500);
    EXPECT_EQ(clock.GetTime(), 100);
    EXPECT_EQ(clock.Start(), 0);  // already running
    mTimer.Advance(40);
    EXPECT_EQ(clock.GetTime(), 140);

    clock.Pause();
    mTimer.Advance(60);
    EXPECT_EQ(clock.Start(), 60);
    mTimer.Advance(10);
    EXPECT_EQ(clock.GetTime(), 150);
}

TEST_F(TClockTest, SetTimeAndReset) {
    TClock clock;
    clock.Start();
    EXPECT_EQ(clock.SetTime(1000), 1000);
    mTimer.Advance(25);
    EXPECT_EQ(clock.GetTime(), 1025);

    clock.Reset();
    mTimer.Advance(700);
    EXPECT_EQ(clock.GetTime(), 0);
    EXPECT_EQ(clock.Start(), 700);
    mTimer.Advance(5);
    EXPECT_EQ(clock.GetTime(), 5);
}

TEST_F(TClockTest, RunsAcrossTheTimerWrap) {
    mTimer.Set(0xFFFFFFF0u);
    TClock clock;
    clock.Start();
    mTimer.Advance(32);
    EXPECT_EQ(clock.GetTime(), 32);
}

}  // namespace
