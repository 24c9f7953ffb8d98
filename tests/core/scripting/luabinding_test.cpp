#include "core/scripting/luabinding.h"

#include <gtest/gtest.h>

#include <string>

#include "core/scripting/script.h"
#include "lua/lua.h"
#include "tests/support/luatesting.h"

namespace {

std::string gCalls;

TString Describe(TString text, double number, int whole, bool flag) {
    return TString::Format("%s|%g|%d|%s", text.c_str(), number, whole, flag ? "yes" : "no");
}
float Half(float value) { return value / 2; }
bool Not(bool value) { return !value; }
void Note(const TString& text) { gCalls += text.c_str(); }
double CountEntries(TLuaTable* table) {
    double count = 0;
    TLuaObjectWrapper* key = nullptr;
    while (TLuaObjectWrapper* value = table->Next(key)) {
        delete value;
        ++count;
    }
    return count;
}
// Raw form: returns two values of its own.
int Pair(lua_State* L) {
    lua_pushnumber(L, lua_gettop(L));
    lua_pushstring(L, "raw");
    return 2;
}

class Counter {
public:
    void Add(int amount) { total += amount; }
    int Total() const { return total; }
    int total = 0;
};

class LuaBindingTest : public testing::Test {
protected:
    void SetUp() override {
        L = script.GetState();
        gCalls.clear();
    }

    // Runs an expression and returns its value as text.
    std::string Eval(const char* expression) {
        std::string text = std::string("return ") + expression;
        EXPECT_EQ(script.DoLuaString(text.c_str(), -1, 1), 0) << expression;
        return script.PopString().c_str();
    }

    TestLog log;
    TScript script;
    lua_State* L = nullptr;
};

TEST_F(LuaBindingTest, ArgumentsAndResultsConvertByType) {
    RegisterBinding(L, "Describe", &Describe);
    RegisterBinding(L, "Half", &Half);
    RegisterBinding(L, "Not", &Not);
    RegisterBinding(L, "Note", &Note);
    RegisterBinding(L, "CountEntries", &CountEntries);
    RegisterBinding(L, "Pair", &Pair);

    const struct {
        const char* expression;
        const char* result;
    } cases[] = {
        {"Describe('a', 2.5, 7.9, true)", "a|2.5|7|yes"},
        {"Describe(12, '3', '4', 0)", "12|3|4|yes"},       // numbers as text, numeric strings, 0 is true
        {"Describe(nil, {}, nil, nil)", "|0|0|no"},         // missing values convert to their empty forms
        {"Describe(false, 'x', 1)", "|0|1|no"},
        {"Half(5)", "2.5"},
        {"tostring(Not(nil))", "true"},
        {"tostring(Not(1))", "false"},
        {"tostring((Note('n')))", "nil"},                   // no result
        {"CountEntries({1, 2, a = 3})", "3"},
        {"table.concat({Pair(7, 8, 9)}, ',')", "3,raw"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expression);
        EXPECT_EQ(Eval(c.expression), c.result);
        EXPECT_EQ(lua_gettop(L), 0);
    }
    EXPECT_EQ(gCalls, "n");
}

TEST_F(LuaBindingTest, MemberFunctionsCallTheirObject) {
    Counter first;
    Counter second;
    RegisterBinding(L, "AddFirst", &first, &Counter::Add);
    RegisterBinding(L, "AddSecond", &second, &Counter::Add);
    RegisterBinding(L, "FirstTotal", &first, &Counter::Total);
    ASSERT_EQ(script.DoLuaString("AddFirst(2) AddFirst(3) AddSecond(10)"), 0);
    EXPECT_EQ(first.total, 5);
    EXPECT_EQ(second.total, 10);
    EXPECT_EQ(Eval("FirstTotal()"), "5");
}

TEST_F(LuaBindingTest, LockedGlobalsRefuseBindingsWithoutEndingTheProcess) {
    // An error raised outside any protected call would end the process.
    RegisterBinding(L, "Note", &Note);
    ASSERT_EQ(script.DoLuaString("setmetatable(_G, { __newindex = function(t, k) error('locked ' .. k) end })"), 0);
    RegisterBinding(L, "Half", &Half);
    EXPECT_EQ(Eval("type(Half)"), "nil");
    EXPECT_TRUE(log.Contains("locked Half"));
    UnregisterBinding(L, "Note");  // an existing global is written without the metamethod
    EXPECT_EQ(Eval("type(Note)"), "nil");
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(LuaBindingTest, WithdrawnBindingIsNil) {
    RegisterBinding(L, "Note", &Note);
    EXPECT_EQ(Eval("type(Note)"), "function");
    UnregisterBinding(L, "Note");
    EXPECT_EQ(Eval("type(Note)"), "nil");
    EXPECT_EQ(lua_gettop(L), 0);
}

}  // namespace
