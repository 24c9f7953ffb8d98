// Tables: array and hash parts and their growth, key normalisation, reads
// and writes through the C interface, traversal under assignment, the
// element count of lua_gettablesize and getn/setn.
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "lua/state.h"
#include "lua/table.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>

using namespace script;

namespace {

class TableTest : public ::testing::Test {
protected:
    TableTest() : L(lua_open()) {}
    ~TableTest() override { lua_close(L); }

    // A new table on the stack.
    Table* pushTable()
    {
        lua_newtable(L);
        return asTable(L->top - 1);
    }

    int absolute(int t) { return t < 0 ? lua_gettop(L) + 1 + t : t; }

    void setIntInt(int t, lua_Number key, lua_Number value)
    {
        t = absolute(t);
        lua_pushnumber(L, key);
        lua_pushnumber(L, value);
        lua_rawset(L, t);
    }

    // The value under a number key as a number, or NAN for nil.
    double getNumberKey(int t, lua_Number key)
    {
        t = absolute(t);
        lua_pushnumber(L, key);
        lua_rawget(L, t);
        double v = lua_isnil(L, -1) ? NAN : lua_tonumber(L, -1);
        lua_pop(L, 1);
        return v;
    }

    lua_State* L;
};

// Runs body(L) under lua_cpcall; returns the status and stores the message.
int protectedRun(lua_State* L, lua_CFunction body, std::string* message)
{
    int status = lua_cpcall(L, body, nullptr);
    if (status != 0) {
        *message = lua_tostring(L, -1) ? lua_tostring(L, -1) : "";
        lua_pop(L, 1);
    }
    return status;
}

TEST_F(TableTest, ListItemsGoToTheArrayPart)
{
    Table* t = pushTable();
    for (int i = 1; i <= 1000; ++i) {
        lua_pushnumber(L, i * 2);
        lua_rawseti(L, -2, i);
    }
    EXPECT_EQ(t->arraySize, 1024);
    EXPECT_TRUE(tableHasNoNodes(t));
    for (int i = 1; i <= 1000; ++i)
        EXPECT_EQ(getNumberKey(-1, i), i * 2.0);
}

TEST_F(TableTest, SparseKeysStayInTheHashPart)
{
    Table* t = pushTable();
    setIntInt(-1, 1, 10);
    setIntInt(-1, 1000000, 20);
    setIntInt(-1, 50, 30);
    setIntInt(-1, -4, 40);
    EXPECT_LE(t->arraySize, 1);
    EXPECT_EQ(getNumberKey(-1, 1000000), 20);
    EXPECT_EQ(getNumberKey(-1, 50), 30);
    EXPECT_EQ(getNumberKey(-1, -4), 40);
    EXPECT_TRUE(std::isnan(getNumberKey(-1, 2)));
}

TEST_F(TableTest, ArrayShrinksWhenMostListItemsAreGone)
{
    Table* t = pushTable();
    for (int i = 1; i <= 64; ++i)
        setIntInt(-1, i, i);
    EXPECT_EQ(t->arraySize, 64);
    for (int i = 2; i <= 64; ++i) {
        lua_pushnil(L);
        lua_rawseti(L, -2, i);
    }
    // A resize happens once the hash part is full; force one with new keys.
    for (int i = 0; i < 40; ++i) {
        lua_pushfstring(L, "k%d", i);
        lua_pushnumber(L, i);
        lua_rawset(L, -3);
    }
    EXPECT_LT(t->arraySize, 64);
    EXPECT_EQ(getNumberKey(-1, 1), 1);
    EXPECT_TRUE(std::isnan(getNumberKey(-1, 64)));
}

TEST_F(TableTest, NumberKeysAreNormalised)
{
    pushTable();
    setIntInt(-1, 2.0, 1);
    setIntInt(-1, -0.0, 5);
    setIntInt(-1, 1.5, 7);
    EXPECT_EQ(getNumberKey(-1, 2), 1);
    EXPECT_EQ(getNumberKey(-1, 0.0), 5);
    EXPECT_EQ(getNumberKey(-1, 1.5), 7);
    EXPECT_TRUE(std::isnan(getNumberKey(-1, 1.0)));
}

TEST_F(TableTest, LargeTableOfIntegerAndStringKeysRoundTrips)
{
    pushTable();
    const int count = 20000;
    for (int i = 1; i <= count; ++i) {
        setIntInt(-1, i, -i);
        lua_pushfstring(L, "key%d", i);
        lua_pushnumber(L, i);
        lua_rawset(L, -3);
    }
    // Remove every third entry of both kinds.
    for (int i = 3; i <= count; i += 3) {
        lua_pushnil(L);
        lua_rawseti(L, -2, i);
        lua_pushfstring(L, "key%d", i);
        lua_pushnil(L);
        lua_rawset(L, -3);
    }
    for (int i = 1; i <= count; ++i) {
        bool gone = i % 3 == 0;
        lua_rawgeti(L, -1, i);
        EXPECT_EQ(lua_isnil(L, -1), gone) << i;
        if (!gone) {
            EXPECT_EQ(lua_tonumber(L, -1), -i);
        }
        lua_pushfstring(L, "key%d", i);
        lua_rawget(L, -3);
        EXPECT_EQ(lua_isnil(L, -1), gone) << i;
        if (!gone) {
            EXPECT_EQ(lua_tonumber(L, -1), i);
        }
        lua_pop(L, 2);
    }
    EXPECT_EQ(lua_gettop(L), 1);
}

TEST_F(TableTest, OtherKeyTypesWork)
{
    pushTable();
    int anchor = 0;
    lua_pushboolean(L, 1);
    lua_pushstring(L, "true key");
    lua_rawset(L, -3);
    lua_pushlightuserdata(L, &anchor);
    lua_pushstring(L, "light key");
    lua_rawset(L, -3);
    lua_newtable(L);  // a table as key, kept at index 2
    lua_pushvalue(L, 2);
    lua_pushstring(L, "table key");
    lua_rawset(L, 1);
    const lua_WChar wideKey[] = {'k', 0};
    lua_pushwstringz(L, wideKey);
    lua_pushstring(L, "wide key");
    lua_rawset(L, 1);

    lua_pushboolean(L, 1);
    lua_rawget(L, 1);
    EXPECT_STREQ(lua_tostring(L, -1), "true key");
    lua_pushlightuserdata(L, &anchor);
    lua_rawget(L, 1);
    EXPECT_STREQ(lua_tostring(L, -1), "light key");
    lua_pushvalue(L, 2);
    lua_rawget(L, 1);
    EXPECT_STREQ(lua_tostring(L, -1), "table key");
    lua_pushwstringz(L, wideKey);
    lua_rawget(L, 1);
    EXPECT_STREQ(lua_tostring(L, -1), "wide key");
    lua_pushstring(L, "k");  // the 8-bit "k" is another key
    lua_rawget(L, 1);
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_pushboolean(L, 0);
    lua_rawget(L, 1);
    EXPECT_TRUE(lua_isnil(L, -1));
}

// "n3" for the number key 3, "s3" for the string key "s3".
std::string keyText(char kind, int i)
{
    char text[16];
    std::snprintf(text, sizeof text, "%c%d", kind, i);
    return text;
}

TEST_F(TableTest, NextVisitsEveryKeyOnceWhileExistingFieldsChange)
{
    pushTable();
    std::set<std::string> expected;
    for (int i = 1; i <= 10; ++i) {
        setIntInt(-1, i, i);
        expected.insert(keyText('n', i));
    }
    for (int i = 0; i < 50; ++i) {
        lua_pushfstring(L, "s%d", i);
        lua_pushnumber(L, i);
        lua_rawset(L, -3);
        expected.insert(keyText('s', i));
    }
    std::multiset<std::string> seen;
    int step = 0;
    lua_pushnil(L);
    while (lua_next(L, 1)) {
        std::string name = lua_type(L, -2) == LUA_TNUMBER ? keyText('n', static_cast<int>(lua_tonumber(L, -2)))
                                                           : lua_tostring(L, -2);
        seen.insert(name);
        lua_pop(L, 1);
        // Alternately clear and overwrite the current field.
        lua_pushvalue(L, -1);
        if (step++ % 2 == 0)
            lua_pushnil(L);
        else
            lua_pushnumber(L, 99);
        lua_rawset(L, 1);
    }
    EXPECT_EQ(seen.size(), expected.size());
    EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end()), expected);
    EXPECT_EQ(lua_gettop(L), 1);
}

int nextWithForeignKey(lua_State* L)
{
    lua_newtable(L);
    lua_pushstring(L, "a");
    lua_pushnumber(L, 1);
    lua_rawset(L, -3);
    lua_pushstring(L, "not a key of this table");
    lua_next(L, -2);
    return 0;
}

int setNilKey(lua_State* L)
{
    lua_newtable(L);
    lua_pushnil(L);
    lua_pushnumber(L, 1);
    lua_rawset(L, -3);
    return 0;
}

int setNanKey(lua_State* L)
{
    lua_newtable(L);
    lua_pushnumber(L, NAN);
    lua_pushnumber(L, 1);
    lua_rawset(L, -3);
    return 0;
}

TEST_F(TableTest, BadKeysRaiseErrors)
{
    std::string message;
    EXPECT_EQ(protectedRun(L, nextWithForeignKey, &message), LUA_ERRRUN);
    EXPECT_EQ(message, "invalid key for `next'");
    EXPECT_EQ(protectedRun(L, setNilKey, &message), LUA_ERRRUN);
    EXPECT_EQ(message, "table index is nil");
    EXPECT_EQ(protectedRun(L, setNanKey, &message), LUA_ERRRUN);
    EXPECT_EQ(message, "table index is NaN");
    EXPECT_EQ(lua_gettop(L), 0);
    // Reading nil and NaN keys is allowed and finds nothing.
    pushTable();
    lua_pushnil(L);
    lua_rawget(L, -2);
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_pushnumber(L, NAN);
    lua_rawget(L, -3);
    EXPECT_TRUE(lua_isnil(L, -1));
}

TEST_F(TableTest, TableSizeCountsAsTheInterfaceSays)
{
    struct Case {
        const char* name;
        std::map<double, double> numberKeys;
        bool hasN;
        double n;
        int expected;
    } cases[] = {
        {"empty", {}, false, 0, 0},
        {"hole inside", {{1, 1}, {2, 2}, {4, 4}}, false, 0, 4},
        {"n field", {{1, 1}}, true, 7, 7},
        {"n truncated", {}, true, 3.9, 3},
        {"hash key beyond the array", {{1, 1}, {100, 1}}, false, 0, 100},
        {"fractional key", {{2.5, 1}}, false, 0, 2},
        {"huge key", {{1e12, 1}}, false, 0, INT_MAX},
        {"negative keys only", {{-5, 1}}, false, 0, 0},
    };
    for (const auto& c : cases) {
        pushTable();
        for (const auto& [k, v] : c.numberKeys)
            setIntInt(-1, k, v);
        if (c.hasN) {
            lua_pushstring(L, "n");
            lua_pushnumber(L, c.n);
            lua_rawset(L, -3);
        }
        EXPECT_EQ(lua_gettablesize(L, -1), c.expected) << c.name;
        lua_pop(L, 1);
    }
    // A non-number "n" is ignored; a non-table has size 0.
    pushTable();
    setIntInt(-1, 1, 1);
    lua_pushstring(L, "n");
    lua_pushstring(L, "x");
    lua_rawset(L, -3);
    EXPECT_EQ(lua_gettablesize(L, -1), 1);
    lua_pushnumber(L, 3);
    EXPECT_EQ(lua_gettablesize(L, -1), 0);
}

TEST_F(TableTest, GetnUsesTheFieldThenSetnSizesThenTheBorder)
{
    pushTable();
    for (int i = 1; i <= 5; ++i)
        setIntInt(-1, i, i);
    setIntInt(-1, 7, 7);
    EXPECT_EQ(luaL_getn(L, 1), 5);  // first border
    luaL_setn(L, 1, 2);
    EXPECT_EQ(luaL_getn(L, 1), 2);  // kept aside, the table has no "n"
    lua_pushstring(L, "n");
    lua_rawget(L, 1);
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_pop(L, 1);

    lua_pushstring(L, "n");
    lua_pushnumber(L, 9);
    lua_rawset(L, 1);
    EXPECT_EQ(luaL_getn(L, 1), 9);
    luaL_setn(L, 1, 4);  // with a numeric "n", setn writes the field
    lua_pushstring(L, "n");
    lua_rawget(L, 1);
    EXPECT_EQ(lua_tonumber(L, -1), 4);
    lua_pop(L, 1);

    pushTable();
    EXPECT_EQ(luaL_getn(L, -1), 0);
    EXPECT_EQ(lua_gettop(L), 2);
}

}  // namespace
