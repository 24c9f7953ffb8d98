// Run-time error messages: the variable described from the byte code and
// the "chunk:line:" prefix.
#include "tests/lua/libfixture.h"

#include <string>

namespace {

struct Case {
    const char* code;
    const char* expected;
};

class ErrorsTest : public LibraryTest {
protected:
    // Loads the chunk under `name` and returns its error message ("" when it runs).
    std::string errorOf(const std::string& code, const char* name)
    {
        lua_settop(L, 0);
        int status = luaL_loadbuffer(L, code.data(), code.size(), name);
        if (status == 0)
            status = lua_pcall(L, 0, 0, 0);
        std::string message = status == 0 ? "" : lua_tostring(L, -1);
        lua_settop(L, 0);
        return message;
    }
};

TEST_F(ErrorsTest, MessagesNameTheVariable)
{
    const Case cases[] = {
        {"f()", "test:1: attempt to call global `f' (a nil value)"},
        {"local t\nt.x = 1", "test:2: attempt to index local `t' (a nil value)"},
        {"local t = {} return t.x + 1", "test:1: attempt to perform arithmetic on field `x' (a nil value)"},
        {"local t = {x = 'a'} return 2 * t.x", "test:1: attempt to perform arithmetic on field `x' (a string value)"},
        {"local t = {} return t.a.b.c", "test:1: attempt to index field `a' (a nil value)"},
        {"return x.y", "test:1: attempt to index global `x' (a nil value)"},
        // Upvalues are not named.
        {"local u local function f() return u.x end return f()", "test:1: attempt to index a nil value"},
        {"local g local function f() g() end f()", "test:1: attempt to call a nil value"},
        {"local t = {} t:m()", "test:1: attempt to call method `m' (a nil value)"},
        {"local t = {} t.f()", "test:1: attempt to call field `f' (a nil value)"},
        {"local s = {} return 'a' .. s", "test:1: attempt to concatenate local `s' (a table value)"},
        {"return {} .. 'a'", "test:1: attempt to concatenate a table value"},
        {"return -{}", "test:1: attempt to perform arithmetic on a table value"},
        {"return {} < {}", "test:1: attempt to compare two table values"},
        {"return 1 < nil", "test:1: attempt to compare number with nil"},
        {"return 'a' <= 1", "test:1: attempt to compare string with number"},
        {"local a = {} local b = a return b()", "test:1: attempt to call local `b' (a table value)"},
        {"local t = {} t[nil] = 1", "test:1: table index is nil"},
        {"local t = {} t[0/0] = 1", "test:1: table index is NaN"},
        {"local t = setmetatable({}, {}) t[nil] = 1", "test:1: table index is nil"},
        {"error('plain', 0)", "plain"},
        {"local x = 1\n\nerror('at three')", "test:3: at three"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf(c.code, "=test"), c.expected) << c.code;
}

TEST_F(ErrorsTest, LightAndFullUserdataCompareAsOneType)
{
    lua_pushstring(L, "light");
    lua_pushlightuserdata(L, this);
    lua_settable(L, LUA_GLOBALSINDEX);
    EXPECT_EQ(errorOf("return light < newproxy()", "=test"), "test:1: attempt to compare two userdata values");
}

TEST_F(ErrorsTest, ChunkNames)
{
    EXPECT_EQ(errorOf("x = nil + 1", "x = nil + 1"), "[string \"x = nil + 1\"]:1: attempt to perform arithmetic on a nil value");
    EXPECT_EQ(errorOf("\nf()", "line one\nline two"), "[string \"line one...\"]:2: attempt to call global `f' (a nil value)");
    const std::string longText(80, 'a');
    EXPECT_EQ(errorOf("f()", longText.c_str()),
              "[string \"" + std::string(43, 'a') + "...\"]:1: attempt to call global `f' (a nil value)");
    EXPECT_EQ(errorOf("f()", "@scripts/main.lua"), "scripts/main.lua:1: attempt to call global `f' (a nil value)");
    const std::string longFile = "@" + std::string(70, 'd') + "/x.lua";
    EXPECT_EQ(errorOf("f()", longFile.c_str()),
              "..." + longFile.substr(longFile.size() - 52) + ":1: attempt to call global `f' (a nil value)");
}

int needsNumber(lua_State* L)
{
    luaL_checknumber(L, 1);
    return 0;
}

int needsSecondNumber(lua_State* L)
{
    luaL_checknumber(L, 2);
    return 0;
}

TEST_F(ErrorsTest, ArgumentErrorsNameTheCalledFunction)
{
    lua_register(L, "insert", needsNumber);
    lua_register(L, "second", needsSecondNumber);
    // A method call does not count self among the arguments.
    EXPECT_EQ(errorOf("local o = {m = second} o:m('x')", "=test"),
              "test:1: bad argument #1 to `m' (number expected, got string)");
    EXPECT_EQ(errorOf("second(1, {})", "=test"), "test:1: bad argument #2 to `second' (number expected, got table)");
    EXPECT_EQ(errorOf("insert()", "=test"), "test:1: bad argument #1 to `insert' (number expected, got no value)");
    EXPECT_EQ(errorOf("local t = {m = insert} t:m()", "=test"),
              "test:1: calling `m' on bad self (number expected, got table)");
    EXPECT_EQ(errorOf("local t = {f = insert} t.f()", "=test"),
              "test:1: bad argument #1 to `f' (number expected, got no value)");
}

TEST_F(ErrorsTest, WhereReportsTheCallingLine)
{
    EXPECT_EQ(errorOf("local a = 1\nerror('x', 1)", "=test"), "test:2: x");
    EXPECT_EQ(errorOf("local function f() error('deep', 2) end\n\nf()", "=test"), "test:3: deep");
}

}  // namespace
