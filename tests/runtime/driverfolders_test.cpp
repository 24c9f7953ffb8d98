#include "runtime/driverfolders.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "platform/os/folders.h"
#include "platform/os/paths.h"
#include "platform/os/programpath.h"
#include "tests/support/tempfolder.h"

namespace {

// Keeps the working folder of the test program.
struct FoldersTest : ::testing::Test {
    ~FoldersTest() override {
        os::ChangeWorkingFolder(before);
        os::SetCommonDataRoot("");
        ClearSettings();
        SetLogFolder(nullptr);
    }
    bool IsFolder(const std::string& path) const {
        struct stat info;
        return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    std::string before = os::WorkingFolder();
    TempFolder temp;
};

TEST_F(FoldersTest, TheExecutablesFolderBecomesTheWorkingFolder) {
    ASSERT_TRUE(os::ChangeWorkingFolder(temp.Path()));
    TProgramFolders folders;
    ASSERT_TRUE(ReadProgramFolders(folders));
    EXPECT_EQ(folders.executablePath.c_str(), os::ExecutablePath());
    EXPECT_EQ(folders.executableFolder.c_str(), os::FolderOf(os::ExecutablePath()));
    EXPECT_EQ(folders.executableFolder + "assets/", folders.assetFolder);
    EXPECT_EQ(os::WorkingFolder() + "/", folders.executableFolder.c_str());
    char* startup = realpath(temp.Path().c_str(), nullptr);
    EXPECT_STREQ(folders.startupFolder.c_str(), startup);
    free(startup);
    EXPECT_EQ(folders.userFolder, folders.executableFolder);
    EXPECT_EQ(folders.commonFolder, folders.executableFolder);
    EXPECT_EQ(folders.desktopFolder, folders.executableFolder);
}

TEST_F(FoldersTest, DataFoldersLieBelowPublisherAndGame) {
    ScopedEnv home("HOME", temp.Path());
    ScopedEnv data("XDG_DATA_HOME", temp / "data");
    ScopedEnv desktop("XDG_DESKTOP_DIR", temp.Path());
    os::SetCommonDataRoot(temp / "common");
    SetSetting(kSettingPublisher, "Maker");
    TProgramFolders folders;
    SetUpDataFolders(folders, "Shop Game");
    EXPECT_EQ(folders.userFolder.c_str(), temp / "data/Maker/Shop Game");
    EXPECT_EQ(folders.commonFolder.c_str(), temp / "common/Maker/Shop Game");
    EXPECT_EQ(folders.desktopFolder.c_str(), temp.Path() + "/");
    EXPECT_TRUE(IsFolder(temp / "data/Maker/Shop Game"));
    EXPECT_TRUE(IsFolder(temp / "common/Maker/Shop Game"));
}

TEST_F(FoldersTest, WithoutDataRootsTheFoldersStay) {
    ScopedEnv home("HOME", "");
    ScopedEnv data("XDG_DATA_HOME", "");
    ScopedEnv desktop("XDG_DESKTOP_DIR", "");
    TProgramFolders folders;
    folders.userFolder = folders.commonFolder = folders.desktopFolder = "/program/";
    SetUpDataFolders(folders, "game");
    EXPECT_STREQ(folders.userFolder.c_str(), "/program/");
    EXPECT_STREQ(folders.commonFolder.c_str(), "/program/");
    EXPECT_STREQ(folders.desktopFolder.c_str(), "/program/");
}

TEST_F(FoldersTest, SwitchingToAMissingFolderIsLoggedAndTheFolderStays) {
    SetLogFolder(temp.Path().c_str());
    ASSERT_TRUE(os::ChangeWorkingFolder(temp.Path()));
    const std::string here = os::WorkingFolder();
    EXPECT_FALSE(SwitchWorkingFolder((temp / "missing").c_str()));
    EXPECT_EQ(os::WorkingFolder(), here);
    std::string log = temp.Read("logfile.txt");
    EXPECT_NE(log.find("Switching current directory to: " + temp / "missing"), std::string::npos) << log;
    EXPECT_NE(log.find("cannot switch"), std::string::npos) << log;

    ASSERT_TRUE(os::MakeFolderTree(temp / "my work"));
    EXPECT_TRUE(SwitchWorkingFolder((temp / "my work").c_str()));
    EXPECT_EQ(os::WorkingFolder(), here + "/my work");
}

}  // namespace
