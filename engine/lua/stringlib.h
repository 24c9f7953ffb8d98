// Pieces of the string library shared between its source files.
#pragma once

#include "lua/lua.h"

#include <cstddef>
#include <cstdint>

namespace script {

// Upper bound of a string that string.rep or string.pack builds, so that a
// short call cannot ask for gigabytes.
constexpr size_t kMaxBuiltString = 0x10000000;

// Argument narg as 8-bit text (numbers convert); a wide string is rejected
// with the type error naming "string" and "wstring".
const char* checkNarrowString(lua_State* L, int narg, size_t* length);

// string.format
int stringFormat(lua_State* L);

}  // namespace script
