// Binary packing and escape expansion of the string library: string.pack,
// string.unpack and string.lualex.
#pragma once

#include "lua/lua.h"

namespace script {

int stringPack(lua_State* L);
int stringUnpack(lua_State* L);
int stringLualex(lua_State* L);

}  // namespace script
