#include "foundation/memoryfile.h"

#include "foundation/file.h"
#include "tests/foundation/virtualfilesfixture.h"

#include <string>
#include <vector>

namespace {

using MemoryFiles = VirtualFilesTest;

TEST_F(MemoryFiles, RegisteredBlockReadsAsAFile) {
    // A heap block, so that its address needs the full pointer width.
    std::vector<char> block{'a', 'b', '\r', '\n', 'c'};
    RegisterMemoryFile("System/Cursor.PNG", block.data(), block.size());
    TFile file;
    ASSERT_TRUE(file.Open("assets/system/cursor.png", kFileReadBinary));
    EXPECT_EQ(file.GetSize(), 5);
    char buffer[8];
    ASSERT_EQ(file.Read(buffer, 2), 2u);
    EXPECT_EQ(std::string(buffer, 2), "ab");
    EXPECT_EQ(file.Tell(), 2);
    EXPECT_FALSE(file.Eof());
    // The end is reached as soon as the position gets there.
    ASSERT_EQ(file.Read(buffer, 3), 3u);
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(file.Read(buffer, 3), 0u);
    file.UngetChar();
    EXPECT_EQ(file.Getc(), 'c');
    EXPECT_TRUE(file.Seek(-10, kSeekEnd));
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_TRUE(file.Seek(10, kSeekCurrent));
    EXPECT_EQ(file.Tell(), 5);
    EXPECT_EQ(file.Write("x", 1), 0u);

    ASSERT_TRUE(file.Open("system/cursor.png", kFileReadText));
    ASSERT_EQ(file.Read(buffer, 8), 4u);
    EXPECT_EQ(std::string(buffer, 4), "ab\nc");
}

TEST_F(MemoryFiles, BlocksAreReadOnlyAndANullAddressRemovesTheName) {
    static const char kBytes[] = "xyz";
    RegisterMemoryFile("Block.bin", kBytes, 3);
    TFile file;
    EXPECT_FALSE(file.Open("block.bin", kFileWriteBinary));
    EXPECT_FALSE(file.Open("block.bin", kFileAppendText));
    EXPECT_TRUE(FileExists("BLOCK.BIN"));
    RegisterMemoryFile("BLOCK.bin", nullptr, 3);
    EXPECT_FALSE(FileExists("block.bin"));
}

TEST_F(MemoryFiles, MalformedTargetsFail) {
    static const char kBytes[] = "xyz";
    TMemoryFile memory;
    ASSERT_TRUE(memory.Open(MemoryFileTarget(kBytes, 3), kFileReadBinary));
    for (const char* target : {"&0,5", "&123", "", "@0:0,1", "&", "&,3"}) {
        EXPECT_FALSE(memory.Open(target, kFileReadBinary)) << target;
        EXPECT_EQ(memory.GetSize(), 0);
        EXPECT_EQ(memory.Tell(), 0);
    }
    char buffer[4];
    EXPECT_EQ(memory.Read(buffer, 4), 0u);
}

}  // namespace
