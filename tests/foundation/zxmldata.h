// Compressed ("ZXML") documents for the tests of the readers that take them.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

// Four bytes of a little-endian header word.
inline std::string ZxmlWord(uint32_t value)
{
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) {
        bytes += static_cast<char>(value >> shift);
    }
    return bytes;
}

// The magic, the stream and plain lengths (or the declared ones, when given,
// to make broken headers) and the zlib stream of plain.
inline std::string MakeZxml(const std::string& plain, int64_t declaredPlain = -1, int64_t declaredPacked = -1)
{
    uLongf size = compressBound(plain.size());
    std::vector<Bytef> stream(size);
    compress(stream.data(), &size, reinterpret_cast<const Bytef*>(plain.data()), plain.size());
    return "ZXML" + ZxmlWord(declaredPacked < 0 ? uint32_t(size) : uint32_t(declaredPacked)) +
           ZxmlWord(declaredPlain < 0 ? uint32_t(plain.size()) : uint32_t(declaredPlain)) +
           std::string(reinterpret_cast<const char*>(stream.data()), size);
}
