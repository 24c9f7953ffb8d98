// The envelope of the saved hiscore file: E, the text encrypted in raw
// blocks, then T, one block holding the encrypted checksum of E. The
// checksum is the XOR of E read as little-endian 32-bit words, the last word
// padded with zero bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class TCryptCodec;

enum class THiscoreEnvelope {
    kNone,    // 8 bytes or less: no saved data
    kDamaged, // bad length, checksum mismatch, or no XML inside
    kOpened,
};

uint32_t HiscoreChecksum(const uint8_t* bytes, size_t size);

// The file bytes for a text.
std::string SealHiscoreFile(TCryptCodec& codec, const std::string& text);

// The text inside the file bytes when the result is kOpened.
THiscoreEnvelope OpenHiscoreFile(TCryptCodec& codec, const std::string& bytes, std::string& text);
