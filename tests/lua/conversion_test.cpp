// Numbers to text ("%.14g", whatever the locale) and text to numbers by the
// 8-bit rules (decimal, spaces around) and the wide rules (hexadecimal with
// fraction and binary exponent, no leading space).
#include "lua/conversion.h"
#include "lua/lua.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

using namespace script;

namespace {

struct TextCase {
    const char* text;
    bool converts;
    double value;
};

std::vector<lua_WChar> wide(const char* s)
{
    std::vector<lua_WChar> units;
    for (; *s; ++s)
        units.push_back(static_cast<unsigned char>(*s));
    units.push_back(0);
    return units;
}

TEST(ConversionTest, NumberToTextIsPercent14g)
{
    struct {
        double n;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-0.0, "-0"},
        {100, "100"},
        {3.5, "3.5"},
        {0.1, "0.1"},
        {1.0 / 3, "0.33333333333333"},
        {1e15, "1e+15"},
        {123456789012345.0, "1.2345678901234e+14"},
        {99999999999999.0, "99999999999999"},
        {1e-5, "1e-05"},
        {-2.5e-300, "-2.5e-300"},
        {4294967295.0, "4294967295"},
        {std::numeric_limits<double>::infinity(), "inf"},
        {-std::numeric_limits<double>::infinity(), "-inf"},
    };
    for (const auto& c : cases) {
        char text[kNumberTextSize];
        int length = numberToText(c.n, text);
        EXPECT_STREQ(text, c.text) << c.n;
        EXPECT_EQ(length, static_cast<int>(std::string(c.text).size()));
    }
}

// Whole numbers take a shorter way than the general conversion: both must
// agree with the C library's "%.14g" around every edge of that way.
TEST(ConversionTest, NumberToTextMatchesPrintfAroundWholeNumbers)
{
    const double values[] = {
        1,  -1,  7,  10,  -10,  65536,  2147483647.0,  -2147483648.0,  4294967296.0,
        99999999999999.0,  -99999999999999.0,  100000000000000.0,  -100000000000000.0,
        99999999999999.5,  1e14 - 2,  1e300,  -1e300,  0.5,  -0.5,  1.0000000000001,
        12345.000001,  9007199254740993.0,  std::nan(""),
    };
    for (double n : values) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.14g", n);
        char text[kNumberTextSize];
        EXPECT_EQ(numberToText(n, text), static_cast<int>(std::strlen(expected))) << expected;
        EXPECT_STREQ(text, expected);
    }
}

TEST(ConversionTest, TextToNumberTakesDecimalWithSpacesOnly)
{
    const TextCase cases[] = {
        {"12", true, 12},
        {"  12  ", true, 12},
        {"\t-3.5\n", true, -3.5},
        {"+7", true, 7},
        {"1e3", true, 1000},
        {"1E-2", true, 0.01},
        {".5", true, 0.5},
        {"5.", true, 5},
        {"1e400", true, HUGE_VAL},
        {"-1e400", true, -HUGE_VAL},
        {"1e-400", true, 0},
        {"", false, 0},
        {"   ", false, 0},
        {".", false, 0},
        {"-", false, 0},
        {"1e", false, 0},
        {"1e+", false, 0},
        {"12a", false, 0},
        {"1 2", false, 0},
        {"0x10", false, 0},
        {"inf", false, 0},
        {"nan", false, 0},
        {"1,5", false, 0},
        {"- 1", false, 0},
    };
    for (const auto& c : cases) {
        lua_Number n = -12345;
        EXPECT_EQ(textToNumber(c.text, &n), c.converts) << '"' << c.text << '"';
        if (c.converts) {
            EXPECT_EQ(n, c.value) << '"' << c.text << '"';
        }
    }
}

TEST(ConversionTest, NumeralsOutOfRangeWithoutExponentSign)
{
    // Below or above a double's range whatever the exponent's sign says.
    const std::string zeros(400, '0');
    const struct {
        std::string text;
        double value;
    } cases[] = {
        {"0." + zeros + "1", 0},
        {"1" + zeros, HUGE_VAL},
        {"-1" + zeros, -HUGE_VAL},
        {"0.000001e315", HUGE_VAL},
        {"0." + zeros + "1e5", 0},
        {"1" + zeros + "e-5", HUGE_VAL},
        {"0.001e-330", 0},
    };
    for (const auto& c : cases) {
        lua_Number n = -12345;
        EXPECT_TRUE(textToNumber(c.text.c_str(), &n)) << c.text;
        EXPECT_EQ(n, c.value) << c.text;
    }
}

TEST(ConversionTest, WideTextToNumberFollowsTheWideRules)
{
    const TextCase cases[] = {
        {"12", true, 12},
        {"12 ", true, 12},
        {"-4.25e1", true, -42.5},
        {"0x1.8p1", true, 3},
        {"0XfF", true, 255},
        {"0x.8", true, 0.5},
        {"0x1.0p-2", true, 0.25},
        {"0x10", true, 16},
        {" 12", false, 0},
        {"0x1p4", false, 0},
        {"-0x10", false, 0},
        {"0x", false, 0},
        {"0x1.8p", false, 0},
        {"1e", false, 0},
        {"abc", false, 0},
        {"", false, 0},
    };
    for (const auto& c : cases) {
        lua_Number n = -12345;
        std::vector<lua_WChar> units = wide(c.text);
        EXPECT_EQ(wideTextToNumber(units.data(), &n), c.converts) << '"' << c.text << '"';
        if (c.converts) {
            EXPECT_EQ(n, c.value) << '"' << c.text << '"';
        }
    }
    // A unit of 256 or more is never a space.
    const lua_WChar trailing[] = {'1', 0x3000, 0};
    lua_Number n;
    EXPECT_FALSE(wideTextToNumber(trailing, &n));
}

TEST(ConversionTest, ConversionsIgnoreTheLocale)
{
    const char* saved = std::setlocale(LC_NUMERIC, nullptr);
    std::string restore = saved ? saved : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    char text[kNumberTextSize];
    numberToText(2.5, text);
    lua_Number n = 0;
    bool converted = textToNumber("2.5", &n);
    std::setlocale(LC_NUMERIC, restore.c_str());
    EXPECT_STREQ(text, "2.5");
    EXPECT_TRUE(converted);
    EXPECT_EQ(n, 2.5);
}

TEST(ConversionTest, InterfaceConvertsInPlace)
{
    lua_State* L = lua_open();
    lua_pushnumber(L, 0.1);
    EXPECT_STREQ(lua_tostring(L, -1), "0.1");
    EXPECT_EQ(lua_type(L, -1), LUA_TSTRING);

    lua_pushnumber(L, 1e100);
    EXPECT_EQ(lua_strlen(L, -1), 6u);  // "1e+100"
    EXPECT_EQ(lua_type(L, -1), LUA_TSTRING);

    lua_pushnumber(L, -12);
    const lua_WChar* units = lua_towstring(L, -1);
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(lua_type(L, -1), LUA_TWSTRING);
    EXPECT_EQ(lua_strlen(L, -1), 3u);
    EXPECT_EQ(units[0], '-');

    lua_pushstring(L, " 0x10 ");
    EXPECT_FALSE(lua_isnumber(L, -1));
    lua_pushstring(L, " 16 ");
    EXPECT_TRUE(lua_isnumber(L, -1));
    EXPECT_EQ(lua_tonumber(L, -1), 16);
    lua_pushboolean(L, 1);
    EXPECT_EQ(lua_tostring(L, -1), nullptr);
    EXPECT_EQ(lua_towstring(L, -1), nullptr);
    EXPECT_EQ(lua_tonumber(L, -1), 0);
    lua_close(L);
}

}  // namespace
