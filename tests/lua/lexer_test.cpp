// The lexer: token codes and texts, numbers (decimal and hexadecimal),
// strings with their escapes, wide strings, long strings and comments, and
// 16-bit little-endian sources.
#include "tests/lua/chunktesting.h"

#include "lua/lexer.h"
#include "lua/strings.h"

#include <vector>

using namespace script;
using chunktesting::StateTest;

namespace {

struct Lexed {
    int code;
    lua_Number number;
    std::string text;               // names and 8-bit strings
    std::vector<lua_WChar> units;   // wide strings
    int line;
};

class LexerTest : public StateTest {
protected:
    // Every token of `source` up to the end (the end itself not included).
    std::vector<Lexed> lex(const std::string& source)
    {
        chunktesting::Pieces pieces{&source, 0, 3};  // small pieces cross token boundaries
        ChunkInput input(L, chunktesting::readPiece, &pieces);
        Lexer lexer(L, input, newString(L, "=t"));
        std::vector<Lexed> out;
        for (lexer.next(); lexer.token().code != kTokenEos; lexer.next()) {
            const Token& t = lexer.token();
            Lexed l{t.code, t.number, "", {}, lexer.line()};
            if (t.code == kTokenName || t.code == kTokenString)
                l.text.assign(t.string->chars(), t.string->length);
            if (t.code == kTokenWideString)
                l.units.assign(t.string->units(), t.string->units() + t.string->length);
            out.push_back(l);
        }
        return out;
    }

    // The one token of `source`.
    Lexed single(const std::string& source)
    {
        std::vector<Lexed> tokens = lex(source);
        EXPECT_EQ(tokens.size(), 1u) << source;
        return tokens.empty() ? Lexed{kTokenEos, 0, "", {}, 0} : tokens[0];
    }
};

std::string wideSource(const std::u16string& text)
{
    std::string bytes = "\xff\xfe";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST_F(LexerTest, TokenCodesAndTexts)
{
    EXPECT_EQ(kTokenAnd, 257);
    EXPECT_EQ(kTokenContinue, 259);
    EXPECT_EQ(kTokenWhile, 278);
    EXPECT_EQ(kTokenName, 279);
    EXPECT_EQ(kTokenWideString, 288);
    EXPECT_EQ(kTokenEos, 291);
    EXPECT_EQ(Lexer::tokenName(kTokenContinue), "continue");
    EXPECT_EQ(Lexer::tokenName(kTokenName), "*name");
    EXPECT_EQ(Lexer::tokenName(kTokenWideString), "*wstring");
    EXPECT_EQ(Lexer::tokenName(kTokenShl), "<<");
    EXPECT_EQ(Lexer::tokenName(kTokenShr), ">>");
    EXPECT_EQ(Lexer::tokenName(kTokenEos), "<eof>");
    EXPECT_EQ(Lexer::tokenName('&'), "&");

    std::vector<int> codes;
    for (const Lexed& t : lex("continue and x .. ... == >= <= ~= << >> < > = ~ & | ^ [ ] -"))
        codes.push_back(t.code);
    EXPECT_EQ(codes, (std::vector<int>{kTokenContinue, kTokenAnd, kTokenName, kTokenConcat, kTokenDots, kTokenEq,
                                       kTokenGe, kTokenLe, kTokenNe, kTokenShl, kTokenShr, '<', '>', '=', '~', '&',
                                       '|', '^', '[', ']', '-'}));
}

TEST_F(LexerTest, Numbers)
{
    struct NumberCase {
        const char* source;
        lua_Number value;
    };
    const NumberCase cases[] = {
        {"3", 3}, {"3.0", 3}, {"3.1416", 3.1416}, {"314.16e-2", 3.1416}, {"0.31416E1", 3.1416},
        {".5", 0.5}, {"5.", 5}, {"1e+2", 100}, {"0", 0}, {"0x0", 0}, {"0xff", 255}, {"0xabcDEF", 0xabcdef},
        {"0xFFFFFFFF", 4294967295.0}, {"0x00000001", 1}, {"007", 7},
    };
    for (const NumberCase& c : cases) {
        Lexed t = single(c.source);
        EXPECT_EQ(t.code, kTokenNumber) << c.source;
        EXPECT_DOUBLE_EQ(t.number, c.value) << c.source;
    }
    // At most eight hexadecimal digits are taken.
    std::vector<Lexed> split = lex("0x123456789");
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0].number, 0x12345678);
    EXPECT_EQ(split[1].number, 9);
    // Only a lowercase x makes a hexadecimal number.
    split = lex("0X1");
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0].code, kTokenNumber);
    EXPECT_EQ(split[0].number, 0);
    EXPECT_EQ(split[1].code, kTokenName);
    EXPECT_EQ(split[1].text, "X1");
}

TEST_F(LexerTest, StringsAndEscapes)
{
    struct StringCase {
        const char* source;
        std::string value;
    };
    const StringCase cases[] = {
        {"\"a\\x41b\"", "aAb"},
        {"'\\x4'", "\x04"},
        {"'\\x414'", "A4"},       // two digits at most
        {"'\\xg'", "xg"},         // no digit: the x itself
        {"'\\xFf'", "\xff"},
        {"'\\65\\066\\0672'", "ABC2"},
        {"'\\0491'", "11"},
        {"'a\\0b'", std::string("a\0b", 3)},
        {"'\\a\\b\\f\\n\\r\\t\\v'", "\a\b\f\n\r\t\v"},
        {"'\\\\\\\"\\''", "\\\"'"},
        {"'\\q'", "q"},
        {"\"it's\"", "it's"},
        {"[[simple]]", "simple"},
        {"[[\nskips the first newline]]", "skips the first newline"},
        {"[[a [[nested]] b]]", "a [[nested]] b"},
        {"[[double [[nest [[deep]] ]] ok]]", "double [[nest [[deep]] ]] ok"},
        {"[[no \\escapes\\n]]", "no \\escapes\\n"},
        {"[[contains ]=] and ']]", "contains ]=] and '"},
    };
    for (const StringCase& c : cases) {
        Lexed t = single(c.source);
        EXPECT_EQ(t.code, kTokenString) << c.source;
        EXPECT_EQ(t.text, c.value) << c.source;
    }
}

TEST_F(LexerTest, WideStrings)
{
    struct WideCase {
        const char* source;
        std::vector<lua_WChar> units;
    };
    const WideCase cases[] = {
        {"L\"a\\x263Ab\"", {'a', 9786, 'b'}},
        {"L\"\\x12345\"", {0x1234, '5'}},
        {"L\"\\xz\"", {'x', 'z'}},
        {"L\"\\x7\"", {7}},
        {"L\"\\65\\255\"", {65, 255}},
        {"L\"\\n\\\"\"", {'\n', '"'}},
        {"L\"\"", {}},
        {"L\"\xe9\"", {0xe9}},
    };
    for (const WideCase& c : cases) {
        Lexed t = single(c.source);
        EXPECT_EQ(t.code, kTokenWideString) << c.source;
        EXPECT_EQ(t.units, c.units) << c.source;
    }
    // L starts a wide string only right before a double quote.
    std::vector<Lexed> tokens = lex("L'x' Lx L \"y\"");
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[0].code, kTokenName);
    EXPECT_EQ(tokens[0].text, "L");
    EXPECT_EQ(tokens[1].code, kTokenString);
    EXPECT_EQ(tokens[2].text, "Lx");
    EXPECT_EQ(tokens[3].text, "L");
    EXPECT_EQ(tokens[4].code, kTokenString);
}

TEST_F(LexerTest, CommentsLinesAndFirstLine)
{
    std::vector<Lexed> tokens = lex("#!/usr/bin/env scriptrun\n"
                                    "a -- comment\n"
                                    "--[[ long\n [[nested]] comment ]] b\n"
                                    "---[[ only a line comment\n"
                                    "c 'x\\\ny' d\n");
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[0].text, "a");
    EXPECT_EQ(tokens[0].line, 2);
    EXPECT_EQ(tokens[1].text, "b");
    EXPECT_EQ(tokens[1].line, 4);
    EXPECT_EQ(tokens[2].text, "c");
    EXPECT_EQ(tokens[2].line, 6);
    EXPECT_EQ(tokens[3].text, "x\ny");
    EXPECT_EQ(tokens[4].line, 7);
    // A carriage return is a space, not a line end.
    tokens = lex("a\r\nb\rc");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[2].line, 2);
}

TEST_F(LexerTest, SixteenBitSources)
{
    std::vector<Lexed> tokens = lex(wideSource(u"local x = L\"\u263A\" .. '\u0141'"));
    ASSERT_EQ(tokens.size(), 6u);
    EXPECT_EQ(tokens[0].code, kTokenLocal);
    EXPECT_EQ(tokens[1].text, "x");
    EXPECT_EQ(tokens[3].units, (std::vector<lua_WChar>{0x263A}));
    EXPECT_EQ(tokens[5].text, "A");  // an 8-bit string keeps the low 8 bits
    EXPECT_EQ(loadError(wideSource(u"x = 1 \u263A")), "t:1: invalid wide char near `char(9786)'");
    EXPECT_EQ(loadError(wideSource(u"x = \u0001")), "t:1: invalid control char near `char(1)'");
    // A lone FF is an ordinary (invalid) character of an 8-bit source.
    EXPECT_EQ(loadError("\xffx"), "t:1: invalid wide char near `char(255)'");
}

TEST_F(LexerTest, SixteenBitSourceCompilesLikeItsEightBitForm)
{
    const std::u16string source =
        u"local t = { &4 1, 2, x = L\"w\\x263A\" }\n"
        u"for k, v in t do if k == 1 then continue end t[k] = v end\n"
        u"-- comment\n"
        u"return function(a, ...) return a << 2 | 0xF0 & 7, [[long\nstring]], arg end\n";
    std::string narrow(source.begin(), source.end());
    EXPECT_EQ(compile(wideSource(source)), compile(narrow));
}

}  // namespace
