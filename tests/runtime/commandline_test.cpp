#include "runtime/commandline.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs OptionsOf(const std::string& line) {
    Pairs pairs;
    for (const auto& [key, value] : ReadCommandLineSwitches(line.c_str()).options) {
        pairs.emplace_back(key.c_str(), value.c_str());
    }
    return pairs;
}

TEST(CommandLine, OptionPairs) {
    const struct {
        const char* line;
        Pairs expected;
    } cases[] = {
        {"options=a=1&b=2", {{"a", "1"}, {"b", "2"}}},
        {"options=a=1 b=2", {{"a", "1"}, {"b", "2"}}},
        {"options= a=1", {}},
        {"options=novalue", {}},
        {"options=a=1&novalue", {{"a", "1"}}},
        {"options=a=1&a=2", {{"a", "1"}, {"a", "2"}}},
        {"options=a=", {{"a", ""}}},
        {"options=a=1&", {{"a", "1"}}},
        // With an "&" further on, the value runs past the blank to it.
        {"options=a=1 -x&b=2", {{"a", "1 -x"}, {"b", "2"}}},
        // Without one, a blank ends the value and the next word is read on,
        // even when it is another switch.
        {"options=a=1 --multiple", {{"a", "1"}}},
        {"--multiple options=vsync=0&utf8mode=1 -wd=x", {{"vsync", "0"}, {"utf8mode", "1"}, {"-wd", "x"}}},
        {"options=", {}},
        {"no options here", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(OptionsOf(c.line), c.expected) << c.line;
}

TEST(CommandLine, WorkingFolderQuotedOrUpToABlank) {
    const struct {
        const char* line;
        bool given;
        const char* folder;
    } cases[] = {
        {"-wd=/games/shop --multiple", true, "/games/shop"},
        {"--multiple -wd=\"/my games/shop\" -msn", true, "/my games/shop"},
        {"-wd=\"/my games/shop", true, "/my games/shop"},
        {"-wd=\"\"", true, ""},
        {"-wd=", true, ""},
        {"--multiple", false, ""},
    };
    for (const auto& c : cases) {
        TCommandLineSwitches switches = ReadCommandLineSwitches(c.line);
        EXPECT_EQ(switches.workingFolderGiven, c.given) << c.line;
        EXPECT_STREQ(switches.workingFolder.c_str(), c.folder) << c.line;
    }
}

TEST(CommandLine, CheatCodeInTheMiddleAndAtTheEnd) {
    const struct {
        const char* line;
        bool given;
        const char* code;
    } cases[] = {
        {"--cheat=abc --multiple", true, "abc"},
        {"--multiple --cheat abc", true, "abc"},
        {"--cheat=", true, ""},
        // Nothing follows the switch: no separator is read past the end.
        {"--multiple --cheat", false, ""},
        {"--multiple", false, ""},
    };
    for (const auto& c : cases) {
        TCommandLineSwitches switches = ReadCommandLineSwitches(c.line);
        EXPECT_EQ(switches.cheatCodeGiven, c.given) << c.line;
        EXPECT_STREQ(switches.cheatCode.c_str(), c.code) << c.line;
    }
}

TEST(CommandLine, ParentWindowHandles) {
    const struct {
        const char* line;
        host::Handle handle;
    } cases[] = {
        {"-wnd=1f", 0x1f},
        {"-wnd=0x10 --multiple", 0x10},
        {"-wnd=0", host::kNoWindow},
        {"-wnd=garbage", host::kNoWindow},
        {"-wnd=", host::kNoWindow},
        {"-wnd=-5", host::kNoWindow},
        {"-wnd=ffffffffffffffffffff", host::kNoWindow},
        {"-wnd=80000000", host::kNoWindow},
    };
    for (const auto& c : cases) {
        TCommandLineSwitches switches = ReadCommandLineSwitches(c.line);
        EXPECT_TRUE(switches.parentGiven) << c.line;
        EXPECT_EQ(switches.parentWindow, c.handle) << c.line;
    }
    EXPECT_FALSE(ReadCommandLineSwitches("-wd=x").parentGiven);
}

TEST(CommandLine, ALiveSocketIsReadAsItsHandle) {
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    TString line = TString::Format("--axtest -wnd=%x", ends[0]);
    EXPECT_EQ(ReadCommandLineSwitches(line).parentWindow, ends[0]);
    close(ends[0]);
    close(ends[1]);
}

TEST(CommandLine, PlainSwitchesAreFoundAnywhere) {
    TCommandLineSwitches none = ReadCommandLineSwitches("");
    EXPECT_FALSE(none.multiple || none.msn || none.zylom || none.axtest || none.parentGiven || none.cheatCodeGiven);

    TCommandLineSwitches all = ReadCommandLineSwitches("x--multiple -msn-zylom --axtest -pq=1");
    EXPECT_TRUE(all.multiple && all.msn && all.zylom && all.axtest);
    EXPECT_TRUE(IsHostedMode("x--multiple -msn-zylom --axtest -pq=1"));
    EXPECT_FALSE(ReadCommandLineSwitches("--MULTIPLE").multiple);
}

TEST(CommandLine, ArgumentsAreJoinedWithFoldersQuoted) {
    const char* argv[] = {"vandermoot", "--multiple", "-wd=/my games/shop", "-wd=/plain", "options=a=1"};
    TString line = JoinCommandLine(5, argv);
    EXPECT_STREQ(line.c_str(), "--multiple -wd=\"/my games/shop\" -wd=/plain options=a=1");
    EXPECT_STREQ(ReadCommandLineSwitches(line).workingFolder.c_str(), "/my games/shop");
    EXPECT_STREQ(JoinCommandLine(1, argv).c_str(), "");
}

TEST(CommandLine, ArgumentsThatAreNoSwitchAreUnknown) {
    const char* argv[] = {"vandermoot", "--multiple", "-wd=/a", "-wnd=1f", "-pq=x", "-host=prog", "--cheat", "code",
                          "--cheatword", "options=a=1", "-msn", "-zylom", "--axtest", "--help", "--version",
                          "--bogus", "-x", "stray", "--multiple=no", "options", "--cheat"};
    const int argc = sizeof argv / sizeof argv[0];
    EXPECT_EQ(UnknownArguments(argc, argv),
              (std::vector<std::string>{"--bogus", "-x", "stray", "--multiple=no", "options"}));
    EXPECT_TRUE(UnknownArguments(1, argv).empty());
}

}  // namespace
