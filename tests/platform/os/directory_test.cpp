#include "platform/os/directory.h"

#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

std::map<std::string, bool> ListWithKinds(const std::string& folder) {
    std::map<std::string, bool> entries;
    os::DirectoryIterator it;
    if (!it.Open(folder)) return entries;
    std::string name;
    bool isFolder = false;
    while (it.Next(name, &isFolder)) entries[name] = isFolder;
    return entries;
}

TEST(DirectoryIterator, ListsFilesAndFoldersWithoutDotEntries) {
    TempFolder temp;
    temp.Write("a.txt", "a");
    temp.Write("Sub/b.txt", "b");
    std::map<std::string, bool> expected{{"a.txt", false}, {"Sub", true}};
    EXPECT_EQ(ListWithKinds(temp.Path()), expected);
    // Windows separators and a trailing separator name the same folder.
    EXPECT_EQ(ListWithKinds(temp.Path() + "\\"), expected);
}

TEST(DirectoryIterator, SkipsFoldersWhenTheKindIsNotAsked) {
    TempFolder temp;
    temp.Write("a.txt", "a");
    temp.Write("Sub/b.txt", "b");
    os::DirectoryIterator it;
    ASSERT_TRUE(it.Open(temp.Path()));
    std::set<std::string> names;
    std::string name;
    while (it.Next(name, nullptr)) names.insert(name);
    EXPECT_EQ(names, std::set<std::string>{"a.txt"});
    // Past the end the listing is closed and stays at its end.
    EXPECT_FALSE(it.Next(name, nullptr));
}

TEST(DirectoryIterator, MissingFolderFailsToOpen) {
    TempFolder temp;
    os::DirectoryIterator it;
    EXPECT_FALSE(it.Open(temp / "missing"));
    std::string name;
    EXPECT_FALSE(it.Next(name, nullptr));
}

}  // namespace
