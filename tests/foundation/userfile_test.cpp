#include "foundation/userfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "foundation/virtualfiles.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/luatesting.h"
#include "tests/support/tempfolder.h"

namespace {

const std::string kOld = "old contents";
const std::string kNew(4096, 'n');

size_t CountOf(const std::string& text, const std::string& piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
    return count;
}

class TUserFileTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(mRoot.Path().empty());
        std::filesystem::create_directories(mRoot / "user");
        SetDataFolders((mRoot / "user").c_str(), (mRoot / "common").c_str(), "");
        SetSaveFailureHandler([this](const TString& path) { mTold.push_back(path.c_str()); });
    }
    void TearDown() override {
        SetSaveFailureHandler(nullptr);
        SetDataFolders("", "", "");
        ClearVirtualFiles();
    }

    bool Save(TUserFile& file, const std::string& bytes) { return file.Save(bytes.data(), bytes.size()); }

    TestLog mLog;
    TempFolder mRoot;
    std::vector<std::string> mTold;
};

TEST_F(TUserFileTest, DamagedBytesAreSetAsideOnceBeforeTheFirstReplace) {
    TUserFile file("user:data.bin", "Saver");
    ASSERT_TRUE(Save(file, kOld));
    file.HoldDamaged("damaged bytes");
    EXPECT_STREQ(file.GetDamagedCopyPath().c_str(), "");
    ASSERT_TRUE(Save(file, kNew));
    EXPECT_EQ(mRoot.Read("user/data.bin.bad"), "damaged bytes");
    EXPECT_EQ(mRoot.Read("user/data.bin"), kNew);
    EXPECT_EQ(std::string(file.GetDamagedCopyPath().c_str()), mRoot / "user/data.bin.bad");
    ASSERT_TRUE(Save(file, kOld));
    EXPECT_EQ(mRoot.Read("user/data.bin.bad"), "damaged bytes");
    EXPECT_TRUE(mLog.Contains("Saver: the damaged user:data.bin was kept as")) << mLog.Text();
    EXPECT_TRUE(mTold.empty());
}

// Whatever stops the save (a full disk, or no room for the damaged copy,
// which must exist before the file is replaced), the old file stays, and
// only the first failure reaches standard error and the handler.
TEST_F(TUserFileTest, FailedSavesLeaveTheFileAndAreToldOnce) {
    const std::string copy = mRoot / "user/data.bin.bad";
    const struct {
        const char* name;
        bool damaged;      // a folder stands where the damaged copy goes
        rlim_t sizeLimit;  // for the files the process writes
        const char* error;
    } cases[] = {
        {"disk full", false, 1024, "ERROR: Saver: cannot write"},
        {"no room for the damaged copy", true, RLIM_INFINITY, "ERROR: Saver: cannot rename the temporary file over"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TUserFile file("user:data.bin", "Saver");
        ASSERT_TRUE(Save(file, kOld));
        if (c.damaged) {
            file.HoldDamaged(kOld);
            std::filesystem::create_directories(copy);
        }
        mTold.clear();
        SetSaveFailureHandler([this](const TString& path) { mTold.push_back(path.c_str()); });
        testing::internal::CaptureStderr();
        bool saved = true;
        {
            FileSizeLimit limit(c.sizeLimit);
            ASSERT_TRUE(limit.Ok());
            saved = Save(file, kNew) || Save(file, kNew);
        }
        const std::string error = testing::internal::GetCapturedStderr();
        std::filesystem::remove(copy);
        EXPECT_FALSE(saved);
        EXPECT_EQ(mRoot.Read("user/data.bin"), kOld);
        EXPECT_EQ(CountOf(error, "\n"), 1u) << error;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        EXPECT_EQ(mTold, std::vector<std::string>{mRoot / "user/data.bin"});
        EXPECT_STREQ(file.GetDamagedCopyPath().c_str(), "");
    }
}

TEST_F(TUserFileTest, SaveWithoutAFolderIsOnlyLogged) {
    SetDataFolders("", "", "");
    TUserFile file("user:data.bin", "Saver");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Save(file, kNew));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(mTold.empty());
    EXPECT_TRUE(mLog.Contains("ERROR: Saver: no folder for user:data.bin")) << mLog.Text();
}

}  // namespace
