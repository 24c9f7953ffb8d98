#include "platform/os/paths.h"

#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// Runs with the working folder set to a folder, restoring the old one after.
class WorkingFolderScope {
public:
    explicit WorkingFolderScope(const std::string& folder) : mOld(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~WorkingFolderScope() { std::filesystem::current_path(mOld); }

private:
    std::filesystem::path mOld;
};

TEST(Paths, AbsolutePathOfPathsThatNeedNotExist) {
    TempFolder temp;
    std::string root = std::filesystem::canonical(temp.Path()).string();
    WorkingFolderScope scope(root);
    struct Case {
        const char* path;
        std::string expected;
    } cases[] = {
        {"missing/file.txt", root + "/missing/file.txt"},
        {"a\\b\\c.txt", root + "/a/b/c.txt"},
        {"./a/../b.txt", root + "/b.txt"},
        {"/x/./y//z/../w", "/x/y/w"},
        {"/..", "/"},
    };
    for (const Case& c : cases) EXPECT_EQ(os::AbsolutePath(c.path), c.expected) << c.path;
}

TEST(Paths, MatchPathCaseFindsEntriesThatDifferInCase) {
    TempFolder temp;
    temp.Write("Data/Prefs.dat", "x");
    EXPECT_EQ(os::MatchPathCase(temp.Path(), "data/prefs.dat"), temp / "Data/Prefs.dat");
    EXPECT_EQ(os::MatchPathCase(temp.Path(), "DATA\\PREFS.DAT"), temp / "Data/Prefs.dat");
    // Exact names are kept even when another case exists too.
    temp.Write("Data/prefs.dat", "y");
    EXPECT_EQ(os::MatchPathCase(temp.Path(), "Data/prefs.dat"), temp / "Data/prefs.dat");
}

TEST(Paths, MatchPathCaseKeepsNewComponentsAsWritten) {
    TempFolder temp;
    temp.Write("Data/x.txt", "x");
    EXPECT_EQ(os::MatchPathCase(temp.Path(), "data/New/File.txt"), temp / "Data/New/File.txt");
    EXPECT_EQ(os::MatchPathCase(temp.Path(), ""), temp.Path());
}

TEST(Paths, MatchPathCaseWithoutRootUsesTheWorkingFolderOrTheAbsolutePath) {
    TempFolder temp;
    temp.Write("Assets/Settings.xml", "x");
    {
        WorkingFolderScope scope(temp.Path());
        EXPECT_EQ(os::MatchPathCase("", "assets/settings.xml"), "Assets/Settings.xml");
    }
    EXPECT_EQ(os::MatchPathCase("", temp.Path() + "/assets/settings.xml"), temp / "Assets/Settings.xml");
}

TEST(Paths, FolderCreationAndAccess) {
    TempFolder temp;
    EXPECT_FALSE(os::PathAccessible(temp / "a", false));
    EXPECT_FALSE(os::MakeFolder(temp / "a/b"));  // parent missing
    EXPECT_TRUE(os::MakeFolderTree(temp / "a\\b/c"));
    EXPECT_TRUE(os::PathAccessible(temp / "a/b/c", true));
    EXPECT_TRUE(os::MakeFolder(temp / "a/b"));  // already there
    temp.Write("file", "x");
    EXPECT_FALSE(os::MakeFolder(temp / "file"));
}

}  // namespace
