// The base library: towstring, wide text, metatables, environments, require
// and the registry entries of the type-wide metatables.
#include "libfixture.h"

#include "tests/support/tempfolder.h"

namespace {

struct TowstringCase {
    const char* argument;
    const char* expected;  // what %Q makes of the result
};

class TowstringTest : public LibraryTest, public ::testing::WithParamInterface<TowstringCase> {};

TEST_P(TowstringTest, ConvertsEveryTypeToWideText) {
    const TowstringCase& c = GetParam();
    EXPECT_EQ(run(std::string("return string.format('%Q', towstring(") + c.argument + "))"), c.expected);
}

const TowstringCase kTowstringCases[] = {
    {"L\"w\\x263A\"", "L\"w\\x263a\""},
    {"12.5", "L\"12.5\""},
    {"1e100", "L\"1e+100\""},
    {"'ab'", "L\"ab\""},
    // bytes from 0x80 are sign-extended into units
    {"'\\128\\255\\127'", "L\"\\xff80\\xffff\\x007f\""},
    {"nil", "L\"nil\""},
    {"true", "L\"true\""},
    {"false", "L\"false\""},
};
INSTANTIATE_TEST_SUITE_P(Values, TowstringTest, ::testing::ValuesIn(kTowstringCases));

TEST_F(LibraryTest, TowstringOfReferencesMatchesTostringWithoutTheHandler) {
    EXPECT_EQ(run("local t = setmetatable({}, {__tostring = function() return 'custom' end}) "
                  "local w = towstring(t) "
                  "return type(w), string.sub(tostring(w), 1, 7), tostring(t)"),
              "wstring|table: |custom");
    EXPECT_EQ(run("local f = function() end return tostring(towstring(f)) == tostring(f)"), "true");
    EXPECT_EQ(run("local c = coroutine.create(function() end) return tostring(towstring(c)) == tostring(c)"),
              "true");
    EXPECT_EQ(run("return tostring(towstring(print)) == tostring(print)"), "true");
    EXPECT_EQ(run("return pcall(function() towstring() end)"),
              "false|test:1: bad argument #1 to `towstring' (value expected)");
}

// Calls the global function name with the value at idx; leaves the result.
void callGlobal(lua_State* L, const char* name, int idx) {
    lua_pushstring(L, name);
    lua_rawget(L, LUA_GLOBALSINDEX);
    lua_pushvalue(L, idx);
    lua_call(L, 1, 1);
}

TEST_F(LibraryTest, TowstringOfUserdataIsTheWideFormOfTostring) {
    static int anchor = 0;
    lua_newuserdata(L, 8);
    lua_pushlightuserdata(L, &anchor);
    for (int idx = 1; idx <= 2; ++idx) {
        callGlobal(L, "tostring", idx);
        std::string text(lua_tostring(L, -1), lua_strlen(L, -1));
        callGlobal(L, "towstring", idx);
        ASSERT_EQ(lua_type(L, -1), LUA_TWSTRING);
        const lua_WChar* units = lua_towstring(L, -1);
        ASSERT_EQ(lua_strlen(L, -1), text.size());
        EXPECT_EQ(text.rfind("userdata: ", 0), 0u) << text;
        for (size_t i = 0; i < text.size(); ++i) EXPECT_EQ(units[i], static_cast<lua_WChar>(text[i]));
        lua_pop(L, 2);
    }
    lua_settop(L, 0);
}

TEST_F(LibraryTest, TostringOfAWideStringKeepsTheLowByteOfEachUnit) {
    EXPECT_EQ(run("return tostring(L\"ab\"), tostring(L\"\\x2641\"), string.len(tostring(L\"\"))"), "ab|A|0");
    EXPECT_EQ(run("return type(L\"x\"), L\"a\" == L\"a\", L\"a\" == 'a'"), "wstring|true|false");
}

TEST_F(LibraryTest, RegistryHoldsTheTypeWideMetatableOfStrings) {
    lua_pushliteral(L, "_string");
    lua_rawget(L, LUA_REGISTRYINDEX);
    lua_pushliteral(L, "string");
    lua_rawget(L, LUA_GLOBALSINDEX);
    EXPECT_TRUE(lua_istable(L, -1));
    EXPECT_TRUE(lua_rawequal(L, -1, -2));
    lua_getdefaultmetatable(L, LUA_TSTRING);
    EXPECT_TRUE(lua_rawequal(L, -1, -2));
    lua_settop(L, 0);
}

TEST_F(LibraryTest, RegistryCopiesTypeWideMetatablesPresentWhenTheLibraryOpens) {
    lua_newtable(L);
    lua_setdefaultmetatable(L, LUA_TNUMBER);
    luaopen_base(L);
    lua_settop(L, 0);
    lua_pushliteral(L, "_number");
    lua_rawget(L, LUA_REGISTRYINDEX);
    lua_getdefaultmetatable(L, LUA_TNUMBER);
    EXPECT_TRUE(lua_istable(L, -1));
    EXPECT_TRUE(lua_rawequal(L, -1, -2));
    lua_settop(L, 0);
}

TEST_F(LibraryTest, ProtectedMetatablesCannotBeChanged) {
    EXPECT_EQ(run("local t = setmetatable({}, {__metatable = 'locked'}) "
                  "return getmetatable(t), pcall(setmetatable, t, {})"),
              "locked|false|cannot change a protected metatable");
    EXPECT_EQ(run("return pcall(function() setmetatable({}, 1) end)"),
              "false|test:1: bad argument #2 to `setmetatable' (nil or table expected)");
}

TEST_F(LibraryTest, ToNumberReadsEveryBase) {
    EXPECT_EQ(run("return tonumber('ff', 16), tonumber(' 101 ', 2), tonumber('zz', 36), tonumber('8', 8)"),
              "255|5|1295|nil");
    EXPECT_EQ(run("return tonumber('0x10'), tonumber(' 5 '), tonumber('5x'), tonumber({})"), "nil|5|nil|nil");
    EXPECT_EQ(run("return tonumber('0x1F', 16), tonumber('-10', 16), tonumber('0x', 16), tonumber('0x10', 10)"),
              "31|4294967280|nil|nil");
    EXPECT_EQ(run("return pcall(function() tonumber('1', 37) end)"),
              "false|test:1: bad argument #2 to `tonumber' (base out of range)");
}

TEST_F(LibraryTest, ErrorLevelsAndValues) {
    EXPECT_EQ(run("local function f() error('x', 2) end\nlocal ok, m = pcall(function()\nf()\nend) return m"),
              "test:3: x");
    EXPECT_EQ(run("local ok, e = pcall(error, {}) return ok, type(e)"), "false|table");
    EXPECT_EQ(run("return select == nil, _VERSION, _G._G == _G"), "true|Lua 5.0.2|true");
}

TEST_F(LibraryTest, EnvironmentsByLevelAndFunction) {
    EXPECT_EQ(run("local function f() return x end setfenv(f, {x = 5}) return f(), getfenv(f).x"), "5|5");
    EXPECT_EQ(run("return pcall(setfenv, print, {})"),
              "false|`setfenv' cannot change environment of given function");
    EXPECT_EQ(run("return pcall(function() getfenv(50) end)"),
              "false|test:1: bad argument #1 to `getfenv' (invalid level)");
}

TEST_F(LibraryTest, AnEnvironmentWithAFenvFieldIsProtected) {
    EXPECT_EQ(run("local function f() return x end setfenv(f, {__fenv = 'shown', x = 1}) "
                  "return getfenv(f), f(), pcall(setfenv, f, {})"),
              "shown|1|false|`setfenv' cannot change a protected environment");
    // Native functions and level 0 see the globals, protected the same way.
    EXPECT_EQ(run("__fenv = 'globals' return getfenv(print), getfenv(0), pcall(setfenv, 0, {})"),
              "globals|globals|false|`setfenv' cannot change a protected environment");
}

TEST_F(LibraryTest, SetfenvAtLevelZeroReplacesTheGlobals) {
    EXPECT_EQ(run("local g = _G local t = {} setfenv(0, t) local inT = getfenv(0) == t "
                  "g.setfenv(0, g) return inT, getfenv(0) == _G"),
              "true|true");
}

TEST_F(LibraryTest, CoroutineStatusThroughItsLife) {
    EXPECT_EQ(run("local co co = coroutine.create(function() coroutine.yield(coroutine.status(co)) end) "
                  "local s1 = coroutine.status(co) local _, inside = coroutine.resume(co) "
                  "local s2 = coroutine.status(co) coroutine.resume(co) "
                  "return s1, inside, s2, coroutine.status(co)"),
              "suspended|running|suspended|dead");
    EXPECT_EQ(run("local w = coroutine.wrap(function(a) local b = coroutine.yield(a + 1) return b * 2 end) "
                  "return w(1), w(5)"),
              "2|10");
}

TEST_F(LibraryTest, WrappedCoroutineErrorsGainThePositionOfTheCaller) {
    EXPECT_EQ(run("local w = coroutine.wrap(function() error(42, 0) end)\n"
                  "local ok, m = pcall(function()\nw()\nend) return ok, type(m), m"),
              "false|string|test:3: 42");
    EXPECT_EQ(run("local w = coroutine.wrap(function() error({}, 0) end) "
                  "local ok, m = pcall(w) return type(m)"),
              "table");
}

class RequireTest : public LibraryTest {
protected:
    RequireTest() {
        folder_.Write("mod.lua", "loads = (loads or 0) + 1 return {name = _REQUIREDNAME}");
        folder_.Write("empty.lua", "x = 1");
    }

    std::string path() const { return folder_ / "?.lua"; }

    TempFolder folder_;
};

TEST_F(RequireTest, LoadsOncePerNameAlongLuaPath) {
    std::string setup = "LUA_PATH = 'nowhere/?.x;" + path() + "' ";
    EXPECT_EQ(run(setup + "local a = require('mod') local b = require('mod') "
                          "return a == b, a.name, loads, _LOADED.mod == a"),
              "true|mod|1|true");
    EXPECT_EQ(run(setup + "return require('empty'), _LOADED.empty"), "true|true");
}

TEST_F(RequireTest, ANumberAsPathIsItsText) {
    EXPECT_EQ(run("LUA_PATH = 7 return pcall(require, 'nothing')"),
              "false|could not load package `nothing' from path `7'");
}

TEST_F(RequireTest, MissingPackageNamesThePath) {
    EXPECT_EQ(run("LUA_PATH = 'a/?.lua;b/?' return pcall(require, 'nothing')"),
              "false|could not load package `nothing' from path `a/?.lua;b/?'");
}

}  // namespace

TEST_F(LibraryTest, NewproxyMakesUserdataWithOwnOrSharedMetatables) {
    EXPECT_EQ(run("local p = newproxy(false) return type(p), getmetatable(p)"), "userdata|nil");
    EXPECT_EQ(run("local p = newproxy(true) getmetatable(p).__index = function() return 7 end "
                  "local q = newproxy(p) return p.x, q.y, getmetatable(p) == getmetatable(q)"),
              "7|7|true");
    EXPECT_EQ(run("return newproxy({})"), "error: test:1: bad argument #1 to `newproxy' (boolean or proxy expected)");
    // A metatable that no proxy made does not count.
    EXPECT_EQ(run("local t = setmetatable({}, {}) return newproxy(t)"),
              "error: test:1: bad argument #1 to `newproxy' (boolean or proxy expected)");
}
