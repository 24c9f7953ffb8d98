// The standard libraries that the engine opens: base (with coroutine),
// string and table.
#pragma once

#include "lua/lua.h"

#define LUA_COLIBNAME "coroutine"
#define LUA_TABLIBNAME "table"
#define LUA_STRLIBNAME "string"

int luaopen_base(lua_State* L);
int luaopen_table(lua_State* L);
int luaopen_string(lua_State* L);
