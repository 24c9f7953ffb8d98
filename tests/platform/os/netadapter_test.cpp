#include "platform/os/netadapter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/support/tempfolder.h"

namespace {

class NetAdapterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(mFolder.Path().empty()); }

    void AddAdapter(const std::string& name, const std::string& type, const std::string& address) {
        mFolder.Write(name + "/type", type + "\n");
        mFolder.Write(name + "/address", address + "\n");
    }

    TempFolder mFolder;
};

TEST_F(NetAdapterTest, FirstNonLoopbackAdapterByName) {
    AddAdapter("lo", "772", "00:00:00:00:00:00");
    AddAdapter("wlan0", "1", "11:22:33:44:55:66");
    AddAdapter("eth1", "1", "aa:bb:cc:dd:ee:ff");
    AddAdapter("dummy0", "1", "00:00:00:00:00:00");
    uint8_t address[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    ASSERT_TRUE(os::FirstHardwareAddress(address, mFolder.Path()));
    const uint8_t expected[8] = {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0, 0};
    EXPECT_TRUE(std::equal(address, address + 8, expected));
}

TEST_F(NetAdapterTest, LoopbackWithAnAddressIsSkipped) {
    AddAdapter("a-loop", "772", "01:02:03:04:05:06");
    uint8_t address[8];
    EXPECT_FALSE(os::FirstHardwareAddress(address, mFolder.Path()));
}

TEST_F(NetAdapterTest, MissingFolderOrMalformedAddressGivesNone) {
    uint8_t address[8];
    EXPECT_FALSE(os::FirstHardwareAddress(address, mFolder / "absent"));
    AddAdapter("eth0", "1", "zz:bb");
    EXPECT_FALSE(os::FirstHardwareAddress(address, mFolder.Path()));
}

}  // namespace
