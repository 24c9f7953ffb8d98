// Cuts a byte stream into records: three little-endian 32-bit words each.
// Bytes of a partial record wait for the rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/host/channel.h"

namespace host {

constexpr size_t kRecordSize = 12;

class RecordReader {
public:
    void Feed(const void* bytes, size_t count);
    // Takes the oldest whole record; false when none is complete.
    bool Next(Record& record);
    // Bytes received and not yet taken as a record.
    size_t Pending() const { return mBytes.size() - mStart; }

private:
    std::vector<uint8_t> mBytes;
    size_t mStart = 0;  // first byte not yet taken
};

// The wire form of a record.
void EncodeRecord(const Record& record, uint8_t (&bytes)[kRecordSize]);

}  // namespace host
