#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/host/socketchannel.h"
#include "tests/support/tempfolder.h"

namespace {

// A connected socket pair: the game's end is owned by the channel.
class SocketChannelTest : public ::testing::Test {
protected:
    void SetUp() override {
        int ends[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
        game = ends[0];
        hostEnd = ends[1];
        channel = std::make_unique<host::SocketChannel>(game);
    }
    void TearDown() override {
        channel.reset();
        if (hostEnd >= 0) close(hostEnd);
    }

    void HostSends(const std::vector<uint8_t>& bytes) {
        ASSERT_EQ(write(hostEnd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    std::vector<uint8_t> HostReads(size_t count) {
        std::vector<uint8_t> bytes(count);
        size_t got = 0;
        while (got < count) {
            ssize_t n = read(hostEnd, bytes.data() + got, count - got);
            if (n <= 0) break;
            got += size_t(n);
        }
        bytes.resize(got);
        return bytes;
    }
    void CloseHost() {
        close(hostEnd);
        hostEnd = -1;
    }

    int game = -1;
    int hostEnd = -1;
    std::unique_ptr<host::SocketChannel> channel;
};

TEST_F(SocketChannelTest, PostsArriveInWireForm) {
    EXPECT_TRUE(channel->Post(game, 0x400, 0x64636261, 7));
    const std::vector<uint8_t> expected = {0x00, 0x04, 0, 0, 'a', 'b', 'c', 'd', 7, 0, 0, 0};
    EXPECT_EQ(HostReads(12), expected);
}

TEST_F(SocketChannelTest, PollTakesWholeRecordsAndNeverBlocks) {
    host::Record record;
    EXPECT_FALSE(channel->Poll(record));
    HostSends({0x00, 0x04, 0, 0, 4, 0});
    EXPECT_FALSE(channel->Poll(record));
    HostSends({0, 0, 0, 0, 0, 0, 0x00, 0x04, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(channel->Poll(record));
    EXPECT_EQ(record, (host::Record{0x400, 4, 0}));
    ASSERT_TRUE(channel->Poll(record));
    EXPECT_EQ(record, (host::Record{0x400, 5, 0}));
    EXPECT_FALSE(channel->Poll(record));
}

TEST_F(SocketChannelTest, AliveUntilTheHostClosesEvenWithRecordsWaiting) {
    EXPECT_TRUE(channel->IsAlive(game));
    HostSends({0x00, 0x04, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0});
    CloseHost();
    // What the host sent before closing is still there to read.
    EXPECT_TRUE(channel->IsAlive(game));
    host::Record record;
    EXPECT_TRUE(channel->Poll(record));
    EXPECT_FALSE(channel->IsAlive(game));
    EXPECT_FALSE(channel->Poll(record));
}

TEST_F(SocketChannelTest, PostingToAClosedHostFailsQuietly) {
    CloseHost();
    // No SIGPIPE ends the test program here.
    EXPECT_FALSE(channel->Post(game, 0x400, 1, 2));
}

TEST_F(SocketChannelTest, OnlyOpenSocketsAreWindows) {
    TempFolder temp;
    temp.Write("file", "x");
    int file = open((temp / "file").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(file, 0);
    for (host::Handle window : {host::kNoWindow, -1, file, 987654}) {
        EXPECT_FALSE(channel->IsAlive(window)) << window;
        EXPECT_FALSE(channel->Post(window, 0x400, 1, 0)) << window;
    }
    // The file was not touched.
    EXPECT_EQ(temp.Read("file"), "x");
    close(file);
}

TEST_F(SocketChannelTest, AHostThatNeverReadsMakesPostsFailRatherThanHang) {
    bool dropped = false;
    for (int i = 0; i < 1000000 && !dropped; ++i) dropped = !channel->Post(game, 0x400, uint32_t(i), 0);
    EXPECT_TRUE(dropped);
    EXPECT_TRUE(channel->IsAlive(game));
}

}  // namespace
