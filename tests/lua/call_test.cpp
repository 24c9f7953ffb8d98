// Calls through the C interface: results, protected calls with and without
// error handlers, lua_cpcall, __call and the native-call depth limit.
#include "lua/lauxlib.h"
#include "lua/lua.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class CallTest : public ::testing::Test {
protected:
    CallTest() : L(lua_open()) {}
    ~CallTest() override { lua_close(L); }

    std::string topText() { return lua_isstring(L, -1) ? lua_tostring(L, -1) : "(no text)"; }

    lua_State* L;
};

int threeResults(lua_State* L)
{
    lua_pushnumber(L, 1);
    lua_pushnumber(L, 2);
    lua_pushnumber(L, 3);
    return 3;
}

int sumArguments(lua_State* L)
{
    lua_Number sum = 0;
    for (int i = 1; i <= lua_gettop(L); ++i)
        sum += lua_tonumber(L, i);
    lua_pushnumber(L, sum);
    return 1;
}

int raiseText(lua_State* L)
{
    lua_pushstring(L, "boom");
    return lua_error(L);
}

int prefixMessage(lua_State* L)
{
    lua_pushstring(L, "handled: ");
    lua_insert(L, 1);
    lua_concat(L, 2);
    return 1;
}

int failingHandler(lua_State* L)
{
    lua_pushstring(L, "handler fails too");
    return lua_error(L);
}

TEST_F(CallTest, ResultCountsAreAdjusted)
{
    lua_pushcfunction(L, threeResults);
    lua_call(L, 0, LUA_MULTRET);
    EXPECT_EQ(lua_gettop(L), 3);
    EXPECT_EQ(lua_tonumber(L, 3), 3);
    lua_settop(L, 0);

    lua_pushcfunction(L, threeResults);
    lua_call(L, 0, 5);
    ASSERT_EQ(lua_gettop(L), 5);
    EXPECT_EQ(lua_tonumber(L, 2), 2);
    EXPECT_TRUE(lua_isnil(L, 4));
    EXPECT_TRUE(lua_isnil(L, 5));
    lua_settop(L, 0);

    lua_pushstring(L, "below");
    lua_pushcfunction(L, sumArguments);
    lua_pushnumber(L, 4);
    lua_pushnumber(L, 5);
    lua_call(L, 2, 1);
    ASSERT_EQ(lua_gettop(L), 2);
    EXPECT_EQ(lua_tonumber(L, 2), 9);
    EXPECT_EQ(std::string(lua_tostring(L, 1)), "below");
}

TEST_F(CallTest, ProtectedCallRestoresTheStack)
{
    lua_pushstring(L, "keep");
    lua_pushcfunction(L, raiseText);
    lua_pushnumber(L, 1);
    EXPECT_EQ(lua_pcall(L, 1, 2, 0), LUA_ERRRUN);
    ASSERT_EQ(lua_gettop(L), 2);
    EXPECT_EQ(topText(), "boom");
    EXPECT_EQ(std::string(lua_tostring(L, 1)), "keep");
    lua_settop(L, 0);

    // Calling a value that is not a function.
    lua_pushnil(L);
    EXPECT_EQ(lua_pcall(L, 0, 0, 0), LUA_ERRRUN);
    EXPECT_EQ(topText(), "attempt to call a nil value");
    lua_settop(L, 0);

    // The state works normally after errors.
    lua_pushcfunction(L, sumArguments);
    lua_pushnumber(L, 2);
    EXPECT_EQ(lua_pcall(L, 1, 1, 0), 0);
    EXPECT_EQ(lua_tonumber(L, -1), 2);
}

TEST_F(CallTest, ErrorHandlers)
{
    lua_pushcfunction(L, prefixMessage);
    lua_pushcfunction(L, raiseText);
    EXPECT_EQ(lua_pcall(L, 0, 0, 1), LUA_ERRRUN);
    EXPECT_EQ(topText(), "handled: boom");
    EXPECT_EQ(lua_gettop(L), 2);
    lua_settop(L, 0);

    // Negative handler index.
    lua_pushcfunction(L, prefixMessage);
    lua_pushcfunction(L, raiseText);
    EXPECT_EQ(lua_pcall(L, 0, 0, -2), LUA_ERRRUN);
    EXPECT_EQ(topText(), "handled: boom");
    lua_settop(L, 0);

    lua_pushcfunction(L, failingHandler);
    lua_pushcfunction(L, raiseText);
    EXPECT_EQ(lua_pcall(L, 0, 0, 1), LUA_ERRERR);
    EXPECT_EQ(topText(), "error in error handling");
    lua_settop(L, 0);

    // A handler that is not a function.
    lua_pushnumber(L, 1);
    lua_pushcfunction(L, raiseText);
    EXPECT_EQ(lua_pcall(L, 0, 0, 1), LUA_ERRERR);
    EXPECT_EQ(topText(), "error in error handling");
}

int nestedProtected(lua_State* L)
{
    lua_pushcfunction(L, raiseText);
    const int inner = lua_pcall(L, 0, 0, 0);
    lua_pushnumber(L, inner);
    return 2;
}

TEST_F(CallTest, NestedProtectedCalls)
{
    lua_pushcfunction(L, nestedProtected);
    ASSERT_EQ(lua_pcall(L, 0, 2, 0), 0);
    EXPECT_EQ(lua_tonumber(L, -1), LUA_ERRRUN);
    EXPECT_EQ(std::string(lua_tostring(L, -2)), "boom");
}

int readUserPointer(lua_State* L)
{
    *static_cast<int*>(lua_touserdata(L, 1)) = 42;
    return 0;
}

TEST_F(CallTest, ProtectedNativeCall)
{
    int seen = 0;
    EXPECT_EQ(lua_cpcall(L, readUserPointer, &seen), 0);
    EXPECT_EQ(seen, 42);
    EXPECT_EQ(lua_gettop(L), 0);
    EXPECT_EQ(lua_cpcall(L, raiseText, nullptr), LUA_ERRRUN);
    EXPECT_EQ(topText(), "boom");
}

TEST_F(CallTest, CallHandlerOfTables)
{
    lua_newtable(L);           // the called table
    lua_newtable(L);           // its metatable
    lua_pushstring(L, "__call");
    lua_pushcfunction(L, sumArguments);
    lua_settable(L, -3);
    lua_setmetatable(L, -2);
    lua_pushnumber(L, 5);
    lua_pushnumber(L, 6);
    // The table itself is the first argument; sumArguments counts it as 0.
    lua_call(L, 2, 1);
    EXPECT_EQ(lua_tonumber(L, -1), 11);
}

int recurseNatively(lua_State* L)
{
    lua_pushcfunction(L, recurseNatively);
    lua_call(L, 0, 0);
    return 0;
}

TEST_F(CallTest, NativeRecursionOverflows)
{
    lua_pushcfunction(L, recurseNatively);
    EXPECT_EQ(lua_pcall(L, 0, 0, 0), LUA_ERRRUN);
    EXPECT_EQ(topText(), "C stack overflow");
    lua_settop(L, 0);
    lua_pushcfunction(L, threeResults);
    EXPECT_EQ(lua_pcall(L, 0, 1, 0), 0);
}

int reportPanic(lua_State* L)
{
    std::fprintf(stderr, "panic: %s\n", lua_tostring(L, -1));
    return 0;
}

TEST(CallPanicTest, UnprotectedErrorCallsThePanicFunctionAndExits)
{
    EXPECT_EXIT(
        {
            lua_State* L = lua_open();
            lua_atpanic(L, reportPanic);
            lua_pushcfunction(L, raiseText);
            lua_call(L, 0, 0);
        },
        ::testing::ExitedWithCode(EXIT_FAILURE), "panic: boom");
}

}  // namespace
