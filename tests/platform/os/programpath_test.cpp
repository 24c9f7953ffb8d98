#include "platform/os/programpath.h"

#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <string>

namespace {

TEST(ProgramPath, TheExecutablePathIsCanonical) {
    std::string path = os::ExecutablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path[0], '/');
    char* resolved = realpath(path.c_str(), nullptr);
    ASSERT_NE(resolved, nullptr);
    EXPECT_EQ(path, resolved);
    free(resolved);
    EXPECT_EQ(path.substr(path.rfind('/') + 1), "platform_os_tests");
}

TEST(ProgramPath, FolderOfKeepsTheTrailingSeparator) {
    EXPECT_EQ(os::FolderOf("/a/b/c"), "/a/b/");
    EXPECT_EQ(os::FolderOf("/c"), "/");
    EXPECT_EQ(os::FolderOf("c"), "");
}

TEST(ProgramPath, TheWorkingFolderChangesOnlyToFoldersThatExist) {
    TempFolder temp;
    const std::string before = os::WorkingFolder();
    ASSERT_FALSE(before.empty());
    ASSERT_TRUE(os::ChangeWorkingFolder(temp.Path()));
    char* resolved = realpath(temp.Path().c_str(), nullptr);
    EXPECT_EQ(os::WorkingFolder(), resolved);
    free(resolved);
    EXPECT_FALSE(os::ChangeWorkingFolder(temp / "missing"));
    EXPECT_FALSE(os::ChangeWorkingFolder(""));
    EXPECT_TRUE(os::ChangeWorkingFolder(before));
}

}  // namespace
