#include "foundation/file.h"

#include "tests/foundation/virtualfilesfixture.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

using FileTest = VirtualFilesTest;

std::string ReadAll(TFile& file) {
    std::string bytes;
    char buffer[64];
    size_t count;
    while ((count = file.Read(buffer, sizeof buffer)) > 0) bytes.append(buffer, count);
    return bytes;
}

bool WriteFile(const char* name, const std::string& bytes, int mode = kFileWriteBinary) {
    TFile file;
    return file.Open(name, mode) && file.Write(bytes.data(), bytes.size()) == bytes.size();
}

TEST_F(FileTest, WritingAUserFileCreatesItsFolderWhileReadingItFirstFails) {
    TFile file;
    EXPECT_FALSE(file.Open("user:a/b.txt", kFileReadBinary));
    EXPECT_FALSE(FileExists("user:a/b.txt"));
    ASSERT_TRUE(WriteFile("user:a/b.txt", "hello"));
    EXPECT_EQ(mTemp.Read("user/a/b.txt"), "hello");
    ASSERT_TRUE(file.Open("user:a/b.txt", kFileReadBinary));
    EXPECT_EQ(ReadAll(file), "hello");
    // Deeper folders below the common folder too.
    ASSERT_TRUE(WriteFile("common:x/y/z.dat", "deep"));
    EXPECT_EQ(mTemp.Read("common/x/y/z.dat"), "deep");
    // Folders given with a trailing separator work the same.
    SetDataFolders((UserFolder() + "\\").c_str(), (CommonFolder() + "/").c_str(), "");
    ASSERT_TRUE(WriteFile("user:c/d.txt", "trailing"));
    EXPECT_EQ(mTemp.Read("user/c/d.txt"), "trailing");
}

TEST_F(FileTest, RootedNamesFindFilesWhateverTheirLetterCase) {
    // Written under one case, found again under another in a later run.
    ASSERT_TRUE(WriteFile("user:Prefs.dat", "prefs"));
    mTemp.Write("user/Saves/Slot1.DAT", "slot");
    ClearVirtualFiles();
    EXPECT_TRUE(FileExists("user:prefs.dat"));
    EXPECT_TRUE(FileExists("USER:SAVES/slot1.dat"));
    TFile file;
    ASSERT_TRUE(file.Open("user:saves\\SLOT1.dat", kFileReadBinary));
    EXPECT_EQ(ReadAll(file), "slot");
    // Rewriting under another case replaces the file on disk rather than adding a twin.
    ASSERT_TRUE(WriteFile("user:PREFS.DAT", "new"));
    EXPECT_EQ(mTemp.Read("user/Prefs.dat"), "new");
    EXPECT_EQ(mTemp.Read("user/PREFS.DAT"), "");
}

TEST_F(FileTest, RawPathsReachDiskFiles) {
    mTemp.Write("Data/Raw.txt", "raw");
    TFile file;
    ASSERT_TRUE(file.Open("::data/raw.txt", kFileReadBinary));
    EXPECT_EQ(ReadAll(file), "raw");
    ASSERT_TRUE(file.Open(TString("::") + (mTemp / "Data/Raw.txt").c_str(), kFileReadBinary));
    EXPECT_EQ(ReadAll(file), "raw");
    EXPECT_FALSE(file.Open("::data/missing.txt", kFileReadBinary));
    EXPECT_TRUE(file.IsClosed());
    // Folders are not files.
    EXPECT_FALSE(file.Open("::data", kFileReadBinary));
    EXPECT_FALSE(file.Open("user:", kFileReadBinary));
    // A raw path is written only when the file is already there.
    EXPECT_FALSE(WriteFile("::Data/New.txt", "new"));
    EXPECT_FALSE(std::filesystem::exists(mTemp / "Data/New.txt"));
    ASSERT_TRUE(WriteFile("::DATA/raw.TXT", "rewritten"));
    EXPECT_EQ(mTemp.Read("Data/Raw.txt"), "rewritten");
    // Names that look like memory or pack targets are still disk files.
    mTemp.Write("&4096,16", "not memory");
    mTemp.Write("@0:0,4", "not a pack");
    ASSERT_TRUE(file.Open("::&4096,16", kFileReadBinary));
    EXPECT_EQ(ReadAll(file), "not memory");
    ASSERT_TRUE(file.Open("::@0:0,4", kFileReadBinary));
    EXPECT_EQ(ReadAll(file), "not a pack");
}

TEST_F(FileTest, OpenModes) {
    ASSERT_TRUE(WriteFile("user:log.txt", "one\n", kFileWriteText));
    ASSERT_TRUE(WriteFile("user:log.txt", "two\r\n", kFileAppendBinary));
    ASSERT_TRUE(WriteFile("user:log.txt", "three\n", kFileAppendText));
    EXPECT_EQ(mTemp.Read("user/log.txt"), "one\ntwo\r\nthree\n");
    TFile file;
    ASSERT_TRUE(file.Open("user:log.txt", kFileReadBinary));
    EXPECT_EQ(ReadAll(file), "one\ntwo\r\nthree\n");
    // Text reads drop carriage returns; an unlisted mode reads as text.
    for (int mode : {kFileReadText, 17}) {
        ASSERT_TRUE(file.Open("user:log.txt", mode));
        EXPECT_EQ(ReadAll(file), "one\ntwo\nthree\n") << mode;
    }
    // Writing replaces the file; a read-only handle writes nothing.
    ASSERT_TRUE(WriteFile("user:log.txt", "new"));
    ASSERT_TRUE(file.Open("user:log.txt", kFileReadBinary));
    EXPECT_EQ(file.Write("x", 1), 0u);
    EXPECT_EQ(ReadAll(file), "new");
}

TEST_F(FileTest, SeekTellSizeAndEndOfFile) {
    mTemp.Write("user/data.bin", "0123456789");
    TFile file;
    ASSERT_TRUE(file.Open("user:data.bin", kFileReadBinary));
    EXPECT_EQ(file.GetSize(), 10);
    EXPECT_TRUE(file.Seek(4, kSeekStart));
    EXPECT_EQ(file.Tell(), 4);
    EXPECT_TRUE(file.Seek(2, kSeekCurrent));
    EXPECT_EQ(file.Getc(), '6');
    EXPECT_TRUE(file.Seek(-1, kSeekEnd));
    EXPECT_EQ(file.Getc(), '9');
    EXPECT_FALSE(file.Eof());
    EXPECT_EQ(file.Getc(), -1);
    EXPECT_TRUE(file.Eof());
    // Seeks before the start stop at the start.
    EXPECT_TRUE(file.Seek(-100, kSeekCurrent));
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_FALSE(file.Eof());
    EXPECT_TRUE(file.Seek(-3, kSeekStart));
    EXPECT_EQ(file.Tell(), 0);
    // Stepping back at the start does nothing; after a read it re-reads the byte.
    file.UngetChar();
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_EQ(file.Getc(), '0');
    file.UngetChar();
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_EQ(file.Getc(), '0');
    EXPECT_EQ(file.Getc(), '1');
}

TEST_F(FileTest, ClosedHandlesDoNothing) {
    TFile file;
    char buffer[4] = "abc";
    EXPECT_TRUE(file.IsClosed());
    EXPECT_EQ(file.Read(buffer, 3), 0u);
    EXPECT_EQ(file.Write(buffer, 3), 0u);
    EXPECT_EQ(file.Tell(), -1);
    EXPECT_EQ(file.GetSize(), 0);
    EXPECT_TRUE(file.Eof());
    EXPECT_FALSE(file.Seek(0, kSeekStart));
    EXPECT_EQ(file.Getc(), -1);
    EXPECT_EQ(file.Gets(buffer, 4), nullptr);
    // The free functions accept a null handle.
    EXPECT_EQ(FileOpen("user:missing.txt", kFileReadBinary), nullptr);
    EXPECT_EQ(FileRead(nullptr, buffer, 3), 0u);
    EXPECT_EQ(FileTell(nullptr), -1);
    EXPECT_TRUE(FileEof(nullptr));
    EXPECT_TRUE(FileIsClosed(nullptr));
    EXPECT_EQ(FileGetc(nullptr), -1);
    EXPECT_EQ(FileGets(nullptr, buffer, 4), nullptr);
    FileClose(nullptr);
}

TEST_F(FileTest, FreeFunctionsOverAnOpenFile) {
    TFile* file = FileOpen("user:f.txt", kFileWriteBinary);
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(FileIsClosed(file));
    EXPECT_EQ(FileWrite(file, "abc", 3), 3u);
    FileClose(file);
    file = FileOpen("user:f.txt", kFileReadBinary);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(FileGetc(file), 'a');
    FileUngetc(file);
    char buffer[8];
    EXPECT_EQ(FileRead(file, buffer, 8), 3u);
    EXPECT_EQ(std::string(buffer, 3), "abc");
    EXPECT_TRUE(FileSeek(file, 1, kSeekStart));
    EXPECT_EQ(FileTell(file), 1);
    FileClose(file);
}

std::vector<std::string> ReadLines(TFile& file, int size) {
    std::vector<std::string> lines;
    std::vector<char> buffer(size > 0 ? size : 1, 'x');
    while (char* end = file.Gets(buffer.data(), size)) {
        lines.emplace_back(buffer.data());
        EXPECT_EQ(end, buffer.data() + lines.back().size());
    }
    return lines;
}

TEST_F(FileTest, GetsKeepsLineEndsAndTheLastLineWithoutOne) {
    struct Case {
        std::string text;
        int size;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\r\nb\nc", 16, {"a\r", "\n", "b\n", "c"}},
        {"one\ntwo\n", 16, {"one\n", "two\n"}},
        {"abcdefg", 4, {"abc", "def", "g"}},
        {"", 16, {}},
        {"ab", 2, {"a", "b"}},
        {"ab", 1, {}},
        {"ab", 0, {}},
    };
    for (const Case& c : cases) {
        mTemp.Write("user/lines.txt", c.text);
        TFile file;
        ASSERT_TRUE(file.Open("user:lines.txt", kFileReadBinary));
        EXPECT_EQ(ReadLines(file, c.size), c.lines) << c.text << " / " << c.size;
    }
    char one[1] = {'x'};
    TFile file;
    ASSERT_TRUE(file.Open("user:lines.txt", kFileReadBinary));
    EXPECT_EQ(file.Gets(one, 1), nullptr);
    EXPECT_EQ(one[0], '\0');
    EXPECT_EQ(file.Getc(), 'a');  // nothing was consumed
}

}  // namespace
