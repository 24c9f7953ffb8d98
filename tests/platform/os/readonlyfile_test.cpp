#include "platform/os/readonlyfile.h"

#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(ReadOnlyFile, ReadsAtAnyOffset) {
    TempFolder temp;
    temp.Write("pack.bin", std::string("ab\0cdef", 7));
    os::ReadOnlyFile file;
    ASSERT_TRUE(file.Open(temp / "pack.bin"));
    ASSERT_EQ(file.Size(), 7u);
    char buffer[8] = {};
    EXPECT_EQ(file.ReadAt(1, buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 4), std::string("b\0cd", 4));
    EXPECT_EQ(file.ReadAt(5, buffer, 8), 2);
    EXPECT_EQ(std::string(buffer, 2), "ef");
    EXPECT_EQ(file.ReadAt(100, buffer, 8), 0);
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.ReadAt(0, buffer, 1), -1);
}

TEST(ReadOnlyFile, FileShrunkWhileOpenGivesShortReads) {
    TempFolder temp;
    temp.Write("pack.bin", std::string(10000, 'x'));
    os::ReadOnlyFile file;
    ASSERT_TRUE(file.Open(temp / "pack.bin"));
    ASSERT_EQ(truncate((temp / "pack.bin").c_str(), 100), 0);
    std::string buffer(8000, '\0');
    EXPECT_EQ(file.ReadAt(50, buffer.data(), buffer.size()), 50);
    EXPECT_EQ(file.ReadAt(5000, buffer.data(), buffer.size()), 0);
    EXPECT_EQ(file.Size(), 10000u);
}

TEST(ReadOnlyFile, MissingFilesAndFoldersFail) {
    TempFolder temp;
    temp.Write("real.bin", "x");
    os::ReadOnlyFile file;
    ASSERT_TRUE(file.Open(temp / "real.bin"));
    // A failed open leaves nothing open from before.
    EXPECT_FALSE(file.Open(temp / "missing.bin"));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Size(), 0u);
    EXPECT_FALSE(file.Open(temp.Path()));
}

}  // namespace
