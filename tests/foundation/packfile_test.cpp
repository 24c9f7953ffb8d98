#include "foundation/packfile.h"

#include "foundation/debuglog.h"
#include "foundation/file.h"
#include "foundation/flatfilemap.h"
#include "tests/foundation/virtualfilesfixture.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <unistd.h>
#include <string>
#include <utility>
#include <vector>

namespace {

using PackFiles = VirtualFilesTest;

struct Record {
    std::string name;
    int32_t offset;
    int32_t size;
};

void PutInt32(std::string& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string Index(const std::vector<Record>& records, uint32_t count) {
    std::string bytes = "QMPK";
    PutInt32(bytes, count);
    for (const Record& r : records) {
        bytes += static_cast<char>(r.name.size());
        bytes += r.name;
        PutInt32(bytes, static_cast<uint32_t>(r.offset));
        PutInt32(bytes, static_cast<uint32_t>(r.size));
    }
    return bytes;
}

// A pack holding the entries, their data after the index in order.
std::string MakePack(const std::vector<std::pair<std::string, std::string>>& entries) {
    size_t indexSize = 8;
    for (const auto& entry : entries) indexSize += 9 + entry.first.size();
    std::vector<Record> records;
    std::string data;
    for (const auto& [name, bytes] : entries) {
        records.push_back({name, static_cast<int32_t>(indexSize + data.size()), static_cast<int32_t>(bytes.size())});
        data += bytes;
    }
    return Index(records, static_cast<uint32_t>(records.size())) + data;
}

std::string ReadName(const char* name, int mode = kFileReadBinary) {
    TFile file;
    if (!file.Open(name, mode)) return "<missing>";
    std::string bytes;
    char buffer[16];
    size_t count;
    while ((count = file.Read(buffer, sizeof buffer)) > 0) bytes.append(buffer, count);
    return bytes;
}

TEST_F(PackFiles, EntriesWithCapitalsOpenUnderAnyCase) {
    mTemp.Write("assets/data.qmp",
                MakePack({{"Fonts/Big.MVEC", "0123456789"}, {"Readme.TXT", "read me"}}));
    LoadAssetManifest();
    for (const char* name : {"fonts/big.mvec", "FONTS/BIG.mvec", "assets/Fonts/Big.MVEC", "assets\\fonts/big.mvec"}) {
        EXPECT_EQ(ReadName(name), "0123456789") << name;
    }
    EXPECT_EQ(ReadName("readme.txt"), "read me");
    TString target = ResolvePath("readme.txt", true);
    EXPECT_EQ(target.CharAt(0), '@');
    EXPECT_NE(target.Find(":"), -1);
}

TEST_F(PackFiles, ReadSeekTellAndEndOfEntry) {
    mTemp.Write("assets/data.qmp", MakePack({{"before", "xx"}, {"Digits.bin", "0123456789"}, {"after", "yy"}}));
    LoadAssetManifest();
    TFile file;
    ASSERT_TRUE(file.Open("digits.bin", kFileReadBinary));
    EXPECT_EQ(file.GetSize(), 10);
    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    EXPECT_EQ(file.Tell(), 4);
    EXPECT_TRUE(file.Seek(-2, kSeekEnd));
    EXPECT_EQ(file.Getc(), '8');
    // Reaching the end exactly does not set the end flag; a read cut short does.
    EXPECT_EQ(file.Read(buffer, 1), 1u);
    EXPECT_FALSE(file.Eof());
    EXPECT_EQ(file.Read(buffer, 4), 0u);
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(file.Getc(), -1);
    // Stepping back clears it; seeks stay inside the entry.
    file.UngetChar();
    EXPECT_FALSE(file.Eof());
    EXPECT_EQ(file.Getc(), '9');
    EXPECT_TRUE(file.Seek(-100, kSeekCurrent));
    EXPECT_EQ(file.Tell(), 0);
    file.UngetChar();
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_TRUE(file.Seek(100, kSeekStart));
    EXPECT_EQ(file.Tell(), 10);
    EXPECT_TRUE(file.Seek(3, kSeekStart));
    EXPECT_EQ(file.Read(buffer, 16), 7u);
    EXPECT_EQ(std::string(buffer, 7), "3456789");
    EXPECT_TRUE(file.Eof());
    // Entries cannot be written or opened for writing.
    EXPECT_EQ(file.Write("z", 1), 0u);
    EXPECT_FALSE(file.Open("digits.bin", kFileWriteBinary));
}

TEST_F(PackFiles, TextReadDropsCarriageReturns) {
    mTemp.Write("assets/data.qmp", MakePack({{"crlf.txt", "a\r\nb"}, {"lines.txt", "one\r\ntwo"}}));
    LoadAssetManifest();
    TFile file;
    ASSERT_TRUE(file.Open("crlf.txt", kFileReadText));
    char buffer[4];
    ASSERT_EQ(file.Read(buffer, 4), 3u);
    EXPECT_EQ(std::string(buffer, 3), "a\nb");
    EXPECT_EQ(ReadName("crlf.txt"), "a\r\nb");
    // Lines come back whole, the last one without its line end too.
    ASSERT_TRUE(file.Open("lines.txt", kFileReadBinary));
    char line[16];
    std::vector<std::string> lines;
    while (file.Gets(line, sizeof line)) lines.emplace_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"one\r", "\n", "two"}));
}

TEST_F(PackFiles, LooseFileBeatsPackEntry) {
    mTemp.Write("assets/data.qmp", MakePack({{"Shared.txt", "packed"}, {"only.txt", "pack only"}}));
    mTemp.Write("assets/shared.TXT", "loose");
    LoadAssetManifest();
    EXPECT_EQ(ReadName("shared.txt"), "loose");
    EXPECT_EQ(ReadName("only.txt"), "pack only");
}

TEST_F(PackFiles, LaterPackReplacesEarlierEntries) {
    mTemp.Write("assets/a.qmp", MakePack({{"x.txt", "from a"}}));
    mTemp.Write("assets/b.qmp", MakePack({{"X.txt", "from b"}}));
    LoadAssetManifest();
    EXPECT_EQ(ReadName("x.txt"), "from b");
}

TEST_F(PackFiles, RemountingKeepsThePackNumberAndOpenEntriesStayReadable) {
    mTemp.Write("assets/data.qmp", MakePack({{"e.txt", "old bytes"}}));
    TVirtualFileTable table;
    ASSERT_TRUE(AddPackFile(table, "::assets/data.qmp"));
    TString first = table["e.txt"];
    ASSERT_EQ(first.CharAt(0), '@');

    TFlatFileMap entry;
    ASSERT_TRUE(entry.Open(first, kFileReadBinary));
    // Replace the file (a new file under the old name) and mount it again.
    mTemp.Write("assets/new.qmp", MakePack({{"padding", "-----"}, {"e.txt", "new bytes!"}}));
    ASSERT_EQ(std::rename((mTemp / "assets/new.qmp").c_str(), (mTemp / "assets/data.qmp").c_str()), 0);
    ASSERT_TRUE(AddPackFile(table, "::assets/data.qmp"));
    TString second = table["e.txt"];
    EXPECT_EQ(first.SubString(0, first.FindChar(':')), second.SubString(0, second.FindChar(':')));
    EXPECT_NE(first, second);

    char buffer[16];
    ASSERT_EQ(entry.Read(buffer, sizeof buffer), 9u);
    EXPECT_EQ(std::string(buffer, 9), "old bytes");
    TFlatFileMap fresh;
    ASSERT_TRUE(fresh.Open(second, kFileReadBinary));
    ASSERT_EQ(fresh.Read(buffer, sizeof buffer), 10u);
    EXPECT_EQ(std::string(buffer, 10), "new bytes!");
}

TEST_F(PackFiles, FilesThatAreNoPacksAreRefused) {
    TVirtualFileTable table;
    mTemp.Write("assets/bad.qmp", "QMPX" + MakePack({{"a", "b"}}).substr(4));
    mTemp.Write("assets/short.qmp", "QMP");
    mTemp.Write("assets/empty.qmp", "");
    for (const char* path : {"::assets/bad.qmp", "::assets/short.qmp", "::assets/empty.qmp", "::assets/missing.qmp"}) {
        EXPECT_FALSE(AddPackFile(table, path)) << path;
    }
    EXPECT_TRUE(table.empty());
}

TEST_F(PackFiles, TruncatedIndexKeepsTheEntriesBeforeTheCut) {
    // Three records announced; the file ends inside the name of the third.
    std::string cut = Index({{"one", 0, 1}, {"two", 1, 2}}, 3) + std::string("\x05thr", 4);
    mTemp.Write("assets/cut.qmp", cut);
    TVirtualFileTable table;
    EXPECT_TRUE(AddPackFile(table, "::assets/cut.qmp"));
    EXPECT_EQ(table.count("one"), 1u);
    EXPECT_EQ(table.count("two"), 1u);
    EXPECT_EQ(table.size(), 2u);
    // A count far above the records present.
    mTemp.Write("assets/count.qmp", Index({{"one", 0, 4}}, 1000000));
    TVirtualFileTable other;
    EXPECT_TRUE(AddPackFile(other, "::assets/count.qmp"));
    EXPECT_EQ(other.size(), 1u);
    // A pack cut inside the count.
    mTemp.Write("assets/nocount.qmp", std::string("QMPK\x01\x00", 6));
    TVirtualFileTable none;
    EXPECT_TRUE(AddPackFile(none, "::assets/nocount.qmp"));
    EXPECT_TRUE(none.empty());
}

TEST_F(PackFiles, PackCutAtAnyLengthRegistersOnlyReadableEntries) {
    const std::string pack = MakePack({{"a.txt", "alpha"}, {"Sub/B.txt", "bravo!"}, {"c", ""}});
    for (size_t length = 0; length <= pack.size(); ++length) {
        const std::string path = "assets/cut" + std::to_string(length) + ".qmp";
        mTemp.Write(path, pack.substr(0, length));
        TVirtualFileTable table;
        AddPackFile(table, TString("::") + path.c_str());
        for (const auto& [name, target] : table) {
            TFlatFileMap entry;
            ASSERT_TRUE(entry.Open(target, kFileReadBinary)) << length << " " << name.c_str();
            std::string bytes(static_cast<size_t>(entry.GetSize()), '\0');
            ASSERT_EQ(entry.Read(bytes.data(), bytes.size()), bytes.size());
            EXPECT_NE(pack.find(bytes), std::string::npos);
        }
        // The whole pack registers all three entries.
        if (length == pack.size()) {
            EXPECT_EQ(table.size(), 3u);
        }
    }
}

TEST_F(PackFiles, EntriesOutsideTheFileAreSkipped) {
    auto records = [](int32_t dataStart) {
        return std::vector<Record>{
            {"good", dataStart, 4},        {"empty", dataStart + 4, 0}, {"past", dataStart + 2, 4},
            {"negsize", dataStart, -1},    {"negoff", -4, 2},           {"huge", 2147483647, 2147483647},
        };
    };
    const int32_t dataStart = static_cast<int32_t>(Index(records(0), 6).size());
    mTemp.Write("assets/data.qmp", Index(records(dataStart), 6) + "data");
    LoadAssetManifest();
    EXPECT_EQ(ReadName("good"), "data");
    EXPECT_EQ(ReadName("empty"), "");
    for (const char* name : {"past", "negsize", "negoff", "huge"}) EXPECT_FALSE(FileExists(name)) << name;
}

// Entries that cannot be entered are skipped with one log line for the pack:
// no name, a zero inside the name, or a name of the player's or raw files.
TEST_F(PackFiles, EntriesWithUnusableNamesAreSkippedWithOneLine) {
    SetLogFolder((mTemp / "log").c_str());
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"", "nameless"},      {std::string("a\0b", 3), "zero"}, {"User:prefs.dat", "player"},
        {"common:x", "common"}, {"desktop:y", "desktop"},          {"::raw", "raw"},
        {"b.txt", "bee"},       {"a", "kept"},
    };
    mTemp.Write("assets/data.qmp", MakePack(entries));
    LoadAssetManifest();
    const std::string log = mTemp.Read("log/logfile.txt");
    SetLogFolder(nullptr);
    std::vector<std::string> names;
    TString name;
    while (FindVirtualFile("", name, true) && names.size() < 10) names.emplace_back(name.c_str());
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b.txt", "data.qmp"}));
    EXPECT_EQ(ReadName("a"), "kept");
    EXPECT_FALSE(FileExists(""));
    EXPECT_NE(log.find("skipped 6 entries"), std::string::npos) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
}

// Entries larger than the read-ahead, read in pieces of every size, in both
// modes, come back whole.
TEST_F(PackFiles, LargeEntriesReadInAnyPieces) {
    std::string content;
    for (int i = 0; i < 20000; ++i) content += static_cast<char>(i % 7 == 0 ? '\r' : 'a' + i % 26);
    std::string text = content;
    std::erase(text, '\r');
    mTemp.Write("assets/data.qmp", MakePack({{"big", content}}));
    LoadAssetManifest();
    for (size_t piece : {size_t(1), size_t(100), size_t(4095), size_t(4096), size_t(9000), size_t(30000)}) {
        for (int mode : {kFileReadBinary, kFileReadText}) {
            TFile file;
            ASSERT_TRUE(file.Open("big", mode));
            std::string bytes;
            std::string buffer(piece, '\0');
            size_t count;
            while ((count = file.Read(buffer.data(), piece)) > 0) bytes.append(buffer, 0, count);
            EXPECT_EQ(bytes, mode == kFileReadBinary ? content : text) << piece << " " << mode;
            // A text read that ends on a dropped "\r" returns nothing without being cut short.
            if (mode == kFileReadBinary) {
                EXPECT_TRUE(file.Eof()) << piece;
            }
        }
    }
}

// A pack cut short or rewritten in place while mounted: reads of its entries
// fail with a log line, whatever the read size, and never raise a signal.
TEST_F(PackFiles, PackChangedOnDiskGivesReadErrors) {
    const std::string big(20000, 'b');
    const std::string pack = MakePack({{"small", "tiny"}, {"big", big}});
    struct Change {
        const char* name;
        void (*apply)(const std::string& path, size_t keep);
    };
    const Change changes[] = {
        {"truncated", [](const std::string& path, size_t keep) { ASSERT_EQ(truncate(path.c_str(), keep), 0); }},
        {"rewritten shorter", [](const std::string& path, size_t keep) {
             std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(keep, 'x');
         }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        SetLogFolder((mTemp / "log").c_str());
        mTemp.Write("assets/data.qmp", pack);
        ClearVirtualFiles();
        LoadAssetManifest();
        TFile early;
        ASSERT_TRUE(early.Open("big", kFileReadBinary));
        char first[10];
        ASSERT_EQ(early.Read(first, sizeof first), sizeof first);
        change.apply(mTemp / "assets/data.qmp", pack.size() - big.size() + 6000);

        std::string buffer(big.size(), '\0');
        EXPECT_LT(early.Read(buffer.data(), buffer.size()), big.size() - sizeof first);
        TFile late;
        ASSERT_TRUE(late.Open("big", kFileReadBinary));
        ASSERT_TRUE(late.Seek(10000, kSeekStart));
        EXPECT_EQ(late.Getc(), -1);
        EXPECT_TRUE(late.Eof());
        const std::string log = mTemp.Read("log/logfile.txt");
        SetLogFolder(nullptr);
        EXPECT_NE(log.find("error reading @"), std::string::npos) << log;
    }
}

TEST_F(PackFiles, MalformedTargetsFailToOpen) {
    mTemp.Write("assets/data.qmp", MakePack({{"e", "bytes"}}));
    LoadAssetManifest();
    TString good = ResolvePath("e", true);
    TFlatFileMap map;
    ASSERT_TRUE(map.Open(good, kFileReadBinary));
    for (const char* target : {"@", "@0", "@0:1", "@:1,1", "@x:1,1", "@99999:0,1", "@-1:0,1", "&1,1"}) {
        EXPECT_FALSE(map.Open(target, kFileReadBinary)) << target;
        EXPECT_TRUE(map.Eof());
        EXPECT_EQ(map.GetSize(), 0);
    }
    // An entry reaching past the mapped bytes is refused when opened.
    TString pack = good.SubString(0, good.FindChar(':'));
    EXPECT_FALSE(map.Open(pack + ":0,100000", kFileReadBinary));
    EXPECT_FALSE(map.Open(pack + ":-1,2", kFileReadBinary));
}

}  // namespace
