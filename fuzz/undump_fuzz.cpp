// Reads arbitrary function bodies behind a valid binary chunk header; the
// reader must refuse what is malformed without crashing.
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
    fuzzchunks::check(L, header + std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
