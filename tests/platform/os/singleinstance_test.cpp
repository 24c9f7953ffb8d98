#include "platform/os/singleinstance.h"

#include "platform/os/paths.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

namespace {

using Result = os::SingleInstance::Result;

// Each test's names come from its own folder, so parallel runs never meet.
struct SingleInstanceTest : ::testing::Test {
    TempFolder temp;
    ScopedEnv runtime{"XDG_RUNTIME_DIR", temp.Path()};
    std::string text = os::SingleInstanceText(temp / "Game/vandermoot");
};

TEST(SingleInstanceText, DropsSeparatorsAndLowersCaseButKeepsDifferentPathsApart) {
    std::string text = os::SingleInstanceText("/Opt/Game:1/vandermoot");
    ASSERT_EQ(text.size(), std::string("optgame1vandermoot").size() + 8);
    EXPECT_EQ(text.substr(0, text.size() - 8), "optgame1vandermoot");
    EXPECT_EQ(text.find_first_not_of("0123456789abcdef", text.size() - 8), std::string::npos) << text;

    EXPECT_EQ(os::SingleInstanceText("/a/bc"), os::SingleInstanceText("/a/bc"));
    EXPECT_NE(os::SingleInstanceText("/a/bc"), os::SingleInstanceText("/ab/c"));
    // Two files whose names differ in case only are two programs here.
    EXPECT_NE(os::SingleInstanceText("/a/Game"), os::SingleInstanceText("/a/game"));
}

TEST_F(SingleInstanceTest, TheFirstHoldsTheLockAndASecondKnocksOnIt) {
    os::SingleInstance first;
    ASSERT_EQ(first.Acquire(text), Result::kFirst);
    EXPECT_TRUE(first.IsHeld());
    EXPECT_EQ(first.LockPath(), temp / (text + "_MUTEX"));
    EXPECT_EQ(access(first.LockPath().c_str(), F_OK), 0);
    EXPECT_FALSE(first.PollKnock());

    os::SingleInstance second;
    EXPECT_EQ(second.Acquire(text), Result::kAnother);
    EXPECT_FALSE(second.IsHeld());
    EXPECT_TRUE(first.PollKnock());
    EXPECT_FALSE(first.PollKnock()) << "each knock is heard once";

    // Another program is not disturbed.
    os::SingleInstance other;
    EXPECT_EQ(other.Acquire(os::SingleInstanceText(temp / "Gam/evandermoot")), Result::kFirst);
    EXPECT_FALSE(first.PollKnock());
}

TEST_F(SingleInstanceTest, AnotherUsersCopyNeitherBlocksNorHearsTheKnocks) {
    os::SingleInstance mine;
    ASSERT_EQ(mine.Acquire(text), Result::kFirst);
    os::SingleInstance theirs;
    {
        ScopedEnv theirRuntime("XDG_RUNTIME_DIR", temp / "their");
        ASSERT_TRUE(os::MakeFolder(temp / "their"));
        ASSERT_EQ(theirs.Acquire(text), Result::kFirst);
        os::SingleInstance theirSecond;
        EXPECT_EQ(theirSecond.Acquire(text), Result::kAnother);
    }
    EXPECT_TRUE(theirs.PollKnock());
    EXPECT_FALSE(mine.PollKnock());
    os::SingleInstance mySecond;
    EXPECT_EQ(mySecond.Acquire(text), Result::kAnother);
    EXPECT_TRUE(mine.PollKnock());
    EXPECT_FALSE(theirs.PollKnock());
}

TEST_F(SingleInstanceTest, AReleasedLockCanBeTakenAgain) {
    {
        os::SingleInstance first;
        ASSERT_EQ(first.Acquire(text), Result::kFirst);
    }
    os::SingleInstance again;
    EXPECT_EQ(again.Acquire(text), Result::kFirst);
    again.Release();
    EXPECT_FALSE(again.IsHeld());
    EXPECT_FALSE(again.PollKnock());
    os::SingleInstance third;
    EXPECT_EQ(third.Acquire(text), Result::kFirst);
}

TEST_F(SingleInstanceTest, VeryLongPathsStillMakeWorkingNames) {
    std::string longText = os::SingleInstanceText(temp.Path() + "/" + std::string(600, 'x'));
    std::string otherText = os::SingleInstanceText(temp.Path() + "/" + std::string(601, 'x'));
    os::SingleInstance first;
    ASSERT_EQ(first.Acquire(longText), Result::kFirst);
    os::SingleInstance second;
    EXPECT_EQ(second.Acquire(longText), Result::kAnother);
    EXPECT_TRUE(first.PollKnock());
    os::SingleInstance other;
    EXPECT_EQ(other.Acquire(otherText), Result::kFirst);
}

TEST_F(SingleInstanceTest, AnUnusableLockFolderOrALinkedLockFailsWithoutHoldingAnything) {
    {
        ScopedEnv missing("XDG_RUNTIME_DIR", temp / "no/such/folder");
        os::SingleInstance instance;
        EXPECT_EQ(instance.Acquire(text), Result::kFailed);
        EXPECT_FALSE(instance.IsHeld());
    }
    ASSERT_EQ(symlink((temp / "elsewhere").c_str(), (temp / (text + "_MUTEX")).c_str()), 0);
    os::SingleInstance instance;
    EXPECT_EQ(instance.Acquire(text), Result::kFailed);
    EXPECT_EQ(access((temp / "elsewhere").c_str(), F_OK), -1) << "the link was followed";
}

}  // namespace
