#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/host/recordreader.h"

namespace {

std::vector<uint8_t> WireOf(const std::vector<host::Record>& records) {
    std::vector<uint8_t> bytes;
    for (const host::Record& record : records) {
        uint8_t wire[host::kRecordSize];
        host::EncodeRecord(record, wire);
        bytes.insert(bytes.end(), wire, wire + sizeof wire);
    }
    return bytes;
}

TEST(RecordReader, WordsAreLittleEndian) {
    const uint8_t wire[] = {0x00, 0x04, 0, 0, 0x05, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    host::RecordReader reader;
    reader.Feed(wire, sizeof wire);
    host::Record record;
    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(record, (host::Record{0x400, 5, 0xFFFFFFFF}));
    EXPECT_EQ(WireOf({record}), std::vector<uint8_t>(wire, wire + sizeof wire));
}

TEST(RecordReader, PartialRecordsWaitForTheirRestWhateverTheChunking) {
    const std::vector<host::Record> sent = {{0x400, 4, 0}, {0x400, 5, 1}, {7, 8, 9}, {0x401, 0x12345678, 0x9ABCDEF0}};
    const std::vector<uint8_t> bytes = WireOf(sent);
    for (size_t chunk : {1u, 5u, 11u, 12u, 13u, 48u}) {
        host::RecordReader reader;
        std::vector<host::Record> received;
        for (size_t at = 0; at < bytes.size(); at += chunk) {
            reader.Feed(bytes.data() + at, std::min(chunk, bytes.size() - at));
            host::Record record;
            while (reader.Next(record)) received.push_back(record);
        }
        EXPECT_EQ(received, sent) << "chunks of " << chunk;
        EXPECT_EQ(reader.Pending(), 0u);
    }
}

TEST(RecordReader, TrailingBytesStayPending) {
    const std::vector<uint8_t> bytes = WireOf({{1, 2, 3}});
    host::RecordReader reader;
    reader.Feed(bytes.data(), bytes.size());
    reader.Feed(bytes.data(), 7);
    host::Record record;
    EXPECT_TRUE(reader.Next(record));
    EXPECT_FALSE(reader.Next(record));
    EXPECT_EQ(reader.Pending(), 7u);
    reader.Feed(bytes.data() + 7, 5);
    EXPECT_TRUE(reader.Next(record));
    EXPECT_EQ(record, (host::Record{1, 2, 3}));
}

}  // namespace
