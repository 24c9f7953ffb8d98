#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host/recordingchannel.h"
#include "platform/host/textmessage.h"

namespace {

constexpr host::Handle kHost = 5;

std::vector<host::Record> Records(const host::RecordingChannel& channel) {
    std::vector<host::Record> records;
    for (const auto& post : channel.Posts()) records.push_back(post.record);
    return records;
}

TEST(TextMessage, FifteenCharactersAndTheirNulFillTwoPieces) {
    host::RecordingChannel channel;
    channel.SetAlive(kHost, true);
    EXPECT_TRUE(host::PostTextMessage(channel, kHost, "ABCDEFGHIJKLMNO"));
    const std::vector<host::Record> expected = {
        {0x400, 0x44434241, 0x48474645},  // "ABCD" "EFGH"
        {0x400, 0x4C4B4A49, 0x004F4E4D},  // "IJKL" "MNO\0"
    };
    EXPECT_EQ(Records(channel), expected);
}

TEST(TextMessage, TheLastPieceIsPaddedWithZeros) {
    struct Case {
        const char* text;
        std::vector<host::Record> records;
    } cases[] = {
        {"", {{0x400, 0, 0}}},
        {"AB", {{0x400, 0x00004241, 0}}},
        {"ABCDEFG", {{0x400, 0x44434241, 0x00474645}}},
        // Bytes of the first piece must not show through after the NUL.
        {"ABCDEFGHIJ", {{0x400, 0x44434241, 0x48474645}, {0x400, 0x00004A49, 0}}},
        {"ABCDEFGH", {{0x400, 0x44434241, 0x48474645}, {0x400, 0, 0}}},
    };
    for (const Case& c : cases) {
        host::RecordingChannel channel;
        channel.SetAlive(kHost, true);
        host::PostTextMessage(channel, kHost, c.text);
        EXPECT_EQ(Records(channel), c.records) << '"' << c.text << '"';
    }
}

TEST(TextMessage, AWindowThatIsGoneTakesNothing) {
    host::RecordingChannel channel;
    EXPECT_FALSE(host::PostTextMessage(channel, kHost, "lost"));
    EXPECT_TRUE(channel.Posts().empty());
}

}  // namespace
