// Shared by the script fuzz targets: loading bytes as a chunk and checking
// that whatever loads writes a chunk that loads again to the same bytes.
#pragma once

#include "lua/lua.h"

#include <cstdlib>
#include <string>

namespace fuzzchunks {

struct Input {
    const char* data;
    size_t size;
};

inline const char* readAll(lua_State*, void* ud, size_t* size)
{
    auto* in = static_cast<Input*>(ud);
    *size = in->size;
    in->size = 0;
    return *size ? in->data : nullptr;
}

inline int append(lua_State*, const void* p, size_t size, void* ud)
{
    static_cast<std::string*>(ud)->append(static_cast<const char*>(p), size);
    return 0;
}

inline int load(lua_State* L, const std::string& bytes)
{
    Input in{bytes.data(), bytes.size()};
    return lua_load(L, readAll, &in, "=fuzz");
}

// Loads the bytes; when they load, the function's chunk must load again and
// write the same bytes (the reader accepts all that the writer makes).
inline void check(lua_State* L, const std::string& bytes)
{
    lua_settop(L, 0);
    if (load(L, bytes) != 0)
        return;
    std::string first;
    if (!lua_dump(L, append, &first))
        std::abort();
    if (load(L, first) != 0)
        std::abort();
    std::string second;
    lua_dump(L, append, &second);
    if (second != first)
        std::abort();
    lua_settop(L, 0);
}

}  // namespace fuzzchunks
