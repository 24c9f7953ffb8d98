// Coroutines: resume and yield both ways, yields from native functions, the
// boundaries a yield cannot cross, and the states of a thread.
#include "tests/lua/libfixture.h"

#include <string>

namespace {

class CoroutineTest : public LibraryTest {
protected:
    // A new thread with the chunk `code` loaded on it, ready to resume.
    lua_State* threadWith(const std::string& code)
    {
        lua_State* co = lua_newthread(L);
        lua_setglobal_thread();
        EXPECT_EQ(luaL_loadbuffer(co, code.data(), code.size(), "=co"), 0);
        return co;
    }

    // Keeps the thread reachable as the global "co".
    void lua_setglobal_thread()
    {
        lua_pushstring(L, "co");
        lua_insert(L, -2);
        lua_settable(L, LUA_GLOBALSINDEX);
    }
};

// Yields its arguments out of the coroutine; resuming returns the values
// given to lua_resume.
int pause(lua_State* L) { return lua_yield(L, lua_gettop(L)); }

TEST_F(CoroutineTest, YieldFromNativeFunction)
{
    lua_register(L, "pause", pause);
    lua_State* co = threadWith("local got = pause(5, 6) return got * 2");
    EXPECT_FALSE(lua_isyielded(co));
    ASSERT_EQ(lua_resume(co, 0), 0);
    EXPECT_TRUE(lua_isyielded(co));
    ASSERT_EQ(lua_gettop(co), 2);
    EXPECT_EQ(lua_tonumber(co, 1), 5);
    EXPECT_EQ(lua_tonumber(co, 2), 6);
    lua_settop(co, 0);

    lua_pushnumber(co, 7);
    ASSERT_EQ(lua_resume(co, 1), 0);
    EXPECT_FALSE(lua_isyielded(co));
    ASSERT_EQ(lua_gettop(co), 1);
    EXPECT_EQ(lua_tonumber(co, 1), 14);
    lua_settop(co, 0);

    EXPECT_EQ(lua_resume(co, 0), LUA_ERRRUN);
    EXPECT_EQ(std::string(lua_tostring(co, -1)), "cannot resume dead coroutine");
}

int yieldedState(lua_State* L)
{
    lua_State* co = static_cast<lua_State*>(lua_touserdata(L, 1));
    lua_pushboolean(L, lua_isyielded(co));
    return 1;
}

TEST_F(CoroutineTest, RefusedResumeTakesBackItsArguments)
{
    lua_State* co = threadWith("return 1");
    ASSERT_EQ(lua_resume(co, 0), 0);
    lua_settop(co, 0);
    lua_pushnumber(co, 2);
    lua_pushnumber(co, 3);
    EXPECT_EQ(lua_resume(co, 2), LUA_ERRRUN);
    ASSERT_EQ(lua_gettop(co), 1);
    EXPECT_EQ(std::string(lua_tostring(co, 1)), "cannot resume dead coroutine");
    lua_settop(co, 0);
    // Nothing was left to be taken for a function to call.
    EXPECT_EQ(lua_resume(co, 0), LUA_ERRRUN);
    EXPECT_EQ(std::string(lua_tostring(co, -1)), "cannot resume dead coroutine");
}

TEST_F(CoroutineTest, NestedCallOnSuspendedThreadIsNotYielded)
{
    lua_register(L, "pause", pause);
    lua_State* co = threadWith("pause() return 'end'");
    ASSERT_EQ(lua_resume(co, 0), 0);
    ASSERT_TRUE(lua_isyielded(co));

    lua_pushcfunction(co, yieldedState);
    lua_pushlightuserdata(co, co);
    lua_call(co, 1, 1);
    EXPECT_FALSE(lua_toboolean(co, -1));
    lua_pop(co, 1);

    EXPECT_TRUE(lua_isyielded(co));
    ASSERT_EQ(lua_resume(co, 0), 0);
    EXPECT_EQ(std::string(lua_tostring(co, -1)), "end");
}

TEST_F(CoroutineTest, NativeBodies)
{
    lua_State* co = lua_newthread(L);
    lua_pushcfunction(co, pause);
    lua_pushnumber(co, 1);
    EXPECT_EQ(lua_resume(co, 1), LUA_ERRRUN);
    EXPECT_EQ(std::string(lua_tostring(co, -1)), "cannot yield a C function");
    EXPECT_FALSE(lua_isyielded(co));
}

TEST_F(CoroutineTest, YieldOutsideACoroutine)
{
    lua_pushcfunction(L, pause);
    EXPECT_EQ(lua_pcall(L, 0, 0, 0), LUA_ERRRUN);
    EXPECT_EQ(std::string(lua_tostring(L, -1)), "attempt to yield across metamethod/C-call boundary");
}

TEST_F(CoroutineTest, ScriptLevel)
{
    // Values pass both ways.
    EXPECT_EQ(run("local co = coroutine.create(function(a, b) "
                  "  local c = coroutine.yield(a + b) "
                  "  local d, e = coroutine.yield(c * 2) "
                  "  return d + e end) "
                  "local _, x = coroutine.resume(co, 1, 2) "
                  "local _, y = coroutine.resume(co, 10) "
                  "local ok, z = coroutine.resume(co, 3, 4) "
                  "return x, y, z, ok, coroutine.status(co)"),
              "3|20|7|true|dead");
    // Ping-pong between two coroutines driven by a loop.
    EXPECT_EQ(run("local log = '' "
                  "local ping = coroutine.wrap(function() for i = 1, 3 do log = log .. 'i' .. i coroutine.yield() end end) "
                  "local pong = coroutine.wrap(function() for i = 1, 3 do log = log .. 'o' .. i coroutine.yield() end end) "
                  "for n = 1, 3 do ping() pong() end return log"),
              "i1o1i2o2i3o3");
    // A generator in a generic for.
    EXPECT_EQ(run("local function gen(n) return coroutine.wrap(function() for i = 1, n do coroutine.yield(i) end end) end "
                  "local s = 0 for v in gen(4) do s = s + v end return s"),
              "10");
    // Errors end the coroutine.
    EXPECT_EQ(run("local co = coroutine.create(function() error('bad', 0) end) "
                  "local ok, msg = coroutine.resume(co) return ok, msg, coroutine.status(co)"),
              "false|bad|dead");
    EXPECT_EQ(run("local co = coroutine.create(function() return 1 end) coroutine.resume(co) "
                  "return coroutine.resume(co)"),
              "false|cannot resume dead coroutine");
    EXPECT_EQ(run("local co co = coroutine.create(function() return coroutine.resume(co) end) "
                  "return coroutine.resume(co)"),
              "true|false|cannot resume non-suspended coroutine");
    // Coroutines resuming coroutines without end hit the native-call limit.
    EXPECT_EQ(run("local function nest(n) local co = coroutine.create(nest) "
                  "  local ok, v = coroutine.resume(co, n + 1) if ok then return v end return n .. ': ' .. v end "
                  "local msg = nest(1) return string.find(msg, 'C stack overflow') ~= nil"),
              "true");
    // Upvalues of a coroutine's locals stay valid after it dies, also by an error.
    EXPECT_EQ(run("local get local co = coroutine.create(function() local v = 'kept' get = function() return v end "
                  "error('x') end) coroutine.resume(co) return get()"),
              "kept");
    EXPECT_EQ(run("local get local co = coroutine.create(function() local v = 'kept' get = function() return v end end) "
                  "coroutine.resume(co) return get()"),
              "kept");
}

lua_State* mainThread = nullptr;

int failOnMain(lua_State* L)
{
    lua_pushstring(L, "failed on main");
    return lua_error(L);
}

// Called inside a coroutine: calls, unprotected, a failing function on the main thread.
int callMainUnprotected(lua_State*)
{
    lua_pushcfunction(mainThread, failOnMain);
    lua_call(mainThread, 0, 0);
    return 0;
}

TEST_F(CoroutineTest, ErrorOfAnotherThreadReachesThatThreadsProtectedCall)
{
    mainThread = L;
    lua_register(L, "callMainUnprotected", callMainUnprotected);
    // The resume in between does not take the main thread's error: the
    // main thread's own protected call does, and the coroutine dies.
    EXPECT_EQ(run("co = coroutine.create(function() callMainUnprotected() end) "
                  "local ok, e = coroutine.resume(co) return 'resume returned', ok, e"),
              "error: failed on main");
    EXPECT_EQ(run("return coroutine.status(co), 1 + 1"), "dead|2");
    EXPECT_EQ(run("return coroutine.resume(co)"), "false|cannot resume dead coroutine");
}

int failOnThread(lua_State* L)
{
    lua_pushstring(L, "failed on thread");
    return lua_error(L);
}

// Calls failOnThread, unprotected, on the thread given as light userdata.
int callThreadUnprotected(lua_State* L)
{
    lua_State* thread = static_cast<lua_State*>(lua_touserdata(L, 1));
    lua_pushcfunction(thread, failOnThread);
    lua_call(thread, 0, 0);
    return 0;
}

TEST_F(CoroutineTest, ThreadWithoutProtectedCallIsUnwoundByAnotherThreadsCatch)
{
    lua_State* thread = lua_newthread(L);
    lua_setglobal_thread();
    lua_pushnumber(thread, 1);
    lua_pushcfunction(L, callThreadUnprotected);
    lua_pushlightuserdata(L, thread);
    ASSERT_EQ(lua_pcall(L, 1, 0, 0), LUA_ERRRUN);
    EXPECT_EQ(std::string(lua_tostring(L, -1)), "failed on thread");

    // The failed call's frames are gone; the error value takes the called
    // function's place, as a failed protected call on the thread leaves it.
    ASSERT_EQ(lua_gettop(thread), 2);
    EXPECT_EQ(lua_tonumber(thread, 1), 1);
    EXPECT_EQ(std::string(lua_tostring(thread, 2)), "failed on thread");
    EXPECT_FALSE(lua_isyielded(thread));

    lua_settop(thread, 1);
    ASSERT_EQ(luaL_loadbuffer(thread, "return 2", 8, "=t"), 0);
    lua_call(thread, 0, 1);
    ASSERT_EQ(lua_gettop(thread), 2);
    EXPECT_EQ(lua_tonumber(thread, 2), 2);
}

TEST_F(CoroutineTest, NativeCallsOfAllCoroutinesTogetherOverflowBeforeTheNativeStack)
{
    // Every coroutine stays under its own limit of nested calls; together
    // they would exhaust the native stack without the shared limit.
    EXPECT_EQ(run("local function dive(n) "
                  "  if n == 150 then "
                  "    local ok, v = coroutine.resume(coroutine.create(dive), 1) return v "
                  "  end "
                  "  local ok, v = pcall(dive, n + 1) return v "
                  "end "
                  "return dive(1)"),
              "C stack overflow");
    // The state works normally afterwards.
    EXPECT_EQ(run("local function nest(n) if n == 0 then return 'deepest' end "
                  "  local ok, v = coroutine.resume(coroutine.create(nest), n - 1) return v end "
                  "return nest(1000)"),
              "deepest");
}

TEST_F(CoroutineTest, YieldCannotCrossNativeCalls)
{
    EXPECT_EQ(run("local co = coroutine.create(function() local ok, e = pcall(coroutine.yield, 1) return e end) "
                  "return coroutine.resume(co)"),
              "true|attempt to yield across metamethod/C-call boundary");
    EXPECT_EQ(run("local t = setmetatable({}, {__index = function() coroutine.yield() end}) "
                  "local co = coroutine.create(function() return t.x end) return coroutine.resume(co)"),
              "false|attempt to yield across metamethod/C-call boundary");
}

}  // namespace
