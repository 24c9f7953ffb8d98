// The intern pool: identity of equal texts, the wide type beside the 8-bit
// one, the hash of long and wide texts, growth and collection of the pool.
#include "lua/collector.h"
#include "lua/lua.h"
#include "lua/state.h"
#include "lua/strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace script;

namespace {

class StringsTest : public ::testing::Test {
protected:
    StringsTest() : L(lua_open()) {}
    ~StringsTest() override { lua_close(L); }

    lua_State* L;
};

TEST_F(StringsTest, EqualTextsAreOneObjectAndWideIsApart)
{
    String* a = newString(L, "hello");
    String* b = newString(L, std::string("hello").c_str(), 5);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, newString(L, "hellO"));
    EXPECT_NE(a, newString(L, "hell"));

    const lua_WChar units[] = {'h', 'e', 'l', 'l', 'o'};
    String* w = newWideString(L, units, 5);
    EXPECT_EQ(w->tag, LUA_TWSTRING);
    EXPECT_NE(static_cast<GcObject*>(w), static_cast<GcObject*>(a));
    EXPECT_EQ(w, newWideString(L, units, 5));
    EXPECT_EQ(w->length, 5u);
    EXPECT_EQ(w->units()[5], 0);

    // Embedded zeros are part of the text.
    String* z1 = newString(L, "a\0b", 3);
    String* z2 = newString(L, "a\0c", 3);
    EXPECT_NE(z1, z2);
    EXPECT_EQ(z1->length, 3u);
}

TEST_F(StringsTest, FilledTextsJoinThePoolOrGiveWayToAnEqualOne)
{
    const std::string text(300, 'x');
    String* filled = newStringToFill(L, text.size(), LUA_TSTRING);
    text.copy(filled->chars(), text.size());
    String* pooled = internFilled(L, filled);
    EXPECT_EQ(pooled, filled);
    EXPECT_EQ(pooled->chars()[text.size()], '\0');
    EXPECT_EQ(newString(L, text.data(), text.size()), pooled);

    const size_t before = L->shared->bytesInUse;
    String* again = newStringToFill(L, text.size(), LUA_TSTRING);
    text.copy(again->chars(), text.size());
    EXPECT_EQ(internFilled(L, again), pooled);
    EXPECT_EQ(L->shared->bytesInUse, before);

    const lua_WChar units[] = {'x', 0x263A, 'y'};
    String* wide = newStringToFill(L, 3, LUA_TWSTRING);
    std::copy(units, units + 3, wide->units());
    String* pooledWide = internFilled(L, wide);
    EXPECT_EQ(pooledWide->tag, LUA_TWSTRING);
    EXPECT_EQ(pooledWide->units()[3], 0);
    EXPECT_EQ(newWideString(L, units, 3), pooledWide);
    EXPECT_NE(static_cast<GcObject*>(pooledWide), static_cast<GcObject*>(newString(L, "x\xE2\x98\xBAy")));
}

TEST_F(StringsTest, HashSamplesFromTheEndAndTreatsUnitsAsCharacters)
{
    EXPECT_EQ(hashBytes("ab", 2), 5161u);
    const lua_WChar smile[] = {0x263A, 'A'};
    EXPECT_EQ(hashUnits(smile, 2), 13881u);
    std::string hundred(100, 'x');
    EXPECT_EQ(hashBytes(hundred.data(), hundred.size()), 1876310425u);
    std::vector<lua_WChar> high(40, 0xFFFF);
    EXPECT_EQ(hashUnits(high.data(), high.size()), 852648577u);
    // Bytes above 127 count as unsigned.
    const lua_WChar e9[] = {0xE9};
    EXPECT_EQ(hashBytes("\xE9", 1), hashUnits(e9, 1));
}

TEST_F(StringsTest, PoolGrowsAndKeepsEveryString)
{
    std::vector<String*> made;
    for (int i = 0; i < 5000; ++i)
        made.push_back(newString(L, ("key" + std::to_string(i)).c_str()));
    EXPECT_GE(L->shared->strings.size, 4096);
    for (int i = 0; i < 5000; ++i)
        EXPECT_EQ(made[i], newString(L, ("key" + std::to_string(i)).c_str())) << i;
}

TEST_F(StringsTest, UnreferencedStringsAreCollectedAndThePoolShrinks)
{
    collectGarbage(L);
    uint32_t before = L->shared->strings.count;
    lua_pushstring(L, "kept on the stack");
    for (int i = 0; i < 5000; ++i)
        newString(L, ("temporary" + std::to_string(i)).c_str());
    int grown = L->shared->strings.size;
    collectGarbage(L);
    EXPECT_EQ(L->shared->strings.count, before + 1);
    EXPECT_LT(L->shared->strings.size, grown);
    EXPECT_STREQ(lua_tostring(L, -1), "kept on the stack");
}

TEST_F(StringsTest, PushedWideStringsReadBack)
{
    const lua_WChar units[] = {'a', 0x263A, 'b', 0};
    lua_pushwstringz(L, units);
    EXPECT_EQ(lua_type(L, -1), LUA_TWSTRING);
    EXPECT_STREQ(lua_typename(L, LUA_TWSTRING), "wstring");
    EXPECT_EQ(lua_strlen(L, -1), 3u);
    const lua_WChar* back = lua_towstring(L, -1);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back[1], 0x263A);
    EXPECT_EQ(back[3], 0);
    EXPECT_EQ(lua_tostring(L, -1), nullptr);  // not 8-bit text
    lua_pushwstring(L, units, 3);
    EXPECT_TRUE(lua_rawequal(L, -1, -2));
    lua_pushwstringz(L, nullptr);
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_pushwstring(L, nullptr, 0);
    EXPECT_EQ(lua_type(L, -1), LUA_TWSTRING);
    EXPECT_EQ(lua_strlen(L, -1), 0u);
}

}  // namespace
