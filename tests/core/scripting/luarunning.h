// Running Lua text on a state from a test.
#pragma once

#include <string>

#include "core/scripting/luaobject.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"

// Runs the statements; the error text, empty on success.
inline std::string RunLua(lua_State* L, const std::string& code) {
    LuaPopState guard(L);
    if (luaL_loadbuffer(L, code.data(), code.size(), "test") != 0 || lua_pcall(L, 0, 0, 0) != 0) {
        return LuaToString(L, -1).c_str();
    }
    return "";
}

// The expression's value through tostring, or "error: " and the error text.
inline std::string EvalLua(lua_State* L, const std::string& expression) {
    std::string error = RunLua(L, "evaluated = tostring(" + expression + ")");
    if (!error.empty()) return "error: " + error;
    LuaPopState guard(L);
    lua_pushstring(L, "evaluated");
    lua_rawget(L, LUA_GLOBALSINDEX);
    return LuaToString(L, -1).c_str();
}
