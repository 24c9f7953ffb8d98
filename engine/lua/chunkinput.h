// A chunk being loaded, read through the caller's lua_Chunkreader one byte at
// a time with a look at the next byte; the lexer and the chunk reader share it.
#pragma once

#include <cstddef>

#include "lua/lua.h"

namespace script {

class ChunkInput {
public:
    static constexpr int kEnd = -1;

    ChunkInput(lua_State* L, lua_Chunkreader reader, void* data) : L_(L), reader_(reader), data_(data) {}

    // The next byte without taking it, or kEnd.
    int peek()
    {
        if (left_ == 0 && !refill())
            return kEnd;
        return static_cast<unsigned char>(*next_);
    }

    // Takes the next byte, or returns kEnd.
    int get()
    {
        int c = peek();
        if (c != kEnd) {
            ++next_;
            --left_;
        }
        return c;
    }

    // Copies up to `size` bytes; returns how many were there.
    size_t read(void* out, size_t size);

private:
    bool refill();

    lua_State* L_;
    lua_Chunkreader reader_;
    void* data_;
    const char* next_ = nullptr;
    size_t left_ = 0;
    bool ended_ = false;
};

}  // namespace script
