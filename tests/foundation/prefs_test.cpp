#include "foundation/prefs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/cryptcodec.h"
#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "foundation/virtualfiles.h"
#include "foundation/xmlnode.h"
#include "tests/foundation/legacyprefs.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/tempfolder.h"

namespace fs = std::filesystem;

namespace {

const char kKey[] = "QmVyZ2FtbzEy";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Builds prefs files block by block, encrypted as the game writes them.
class BlockWriter {
public:
    BlockWriter& Raw(const std::string& tag, const std::string& payload) {
        uint32_t length = static_cast<uint32_t>(payload.size());
        mBytes += tag;
        for (int shift = 0; shift < 32; shift += 8) {
            mBytes += static_cast<char>(length >> shift);
        }
        mBytes += payload;
        return *this;
    }
    BlockWriter& Encrypted(const std::string& tag, const std::string& plain) {
        TCryptCodec codec(kKey);
        std::vector<uint8_t> out(plain.size() + 8);
        codec.Encrypt(reinterpret_cast<const uint8_t*>(plain.data()), static_cast<int>(plain.size()), out.data(),
                      static_cast<int>(out.size()), false);
        return Raw(tag, std::string(out.begin(), out.begin() + codec.GetLastLength()));
    }
    BlockWriter& Install(const std::string& key) { return Encrypted("IKEY", key + '\0'); }
    BlockWriter& User(unsigned index) {
        return Raw("USER", std::string{static_cast<char>(index & 0xFF), static_cast<char>(index >> 8)});
    }
    BlockWriter& Pair(const std::string& key, const std::string& value) {
        size_t n = key.size() + 1;
        std::string plain{static_cast<char>(n & 0xFF), static_cast<char>(n >> 8)};
        return Encrypted("KVPR", plain + key + '\0' + value);
    }
    const std::string& Bytes() const { return mBytes; }

private:
    std::string mBytes;
};

class TPrefsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(mRoot.Path().empty());
        mUser = mRoot / "user";
        fs::create_directories(mUser);
        fs::create_directories(mRoot / "log");
        mPrefsFile = mUser / "prefs.dat";
        SetDataFolders(mUser.c_str(), (mRoot / "common").c_str(), (mRoot / "desktop").c_str());
        SetSetting(kSettingEncryptionKey, kKey);
        SetSetting(kSettingInstallKey, "Install-A");
        SetLogFolder((mRoot / "log").c_str());
    }
    void TearDown() override {
        SetLogFolder(nullptr);
        ClearSettings();
        SetDataFolders("", "", "");
        // Also forgets the rooted names resolved into this test's folders.
        ClearVirtualFiles();
    }
    void SetInstallFile(const std::string& text) {
        mInstallText = text;
        RegisterMemoryFile("install.txt", mInstallText.empty() ? "" : mInstallText.data(), mInstallText.size());
    }
    std::string Log() const { return mRoot.Read("log/logfile.txt"); }

    TempFolder mRoot;
    fs::path mUser;
    fs::path mPrefsFile;
    std::string mInstallText;
};

TEST_F(TPrefsTest, RoundTripOfUsersAndRawData) {
    const std::string raw("r\0a\xffw", 5);
    {
        TPrefs prefs(true);
        EXPECT_EQ(prefs.GetNumUsers(), 0);
        prefs.SetString(TPrefs::kGlobal, "curuser", "1", false);
        prefs.SetString(0, "name", "Ann", false);
        prefs.SetInt(1, "level", 12, false);
        prefs.SetData(1, "blob", raw.data(), static_cast<int>(raw.size()), false);
        prefs.SetData(2, "empty", nullptr, 0, false);
        EXPECT_EQ(prefs.GetNumUsers(), 3);
    }
    EXPECT_TRUE(fs::exists(mPrefsFile));
    TPrefs prefs(false);
    EXPECT_EQ(prefs.GetNumUsers(), 3);
    EXPECT_STREQ(prefs.GetString(TPrefs::kGlobal, "curuser", "").c_str(), "1");
    EXPECT_STREQ(prefs.GetString(0, "name", "").c_str(), "Ann");
    EXPECT_EQ(prefs.GetInt(1, "level", 0), 12);
    EXPECT_EQ(prefs.GetInt(1, "missing", 7), 7);
    char buffer[5];
    ASSERT_EQ(prefs.GetData(1, "blob", nullptr, 0), 5);
    ASSERT_EQ(prefs.GetData(1, "blob", buffer, 5), 0);
    EXPECT_EQ(std::string(buffer, 5), raw);
    EXPECT_EQ(prefs.GetData(2, "empty", nullptr, 0), 0);
    EXPECT_STREQ(prefs.GetString(2, "empty", "fallback").c_str(), "");
    EXPECT_STREQ(prefs.GetString(0, "curuser", "fallback").c_str(), "fallback");
}

TEST_F(TPrefsTest, GetDataSizesAndFailures) {
    TPrefs prefs(false);
    prefs.SetString(0, "word", "abc", false);
    char buffer[8] = {};
    EXPECT_EQ(prefs.GetData(0, "word", nullptr, 0), 4);  // the zero is stored too
    EXPECT_EQ(prefs.GetData(0, "word", buffer, 3), 4);
    EXPECT_EQ(prefs.GetData(0, "word", buffer, 4), 0);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(prefs.GetData(0, "other", buffer, 8), -1);
    EXPECT_EQ(prefs.GetData(5, "word", buffer, 8), -1);   // user without a table
    EXPECT_EQ(prefs.GetData(-2, "word", buffer, 8), -1);  // no such user number
    EXPECT_STREQ(prefs.GetString(-2, "word", "none").c_str(), "none");
}

TEST_F(TPrefsTest, UsersGrowAndRemovalShiftsLaterUsers) {
    TPrefs prefs(false);
    prefs.SetString(2, "name", "Cy", false);
    EXPECT_EQ(prefs.GetNumUsers(), 3);
    prefs.SetString(0, "name", "Ann", false);
    prefs.SetString(1, "name", "Bo", false);
    prefs.RemoveUser(3);
    prefs.RemoveUser(-1);
    EXPECT_EQ(prefs.GetNumUsers(), 3);
    prefs.RemoveUser(1);
    EXPECT_EQ(prefs.GetNumUsers(), 2);
    EXPECT_STREQ(prefs.GetString(0, "name", "").c_str(), "Ann");
    EXPECT_STREQ(prefs.GetString(1, "name", "").c_str(), "Cy");
    EXPECT_STREQ(prefs.GetString(2, "name", "gone").c_str(), "gone");
}

TEST_F(TPrefsTest, OutOfRangeUsersKeysAndValuesAreRefused) {
    TPrefs prefs(true);
    EXPECT_FALSE(prefs.SetString(-2, "k", "v", false));
    EXPECT_FALSE(prefs.SetString(1024, "k", "v", false));
    EXPECT_EQ(prefs.GetNumUsers(), 0);
    EXPECT_FALSE(prefs.SetString(0, TString(std::string(65535, 'k').c_str()), "v", false));
    EXPECT_TRUE(prefs.SetString(0, TString(std::string(65534, 'k').c_str()), "v", false));
    // Key length, key, zero and value fill a plaintext of 4 MiB less one byte.
    const std::vector<char> largest(4194304 - 1 - 4);
    EXPECT_FALSE(prefs.SetData(1023, "k", largest.data(), static_cast<int>(largest.size()) + 1, false));
    EXPECT_TRUE(prefs.SetData(1023, "k", largest.data(), static_cast<int>(largest.size()), false));
    EXPECT_FALSE(prefs.SetData(0, "k", nullptr, 3, false));
    EXPECT_FALSE(prefs.SetData(0, "k", "x", -1, false));
    EXPECT_EQ(prefs.GetNumUsers(), 1024);
    ASSERT_TRUE(prefs.Save());
    EXPECT_NE(Log().find("ERROR: TPrefs::SetData: user 1024 out of range for key k"), std::string::npos);

    TPrefs loaded(false);
    EXPECT_EQ(loaded.GetNumUsers(), 1024);
    EXPECT_EQ(loaded.GetData(1023, "k", nullptr, 0), static_cast<int>(largest.size()));
    EXPECT_STREQ(loaded.GetString(0, TString(std::string(65534, 'k').c_str()), "").c_str(), "v");
}

TEST_F(TPrefsTest, InstallationsKeepSeparateTables) {
    {
        TPrefs a(true);
        a.SetString(0, "name", "from A", true);
    }
    SetSetting(kSettingInstallKey, "INSTALL-B");
    {
        TPrefs b(true);
        EXPECT_EQ(b.GetNumUsers(), 0);
        b.SetString(0, "name", "from B", false);
        b.SetString(1, "name", "B2", true);
    }
    // The first block names the installation that saved last.
    TCryptCodec codec(kKey);
    const std::string file = ReadFile(mPrefsFile);
    ASSERT_EQ(file.substr(0, 4), "IKEY");
    std::vector<uint8_t> plain(16);
    ASSERT_EQ(codec.Decrypt(reinterpret_cast<const uint8_t*>(file.data()) + 8, 16, plain.data(), 16, false), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(plain.data()), "install-b");

    SetSetting(kSettingInstallKey, "install-a");
    TPrefs a(false);
    EXPECT_EQ(a.GetNumUsers(), 1);
    EXPECT_STREQ(a.GetString(0, "name", "").c_str(), "from A");
    SetSetting(kSettingInstallKey, "install-b");
    TPrefs b(false);
    EXPECT_EQ(b.GetNumUsers(), 2);
    EXPECT_STREQ(b.GetString(1, "name", "").c_str(), "B2");
}

TEST_F(TPrefsTest, InstallFileGivesTheKey) {
    SetInstallFile("Boxed-Copy");
    {
        TPrefs prefs(true);
        prefs.SetString(0, "name", "boxed", false);
    }
    RegisterMemoryFile("install.txt", nullptr, 0);
    SetSetting(kSettingInstallKey, "boxed-copy");
    {
        TPrefs prefs(false);
        EXPECT_STREQ(prefs.GetString(0, "name", "").c_str(), "boxed");
    }
    // An empty install file takes the key from the first block of the prefs file.
    SetSetting(kSettingInstallKey, "other");
    SetInstallFile("");
    TPrefs prefs(false);
    EXPECT_STREQ(prefs.GetString(0, "name", "").c_str(), "boxed");
}

TEST_F(TPrefsTest, MissingInstallKeyIsUnknown) {
    SetSetting(kSettingInstallKey, "");
    {
        TPrefs prefs(true);
        prefs.SetString(0, "name", "x", false);
    }
    BlockWriter expected;
    expected.Install("unknown");
    EXPECT_EQ(ReadFile(mPrefsFile).substr(0, expected.Bytes().size()), expected.Bytes());
}

struct CorruptCase {
    const char* name;
    std::string file;
    const char* globalValue;  // what the global key "a" reads afterwards
    const char* userValue;    // what user 0's key "b" reads afterwards
};

TEST_F(TPrefsTest, CorruptFilesKeepWhatPrecedesTheFault) {
    auto good = [] { return BlockWriter().Install("install-a").User(0).Pair("a", std::string("A", 2)); };
    std::string cut = good().User(1).Pair("b", std::string("B", 2)).Bytes();
    cut.resize(cut.size() - 3);
    const std::vector<CorruptCase> cases = {
        {"whole", good().User(1).Pair("b", std::string("B", 2)).Bytes(), "A", "B"},
        {"first block not a key", BlockWriter().User(0).Install("install-a").User(0).Pair("a", "A").Bytes(), "-", "-"},
        {"cut in the last block", cut, "A", "-"},
        {"user index 1025", good().User(1025).Pair("b", "B").Bytes(), "A", "-"},
        {"short user block", good().Raw("USER", std::string(1, '\1')).Pair("b", "B").Bytes(), "A", "-"},
        {"zero length", good().Raw("USER", "").User(1).Pair("b", "B").Bytes(), "A", "-"},
        // A damaged block whose length is sound is skipped, and the blocks after it load.
        {"unknown tag", good().Encrypted("XXXX", "xx").User(1).Pair("b", "B").Bytes(), "A", "B"},
        {"unknown tag hides the pair's user", good().Raw("XSER", "\1\0").Pair("b", "B").Bytes(), "A", "-"},
        {"undecryptable key block hides its pairs",
         good().Raw("IKEY", std::string(8, '\x55')).User(1).Pair("b", "B").Bytes(), "A", "-"},
        {"pair shorter than its key", good().User(1).Encrypted("KVPR", std::string("\x09\0b\0", 4)).Bytes(), "A", "-"},
        {"pair without table", BlockWriter().Install("install-a").Install("other").Pair("a", "A").Bytes(), "-", "-"},
        {"bad cipher text", good().User(1).Raw("KVPR", std::string(8, '\x55')).Pair("b", "B").Bytes(), "A", "B"},
    };
    for (const CorruptCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(mPrefsFile, c.file);
        TPrefs prefs(false);
        EXPECT_STREQ(prefs.GetString(TPrefs::kGlobal, "a", "-").c_str(), c.globalValue);
        EXPECT_STREQ(prefs.GetString(0, "b", "-").c_str(), c.userValue);
    }
}

// Three users, the middle one's "USER" block damaged: the others load, the
// first save sets the damaged file aside as "prefs.dat.bad" and later saves
// leave that copy alone.
TEST_F(TPrefsTest, DamagedMiddleBlockKeepsTheOtherUsersAndTheDamagedFile) {
    const std::string damaged = BlockWriter()
                                    .Install("install-a")
                                    .User(1).Pair("name", "first")
                                    .Raw("U\xff" "ER", "\2\0").Pair("name", "middle")
                                    .User(3).Pair("name", "last")
                                    .Bytes();
    WriteFile(mPrefsFile, damaged);
    const fs::path bad = mUser / "prefs.dat.bad";
    {
        TPrefs prefs(true);
        EXPECT_EQ(prefs.GetNumUsers(), 3);
        EXPECT_STREQ(prefs.GetString(0, "name", "-").c_str(), "first");
        EXPECT_STREQ(prefs.GetString(1, "name", "-").c_str(), "-");
        EXPECT_STREQ(prefs.GetString(2, "name", "-").c_str(), "last");
        EXPECT_NE(Log().find("skipped block"), std::string::npos) << Log();
        EXPECT_FALSE(fs::exists(bad));
        ASSERT_TRUE(prefs.Save());
        EXPECT_EQ(ReadFile(bad), damaged);
        ASSERT_TRUE(prefs.SetString(0, "name", "renamed", true));
    }
    EXPECT_EQ(ReadFile(bad), damaged);
    TPrefs reloaded(true);
    EXPECT_STREQ(reloaded.GetString(0, "name", "-").c_str(), "renamed");
    EXPECT_STREQ(reloaded.GetString(2, "name", "-").c_str(), "last");
}

TEST_F(TPrefsTest, SoundFilesLeaveNoDamagedCopy) {
    for (const std::string& file : {std::string(), BlockWriter().Install("install-a").User(0).Pair("a", "A").Bytes()}) {
        WriteFile(mPrefsFile, file);
        TPrefs prefs(true);
        ASSERT_TRUE(prefs.Save());
        EXPECT_FALSE(fs::exists(mUser / "prefs.dat.bad"));
    }
}

TEST_F(TPrefsTest, SaveRemovesTemporaryFilesOfAnInterruptedSave) {
    const fs::path stale = mUser / "prefs.dat.x7Yq2Z";
    WriteFile(stale, "half written");
    TPrefs prefs(true);
    ASSERT_TRUE(prefs.SetString(0, "name", "x", true));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(mPrefsFile));
}

// Names of the player's files in the assets (a pack entry or a loose file)
// never stand in for the real ones; a write to a memory block is refused.
TEST_F(TPrefsTest, AssetsNeverShadowThePlayersFile) {
    const fs::path work = mRoot / "work";
    fs::create_directories(work / "assets");
    const std::string pack = std::string("QMPK\1\0\0\0\x0euser:prefs.dat", 23) + std::string("\x1f\0\0\0\x05\0\0\0", 8) + "bogus";
    WriteFile(work / "assets/data.qmp", pack);
    WriteFile(work / "assets/common:prefs.dat", "loose");
    const fs::path previous = fs::current_path();
    fs::current_path(work);
    LoadAssetManifest();
    fs::current_path(previous);
    EXPECT_EQ(std::string(ResolvePath("common:prefs.dat", true).c_str()), "");
    {
        TPrefs prefs(true);
        EXPECT_EQ(prefs.GetNumUsers(), 0);
        EXPECT_TRUE(prefs.SetString(0, "name", "saved", true));
    }
    // Nothing was written under a pack target's name in the working folder.
    for (const auto& entry : fs::directory_iterator(work)) EXPECT_EQ(entry.path().filename(), "assets");
    TPrefs reloaded(false);
    EXPECT_STREQ(reloaded.GetString(0, "name", "-").c_str(), "saved");

    static const char kBlock[] = "memory";
    RegisterMemoryFile("user:prefs.dat", kBlock, sizeof kBlock);
    TPrefs shadowed(true);
    EXPECT_FALSE(shadowed.Save());
    EXPECT_NE(Log().find("user:prefs.dat names a read-only memory block"), std::string::npos) << Log();
}

TEST_F(TPrefsTest, BlockLengthLimitAndUnterminatedTexts) {
    // A length field above 4 MiB ends the load.
    std::string big = BlockWriter().Install("install-a").User(0).Pair("a", "A").Bytes();
    big += std::string("USER\x01\x00\x40\x00", 8) + std::string(4194305, '\0');
    WriteFile(mPrefsFile, big);
    {
        TPrefs prefs(false);
        EXPECT_STREQ(prefs.GetString(TPrefs::kGlobal, "a", "-").c_str(), "A");
        EXPECT_EQ(prefs.GetNumUsers(), 0);
    }
    // Texts that lack their zero are read up to the end of their payload.
    std::string pair = std::string("\x03\0", 2) + "key" + "value";
    WriteFile(mPrefsFile, BlockWriter().Encrypted("IKEY", "install-a").User(1).Encrypted("KVPR", pair).Bytes());
    TPrefs prefs(false);
    EXPECT_STREQ(prefs.GetString(0, "key", "-").c_str(), "value");
}

TEST_F(TPrefsTest, UserIndex1024IsAccepted) {
    WriteFile(mPrefsFile, BlockWriter().Install("install-a").User(1024).Pair("b", "B").Bytes());
    TPrefs prefs(false);
    EXPECT_EQ(prefs.GetNumUsers(), 1024);
    EXPECT_STREQ(prefs.GetString(1023, "b", "-").c_str(), "B");
}

// The legacy file: an encrypted inner document and its checksum, in XML.
std::string LegacyFile(const char* key, bool rightChecksum) {
    TXmlNode inner;
    TXmlNode* install = inner.AddChild("install");
    install->SetAttribute("qminstallkey", "Install-A");
    TXmlNode* global = install->AddChild("global");
    global->SetAttribute("curuser", "0");
    TXmlNode* user = install->AddChild("user");
    user->SetAttribute("name", "Öld");
    TXmlNode* other = inner.AddChild("install");
    other->SetAttribute("qminstallkey", "elsewhere");
    other->AddChild("global")->SetAttribute("curuser", "5");
    TString text;
    inner.WriteToString(text);
    if (!*key) {
        return text.c_str();
    }
    return LegacyPrefsFile(text, key, rightChecksum);
}

TEST_F(TPrefsTest, LegacyFileIsConvertedOnLoad) {
    WriteFile(mPrefsFile, LegacyFile(kKey, true));
    ASSERT_EQ(ReadFile(mPrefsFile).substr(0, 2), "<>");
    {
        TPrefs prefs(true);
        EXPECT_EQ(prefs.GetNumUsers(), 1);
        EXPECT_STREQ(prefs.GetString(TPrefs::kGlobal, "curuser", "").c_str(), "0");
        EXPECT_STREQ(prefs.GetString(0, "name", "").c_str(), "Öld");
        EXPECT_EQ(prefs.GetData(0, "name", nullptr, 0), 5);
    }
    EXPECT_EQ(ReadFile(mPrefsFile).substr(0, 4), "IKEY");
    SetSetting(kSettingInstallKey, "elsewhere");
    TPrefs other(false);
    EXPECT_STREQ(other.GetString(TPrefs::kGlobal, "curuser", "").c_str(), "5");
}

TEST_F(TPrefsTest, LegacyFileWithWrongChecksumGivesEmptyTables) {
    WriteFile(mPrefsFile, LegacyFile(kKey, false));
    {
        TPrefs prefs(true);
        EXPECT_EQ(prefs.GetNumUsers(), 0);
        EXPECT_STREQ(prefs.GetString(TPrefs::kGlobal, "curuser", "-").c_str(), "-");
    }
    EXPECT_EQ(ReadFile(mPrefsFile).substr(0, 4), "IKEY");
}

TEST_F(TPrefsTest, LegacyFileWithoutKeyIsPlainAndGivesTheInstallKey) {
    SetSetting(kSettingEncryptionKey, "");
    SetSetting(kSettingInstallKey, "ignored");
    SetInstallFile("");
    WriteFile(mPrefsFile, LegacyFile("", true));
    TPrefs prefs(false);
    EXPECT_STREQ(prefs.GetString(0, "name", "").c_str(), "Öld");
    EXPECT_NE(Log().find("ERROR: No encryption key set before TPrefs construction!"), std::string::npos);
}

TEST_F(TPrefsTest, LegacyTablesBeyondTheUserLimitAreDroppedSoTheSavedFileReloads) {
    SetSetting(kSettingEncryptionKey, "");
    SetSetting(kSettingInstallKey, "a");
    TXmlNode document;
    TXmlNode* install = document.AddChild("install");
    install->SetAttribute("qminstallkey", "a");
    install->AddChild("global")->SetAttribute("curuser", "0");
    for (int user = 0; user < 1100; ++user) {
        install->AddChild("user")->SetAttributeInt("number", user);
    }
    TString text;
    document.WriteToString(text);
    WriteFile(mPrefsFile, text.c_str());
    {
        TPrefs prefs(true);
        EXPECT_EQ(prefs.GetNumUsers(), 1024);
    }
    EXPECT_NE(Log().find("legacy file has more tables than can be saved"), std::string::npos);
    TPrefs reloaded(false);
    EXPECT_EQ(reloaded.GetNumUsers(), 1024);
    EXPECT_EQ(reloaded.GetInt(1023, "number", -1), 1023);
}

TEST_F(TPrefsTest, FailedSaveKeepsTheOldFile) {
    const std::vector<char> bulk(200 * 1024, 'x');
    {
        TPrefs prefs(true);
        prefs.SetString(0, "name", "kept", false);
        ASSERT_TRUE(prefs.SetData(0, "bulk", bulk.data(), static_cast<int>(bulk.size()), true));
    }
    const std::string before = ReadFile(mPrefsFile);
    TPrefs prefs(true);
    prefs.SetString(0, "name", "changed", false);
    bool savedOk = true;
    {
        // The save fails part of the way through.
        FileSizeLimit limit(100 * 1024);
        ASSERT_TRUE(limit.Ok());
        savedOk = prefs.Save();
    }
    EXPECT_FALSE(savedOk);
    EXPECT_EQ(ReadFile(mPrefsFile), before);
    EXPECT_NE(Log().find("ERROR: TPrefs::Save: cannot write"), std::string::npos) << Log();
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(mUser)) {
        ++files;
    }
    EXPECT_EQ(files, 1);  // no temporary file left behind
}

TEST_F(TPrefsTest, SaveWithoutUserFolderIsLogged) {
    SetDataFolders("", "", "");
    TPrefs prefs(true);
    EXPECT_FALSE(prefs.SetString(0, "name", "x", true));
    EXPECT_NE(Log().find("ERROR: TPrefs::Save: no folder for user:prefs.dat"), std::string::npos) << Log();
}

}  // namespace
