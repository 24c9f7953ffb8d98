#include "foundation/virtualfiles.h"

#include "foundation/file.h"
#include "tests/foundation/virtualfilesfixture.h"

#include <string>
#include <vector>

namespace {

using VirtualFiles = VirtualFilesTest;

std::string ReadName(const char* name) {
    TFile file;
    if (!file.Open(name, kFileReadBinary)) return "<missing>";
    std::string bytes(static_cast<size_t>(file.GetSize()), '\0');
    bytes.resize(file.Read(bytes.data(), bytes.size()));
    return bytes;
}

std::vector<std::string> FindAll(const char* prefix, bool recursive) {
    std::vector<std::string> names;
    TString name;
    while (FindVirtualFile(prefix, name, recursive)) names.emplace_back(name.c_str());
    return names;
}

TEST_F(VirtualFiles, AssetNamesIgnoreCaseWithOrWithoutTheAssetsFolder) {
    mTemp.Write("assets/Fonts/Myriad.MVEC", "font");
    mTemp.Write("assets/Settings.xml", "settings");
    LoadAssetManifest();
    for (const char* name : {"fonts/myriad.mvec", "FONTS/Myriad.mvec", "assets/fonts/myriad.mvec",
                             "ASSETS\\Fonts/MYRIAD.mvec"}) {
        EXPECT_EQ(ReadName(name), "font") << name;
    }
    EXPECT_EQ(ReadName("assets/settings.xml"), "settings");
    // The table keeps the path as it is on disk.
    EXPECT_EQ(std::string(ResolvePath("Fonts/MYRIAD.mvec", true).c_str()), "assets/Fonts/Myriad.MVEC");
    // Only the separator after "assets" may be a backslash.
    EXPECT_FALSE(FileExists("assets\\fonts\\myriad.mvec"));
    EXPECT_FALSE(FileExists("assetsfonts/myriad.mvec"));
    // Names the scan did not register are not found.
    EXPECT_FALSE(FileExists("missing.xml"));
}

TEST_F(VirtualFiles, ScanSkipsSubversionFoldersAndKeepsSubFolders) {
    mTemp.Write("assets/.svn/entries", "x");
    mTemp.Write("assets/Levels/.SVN/entries", "x");
    mTemp.Write("assets/Levels/Deep/Level01.xml", "level");
    LoadAssetManifest();
    EXPECT_EQ(FindAll("", true), std::vector<std::string>{"levels/deep/level01.xml"});
}

TEST_F(VirtualFiles, ManifestHidesListedNames) {
    mTemp.Write("assets/Secret.txt", "s");
    mTemp.Write("assets/Levels/Beta.xml", "b");
    mTemp.Write("assets/Open.txt", "o");
    mTemp.Write("final.txt", "SECRET.TXT\r\n\tlevels/beta.xml  levels/missing.xml\n");
    LoadAssetManifest();
    EXPECT_FALSE(FileExists("secret.txt"));
    EXPECT_FALSE(FileExists("assets/levels/beta.xml"));
    EXPECT_TRUE(FileExists("open.txt"));
    // A hidden name cannot be reached for reading even through a root.
    ClearVirtualFiles();
    mTemp.Write("final.txt", "user:hidden.txt");
    mTemp.Write("user/hidden.txt", "h");
    SetSetting("activex", "1");
    LoadAssetManifest();
    EXPECT_FALSE(FileExists("user:hidden.txt"));
}

TEST_F(VirtualFiles, ManifestWordMinusStarEmptiesTheListAndFirstPeekUsesItsOwnFile) {
    mTemp.Write("assets/a.txt", "a");
    mTemp.Write("assets/b.txt", "b");
    mTemp.Write("final.txt", "a.txt -* b.txt");
    mTemp.Write("firstpeek.txt", "a.txt");
    SetSetting(kSettingFirstPeek, "0");
    LoadAssetManifest();
    EXPECT_TRUE(FileExists("a.txt"));
    EXPECT_FALSE(FileExists("b.txt"));
    ClearVirtualFiles();
    SetSetting(kSettingFirstPeek, "1");
    LoadAssetManifest();
    EXPECT_FALSE(FileExists("a.txt"));
    EXPECT_TRUE(FileExists("b.txt"));
}

TEST_F(VirtualFiles, ManifestOfHundredThousandBytesIsIgnored) {
    mTemp.Write("assets/a.txt", "a");
    std::string manifest = "a.txt";
    manifest.resize(100000, ' ');
    mTemp.Write("final.txt", manifest);
    LoadAssetManifest();
    EXPECT_TRUE(FileExists("a.txt"));
    ClearVirtualFiles();
    manifest.resize(99999);
    mTemp.Write("final.txt", manifest);
    LoadAssetManifest();
    EXPECT_FALSE(FileExists("a.txt"));
}

TEST_F(VirtualFiles, NamesRegisteredBeforeTheManifestStayVisible) {
    static const char kBytes[] = "cursor";
    RegisterMemoryFile("cursor.png", kBytes, 6);
    mTemp.Write("final.txt", "cursor.png");
    LoadAssetManifest();
    EXPECT_TRUE(FileExists("cursor.png"));
}

TEST_F(VirtualFiles, UserAndCommonFoldersAreScannedUnlessEmbedded) {
    mTemp.Write("user/Saves/A.txt", "a");
    mTemp.Write("common/Display.xml", "d");
    // Only the exact text "1" marks an embedded run.
    SetSetting("activex", "true");
    LoadAssetManifest();
    EXPECT_EQ(FindAll("user:", true), std::vector<std::string>{"user:saves/a.txt"});
    EXPECT_EQ(FindAll("common:", true), std::vector<std::string>{"common:display.xml"});
    EXPECT_EQ(std::string(ResolvePath("user:saves/a.txt", true).c_str()), UserFolder() + "/Saves/A.txt");
    ClearVirtualFiles();
    SetSetting("activex", "1");
    LoadAssetManifest();
    EXPECT_TRUE(FindAll("user:", true).empty());
    // Still reachable through the root.
    EXPECT_EQ(ReadName("user:saves/a.txt"), "a");
    EXPECT_EQ(ReadName("common:display.xml"), "d");
}

TEST_F(VirtualFiles, RootedNamesWithoutAFolderResolveToNothing) {
    mTemp.Write("user/prefs.dat", "p");
    SetDataFolders("", "", "");
    EXPECT_FALSE(FileExists("user:prefs.dat"));
    TFile file;
    EXPECT_FALSE(file.Open("user:prefs.dat", kFileWriteBinary));
    mTemp.Write("desktop/Note.txt", "n");
    SetDataFolders("", "", (mTemp / "desktop").c_str());
    EXPECT_EQ(ReadName("desktop:note.txt"), "n");
}

TEST_F(VirtualFiles, ChangingDataFoldersForgetsNamesResolvedUnderTheOldOnes) {
    mTemp.Write("user/prefs.dat", "old");
    mTemp.Write("other/prefs.dat", "new");
    EXPECT_EQ(ReadName("user:prefs.dat"), "old");
    SetDataFolders((mTemp / "other").c_str(), CommonFolder().c_str(), "");
    EXPECT_EQ(ReadName("user:prefs.dat"), "new");
}

TEST_F(VirtualFiles, FindVirtualFileFlatOrRecursive) {
    for (const char* name : {"a.txt", "B/c.txt", "b/D/e.txt", "bz.txt", "b/f.txt"}) {
        mTemp.Write(std::string("assets/") + name, "x");
    }
    LoadAssetManifest();
    EXPECT_EQ(FindAll("B/", false), (std::vector<std::string>{"b/c.txt", "b/f.txt"}));
    EXPECT_EQ(FindAll("b/", true), (std::vector<std::string>{"b/c.txt", "b/d/e.txt", "b/f.txt"}));
    EXPECT_EQ(FindAll("", false), (std::vector<std::string>{"a.txt", "bz.txt"}));
    EXPECT_EQ(FindAll("b", true), (std::vector<std::string>{"b/c.txt", "b/d/e.txt", "b/f.txt", "bz.txt"}));
    EXPECT_TRUE(FindAll("q", true).empty());
}

TEST_F(VirtualFiles, ScanWithAPrefixOrAFolderName) {
    mTemp.Write("extra/Sub/X.txt", "x");
    ScanFolder("extra", "");
    ScanFolder("extra", ".");
    ScanFolder("extra", "more:");
    EXPECT_EQ(FindAll("", true), (std::vector<std::string>{"extra/sub/x.txt", "more:sub/x.txt", "sub/x.txt"}));
    EXPECT_EQ(ReadName("more:sub/x.txt"), "x");
}

TEST_F(VirtualFiles, ResolvedRootedNamesAreRemembered) {
    // A name resolved for writing is entered in the table before the file exists.
    EXPECT_EQ(std::string(ResolvePath("user:New/File.txt", false).c_str()), UserFolder() + "/New/File.txt");
    EXPECT_TRUE(FindAll("user:", true) == std::vector<std::string>{"user:new/file.txt"});
    ClearVirtualFiles();
    EXPECT_EQ(ResolvePath("user:New/File.txt", true).Length(), 0);
    EXPECT_TRUE(FindAll("user:", true).empty());
}

}  // namespace
