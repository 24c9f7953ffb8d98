// The string library: the engine's format options, wide-string rejection and
// method calls on strings.
#include "libfixture.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <type_traits>

namespace {

TEST_F(LibraryTest, QuoteForTheLexerEscapesControlCharacters) {
    EXPECT_EQ(run("return string.format('%Q', 'a\\nb')"), "\"a\\nb\"");
    EXPECT_EQ(run("return string.format('%Q', '\\a\\b\\t\\v\\f\\r\"\\\\')"), "\"\\a\\b\\t\\v\\f\\r\\\"\\\\\"");
    EXPECT_EQ(run("return string.format('%Q', '\\1\\200x')"), "\"\\x01\\xc8x\"");
    EXPECT_EQ(run("return string.format('%Q', 12)"), "\"12\"");
}

TEST_F(LibraryTest, QuoteForTheLexerWritesWideStringsWithFourDigitEscapes) {
    EXPECT_EQ(run("return string.format('%Q', L\"a\\x263A\\n\")"), "L\"a\\x263a\\n\"");
    // What %Q writes reads back to the same value.
    EXPECT_EQ(run("local w = L\"x\\x0100\\\"\\\\y\" "
                  "return loadstring('return ' .. string.format('%Q', w))() == w"),
              "true");
    EXPECT_EQ(run("local s = 'a\\0\\255\\n\"' "
                  "return loadstring('return ' .. string.format('%Q', s))() == s"),
              "true");
}

TEST_F(LibraryTest, FormatBooleanAcceptsBooleansAndNil) {
    EXPECT_EQ(run("return string.format('%B %B %B', true, false, nil)"), "true false false");
    EXPECT_EQ(run("return pcall(function() string.format('%B', 1) end)"),
              "false|test:1: bad argument #2 to `format' (boolean expected, got number)");
}

TEST_F(LibraryTest, FormatBinaryWritesLittleEndianBytes) {
    EXPECT_EQ(run("return string.byte(string.format('%bw', 258), 1, 1), string.byte(string.format('%bw', 258), 2)"),
              "2|1");
    EXPECT_EQ(run("return string.len(string.format('%bF%bf%bd%bw%bb', 1, 1, 1, 1, 1))"), "19");
    EXPECT_EQ(run("return string.unpack(string.format('%bd', -2.9), 'i')"), "5|-2");
    EXPECT_EQ(run("return string.unpack(string.format('%bF', 0.25), 'd')"), "9|0.25");
    // An unknown letter writes nothing but still takes its argument.
    EXPECT_EQ(run("return string.format('[%bq]%d', 1, 2)"), "[]2");
    EXPECT_EQ(run("return pcall(string.format, '%b', 1)"), "false|invalid option to `format'");
}

TEST_F(LibraryTest, FormatKeepsTheClassicOptions) {
    EXPECT_EQ(run("return string.format('%5.1f|%-4d|%x|%q', 3.14159, 7, 255, 'a\"b')"), "  3.1|7   |ff|\"a\\\"b\"");
    EXPECT_EQ(run("return pcall(string.format, '%------d', 1)"), "false|invalid format (repeated flags)");
    EXPECT_EQ(run("return pcall(string.format, '%y', 1)"), "false|invalid option to `format'");
    EXPECT_EQ(run("return string.format('%s', string.rep('x', 150)) == string.rep('x', 150)"), "true");
    EXPECT_EQ(run("return string.format('[%5.2s|%.0s|%-4s]', 'abc', 'abc', 'ab')"), "[   ab||ab  ]");
    // %c of 0 keeps its zero byte.
    EXPECT_EQ(run("return string.format('%c', 0) == '\\0', string.len(string.format('%3c', 0))"), "true|3");
}

// Some conversions are written without snprintf: every flag and width they
// take (and the ones they leave to it) must give what snprintf gives.
class FormatTest : public LibraryTest {
protected:
    // string.format(format, value) with a number or a string value.
    template <typename T>
    std::string format(const char* format, T value) {
        lua_settop(L, 0);
        lua_pushliteral(L, "string");
        lua_rawget(L, LUA_GLOBALSINDEX);
        lua_pushliteral(L, "format");
        lua_rawget(L, -2);
        lua_pushstring(L, format);
        if constexpr (std::is_same_v<T, const char*>)
            lua_pushstring(L, value);
        else
            lua_pushnumber(L, value);
        if (lua_pcall(L, 2, 1, 0) != 0) return std::string("error: ") + lua_tostring(L, -1);
        return std::string(lua_tostring(L, -1), lua_strlen(L, -1));
    }

    template <typename T>
    static std::string printed(const char* format, T value) {
        char text[1024];
        std::snprintf(text, sizeof text, format, value);
        return text;
    }
};

TEST_F(FormatTest, IntegersAsPrintf) {
    const char* const formats[] = {"%d", "%5d", "%05d", "%-5d", "%-05d", "%+d", "% d", "%.3d", "%08.3d", "%i"};
    const int integers[] = {0, 7, -7, 12345, -123456, 2147483647, -2147483647 - 1};
    for (const char* f : formats)
        for (int n : integers) EXPECT_EQ(format(f, n), printed(f, n)) << f << " " << n;
}

TEST_F(FormatTest, FixedPointAsPrintf) {
    const char* const formats[] = {"%f", "%.2f", "%.0f", "%10.3f", "%010.3f", "%-10.1f", "%+.2f", "%#.0f", "%.99f", "%05.f"};
    const double numbers[] = {0.0, -0.0, 0.125, 0.375, 2.5, -2.5, 0.005, 1.0 / 3, 1e22, -1e300, 5e-324,
                              123456.789, HUGE_VAL, -HUGE_VAL, std::nan(""), 0.1, 1.005, 8.5,
                              22517998136852.47, 22517998136852.48, 4503599627370495.5};
    for (const char* f : formats)
        for (double n : numbers) EXPECT_EQ(format(f, n), printed(f, n)) << f << " " << n;
    // Sixteenths and hundredths are whole numbers once scaled by some
    // precisions and not by others; thirds never are.
    for (int k = -3000; k <= 3000; k += 7)
        for (double n : {k / 16.0, k * 0.01, k / 3.0, k * 1e9 + 0.5})
            for (const char* f : {"%.2f", "%.0f", "%8.3f", "%f", "%.8f", "%.9f"})
                EXPECT_EQ(format(f, n), printed(f, n)) << f << " " << n;
}

TEST_F(FormatTest, StringsAsPrintf) {
    const char* const formats[] = {"[%s]", "[%5s]", "[%-5s]", "[%05s]", "[%.1s]", "[%3s]"};
    const char* const texts[] = {"", "ab", "abcdef"};
    for (const char* f : formats)
        for (const char* text : texts) EXPECT_EQ(format(f, text), printed(f, text)) << f << " " << text;
    // Like printf, a short string ends at its first zero byte.
    EXPECT_EQ(run("return string.format('[%s|%4s]', 'a\\0b', 'a\\0b')"), "[a|   a]");
    EXPECT_EQ(run("return string.format('%s%d', 12, 3)"), "123");
}

TEST_F(LibraryTest, StockFunctionsRejectWideStrings) {
    EXPECT_EQ(run("return pcall(function() string.len(L\"ab\") end)"),
              "false|test:1: bad argument #1 to `len' (string expected, got wstring)");
    EXPECT_EQ(run("return pcall(function() string.find('ab', L\"a\") end)"),
              "false|test:1: bad argument #2 to `find' (string expected, got wstring)");
    EXPECT_EQ(run("return pcall(function() string.format('%s', L\"a\") end)"),
              "false|test:1: bad argument #2 to `format' (string expected, got wstring)");
}

TEST_F(LibraryTest, StringsIndexTheLibraryTable) {
    EXPECT_EQ(run("return ('abc'):upper(), ('x'):rep(3), ('a,b'):gsub(',', ';')"), "ABC|xxx|a;b|1");
    EXPECT_EQ(run("local s = 'hello' return s:sub(2, 3), s:len()"), "el|5");
}

TEST_F(LibraryTest, LibraryTableHoldsExactlyItsFunctions) {
    EXPECT_EQ(run("local t = {} for k in pairs(string) do table.insert(t, k) end table.sort(t) "
                  "return table.concat(t, ' ')"),
              "byte char dump find format gfind gsub len lower lualex pack rep sub unpack upper");
}

TEST_F(LibraryTest, DumpedFunctionsLoadBack) {
    EXPECT_EQ(run("local f = loadstring(string.dump(function(a) return a * 2 end)) return f(21)"), "42");
    EXPECT_EQ(run("return pcall(string.dump, print)"), "false|unable to dump given function");
}

TEST_F(LibraryTest, SubByteAndCharFollowTheClassicRules) {
    EXPECT_EQ(run("return string.sub('hello', -3), string.sub('hello', 2, 100), string.sub('hello', 0)"),
              "llo|ello|hello");
    EXPECT_EQ(run("return string.byte('A'), string.byte('abc', -1), string.byte('abc', 4)"), "65|99");
    EXPECT_EQ(run("return pcall(function() string.char(256) end)"),
              "false|test:1: bad argument #1 to `char' (invalid value)");
    EXPECT_EQ(run("return string.rep('ab', 0), string.rep('ab', -1), string.rep('ab', 2)"), "||abab");
    EXPECT_EQ(run("return pcall(string.rep, 'x', 1e12)"), "false|resulting string too large");
    EXPECT_EQ(run("return string.len(string.rep('', 1e15))"), "0");
}

}  // namespace
