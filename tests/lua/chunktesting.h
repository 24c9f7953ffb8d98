// Helpers for the compiler and chunk tests: loading text or bytes through a
// reader that hands them over in pieces, and dumping the loaded function.
#pragma once

#include "lua/lua.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace chunktesting {

struct Pieces {
    const std::string* text;
    size_t offset;
    size_t pieceSize;
};

inline const char* readPiece(lua_State*, void* data, size_t* size)
{
    auto* p = static_cast<Pieces*>(data);
    *size = std::min(p->pieceSize, p->text->size() - p->offset);
    const char* piece = p->text->data() + p->offset;
    p->offset += *size;
    return *size ? piece : nullptr;
}

// lua_load of `text`, handed over `pieceSize` bytes at a time.
inline int load(lua_State* L, const std::string& text, const char* name = "=t", size_t pieceSize = 1 << 20)
{
    Pieces p{&text, 0, pieceSize};
    return lua_load(L, readPiece, &p, name);
}

inline int appendBytes(lua_State*, const void* p, size_t size, void* data)
{
    static_cast<std::string*>(data)->append(static_cast<const char*>(p), size);
    return 0;
}

// The binary chunk of the function on top of the stack (popped).
inline std::string dumpTop(lua_State* L)
{
    std::string bytes;
    EXPECT_EQ(lua_dump(L, appendBytes, &bytes), 1);
    lua_pop(L, 1);
    return bytes;
}

class StateTest : public ::testing::Test {
protected:
    StateTest() : L(lua_open()) {}
    ~StateTest() override { lua_close(L); }

    // The message of a failed load, or "ok".
    std::string loadError(const std::string& text, const char* name = "=t")
    {
        int status = load(L, text, name);
        std::string result = status == 0 ? "ok" : lua_tostring(L, -1);
        if (status != 0) {
            EXPECT_EQ(status, LUA_ERRSYNTAX) << result;
        }
        lua_pop(L, 1);
        return result;
    }

    // The binary chunk of compiled source.
    std::string compile(const std::string& text)
    {
        int status = load(L, text);
        EXPECT_EQ(status, 0) << (status ? lua_tostring(L, -1) : "");
        if (status != 0) {
            lua_pop(L, 1);
            return "";
        }
        return dumpTop(L);
    }

    lua_State* L;
};

}  // namespace chunktesting
