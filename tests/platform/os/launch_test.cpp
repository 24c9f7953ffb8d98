#include "platform/os/launch.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waits until the file holds something (the child wrote and closed it).
std::string WaitForFile(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        std::string text = ReadFile(path);
        if (!text.empty()) return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

TEST(SpawnLauncherTest, PassesTheArgumentWholeWithoutAShell) {
    std::string folder = ::testing::TempDir() + "launch_test_" + std::to_string(getpid());
    ASSERT_EQ(system(("mkdir -p '" + folder + "'").c_str()), 0);
    std::string script = folder + "/echoarg";
    std::string output = folder + "/out";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '" << output << ".tmp'\nmv '" << output
                          << ".tmp' '" << output << "'\n";
    ASSERT_EQ(chmod(script.c_str(), 0755), 0);

    // Blanks, quotes and shell syntax stay inside the one argument.
    const std::string address = "http://example.invalid/a b?q=\"x\"&y='z'; touch " + folder + "/pwned";
    os::SpawnLauncher launcher;
    ASSERT_TRUE(launcher.Launch(script, address));
    EXPECT_EQ(WaitForFile(output), "1|" + address);
    EXPECT_NE(access((folder + "/pwned").c_str(), F_OK), 0);
    system(("rm -rf '" + folder + "'").c_str());
}

TEST(SpawnLauncherTest, RefusesWhatCannotStart) {
    os::SpawnLauncher launcher;
    EXPECT_FALSE(launcher.Launch("", "x"));
    EXPECT_FALSE(launcher.Launch("/nonexistent/program-that-is-not-there", "x"));
}

TEST(SpawnLauncherTest, ReapsItsChildren) {
    os::SpawnLauncher launcher;
    ASSERT_TRUE(launcher.Launch("true", ""));
    // Once reaped, no child of ours is left to wait for.
    bool reaped = false;
    for (int i = 0; i < 500 && !reaped; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::ifstream stat("/proc/self/task/" + std::to_string(getpid()) + "/children");
        std::string children;
        std::getline(stat, children);
        reaped = children.empty();
    }
    EXPECT_TRUE(reaped);
}

TEST(LaunchProgramTest, GoesThroughTheCurrentLauncher) {
    os::RecordingLauncher recording;
    os::SetCurrentLauncher(&recording);
    EXPECT_TRUE(os::LaunchProgram("xdg-open", "http://a b"));
    recording.result = false;
    EXPECT_FALSE(os::LaunchProgram("other", ""));
    os::SetCurrentLauncher(nullptr);
    ASSERT_EQ(recording.calls.size(), 2u);
    EXPECT_EQ(recording.calls[0].program, "xdg-open");
    EXPECT_EQ(recording.calls[0].argument, "http://a b");
    EXPECT_EQ(&os::CurrentLauncher(), &os::CurrentLauncher());
    EXPECT_NE(&os::CurrentLauncher(), static_cast<os::Launcher*>(&recording));
}

}  // namespace
