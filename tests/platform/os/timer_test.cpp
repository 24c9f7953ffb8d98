#include "platform/os/timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

TEST(Timer, FakeTimerMovesOnlyWhenTold) {
    os::FakeTimer timer(100);
    EXPECT_EQ(timer.Milliseconds(), 100u);
    timer.Advance(250);
    EXPECT_EQ(timer.Milliseconds(), 350u);
    timer.Set(7);
    EXPECT_EQ(timer.Milliseconds(), 7u);
    timer.Set(0xFFFFFFFFu);
    timer.Advance(2);
    EXPECT_EQ(timer.Milliseconds(), 1u);  // wraps like the system counter
}

TEST(Timer, CurrentTimerCanBeReplacedAndRestored) {
    os::FakeTimer fake(1234);
    os::SetCurrentTimer(&fake);
    EXPECT_EQ(&os::CurrentTimer(), &fake);
    EXPECT_EQ(os::TimeMilliseconds(), 1234u);
    fake.Advance(6);
    EXPECT_EQ(os::TimeMilliseconds(), 1240u);
    os::SetCurrentTimer(nullptr);
    EXPECT_NE(&os::CurrentTimer(), &fake);
    EXPECT_NE(dynamic_cast<os::SteadyTimer*>(&os::CurrentTimer()), nullptr);
}

TEST(Timer, SteadyTimerFollowsRealTime) {
    os::SteadyTimer timer;
    uint32_t before = timer.Milliseconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    uint32_t elapsed = timer.Milliseconds() - before;
    EXPECT_GE(elapsed, 19u);
}

}  // namespace
