#include "platform/host/recordreader.h"

namespace host {

namespace {

uint32_t ReadWord(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

void WriteWord(uint32_t word, uint8_t* bytes) {
    for (int i = 0; i < 4; ++i) bytes[i] = uint8_t(word >> (8 * i));
}

}  // namespace

void RecordReader::Feed(const void* bytes, size_t count) {
    const auto* begin = static_cast<const uint8_t*>(bytes);
    mBytes.insert(mBytes.end(), begin, begin + count);
}

bool RecordReader::Next(Record& record) {
    if (Pending() < kRecordSize) return false;
    const uint8_t* at = mBytes.data() + mStart;
    record.message = ReadWord(at);
    record.wParam = ReadWord(at + 4);
    record.lParam = ReadWord(at + 8);
    mStart += kRecordSize;
    // Taken bytes are dropped once they outweigh the rest, so the buffer
    // stays small without moving bytes on every record.
    if (mStart >= mBytes.size() - mStart) {
        mBytes.erase(mBytes.begin(), mBytes.begin() + static_cast<std::ptrdiff_t>(mStart));
        mStart = 0;
    }
    return true;
}

void EncodeRecord(const Record& record, uint8_t (&bytes)[kRecordSize]) {
    WriteWord(record.message, bytes);
    WriteWord(record.wParam, bytes + 4);
    WriteWord(record.lParam, bytes + 8);
}

}  // namespace host
