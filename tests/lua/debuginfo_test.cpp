// lua_getstack and lua_getinfo as seen from a native function called by
// scripts: levels, lost tail calls, names, lines and sources.
#include "tests/lua/libfixture.h"

#include <string>

namespace {

// Returns one text per stack level: what, namewhat and name, current line, short source.
int describeStack(lua_State* L)
{
    lua_Debug ar;
    std::string text;
    for (int level = 0; lua_getstack(L, level, &ar); ++level) {
        lua_getinfo(L, "Snlu", &ar);
        text += std::string(ar.what) + " " + ar.namewhat + " " + (ar.name ? ar.name : "-") + " " +
                std::to_string(ar.currentline) + " " + ar.short_src + ";";
    }
    lua_pushstring(L, text.c_str());
    return 1;
}

class DebugInfoTest : public LibraryTest {
protected:
    DebugInfoTest() { lua_register(L, "describe", describeStack); }
};

TEST_F(DebugInfoTest, LevelsNamesAndLines)
{
    EXPECT_EQ(run("local function inner()\n"
                  "  return (describe())\n"
                  "end\n"
                  "local r = inner()\n"
                  "return r"),
              "C global describe -1 [C];Lua local inner 2 test;main  - 4 test;");
    // A tail call loses the caller's frame: its level reads as a tail call.
    EXPECT_EQ(run("local t = {}\n"
                  "function t.leaf() local r = describe() return r end\n"
                  "local function middle() return t.leaf() end\n"
                  "local r = middle() return r"),
              "C global describe -1 [C];Lua  - 2 test;tail  - -1 (tail call);main  - 4 test;");
    // Methods are named as such.
    EXPECT_EQ(run("local o = {}\n"
                  "function o:m() return describe() end\n"
                  "local r = o:m() return r"),
              "C global describe -1 [C];Lua method m 2 test;main  - 3 test;");
}

TEST_F(DebugInfoTest, FunctionsWithoutACallSiteAreNamedByTheirGlobal)
{
    // Called from a native function, the function is named by the global
    // that holds it.
    EXPECT_EQ(run("function g()\n"
                  "  local r = describe() return r\n"
                  "end\n"
                  "local ok, r = pcall(g) return r"),
              "C global describe -1 [C];Lua global g 2 test;C global pcall -1 [C];main  - 4 test;");
    // Through an upvalue, and by a function held only in a table: unnamed.
    EXPECT_EQ(run("local d = describe\n"
                  "local t = {}\n"
                  "function t.f() local r = d() return r end\n"
                  "local ok, r = pcall(t.f) return r"),
              "C global describe -1 [C];Lua  - 3 test;C global pcall -1 [C];main  - 4 test;");
}

int nameOf(lua_State* L)
{
    lua_Debug ar;
    lua_pushvalue(L, 1);
    lua_getinfo(L, ">n", &ar);
    lua_pushstring(L, ar.namewhat);
    lua_pushstring(L, ar.name ? ar.name : "-");
    return 2;
}

TEST_F(DebugInfoTest, FunctionsGivenDirectlyAreNamedByTheirGlobal)
{
    lua_register(L, "nameof", nameOf);
    EXPECT_EQ(run("return nameof(print)"), "global|print");
    EXPECT_EQ(run("return nameof(string.rep)"), "|-");
    EXPECT_EQ(run("return nameof(1)"), "|-");
}

int countUpvalues(lua_State* L)
{
    lua_Debug ar;
    lua_pushvalue(L, 1);
    lua_getinfo(L, ">Su", &ar);
    lua_pushnumber(L, ar.nups);
    lua_pushstring(L, ar.what);
    lua_pushnumber(L, ar.linedefined);
    return 3;
}

TEST_F(DebugInfoTest, FunctionsGivenDirectly)
{
    lua_register(L, "upvalues", countUpvalues);
    EXPECT_EQ(run("local a, b = 1, 2\n"
                  "local function f() return a + b end\n"
                  "return upvalues(f)"),
              "2|Lua|2");
    EXPECT_EQ(run("return upvalues(print)"), "0|C|-1");
}

}  // namespace
