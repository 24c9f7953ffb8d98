#include "platform/os/replacefile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/filesizelimit.h"
#include "tests/support/tempfolder.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ReplaceFileTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(mFolder.Path().empty()); }
    // Only the target itself may remain: temporary files are cleaned up.
    void ExpectOnlyTarget() {
        for (const auto& entry : fs::directory_iterator(mFolder.Path())) {
            EXPECT_EQ(entry.path(), mFile);
        }
    }
    TempFolder mFolder;
    fs::path mFile = mFolder / "data.bin";
};

TEST_F(ReplaceFileTest, CreatesAndReplaces) {
    const std::string first("first\0with zero", 15);
    ASSERT_TRUE(os::ReplaceFile(mFile.string(), first.data(), first.size()));
    EXPECT_EQ(ReadFile(mFile), first);
    ASSERT_TRUE(os::ReplaceFile(mFile.string(), "2", 1));
    EXPECT_EQ(ReadFile(mFile), "2");
    ASSERT_TRUE(os::ReplaceFile(mFile.string(), nullptr, 0));
    EXPECT_EQ(ReadFile(mFile), "");
    ExpectOnlyTarget();
}

TEST_F(ReplaceFileTest, TemporariesLeftByAnInterruptedSaveAreRemoved) {
    const std::string stale = mFile.string() + ".a1B2c3";
    std::ofstream(stale) << "half";
    // Names that only look alike belong to someone else.
    const std::vector<std::string> kept = {mFile.string() + ".bad", mFile.string() + ".a1B2c3d",
                                           mFile.string() + ".a1-2c3", (mFolder / "other.bin.a1B2c3")};
    for (const std::string& name : kept) std::ofstream(name) << "keep";
    ASSERT_TRUE(os::ReplaceFile(mFile.string(), "new", 3));
    EXPECT_FALSE(fs::exists(stale));
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(name)) << name;
    EXPECT_EQ(ReadFile(mFile), "new");
}

TEST_F(ReplaceFileTest, MissingFolderFailsWithAReason) {
    std::string error;
    EXPECT_FALSE(os::ReplaceFile(mFolder / "no/file", "x", 1, &error));
    EXPECT_NE(error.find("no/file"), std::string::npos) << error;
}

TEST_F(ReplaceFileTest, FailedRenameLeavesTheTargetAndNoTemporary) {
    fs::create_directories(mFile / "inside");
    std::string error;
    EXPECT_FALSE(os::ReplaceFile(mFile.string(), "x", 1, &error));
    EXPECT_TRUE(fs::is_directory(mFile / "inside"));
    ExpectOnlyTarget();
}

TEST_F(ReplaceFileTest, WriteFailingHalfWayKeepsTheOldFile) {
    ASSERT_TRUE(os::ReplaceFile(mFile.string(), "old", 3));
    const std::string big(256 * 1024, 'n');
    std::string error;
    bool replaced = true;
    {
        // The write stops part of the way through.
        FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.Ok());
        replaced = os::ReplaceFile(mFile.string(), big.data(), big.size(), &error);
    }
    EXPECT_FALSE(replaced);
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(mFile), "old");
    ExpectOnlyTarget();
}

}  // namespace
