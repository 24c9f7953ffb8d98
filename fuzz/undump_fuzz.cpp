// Reads arbitrary function bodies behind a valid binary chunk header; the
// reader must refuse what is malformed without crashing. The first input byte
// picks the header's byte order, so that swapped chunks are read too.
#include "fuzz/fuzzchunks.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static lua_State* L = lua_open();
    static const std::string header = [] {
        std::string bytes("\x1bLua\x50\x01\x04\x04\x04\x06\x08\x09\x09\x08", 14);
        const double test = 31415926.535897933;
        bytes.append(reinterpret_cast<const char*>(&test), sizeof test);
        return bytes;
    }();
    if (size == 0)
        return 0;
    std::string chunk = header;
    if (data[0] & 1) {
        chunk[5] = static_cast<char>(chunk[5] ^ 1);  // the byte-order byte
        std::string test = chunk.substr(14);
        chunk.replace(14, test.size(), std::string(test.rbegin(), test.rend()));
    }
    fuzzchunks::check(L, chunk + std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    return 0;
}
