// A state with the base, table and string libraries open, running short
// chunks and describing their results as text, for the library tests.
#pragma once

#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "lua/lualib.h"

#include <gtest/gtest.h>

#include <string>

class LibraryTest : public ::testing::Test {
protected:
    LibraryTest() : L(lua_open()) {
        luaopen_base(L);
        luaopen_table(L);
        luaopen_string(L);
        lua_settop(L, 0);
    }
    ~LibraryTest() override { lua_close(L); }

    // Runs the chunk; returns its results converted by tostring and joined
    // with "|", or "error: " and the message.
    std::string run(const std::string& code) {
        lua_settop(L, 0);
        int status = luaL_loadbuffer(L, code.data(), code.size(), "=test");
        if (status == 0) status = lua_pcall(L, 0, LUA_MULTRET, 0);
        if (status != 0) {
            const char* message = lua_tostring(L, -1);
            std::string text = "error: " + std::string(message ? message : "(not a string)");
            lua_settop(L, 0);
            return text;
        }
        std::string text;
        int count = lua_gettop(L);
        for (int i = 1; i <= count; ++i) {
            lua_pushliteral(L, "tostring");
            lua_rawget(L, LUA_GLOBALSINDEX);
            lua_pushvalue(L, i);
            lua_call(L, 1, 1);
            if (i > 1) text += "|";
            text.append(lua_tostring(L, -1), lua_strlen(L, -1));
            lua_pop(L, 1);
        }
        lua_settop(L, 0);
        return text;
    }

    lua_State* L;
};
