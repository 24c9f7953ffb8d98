// Reading and writing fixed-size integers in a given byte order, for the
// engine's file formats.
#pragma once

#include <cstdint>

inline uint16_t ReadU16LE(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

inline uint32_t ReadU32LE(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | (uint32_t(bytes[1]) << 8) | (uint32_t(bytes[2]) << 16) | (uint32_t(bytes[3]) << 24);
}

inline uint32_t ReadU32BE(const uint8_t* bytes)
{
    return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | uint32_t(bytes[3]);
}

inline void WriteU32BE(uint8_t* bytes, uint32_t word)
{
    bytes[0] = uint8_t(word >> 24);
    bytes[1] = uint8_t(word >> 16);
    bytes[2] = uint8_t(word >> 8);
    bytes[3] = uint8_t(word);
}
