#include "runtime/testharness.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "foundation/debuglog.h"
#include "platform/host/recordreader.h"
#include "tests/support/tempfolder.h"

namespace {

struct HarnessTest : ::testing::Test {
    HarnessTest() { SetLogFolder(temp.Path().c_str()); }
    ~HarnessTest() override { SetLogFolder(nullptr); }
    std::string Log() const { return temp.Read("logfile.txt"); }

    TempFolder temp;
};

TEST_F(HarnessTest, TheHookReplacesTheCommandLineAndHearsOfTheEnd) {
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    ScopedEnv line("HARNESS_COMMAND_LINE", "--multiple -wd=elsewhere");
    ScopedEnv window("HARNESS_WINDOW", std::to_string(ends[0]));

    TTestHarness harness(HARNESS_MODULE);
    TString commandLine = "-wnd=0";
    harness.Offer(commandLine);
    EXPECT_STREQ(commandLine.c_str(), "--multiple -wd=elsewhere");
    EXPECT_EQ(harness.GetWindow(), ends[0]);

    harness.PostQuit();
    uint8_t bytes[host::kRecordSize];
    ASSERT_EQ(recv(ends[1], bytes, sizeof bytes, MSG_DONTWAIT), static_cast<ssize_t>(sizeof bytes));
    host::RecordReader reader;
    reader.Feed(bytes, sizeof bytes);
    host::Record record;
    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(record, (host::Record{0x12, 0, 0}));
    harness.LogProblems();
    EXPECT_EQ(Log(), "");
    close(ends[0]);
    close(ends[1]);
}

TEST_F(HarnessTest, AHookThatLeavesTheLineKeepsItAndNamesNoWindow) {
    TTestHarness harness(HARNESS_MODULE);
    TString commandLine = "--multiple";
    harness.Offer(commandLine);
    EXPECT_STREQ(commandLine.c_str(), "--multiple");
    EXPECT_EQ(harness.GetWindow(), host::kNoWindow);
    harness.PostQuit();
    harness.LogProblems();
    EXPECT_EQ(Log(), "");
}

TEST_F(HarnessTest, AMissingHarnessIsSilentAndAnUnusableOneIsLogged) {
    temp.Write("broken.so", "not a library");
    const struct {
        std::string library;
        const char* logged;
    } cases[] = {
        {temp / "missing.so", nullptr},
        {temp / "broken.so", "Test harness skipped: cannot load"},
        {HANDLER_MODULE, "lacks the export TestHook"},
    };
    for (const auto& c : cases) {
        SetLogFolder(temp.Path().c_str());
        TTestHarness harness(c.library.c_str());
        TString commandLine = "--multiple";
        harness.Offer(commandLine);
        harness.LogProblems();
        EXPECT_STREQ(commandLine.c_str(), "--multiple") << c.library;
        EXPECT_EQ(harness.GetWindow(), host::kNoWindow) << c.library;
        if (c.logged) {
            EXPECT_NE(Log().find(c.logged), std::string::npos) << Log();
        } else {
            EXPECT_EQ(Log(), "");
        }
    }
}

}  // namespace
