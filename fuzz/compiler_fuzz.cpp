// Compiles arbitrary source text (or, from a first byte 27, reads it as a
// binary chunk); what compiles must pass the chunk reader's checks.
#include "fuzz/fuzzchunks.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static lua_State* L = lua_open();
    fuzzchunks::check(L, std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
