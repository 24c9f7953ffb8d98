// The C interface and the auxiliary library, used as a native module would:
// stack discipline, types, pushes, closures with upvalues, metatables,
// environments, references, buffers, argument errors and protected calls.
#include "lua/lauxlib.h"
#include "lua/lua.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <cerrno>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

class ApiTest : public ::testing::Test {
protected:
    ApiTest() : L(lua_open()) {}
    ~ApiTest() override { lua_close(L); }

    // The stack as text, bottom first: numbers, strings, else type names.
    std::string stack()
    {
        std::string out;
        for (int i = 1; i <= lua_gettop(L); ++i) {
            if (i > 1)
                out += ' ';
            if (lua_type(L, i) == LUA_TNUMBER || lua_type(L, i) == LUA_TSTRING) {
                lua_pushvalue(L, i);  // convert a copy, not the slot
                out += lua_tostring(L, -1);
                lua_pop(L, 1);
            } else {
                out += lua_typename(L, lua_type(L, i));
            }
        }
        return out;
    }

    // Calls f(args...) in protection; the status, with the message in *message.
    int protectedCall(lua_CFunction f, int nargs, std::string* message)
    {
        lua_pushcfunction(L, f);
        lua_insert(L, -(nargs + 1));
        int status = lua_pcall(L, nargs, 0, 0);
        if (status != 0) {
            *message = lua_isstring(L, -1) ? lua_tostring(L, -1) : "(not text)";
            lua_pop(L, 1);
        }
        return status;
    }

    lua_State* L;
};

TEST_F(ApiTest, StackManipulation)
{
    for (int i = 1; i <= 5; ++i)
        lua_pushnumber(L, i);
    EXPECT_EQ(lua_gettop(L), 5);
    lua_pushvalue(L, 2);
    EXPECT_EQ(stack(), "1 2 3 4 5 2");
    lua_remove(L, 1);
    EXPECT_EQ(stack(), "2 3 4 5 2");
    lua_insert(L, 2);
    EXPECT_EQ(stack(), "2 2 3 4 5");
    lua_pushstring(L, "x");
    lua_replace(L, -3);  // counted with the new value still on top
    EXPECT_EQ(stack(), "2 2 3 x 5");
    lua_settop(L, 7);
    EXPECT_EQ(stack(), "2 2 3 x 5 nil nil");
    lua_settop(L, -3);
    EXPECT_EQ(stack(), "2 2 3 x 5");
    lua_pop(L, 2);
    EXPECT_EQ(stack(), "2 2 3");
    lua_settop(L, 0);
    EXPECT_EQ(lua_gettop(L), 0);
    EXPECT_EQ(lua_type(L, 1), LUA_TNONE);
    EXPECT_EQ(lua_type(L, -1), LUA_TNONE);
    EXPECT_STREQ(lua_typename(L, LUA_TNONE), "no value");
    EXPECT_EQ(lua_tostring(L, 3), nullptr);
    EXPECT_EQ(lua_toboolean(L, 3), 0);
}

TEST_F(ApiTest, CheckStackGrowsTheStackAndRefusesTooMuch)
{
    EXPECT_TRUE(lua_checkstack(L, 1000));
    for (int i = 0; i < 1000; ++i)
        lua_pushnumber(L, i);
    EXPECT_EQ(lua_tonumber(L, 1000), 999);
    EXPECT_EQ(lua_tonumber(L, 1), 0);
    EXPECT_FALSE(lua_checkstack(L, 100000));
    lua_settop(L, 0);
}

TEST_F(ApiTest, TypesAndTests)
{
    int anchor;
    lua_pushnil(L);
    lua_pushboolean(L, 7);
    lua_pushlightuserdata(L, &anchor);
    lua_pushnumber(L, 1.5);
    lua_pushstring(L, "10");
    lua_newtable(L);
    lua_pushcfunction(L, [](lua_State*) { return 0; });
    lua_newuserdata(L, 4);
    lua_newthread(L);
    const int expected[] = {LUA_TNIL,   LUA_TBOOLEAN,  LUA_TLIGHTUSERDATA, LUA_TNUMBER, LUA_TSTRING,
                            LUA_TTABLE, LUA_TFUNCTION, LUA_TUSERDATA,      LUA_TTHREAD};
    const char* names[] = {"nil", "boolean", "userdata", "number", "string", "table", "function", "userdata", "thread"};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(lua_type(L, i + 1), expected[i]);
        EXPECT_STREQ(lua_typename(L, lua_type(L, i + 1)), names[i]);
    }
    EXPECT_EQ(lua_toboolean(L, 2), 1);
    EXPECT_EQ(lua_touserdata(L, 3), &anchor);
    EXPECT_TRUE(lua_isnumber(L, 5));
    EXPECT_TRUE(lua_isstring(L, 4));
    EXPECT_FALSE(lua_isstring(L, 6));
    EXPECT_TRUE(lua_iscfunction(L, 7));
    EXPECT_TRUE(lua_isuserdata(L, 3));
    EXPECT_TRUE(lua_isuserdata(L, 8));
    EXPECT_NE(lua_tothread(L, 9), nullptr);
    EXPECT_EQ(lua_tothread(L, 8), nullptr);
    EXPECT_EQ(lua_topointer(L, 6), lua_topointer(L, 6));
    EXPECT_NE(lua_topointer(L, 6), nullptr);
    EXPECT_EQ(lua_topointer(L, 4), nullptr);
    EXPECT_NE(lua_tocfunction(L, 7), nullptr);
    EXPECT_EQ(lua_tocfunction(L, 6), nullptr);
    EXPECT_FALSE(lua_rawequal(L, 4, 5));
    lua_pushstring(L, "10");
    EXPECT_TRUE(lua_rawequal(L, 5, -1));
    EXPECT_TRUE(lua_equal(L, 5, -1));
    EXPECT_FALSE(lua_rawequal(L, 5, 100));
    EXPECT_STREQ(lua_version(), "Lua 5.0.2");
}

TEST_F(ApiTest, PushFormattedText)
{
    const char* s = lua_pushfstring(L, "%s|%d|%f|%c|%%|%s", "text", -42, 2.5, 'z', "end");
    EXPECT_STREQ(s, "text|-42|2.5|z|%|end");
    EXPECT_EQ(lua_type(L, -1), LUA_TSTRING);
    EXPECT_STREQ(lua_pushfstring(L, "%f", 1.0 / 3), "0.33333333333333");
    EXPECT_STREQ(lua_pushfstring(L, "no directives"), "no directives");
    EXPECT_EQ(lua_gettop(L), 3);
}

int counter(lua_State* L)
{
    lua_Number n = lua_tonumber(L, lua_upvalueindex(1)) + 1;
    lua_pushnumber(L, n);
    lua_replace(L, lua_upvalueindex(1));
    lua_pushnumber(L, n);
    lua_pushvalue(L, lua_upvalueindex(2));
    lua_pushboolean(L, lua_isnone(L, lua_upvalueindex(3)));
    return 3;
}

TEST_F(ApiTest, NativeClosuresKeepTheirUpvalues)
{
    lua_pushnumber(L, 10);
    lua_pushstring(L, "label");
    lua_pushcclosure(L, counter, 2);
    EXPECT_EQ(lua_gettop(L), 1);
    for (int expected = 11; expected <= 13; ++expected) {
        lua_pushvalue(L, 1);
        lua_call(L, 0, 3);
        EXPECT_EQ(lua_tonumber(L, -3), expected);
        EXPECT_STREQ(lua_tostring(L, -2), "label");
        EXPECT_TRUE(lua_toboolean(L, -1));
        lua_pop(L, 3);
    }
}

TEST_F(ApiTest, GlobalsRegistryAndTableAccess)
{
    lua_pushstring(L, "answer");
    lua_pushnumber(L, 42);
    lua_settable(L, LUA_GLOBALSINDEX);
    lua_pushstring(L, "answer");
    lua_gettable(L, LUA_GLOBALSINDEX);
    EXPECT_EQ(lua_tonumber(L, -1), 42);
    lua_pushstring(L, "answer");
    lua_rawget(L, LUA_GLOBALSINDEX);
    EXPECT_EQ(lua_tonumber(L, -1), 42);
    lua_pushstring(L, "answer");
    lua_rawget(L, LUA_REGISTRYINDEX);
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_settop(L, 0);

    lua_newtable(L);
    lua_pushstring(L, "v");
    lua_rawseti(L, 1, 5);
    lua_rawgeti(L, 1, 5);
    EXPECT_STREQ(lua_tostring(L, -1), "v");
    lua_rawgeti(L, 1, 6);
    EXPECT_TRUE(lua_isnil(L, -1));
}

int indexHandler(lua_State* L)
{
    lua_pushfstring(L, "missing %s", lua_tostring(L, 2));
    return 1;
}

TEST_F(ApiTest, MetatablesOfTablesAndUserdataOnly)
{
    lua_newtable(L);  // 1: object
    lua_newtable(L);  // 2: metatable
    lua_pushstring(L, "__index");
    lua_pushcfunction(L, indexHandler);
    lua_rawset(L, 2);
    EXPECT_FALSE(lua_getmetatable(L, 1));
    lua_pushvalue(L, 2);
    EXPECT_TRUE(lua_setmetatable(L, 1));
    ASSERT_TRUE(lua_getmetatable(L, 1));
    EXPECT_TRUE(lua_rawequal(L, -1, 2));
    lua_pop(L, 1);
    lua_pushstring(L, "key");
    lua_gettable(L, 1);  // through __index
    EXPECT_STREQ(lua_tostring(L, -1), "missing key");
    lua_pop(L, 1);
    lua_pushstring(L, "key");
    lua_rawget(L, 1);  // not through __index
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_pop(L, 1);

    lua_pushnumber(L, 1);
    lua_pushvalue(L, 2);
    EXPECT_FALSE(lua_setmetatable(L, -2));  // numbers have only the type-wide one
    EXPECT_FALSE(lua_getmetatable(L, -1));
    lua_pop(L, 1);

    lua_newuserdata(L, 1);
    lua_pushvalue(L, 2);
    EXPECT_TRUE(lua_setmetatable(L, -2));
    EXPECT_TRUE(lua_getmetatable(L, -1));
    lua_pop(L, 1);
    lua_pushnil(L);
    EXPECT_TRUE(lua_setmetatable(L, -2));  // nil removes it
    EXPECT_FALSE(lua_getmetatable(L, -1));
    lua_settop(L, 2);

    // Type-wide metatables: a table is stored, anything else is ignored.
    lua_pushstring(L, "len");
    lua_pushstring(L, "from the type-wide table");
    lua_rawset(L, 2);
    lua_getdefaultmetatable(L, LUA_TSTRING);
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_pop(L, 1);
    lua_pushvalue(L, 2);
    lua_setdefaultmetatable(L, LUA_TSTRING);
    lua_pushnumber(L, 5);
    lua_setdefaultmetatable(L, LUA_TSTRING);
    lua_getdefaultmetatable(L, LUA_TSTRING);
    EXPECT_TRUE(lua_rawequal(L, -1, 2));
    lua_pop(L, 1);
    lua_pushstring(L, "abc");
    EXPECT_FALSE(lua_getmetatable(L, -1));  // the type-wide one is not its own
    lua_pushstring(L, "len");
    lua_gettable(L, -2);  // but indexing reads the type-wide table
    EXPECT_STREQ(lua_tostring(L, -1), "from the type-wide table");
    EXPECT_EQ(lua_gettop(L), 4);
}

TEST_F(ApiTest, EnvironmentsOfNativeFunctionsAreTheGlobals)
{
    lua_pushcfunction(L, counter);
    lua_getfenv(L, 1);
    EXPECT_TRUE(lua_rawequal(L, -1, LUA_GLOBALSINDEX));
    lua_newtable(L);
    EXPECT_FALSE(lua_setfenv(L, 1));  // only script functions take another
    lua_pushnumber(L, 3);
    lua_getfenv(L, -1);
    EXPECT_TRUE(lua_rawequal(L, -1, LUA_GLOBALSINDEX));
}

TEST_F(ApiTest, ReferencesReuseFreedSlots)
{
    lua_newtable(L);
    lua_pushstring(L, "a");
    int a = luaL_ref(L, 1);
    lua_pushstring(L, "b");
    int b = luaL_ref(L, 1);
    EXPECT_GT(a, 0);
    EXPECT_NE(a, b);
    lua_pushnil(L);
    EXPECT_EQ(luaL_ref(L, 1), LUA_REFNIL);
    lua_rawgeti(L, 1, b);
    EXPECT_STREQ(lua_tostring(L, -1), "b");
    lua_pop(L, 1);
    luaL_unref(L, 1, a);
    lua_rawgeti(L, 1, 0);
    EXPECT_EQ(lua_tonumber(L, -1), a);  // the free list's head
    lua_pop(L, 1);
    lua_pushstring(L, "c");
    EXPECT_EQ(luaL_ref(L, 1), a);
    lua_pushstring(L, "d");
    int d = luaL_ref(L, 1);
    EXPECT_NE(d, a);
    EXPECT_NE(d, b);
    luaL_unref(L, 1, LUA_NOREF);
    luaL_unref(L, 1, LUA_REFNIL);

    lua_pushstring(L, "in registry");
    int r = lua_ref(L, 1);
    lua_getref(L, r);
    EXPECT_STREQ(lua_tostring(L, -1), "in registry");
    lua_unref(L, r);
    EXPECT_EQ(lua_gettop(L), 2);
}

TEST_F(ApiTest, NamedMetatablesAndCheckedUserdata)
{
    EXPECT_TRUE(luaL_newmetatable(L, "Widget"));
    EXPECT_FALSE(luaL_newmetatable(L, "Widget"));  // leaves the existing one
    EXPECT_TRUE(lua_rawequal(L, 1, 2));
    lua_settop(L, 0);
    void* payload = lua_newuserdata(L, 8);
    luaL_getmetatable(L, "Widget");
    lua_setmetatable(L, 1);
    EXPECT_EQ(luaL_checkudata(L, 1, "Widget"), payload);
    EXPECT_EQ(luaL_checkudata(L, 1, "Gadget"), nullptr);
    lua_newuserdata(L, 8);
    EXPECT_EQ(luaL_checkudata(L, 2, "Widget"), nullptr);
    EXPECT_EQ(lua_gettop(L), 2);

    EXPECT_TRUE(luaL_getmetafield(L, 1, "__index") == 0);
    luaL_getmetatable(L, "Widget");
    lua_pushstring(L, "__name");
    lua_pushstring(L, "widget");
    lua_rawset(L, -3);
    lua_pop(L, 1);
    EXPECT_TRUE(luaL_getmetafield(L, 1, "__name"));
    EXPECT_STREQ(lua_tostring(L, -1), "widget");
}

TEST_F(ApiTest, BuffersJoinLongTextInBothModes)
{
    luaL_Buffer b;
    luaL_buffinit(L, &b);
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        std::string piece = "piece" + std::to_string(i) + ";";
        luaL_addstring(&b, piece.c_str());
        expected += piece;
        if (i % 100 == 0) {
            lua_pushnumber(L, i);
            luaL_addvalue(&b);
            expected += std::to_string(i);
        }
    }
    luaL_putchar(&b, '!');
    expected += '!';
    std::string big(20000, 'q');
    lua_pushlstring(L, big.data(), big.size());
    luaL_addvalue(&b);
    expected += big;
    luaL_pushresult(&b);
    ASSERT_EQ(lua_gettop(L), 1);
    EXPECT_EQ(std::string(lua_tostring(L, 1), lua_strlen(L, 1)), expected);
    lua_settop(L, 0);

    luaL_wbuffinit(L, &b);
    std::vector<lua_WChar> wide;
    for (int i = 0; i < 10000; ++i) {
        lua_WChar unit = static_cast<lua_WChar>(0x100 + i);
        luaL_addwchar(&b, unit);
        wide.push_back(unit);
    }
    const lua_WChar tail[] = {'e', 'n', 'd'};
    luaL_addwlstring(&b, tail, 3);
    wide.insert(wide.end(), tail, tail + 3);
    lua_pushnumber(L, 12);
    luaL_addvalue(&b);  // numbers become wide text
    wide.push_back('1');
    wide.push_back('2');
    luaL_pushresult(&b);
    ASSERT_EQ(lua_gettop(L), 1);
    ASSERT_EQ(lua_type(L, 1), LUA_TWSTRING);
    ASSERT_EQ(lua_strlen(L, 1), wide.size());
    EXPECT_EQ(std::vector<lua_WChar>(lua_towstring(L, 1), lua_towstring(L, 1) + wide.size()), wide);

    luaL_wbuffinit(L, &b);  // an empty wide buffer still gives a wide string
    luaL_pushresult(&b);
    EXPECT_EQ(lua_type(L, -1), LUA_TWSTRING);
    EXPECT_EQ(lua_strlen(L, -1), 0u);
}

int checkNumberArg(lua_State* L)
{
    luaL_checknumber(L, 1);
    return 0;
}

int checkStringArg(lua_State* L)
{
    luaL_checkstring(L, 2);
    return 0;
}

int checkWideArg(lua_State* L)
{
    size_t length = 0;
    luaL_checkwstring(L, 1, &length);
    lua_pushnumber(L, static_cast<lua_Number>(length));
    return 1;
}

int checkAnyArg(lua_State* L)
{
    luaL_checkany(L, 1);
    return 0;
}

int checkTypeArg(lua_State* L)
{
    luaL_checktype(L, 1, LUA_TTABLE);
    return 0;
}

int raiseFormatted(lua_State* L) { return luaL_error(L, "failed with %d", 7); }

TEST_F(ApiTest, ArgumentErrorsUseTheStandardMessages)
{
    std::string message;
    lua_pushstring(L, "x");
    EXPECT_EQ(protectedCall(checkNumberArg, 1, &message), LUA_ERRRUN);
    EXPECT_EQ(message, "bad argument #1 to `?' (number expected, got string)");

    lua_pushnumber(L, 1);
    EXPECT_EQ(protectedCall(checkStringArg, 1, &message), LUA_ERRRUN);
    EXPECT_EQ(message, "bad argument #2 to `?' (string expected, got no value)");

    const lua_WChar units[] = {'a', 'b', 0};
    lua_pushnumber(L, 1);
    lua_pushwstringz(L, units);
    EXPECT_EQ(protectedCall(checkStringArg, 2, &message), LUA_ERRRUN);
    EXPECT_EQ(message, "bad argument #2 to `?' (string expected, got wstring)");

    lua_newtable(L);
    EXPECT_EQ(protectedCall(checkWideArg, 1, &message), LUA_ERRRUN);
    EXPECT_EQ(message, "bad argument #1 to `?' (wstring expected, got table)");

    EXPECT_EQ(protectedCall(checkAnyArg, 0, &message), LUA_ERRRUN);
    EXPECT_EQ(message, "bad argument #1 to `?' (value expected)");

    lua_pushnumber(L, 1);
    EXPECT_EQ(protectedCall(checkTypeArg, 1, &message), LUA_ERRRUN);
    EXPECT_EQ(message, "bad argument #1 to `?' (table expected, got number)");

    EXPECT_EQ(protectedCall(raiseFormatted, 0, &message), LUA_ERRRUN);
    EXPECT_EQ(message, "failed with 7");  // no position inside a native function
    EXPECT_EQ(lua_gettop(L), 0);

    // A number passes as wide text.
    lua_pushcfunction(L, checkWideArg);
    lua_pushnumber(L, 123);
    ASSERT_EQ(lua_pcall(L, 1, 1, 0), 0);
    EXPECT_EQ(lua_tonumber(L, -1), 3);
}

int raiseInNative(lua_State* L)
{
    lua_pushnumber(L, 1);
    lua_pushnumber(L, 2);
    lua_pushstring(L, "native failure");
    return lua_error(L);
}

TEST_F(ApiTest, NativeErrorInProtectedCallKeepsTheStackBalanced)
{
    lua_pushstring(L, "below");
    lua_pushcfunction(L, raiseInNative);
    lua_pushnumber(L, 5);
    EXPECT_EQ(lua_pcall(L, 1, LUA_MULTRET, 0), LUA_ERRRUN);
    EXPECT_EQ(lua_gettop(L), 2);
    EXPECT_STREQ(lua_tostring(L, 2), "native failure");
    EXPECT_STREQ(lua_tostring(L, 1), "below");
    lua_pop(L, 1);
    // The state works on afterwards.
    lua_pushcfunction(L, [](lua_State* L) {
        lua_pushstring(L, "fine");
        return 1;
    });
    EXPECT_EQ(lua_pcall(L, 0, 1, 0), 0);
    EXPECT_STREQ(lua_tostring(L, -1), "fine");
    EXPECT_EQ(lua_gettop(L), 2);
}

TEST_F(ApiTest, NextAndConcatAndXmove)
{
    lua_newtable(L);
    lua_pushstring(L, "v");
    lua_rawseti(L, 1, 1);
    lua_pushnil(L);
    ASSERT_TRUE(lua_next(L, 1));
    EXPECT_EQ(lua_tonumber(L, -2), 1);
    EXPECT_STREQ(lua_tostring(L, -1), "v");
    lua_pop(L, 1);
    EXPECT_FALSE(lua_next(L, 1));
    EXPECT_EQ(lua_gettop(L), 1);

    lua_pushstring(L, "a");
    lua_pushnumber(L, 1);
    lua_pushstring(L, "b");
    lua_concat(L, 3);
    EXPECT_STREQ(lua_tostring(L, -1), "a1b");
    lua_concat(L, 0);
    EXPECT_STREQ(lua_tostring(L, -1), "");
    lua_concat(L, 1);
    EXPECT_EQ(lua_gettop(L), 3);

    lua_State* other = lua_newthread(L);
    lua_pushnumber(L, 8);
    lua_pushnumber(L, 9);
    lua_xmove(L, other, 2);
    EXPECT_EQ(lua_gettop(other), 2);
    EXPECT_EQ(lua_tonumber(other, 1), 8);
    EXPECT_EQ(lua_gettop(L), 4);
}

TEST_F(ApiTest, LoadFileReportsUnreadableFiles)
{
    EXPECT_EQ(luaL_loadfile(L, "/nonexistent/dir/missing.lua"), LUA_ERRFILE);
    EXPECT_STREQ(lua_tostring(L, -1), "cannot read /nonexistent/dir/missing.lua: No such file or directory");
    lua_pop(L, 1);

    // The reader hook decides what a file holds, and errno tells why it failed.
    static std::string lastAsked;
    luaL_setfilereader([](const char* name, std::string&) {
        lastAsked = name;
        return false;
    });
    EXPECT_EQ(luaL_loadfile(L, "virtual/name.lua"), LUA_ERRFILE);
    EXPECT_EQ(lastAsked, "virtual/name.lua");
    EXPECT_STREQ(lua_tostring(L, -1), "cannot read virtual/name.lua: No such file or directory");
    lua_pop(L, 1);
    luaL_setfilereader([](const char*, std::string&) {
        errno = EACCES;
        return false;
    });
    EXPECT_EQ(luaL_loadfile(L, "locked.lua"), LUA_ERRFILE);
    EXPECT_STREQ(lua_tostring(L, -1), "cannot read locked.lua: Permission denied");
    luaL_setfilereader(nullptr);
    EXPECT_EQ(lua_gettop(L), 1);
}

int alertSink(lua_State* L)
{
    lua_pushstring(L, "alerted");
    lua_pushvalue(L, 1);
    lua_rawset(L, LUA_REGISTRYINDEX);
    return 0;
}

TEST_F(ApiTest, DoStringRunsChunksAndSendsErrorsToAlert)
{
    EXPECT_EQ(lua_dostring(L, "x = 6 * 7"), 0);
    lua_pushstring(L, "x");
    lua_rawget(L, LUA_GLOBALSINDEX);
    EXPECT_EQ(lua_tonumber(L, -1), 42);
    lua_pop(L, 1);

    lua_pushstring(L, "_ALERT");
    lua_pushcfunction(L, alertSink);
    lua_rawset(L, LUA_GLOBALSINDEX);
    EXPECT_EQ(lua_dostring(L, "local t t.x = 1"), LUA_ERRRUN);
    EXPECT_EQ(lua_gettop(L), 0);
    lua_pushstring(L, "alerted");
    lua_rawget(L, LUA_REGISTRYINDEX);
    EXPECT_STREQ(lua_tostring(L, -1), "[string \"local t t.x = 1\"]:1: attempt to index local `t' (a nil value)");
    lua_pop(L, 1);

    EXPECT_EQ(lua_dobuffer(L, "return 1 +", 10, "=buffer"), LUA_ERRSYNTAX);
    lua_pushstring(L, "alerted");
    lua_rawget(L, LUA_REGISTRYINDEX);
    EXPECT_STREQ(lua_tostring(L, -1), "buffer:1: unexpected symbol near `<eof>'");
}

TEST_F(ApiTest, LoadFileGoesThroughTheReaderHookAndNamesTheChunk)
{
    luaL_setfilereader([](const char* name, std::string& contents) {
        if (std::string(name) != "scripts/ok.lua")
            return false;
        contents = "local a = 1\nreturn 'loaded', undefinedName.field";
        return true;
    });
    ASSERT_EQ(luaL_loadfile(L, "scripts/ok.lua"), 0);
    EXPECT_EQ(lua_gettop(L), 1);
    EXPECT_EQ(lua_pcall(L, 0, 2, 0), LUA_ERRRUN);
    EXPECT_STREQ(lua_tostring(L, -1), "scripts/ok.lua:2: attempt to index global `undefinedName' (a nil value)");
    luaL_setfilereader(nullptr);

    // The default reader reads disk files.
    std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("vandermoot_api_test_" + std::to_string(getpid()) + ".lua");
    {
        std::ofstream out(file);
        out << "return 7";
    }
    ASSERT_EQ(lua_dofile(L, file.string().c_str()), 0);
    EXPECT_EQ(lua_tonumber(L, -1), 7);
    std::filesystem::remove(file);
}

int whereAndRaise(lua_State* L)
{
    luaL_where(L, 1);  // the chunk that called this function
    lua_pushstring(L, "|");
    luaL_where(L, 2);  // its caller is the host: no position
    lua_concat(L, 3);
    return 1;
}

int checkTable(lua_State* L)
{
    luaL_checktype(L, 1, LUA_TTABLE);
    return 0;
}

std::string runCode(lua_State* L, const std::string& code)
{
    if (luaL_loadbuffer(L, code.data(), code.size(), "=chunk") != 0 || lua_pcall(L, 0, 1, 0) != 0) {
        std::string message = lua_tostring(L, -1);
        lua_pop(L, 1);
        return "error: " + message;
    }
    std::string result = lua_isstring(L, -1) ? lua_tostring(L, -1) : lua_typename(L, lua_type(L, -1));
    lua_pop(L, 1);
    return result;
}

TEST_F(ApiTest, PositionsAndFunctionNamesInErrors)
{
    lua_register(L, "where", whereAndRaise);
    lua_register(L, "check", checkTable);
    lua_newuserdata(L, 4);  // ud: a userdata with a method m = check
    lua_newtable(L);
    lua_pushstring(L, "__index");
    lua_newtable(L);
    lua_pushstring(L, "m");
    lua_pushcfunction(L, checkTable);
    lua_rawset(L, -3);
    lua_rawset(L, -3);
    lua_setmetatable(L, -2);
    lua_pushstring(L, "ud");
    lua_insert(L, -2);
    lua_rawset(L, LUA_GLOBALSINDEX);

    EXPECT_EQ(runCode(L, "local s = where()\nreturn s"), "chunk:1: |");
    EXPECT_EQ(runCode(L, "local t = {f = check}\nt.f(5)"),
              "error: chunk:2: bad argument #1 to `f' (table expected, got number)");
    EXPECT_EQ(runCode(L, "\ncheck(nil)"), "error: chunk:2: bad argument #1 to `check' (table expected, got nil)");
    EXPECT_EQ(runCode(L, "ud:m()"), "error: chunk:1: calling `m' on bad self (table expected, got userdata)");
    EXPECT_EQ(runCode(L, "local t = {m = check}\nt:m()\nreturn 'fine'"), "fine");
    EXPECT_EQ(lua_gettop(L), 0);
}

int allocateTooMuch(lua_State* L)
{
    lua_newuserdata(L, static_cast<size_t>(-1) - 8);
    return 0;
}

TEST_F(ApiTest, ImpossibleAllocationIsAMemoryError)
{
    lua_pushstring(L, "below");
    EXPECT_EQ(lua_cpcall(L, allocateTooMuch, nullptr), LUA_ERRMEM);
    EXPECT_STREQ(lua_tostring(L, -1), "not enough memory");
    EXPECT_EQ(lua_gettop(L), 2);
    lua_newtable(L);  // the state goes on working
    EXPECT_EQ(lua_gettop(L), 3);
}

}  // namespace

TEST_F(ApiTest, IntegerArgumentsOfAnyNumberAreDefined)
{
    struct Case {
        lua_Number n;
        int asInt;
        long asLong;
    };
    const Case cases[] = {
        {2.9, 2, 2},
        {-2.9, -2, -2},
        {std::nan(""), 0, 0},
        {HUGE_VAL, INT_MAX, LONG_MAX},
        {-HUGE_VAL, INT_MIN, LONG_MIN},
        {3e10, INT_MAX, 30000000000L},
        {-1e300, INT_MIN, LONG_MIN},
    };
    for (const Case& c : cases) {
        lua_settop(L, 0);
        lua_pushnumber(L, c.n);
        EXPECT_EQ(luaL_checkint(L, 1), c.asInt) << c.n;
        EXPECT_EQ(luaL_checklong(L, 1), c.asLong) << c.n;
        EXPECT_EQ(luaL_optint(L, 2, c.n), c.asInt) << c.n;
    }
}
