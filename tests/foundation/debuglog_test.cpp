#include "foundation/debuglog.h"

#include "tests/support/fullmatch.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char kBanner[] = "\n\n\n\n ****************** LOG WRAP AROUND ******************\n\n\n\n";

class DebugLogTest : public testing::Test {
protected:
    void TearDown() override { SetLogFolder(nullptr); }

    std::string ReadLog() const { return mTemp.Read("logs/nested/logfile.txt"); }

    TempFolder mTemp;
    const fs::path mFolder = mTemp / "logs/nested";
    const fs::path mLog = mFolder / "logfile.txt";
};

TEST_F(DebugLogTest, WithoutFolderNothingIsWritten) {
    SetLogFolder(mFolder.c_str());
    SetLogFolder(nullptr);
    EXPECT_EQ(GetLogPath().Length(), 0);
    DebugLog("dropped %d", 1);
    EXPECT_FALSE(fs::exists(mLog));
}

TEST_F(DebugLogTest, LinesCarryLocalTimeAndTheMessage) {
    SetLogFolder(mFolder.c_str());
    EXPECT_STREQ(GetLogPath().c_str(), mLog.c_str());
    EXPECT_FALSE(fs::exists(mLog));
    DebugLog("ERROR: %s failed (%d)", "thing", 42);
    DebugLog("second");
    const char* lines =
        "[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}: ERROR: thing failed \\(42\\)\n"
        "[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}: second\n";
    EXPECT_TRUE(FullMatch(ReadLog(), lines)) << ReadLog();
}

TEST_F(DebugLogTest, SetUpDeletesThePreviousLog) {
    fs::create_directories(mFolder);
    std::ofstream(mLog) << "old run\n";
    SetLogFolder(mFolder.c_str());
    EXPECT_FALSE(fs::exists(mLog));
    DebugLog("new run");
    EXPECT_EQ(ReadLog().find("old run"), std::string::npos);
}

TEST_F(DebugLogTest, MemoryMaxTextKeepsTheLog) {
    SetLogFolder(mFolder.c_str());
    DebugLog("one");
    SetLogFolder("__MEMORYMAX__=1000");
    DebugLog("two");
    EXPECT_STREQ(GetLogPath().c_str(), mLog.c_str());
    const std::string text = ReadLog();
    EXPECT_NE(text.find(": one\n"), std::string::npos);
    EXPECT_NE(text.find(": two\n"), std::string::npos);
}

TEST_F(DebugLogTest, WrapsToTheMiddleAfterTheLimit) {
    SetLogFolder(mFolder.c_str());
    // 24 time characters, ": ", the message and a line feed make 1024 bytes,
    // so line 100 starts exactly at the 102400-byte limit.
    const std::string padding(997 - 10, '.');
    auto logLine = [&](int n) { DebugLog("line %04d %s", n, padding.c_str()); };
    logLine(0);
    const uintmax_t lineLength = fs::file_size(mLog);
    ASSERT_EQ(lineLength, 1024u);
    for (int n = 1; n <= 100; ++n) {
        logLine(n);
    }
    // A line starting exactly at the limit is still written in place.
    EXPECT_EQ(fs::file_size(mLog), 101 * lineLength);
    EXPECT_EQ(ReadLog().substr(102400 + 24, 11), ": line 0100");

    logLine(101);
    const std::string text = ReadLog();
    EXPECT_EQ(text.size(), 101 * lineLength);  // never truncated
    const size_t banner = sizeof kBanner - 1;
    EXPECT_EQ(text.substr(51200, banner), kBanner);
    EXPECT_EQ(text.substr(51200 + banner + 24, 11), ": line 0101");
    // Older lines past the new one are left as they were.
    EXPECT_EQ(text.substr(102400 + 24, 11), ": line 0100");

    logLine(102);
    const std::string next = ReadLog();
    EXPECT_EQ(next.substr(51200 + banner + lineLength + 24, 11), ": line 0102");
    EXPECT_EQ(next.find(kBanner, 51200 + banner), std::string::npos);
}

TEST_F(DebugLogTest, LinesFromSeveralThreadsStayWhole) {
    SetLogFolder(mFolder.c_str());
    const int kThreads = 8;
    const int kLines = 50;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i) {
                DebugLog("thread %d line %d", t, i);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    std::istringstream lines(ReadLog());
    const char* form = "[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] [0-9:]{8} [0-9]{4}: (thread [0-9] line [0-9]+)";
    std::set<std::string> seen;
    std::string line;
    while (std::getline(lines, line)) {
        std::string message;
        ASSERT_TRUE(FullMatch(line, form, &message)) << line;
        seen.insert(message);
    }
    EXPECT_EQ(seen.size(), size_t(kThreads * kLines));
}

}  // namespace
