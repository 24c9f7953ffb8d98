// Pieces of the string library shared between its source files.
#pragma once

#include "lua/lua.h"

#include <cstddef>
#include <cstdint>

namespace script {

// Argument narg as 8-bit text (numbers convert); a wide string is rejected
// with the type error naming "string" and "wstring".
const char* checkNarrowString(lua_State* L, int narg, size_t* length);

// string.format
int stringFormat(lua_State* L);

}  // namespace script
