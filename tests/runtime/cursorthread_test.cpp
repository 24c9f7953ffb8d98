#include "runtime/cursorthread.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

TEST(CursorThread, RunsUntilStoppedAndStopsWithinAPass) {
    TCursorThread thread;
    EXPECT_TRUE(thread.IsRunning());
    auto start = std::chrono::steady_clock::now();
    thread.Stop();
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    // A second stop, and the destructor's, find nothing to wait for.
    thread.Stop();
    EXPECT_FALSE(thread.IsRunning());
}

}  // namespace
