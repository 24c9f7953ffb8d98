#include "core/scripting/luaobject.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "core/scripting/luabinding.h"
#include "core/scripting/script.h"
#include "lua/lua.h"
#include "tests/support/luatesting.h"

namespace {

class LuaObjectTest : public testing::Test {
protected:
    void SetUp() override { L = script.GetState(); }

    void Run(const char* text) { ASSERT_EQ(script.DoLuaString(text), 0) << text; }

    std::unique_ptr<TLuaTable> Global(const char* name) { return std::unique_ptr<TLuaTable>(script.GetGlobalTable(name)); }

    // A full collection that runs no script function (so no deferred release).
    void Collect() { lua_setgcthreshold(L, 0); }

    // True while the weak table "weak" still holds its entry 1, after a collection.
    bool WeakEntryAlive() {
        LuaPopState guard(L);
        Collect();
        auto weak = Global("weak");
        return weak && weak->PushFieldAt(1);
    }

    TestLog log;
    TScript script;
    lua_State* L = nullptr;
};

// What each accessor gives for one stored value, read by name and by number.
struct AccessorCase {
    const char* key;      // field of "byname"; "none" is absent
    int index;            // the same value in "byindex"; 20 is absent
    const char* text;     // GetString with default "D"
    double number;        // GetNumber with default -1
    bool truth;           // GetBool with default true
    bool table;           // GetTable gives a table
    bool present;         // PushField finds a value
};

TEST_F(LuaObjectTest, AccessorsGiveValuesOrDefaultsAndKeepTheStack) {
    Run("byname = { f = false, n = 12.5, s = '12', w = 'abc', t = {}, fn = function() end, z = 0 }"
        "byindex = { false, 12.5, '12', 'abc', {}, function() end, 0 }"
        "byname.isnil = nil");
    const AccessorCase cases[] = {
        {"none", 20, "D", -1, true, false, false},  {"isnil", 21, "D", -1, true, false, false},
        {"f", 1, "", 0, false, false, true},        {"n", 2, "12.5", 12.5, true, false, true},
        {"s", 3, "12", 12, true, false, true},      {"w", 4, "abc", 0, true, false, true},
        {"t", 5, "", 0, true, true, true},          {"fn", 6, "", 0, true, false, true},
        {"z", 7, "0", 0, true, false, true},
    };
    auto byName = Global("byname");
    auto byIndex = Global("byindex");
    ASSERT_TRUE(byName && byIndex);
    lua_pushnumber(L, 99);  // a value of the caller's that must stay
    lua_pushstring(L, "mine");
    const int top = lua_gettop(L);
    for (const AccessorCase& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_STREQ(byName->GetString(c.key, "D").c_str(), c.text);
        EXPECT_STREQ(byIndex->GetStringAt(c.index, "D").c_str(), c.text);
        EXPECT_EQ(byName->GetNumber(c.key, -1), c.number);
        EXPECT_EQ(byIndex->GetNumberAt(c.index, -1), c.number);
        EXPECT_EQ(byName->GetBool(c.key, true), c.truth);
        std::unique_ptr<TLuaTable> table(byName->GetTable(c.key));
        std::unique_ptr<TLuaTable> tableAt(byIndex->GetTableAt(c.index));
        EXPECT_EQ(table != nullptr, c.table);
        EXPECT_EQ(tableAt != nullptr, c.table);
        EXPECT_EQ(lua_gettop(L), top);
        EXPECT_EQ(byName->PushField(c.key), c.present);
        EXPECT_EQ(lua_gettop(L), top + (c.present ? 1 : 0));
        lua_settop(L, top);
        EXPECT_EQ(byIndex->PushFieldAt(c.index), c.present);
        EXPECT_EQ(lua_gettop(L), top + (c.present ? 1 : 0));
        lua_settop(L, top);
    }
    EXPECT_FALSE(byName->GetBool("none", false));
    EXPECT_STREQ(lua_tostring(L, -1), "mine");
}

TEST_F(LuaObjectTest, PopStateRestoresTheTopOnReturnAndWhenAnExceptionPasses) {
    lua_pushstring(L, "mine");
    {
        LuaPopState guard(L);
        lua_pushnumber(L, 1);
        lua_pushnumber(L, 2);
    }
    EXPECT_EQ(lua_gettop(L), 1);
    try {
        LuaPopState guard(L);
        lua_pushnumber(L, 1);
        throw std::runtime_error("unwinding");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(lua_gettop(L), 1);
    EXPECT_STREQ(lua_tostring(L, 1), "mine");
}

TEST_F(LuaObjectTest, WrapperPinsTheTopValueUntilDeleted) {
    Run("weak = setmetatable({}, { __mode = 'v' }); weak[1] = {}");
    lua_pushnumber(L, 1);
    auto weak = Global("weak");
    weak->PushFieldAt(1);
    auto* pinned = new TLuaObjectWrapper(L);
    EXPECT_EQ(lua_gettop(L), 1) << "the pinned value is popped";
    EXPECT_TRUE(pinned->IsTable());
    EXPECT_TRUE(WeakEntryAlive()) << "the pin keeps the table through a full collection";

    void* key = pinned;
    delete pinned;
    lua_pushlightuserdata(L, key);
    lua_rawget(L, LUA_REGISTRYINDEX);
    EXPECT_TRUE(lua_isnil(L, -1)) << "the registry entry is gone";
    lua_pop(L, 1);
    EXPECT_FALSE(WeakEntryAlive());
    EXPECT_EQ(lua_gettop(L), 1);
}

TEST_F(LuaObjectTest, WrapperTextForms) {
    const struct {
        const char* expression;
        const char* text;
        bool table;
    } cases[] = {
        {"7", "7", false},    {"'ab'", "ab", false}, {"nil", "", false},
        {"true", "", false},  {"{}", "", true},      {"print", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expression);
        ASSERT_EQ(script.DoLuaString((std::string("return ") + c.expression).c_str(), -1, 1), 0);
        TLuaObjectWrapper wrapper(L);
        EXPECT_STREQ(wrapper.ToString().c_str(), c.text);
        EXPECT_EQ(wrapper.IsTable(), c.table);
        EXPECT_EQ(lua_gettop(L), 0);
    }
    lua_pushnumber(L, 2.5);
    EXPECT_STREQ(LuaToString(L, -1).c_str(), "2.5");
    EXPECT_EQ(lua_gettop(L), 1);
}

TEST_F(LuaObjectTest, ColorsFillMissingEntriesFromTheDefault) {
    Run("c = { short = {1, 0.5}, full = {0.1, 0.2, 0.3, 0.4}, word = 'red', [1] = {0.25} }");
    auto colors = Global("c");
    const TColor4f def(0, 0, 0, 1);
    EXPECT_EQ(colors->GetColor("short", def), TColor4f(1, 0.5f, 0, 1));
    EXPECT_EQ(colors->GetColor("full", def), TColor4f(0.1f, 0.2f, 0.3f, 0.4f));
    EXPECT_EQ(colors->GetColor("word", def), def);
    EXPECT_EQ(colors->GetColor("missing", def), def);
    EXPECT_EQ(colors->GetColorAt(1, def), TColor4f(0.25f, 0, 0, 1));
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(LuaObjectTest, NextVisitsEveryEntryOnce) {
    Run("empty = {} full = { a = 1, b = 'two', [1] = true }");
    TLuaObjectWrapper* key = nullptr;
    EXPECT_EQ(Global("empty")->Next(key), nullptr);
    EXPECT_EQ(key, nullptr);

    auto full = Global("full");
    std::map<std::string, std::string> seen;
    while (TLuaObjectWrapper* value = full->Next(key)) {
        key->Push();
        std::string name = lua_type(L, -1) == LUA_TNUMBER ? "#" + std::string(lua_tostring(L, -1)) : lua_tostring(L, -1);
        lua_pop(L, 1);
        value->Push();
        seen[name] = lua_isboolean(L, -1) ? "bool" : lua_tostring(L, -1);
        lua_pop(L, 1);
        delete value;
        EXPECT_EQ(lua_gettop(L), 0);
    }
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(seen, (std::map<std::string, std::string>{{"a", "1"}, {"b", "two"}, {"#1", "bool"}}));
}

TEST_F(LuaObjectTest, FailingMetamethodsGiveTheDefaultOutsideProtectedCalls) {
    // Called straight from engine code: an unprotected error would end the process.
    Run("trap = setmetatable({}, { __index = function(t, k) error('trapped ' .. k) end })");
    auto trap = Global("trap");
    lua_pushstring(L, "mine");
    EXPECT_EQ(trap->GetNumber("x", 7), 7);
    EXPECT_STREQ(trap->GetString("y", "def").c_str(), "def");
    EXPECT_FALSE(trap->PushField("z"));
    EXPECT_EQ(trap->GetTable("w"), nullptr);
    EXPECT_EQ(trap->GetColor("v", TColor4f(1, 2, 3, 4)), TColor4f(1, 2, 3, 4));
    EXPECT_EQ(lua_gettop(L), 1);
    EXPECT_TRUE(log.Contains("trapped x"));
    EXPECT_TRUE(log.Contains("trapped z"));

    Run("setmetatable(_G, { __index = function(t, k) error('undeclared ' .. k) end,"
        "                   __newindex = function(t, k) error('locked ' .. k) end })");
    EXPECT_EQ(script.GetGlobalTable("nothing"), nullptr);
    script.SetGlobal("newone", "v");
    EXPECT_EQ(lua_gettop(L), 1);
    EXPECT_TRUE(log.Contains("undeclared nothing"));
    EXPECT_TRUE(log.Contains("locked newone"));
}

TEST_F(LuaObjectTest, FunctionCallLeavesHandlerAndResult) {
    Run("function answer() return 42 end function broken() error('kaputt') end");
    lua_pushstring(L, "answer");
    lua_gettable(L, LUA_GLOBALSINDEX);
    TLuaFunction answer(L);
    EXPECT_EQ(answer.Call(), 0);
    ASSERT_EQ(lua_gettop(L), 2);
    EXPECT_TRUE(lua_isfunction(L, 1)) << "the handler stays at position 1";
    EXPECT_EQ(lua_tonumber(L, 2), 42);
    lua_settop(L, 0);

    lua_pushstring(L, "broken");
    lua_gettable(L, LUA_GLOBALSINDEX);
    TLuaFunction broken(L);
    EXPECT_NE(broken.Call(), 0);
    EXPECT_TRUE(log.Contains("Lua error:"));
    EXPECT_TRUE(log.Contains("kaputt"));
    lua_settop(L, 0);

    lua_pushnumber(L, 3);
    TLuaFunction notFunction(L);
    EXPECT_EQ(notFunction.Call(), LUA_ERRRUN);
    EXPECT_EQ(lua_gettop(L), 0);
}

// Stores the registry's value for the thread T as weak[1].
void PutThreadInWeakTable(lua_State* L, lua_State* T) {
    LuaPopState guard(L);
    lua_pushstring(L, "weak");
    lua_gettable(L, LUA_GLOBALSINDEX);
    lua_pushnil(L);
    while (lua_next(L, LUA_REGISTRYINDEX)) {
        if (lua_type(L, -1) == LUA_TTHREAD && lua_tothread(L, -1) == T) {
            lua_pushnumber(L, 1);
            lua_insert(L, -2);
            lua_rawset(L, -4);
            return;
        }
        lua_pop(L, 1);
    }
    ADD_FAILURE() << "the thread is not in the registry";
}

TEST_F(LuaObjectTest, ThreadIsPinnedWhileHeld) {
    Run("weak = setmetatable({}, { __mode = 'v' })");
    int before = lua_gettop(L);
    auto thread = std::make_unique<TLuaThread>(L);
    EXPECT_EQ(lua_gettop(L), before);
    lua_State* T = thread->GetThread();
    ASSERT_NE(T, nullptr);
    PutThreadInWeakTable(L, T);
    EXPECT_TRUE(WeakEntryAlive()) << "the holder keeps the thread through a full collection";
    lua_pushstring(T, "print");
    lua_gettable(T, LUA_GLOBALSINDEX);
    EXPECT_TRUE(lua_isfunction(T, -1)) << "the thread works after a collection";
    lua_pop(T, 1);
    thread.reset();
    EXPECT_FALSE(WeakEntryAlive()) << "deleting the holder lets the thread go";
}

// A binding that keeps its table argument, as window functions keep
// descriptions while they build a window.
class TableKeeper {
public:
    void Keep(TLuaTable* table) { kept = table; }
    double Peek() { return kept->GetNumber("v", -1); }
    TLuaTable* kept = nullptr;
};

TEST_F(LuaObjectTest, TableArgumentsLiveUntilTheNextRun) {
    TableKeeper keeper;
    RegisterBinding(L, "Keep", &keeper, &TableKeeper::Keep);
    Run("weak = setmetatable({}, { __mode = 'v' }); weak[1] = { v = 5 }; Keep(weak[1]); weak2 = weak[1]; weak2 = nil");
    ASSERT_NE(keeper.kept, nullptr);
    EXPECT_TRUE(WeakEntryAlive());
    EXPECT_EQ(keeper.Peek(), 5);
    Run("x = 1");  // releases the arguments of the run before
    keeper.kept = nullptr;
    EXPECT_FALSE(WeakEntryAlive());
}

TEST_F(LuaObjectTest, TableArgumentOfAStateWithoutScriptIsLeftToTheCaller) {
    lua_State* bare = lua_open();
    lua_newtable(bare);
    lua_pushstring(bare, "v");
    lua_pushnumber(bare, 4);
    lua_settable(bare, -3);
    std::unique_ptr<TLuaTable> table(LuaToTable(bare, 1));
    EXPECT_TRUE(log.Contains("no script owns this Lua state"));
    EXPECT_EQ(table->GetNumber("v"), 4);
    EXPECT_EQ(lua_gettop(bare), 1);
    table.reset();
    lua_close(bare);
}

TEST_F(LuaObjectTest, TablesOfNestedRunsWaitForTheOutermostRun) {
    TableKeeper keeper;
    RegisterBinding(L, "Keep", &keeper, &TableKeeper::Keep);
    RegisterBinding(L, "Peek", &keeper, &TableKeeper::Peek);
    // The binding inside Nested runs a script function while its table is in use.
    struct Nested {
        static int Call(lua_State* L) {
            TLuaTable* table = LuaToTable(L, 1);
            TScript::Owner(L)->DoLuaString("x = 1");
            lua_pushnumber(L, table->GetNumber("v", -1));
            return 1;
        }
    };
    RegisterBinding(L, "Nested", &Nested::Call);
    ASSERT_EQ(script.DoLuaString("return Nested({ v = 8 })", -1, 1), 0);
    EXPECT_EQ(script.PopNumber(), 8);
}

}  // namespace
