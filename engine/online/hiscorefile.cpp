#include "online/hiscorefile.h"

#include <algorithm>
#include <vector>

#include "foundation/cryptcodec.h"

namespace {

const size_t kBlock = 8;
const char kXmlStart[] = "<?xml";

std::vector<uint8_t> Encrypt(TCryptCodec& codec, const uint8_t* bytes, size_t size) {
    // The cipher pads to the next whole block, adding one when already there.
    std::vector<uint8_t> out(size / kBlock * kBlock + kBlock);
    codec.Encrypt(bytes, static_cast<int>(size), out.data(), static_cast<int>(out.size()), false);
    out.resize(static_cast<size_t>(codec.GetLastLength()));
    return out;
}

// The plain bytes, or empty when the blocks do not decrypt.
std::vector<uint8_t> Decrypt(TCryptCodec& codec, const uint8_t* bytes, size_t size) {
    std::vector<uint8_t> out(size);
    const int length = static_cast<int>(size);
    if (size == 0 || codec.Decrypt(bytes, length, out.data(), length, false) != 0) {
        return {};
    }
    out.resize(static_cast<size_t>(codec.GetLastLength()));
    return out;
}

std::vector<uint8_t> LittleEndian(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24)};
}

}  // namespace

uint32_t HiscoreChecksum(const uint8_t* bytes, size_t size) {
    uint32_t sum = 0;
    for (size_t i = 0; i < size; ++i) {
        sum ^= static_cast<uint32_t>(bytes[i]) << ((i % 4) * 8);
    }
    return sum;
}

std::string SealHiscoreFile(TCryptCodec& codec, const std::string& text) {
    std::vector<uint8_t> sealed = Encrypt(codec, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    const std::vector<uint8_t> checksum = LittleEndian(HiscoreChecksum(sealed.data(), sealed.size()));
    const std::vector<uint8_t> trailer = Encrypt(codec, checksum.data(), checksum.size());
    sealed.insert(sealed.end(), trailer.begin(), trailer.end());
    return std::string(sealed.begin(), sealed.end());
}

THiscoreEnvelope OpenHiscoreFile(TCryptCodec& codec, const std::string& bytes, std::string& text) {
    if (bytes.size() <= kBlock) {
        return THiscoreEnvelope::kNone;
    }
    const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const size_t sealedSize = bytes.size() - kBlock;
    if (sealedSize % kBlock != 0) {
        return THiscoreEnvelope::kDamaged;
    }
    const std::vector<uint8_t> trailer = Decrypt(codec, data + sealedSize, kBlock);
    const std::vector<uint8_t> expected = LittleEndian(HiscoreChecksum(data, sealedSize));
    if (trailer.size() < expected.size() || !std::equal(expected.begin(), expected.end(), trailer.begin())) {
        return THiscoreEnvelope::kDamaged;
    }
    const std::vector<uint8_t> plain = Decrypt(codec, data, sealedSize);
    text.assign(plain.begin(), plain.end());
    if (text.compare(0, sizeof kXmlStart - 1, kXmlStart) != 0) {
        return THiscoreEnvelope::kDamaged;
    }
    return THiscoreEnvelope::kOpened;
}
