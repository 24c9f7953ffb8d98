#include "platform/os/folders.h"

#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

namespace {

TEST(Folders, UserDataRootFollowsXdgDataHomeElseHome) {
    TempFolder temp;
    ScopedEnv home("HOME", temp.Path());
    {
        ScopedEnv data("XDG_DATA_HOME", temp / "data");
        EXPECT_EQ(os::UserDataRoot(), temp / "data");
    }
    {
        ScopedEnv data("XDG_DATA_HOME", "");
        EXPECT_EQ(os::UserDataRoot(), temp / ".local/share");
    }
    {
        ScopedEnv data("XDG_DATA_HOME", "relative/ignored");
        EXPECT_EQ(os::UserDataRoot(), temp / ".local/share");
    }
}

TEST(Folders, CommonDataRootDefaultsToTheUserRoot) {
    TempFolder temp;
    ScopedEnv data("XDG_DATA_HOME", temp / "data");
    os::SetCommonDataRoot("");
    EXPECT_EQ(os::CommonDataRoot(), temp / "data");
    os::SetCommonDataRoot(temp.Path() + "\\shared");
    EXPECT_EQ(os::CommonDataRoot(), temp / "shared");
    os::SetCommonDataRoot("");
}

TEST(Folders, DesktopFromEnvironmentUserDirsOrHome) {
    TempFolder temp;
    ScopedEnv home("HOME", temp.Path());
    ScopedEnv config("XDG_CONFIG_HOME", temp / "config");
    ScopedEnv desktopEnv("XDG_DESKTOP_DIR", "");
    // No desktop configured: the home folder.
    EXPECT_EQ(os::DesktopFolder(), temp.Path());
    // Configured in user-dirs but missing on disk: still the home folder.
    temp.Write("config/user-dirs.dirs", "# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    EXPECT_EQ(os::DesktopFolder(), temp.Path());
    temp.Write("Schreibtisch/keep", "");
    EXPECT_EQ(os::DesktopFolder(), temp / "Schreibtisch");
    temp.Write("Other/keep", "");
    ScopedEnv desktop("XDG_DESKTOP_DIR", temp / "Other");
    EXPECT_EQ(os::DesktopFolder(), temp / "Other");
}

}  // namespace
