#include "foundation/zxml.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>

#include "foundation/byteorder.h"
#include "foundation/debuglog.h"

namespace {

const char kMagic[4] = {'Z', 'X', 'M', 'L'};
const size_t kHeaderSize = 12;
// Limits that keep a hostile file from taking the process down.
const uint32_t kMaxPlainLength = 64u << 20;
const uint64_t kMaxInflateRatio = 1032;  // the most deflate can expand

}  // namespace

bool IsZxml(const char* data, size_t size) {
    return size >= sizeof kMagic && std::memcmp(data, kMagic, sizeof kMagic) == 0;
}

bool InflateZxml(const char* data, size_t size, std::string& plain) {
    plain.clear();
    if (!IsZxml(data, size) || size < kHeaderSize) {
        DebugLog("ERROR: InflateZxml: compressed document of %zu bytes has no header", size);
        return false;
    }
    const uint32_t packedLength = ReadU32LE(reinterpret_cast<const uint8_t*>(data) + 4);
    const uint32_t plainLength = ReadU32LE(reinterpret_cast<const uint8_t*>(data) + 8);
    if (packedLength > size - kHeaderSize || plainLength > kMaxPlainLength ||
        plainLength > uint64_t(packedLength) * kMaxInflateRatio) {
        DebugLog("ERROR: InflateZxml: compressed document header (%u, %u) does not fit its %zu bytes", packedLength,
                 plainLength, size);
        return false;
    }
    if (plainLength == 0) {
        return true;
    }
    plain.resize(plainLength);
    uLongf inflated = plainLength;
    const int result = uncompress(reinterpret_cast<Bytef*>(plain.data()), &inflated,
                                  reinterpret_cast<const Bytef*>(data + kHeaderSize), packedLength);
    if (result != Z_OK) {
        DebugLog("ERROR: InflateZxml: compressed document does not inflate (zlib %d)", result);
        plain.clear();
        return false;
    }
    plain.resize(inflated);
    return true;
}
