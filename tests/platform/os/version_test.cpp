#include "platform/os/version.h"

#include <gtest/gtest.h>

namespace {

TEST(Version, TheRecordCarriesTheProjectVersionAndNames) {
    const os::VersionRecord& record = os::ProgramVersion();
    EXPECT_EQ(record.productName, "vandermoot");
    EXPECT_EQ(record.internalName, "vandermoot");
    EXPECT_EQ(os::FileVersionText(record), VANDERMOOT_FILE_VERSION);
}

TEST(Version, EveryWordIsWrittenInFull) {
    os::VersionRecord record{{65535, 0, 12, 7}, "", ""};
    EXPECT_EQ(os::FileVersionText(record), "65535.0.12.7");
}

}  // namespace
