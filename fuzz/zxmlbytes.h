// Shared by the XML fuzz targets: a document's bytes in the compressed
// "ZXML" form, so each input is also read through the inflating path.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>

// Magic, the two lengths, the deflated stream; empty when deflating fails.
inline std::string ZxmlBytes(const std::string& plain) {
    uLongf packedLength = compressBound(plain.size());
    std::string packed(packedLength, '\0');
    if (compress(reinterpret_cast<Bytef*>(packed.data()), &packedLength,
                 reinterpret_cast<const Bytef*>(plain.data()), plain.size()) != Z_OK) {
        return std::string();
    }
    packed.resize(packedLength);
    std::string file = "ZXML";
    for (uint32_t length : {static_cast<uint32_t>(packed.size()), static_cast<uint32_t>(plain.size())}) {
        for (int i = 0; i < 4; ++i) file += static_cast<char>((length >> (8 * i)) & 0xFF);
    }
    return file + packed;
}
