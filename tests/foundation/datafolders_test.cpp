#include "foundation/datafolders.h"

#include "foundation/settings.h"
#include "platform/os/folders.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// Sets the "publisher" setting for one test and empties the settings after.
class ScopedPublisher {
public:
    explicit ScopedPublisher(const char* publisher) { SetSetting(kSettingPublisher, publisher); }
    ~ScopedPublisher() { ClearSettings(); }
};

TEST(DataFolders, UserFolderBelowTheMakerFolderIsCreated) {
    TempFolder temp;
    ScopedEnv data("XDG_DATA_HOME", temp / "data");
    char buffer[512];
    ClearSettings();
    ASSERT_EQ(GetDataFolderPath("vandermoot", buffer, sizeof buffer, false), 0);
    EXPECT_EQ(std::string(buffer), temp / "data/Quenmarth/vandermoot/");
    EXPECT_TRUE(std::filesystem::is_directory(temp / "data/Quenmarth/vandermoot"));
    {
        ScopedPublisher publisher("Maker");
        ASSERT_EQ(GetDataFolderPath("Game\\Saves", buffer, sizeof buffer, false), 0);
        EXPECT_EQ(std::string(buffer), temp / "data/Maker/Game/Saves/");
        EXPECT_TRUE(std::filesystem::is_directory(temp / "data/Maker/Game/Saves"));
    }
    // A publisher set to nothing leaves the maker folder out.
    ScopedPublisher none("");
    ASSERT_EQ(GetDataFolderPath("game", buffer, sizeof buffer, false), 0);
    EXPECT_EQ(std::string(buffer), temp / "data/game/");
}

TEST(DataFolders, CommonFolderUsesTheAllUsersRoot) {
    ScopedPublisher publisher("Maker");
    TempFolder temp;
    ScopedEnv data("XDG_DATA_HOME", temp / "data");
    os::SetCommonDataRoot(temp / "shared");
    char buffer[512];
    int result = GetDataFolderPath("game", buffer, sizeof buffer, true);
    os::SetCommonDataRoot("");
    ASSERT_EQ(result, 0);
    EXPECT_EQ(std::string(buffer), temp / "shared/Maker/game/");
}

TEST(DataFolders, ShortBuffersGetTheNeededLengthAndNothingIsWritten) {
    ScopedPublisher publisher("Maker");
    TempFolder temp;
    ScopedEnv data("XDG_DATA_HOME", temp / "data");
    const std::string expected = temp / "data/Maker/game/";
    const int needed = static_cast<int>(expected.size());
    char buffer[512] = "untouched";
    EXPECT_EQ(GetDataFolderPath("game", buffer, needed, false), needed);
    EXPECT_EQ(std::string(buffer), "untouched");
    EXPECT_FALSE(std::filesystem::exists(temp / "data/Maker"));
    EXPECT_EQ(GetDataFolderPath("game", buffer, needed + 1, false), 0);
    EXPECT_EQ(std::string(buffer), expected);
    EXPECT_EQ(GetDataFolderPath("game", nullptr, 512, false), -1);
}

TEST(DataFolders, NoDataRootFails) {
    ScopedPublisher publisher("Maker");
    ScopedEnv data("XDG_DATA_HOME", "");
    ScopedEnv home("HOME", "");
    char buffer[512];
    EXPECT_EQ(GetDataFolderPath("game", buffer, sizeof buffer, false), -1);
}

TEST(DataFolders, DesktopPathEndsWithASeparator) {
    TempFolder temp;
    temp.Write("Desk/keep", "");
    ScopedEnv desktop("XDG_DESKTOP_DIR", temp / "Desk");
    char buffer[512];
    ASSERT_EQ(GetDesktopPath(buffer, sizeof buffer), 0);
    EXPECT_EQ(std::string(buffer), temp / "Desk/");
    const int needed = static_cast<int>((temp / "Desk/").size());
    EXPECT_EQ(GetDesktopPath(buffer, needed), needed);
    EXPECT_EQ(GetDesktopPath(nullptr, 512), -1);
    ScopedEnv noDesktop("XDG_DESKTOP_DIR", "");
    ScopedEnv config("XDG_CONFIG_HOME", temp / "config");
    ScopedEnv home("HOME", "");
    EXPECT_EQ(GetDesktopPath(buffer, sizeof buffer), -1);
}

TEST(DataFolders, FullPathOfRelativeNames) {
    std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(std::string(GetFullPath("a\\b/../c.txt").c_str()), cwd + "/a/c.txt");
    EXPECT_EQ(std::string(GetFullPath("/x/y").c_str()), "/x/y");
}

}  // namespace
