#include "platform/os/mappedfile.h"

#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

namespace {

TEST(MappedFile, MapsTheWholeFile) {
    TempFolder temp;
    temp.Write("pack.bin", std::string("ab\0cd", 5));
    os::MappedFile map;
    ASSERT_TRUE(map.Open(temp / "pack.bin"));
    ASSERT_EQ(map.Size(), 5u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(map.Data()), map.Size()), std::string("ab\0cd", 5));
    map.Close();
    EXPECT_FALSE(map.IsOpen());
    EXPECT_EQ(map.Data(), nullptr);
}

TEST(MappedFile, ZeroLengthFileIsAnEmptyView) {
    TempFolder temp;
    temp.Write("empty.bin", "");
    os::MappedFile map;
    ASSERT_TRUE(map.Open(temp / "empty.bin"));
    EXPECT_TRUE(map.IsOpen());
    EXPECT_EQ(map.Size(), 0u);
}

TEST(MappedFile, MissingFilesAndFoldersFail) {
    TempFolder temp;
    temp.Write("real.bin", "x");
    os::MappedFile map;
    ASSERT_TRUE(map.Open(temp / "real.bin"));
    // A failed open leaves nothing mapped from before.
    EXPECT_FALSE(map.Open(temp / "missing.bin"));
    EXPECT_FALSE(map.IsOpen());
    EXPECT_EQ(map.Size(), 0u);
    EXPECT_FALSE(map.Open(temp.Path()));
}

}  // namespace
