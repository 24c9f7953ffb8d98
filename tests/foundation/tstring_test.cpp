#include "foundation/tstring.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

std::string Bytes(const TString& s) {
    return std::string(s.c_str(), s.Length());
}

TEST(TString, EmptyFormsAreEqualAndReadAsEmptyText) {
    TString none;
    TString fromEmpty("");
    TString fromNull(static_cast<const char*>(nullptr));
    for (const TString* s : {&none, &fromEmpty, &fromNull}) {
        ASSERT_NE(s->c_str(), nullptr);
        EXPECT_STREQ(s->c_str(), "");
        EXPECT_EQ(s->Length(), 0);
        EXPECT_EQ(s->ToInt(), 0);
        EXPECT_EQ(s->ToFloat(), 0.0f);
    }
    EXPECT_EQ(none.Compare(fromEmpty), 0);
    EXPECT_EQ(fromNull.Compare(none), 0);
    EXPECT_EQ(none.Compare(TString("a")), -1);
    EXPECT_EQ(TString("a").Compare(none), 1);
}

TEST(TString, CompareTreatsBytesAsUnsigned) {
    EXPECT_TRUE(TString("a") < TString("\xff"));
    EXPECT_EQ(TString("abc").Compare(TString("abd")), -1);
    EXPECT_EQ(TString("abd").Compare(TString("abc")), 1);
    EXPECT_EQ(TString("ab").Compare(TString("abc")), -1);
    EXPECT_TRUE(TString("x") == TString("x"));
    EXPECT_FALSE(TString("X") == TString("x"));
}

TEST(TString, BufferConstructorStopsAtCountOrFirstZero) {
    EXPECT_EQ(Bytes(TString("abcdef", 3)), "abc");
    EXPECT_EQ(Bytes(TString("ab\0cd", 5)), "ab");
    EXPECT_EQ(Bytes(TString("abc", 0)), "");
    EXPECT_EQ(Bytes(TString("abc", -1)), "");
    EXPECT_EQ(Bytes(TString("abc", -100)), "");
}

TEST(TString, NumbersAndCharacterAccess) {
    EXPECT_EQ(TString("42abc").ToInt(), 42);
    EXPECT_FLOAT_EQ(TString("2.5").ToFloat(), 2.5f);
    TString s("abc");
    EXPECT_EQ(s.CharAt(0), 'a');
    EXPECT_EQ(s.CharAt(2), 'c');
    EXPECT_EQ(s.CharAt(3), 0);
    EXPECT_EQ(s.CharAt(-1), 0);
    EXPECT_EQ(s.CharAt(-1000), 0);
    EXPECT_EQ(TString().CharAt(0), 0);
}

// Every in-place writer must leave other holders of the shared buffer untouched.
TEST(TString, EveryWriterUnsharesFirst) {
    struct Writer {
        const char* name;
        std::function<void(TString&)> write;
        const char* expected;
    };
    const std::vector<Writer> writers = {
        {"+= string", [](TString& s) { s += TString("!"); }, "Hello World!"},
        {"+= char", [](TString& s) { s += '!'; }, "Hello World!"},
        {"Append", [](TString& s) { s.Append("!?", 1); }, "Hello World!"},
        {"WriteAt", [](TString& s) { s.WriteAt(0, "J", 1, false); }, "Jello World"},
        {"WriteAt end", [](TString& s) { s.WriteAt(-1, "!", 1, true); }, "Hello World!"},
        {"Reserve", [](TString& s) { s.Reserve(100); }, "Hello World"},
        {"ToLower", [](TString& s) { s.ToLower(); }, "hello world"},
        {"Erase", [](TString& s) { s.Erase(5); }, "Hello"},
        {"Replace", [](TString& s) { s.Replace("o", "0", TString::kReplaceAll); }, "Hell0 W0rld"},
        {"SetFormat", [](TString& s) { s.SetFormat("%d", 7); }, "7"},
        {"assign", [](TString& s) { s = "other"; }, "other"},
    };
    for (const Writer& w : writers) {
        SCOPED_TRACE(w.name);
        TString original("Hello World");
        const char* text = original.c_str();
        TString copy(original);
        ASSERT_EQ(copy.c_str(), text);  // shared until written
        w.write(copy);
        EXPECT_EQ(Bytes(copy), w.expected);
        EXPECT_EQ(Bytes(original), "Hello World");
        EXPECT_EQ(original.c_str(), text);

        // And the other way round: writing the original leaves the copy alone.
        TString second(original);
        w.write(original);
        EXPECT_EQ(Bytes(original), w.expected);
        EXPECT_EQ(Bytes(second), "Hello World");
    }
}

TEST(TString, AppendingItselfDoublesTheText) {
    TString s("abc");
    s += s;
    EXPECT_EQ(Bytes(s), "abcabc");
    TString big(std::string(40, 'x').c_str());
    big += big;
    EXPECT_EQ(Bytes(big), std::string(80, 'x'));
}

TEST(TString, ConcatenationMakesNewStrings) {
    TString a("foo");
    TString b = a + TString("bar");
    TString c = a + '!';
    EXPECT_EQ(Bytes(a), "foo");
    EXPECT_EQ(Bytes(b), "foobar");
    EXPECT_EQ(Bytes(c), "foo!");
    EXPECT_EQ(Bytes(TString() + TString()), "");
    EXPECT_EQ(Bytes(TString() + 'z'), "z");
}

TEST(TString, FindCharCases) {
    struct Case {
        const char* text;
        char c;
        int flags;
        int start;
        int expected;
    };
    const Case cases[] = {
        {"abc", 'a', 0, 0, 0},
        {"abc", 'c', 0, 0, 2},
        {"abc", 'b', 0, 2, -1},
        {"abc", 'A', 0, 0, -1},
        {"abc", 'A', TString::kIgnoreCase, 0, 0},
        {"abc", 'c', TString::kBackwards, 0, 2},
        {"abc", 'c', TString::kBackwards, 1, -1},
        {"abc", 'a', TString::kBackwards, 2, 0},
        {"abca", 'a', TString::kBackwards, 0, 3},
        {"abc", 'a', 0, 3, -1},
        {"abc", 'a', 0, -1, -1},
        {"abc", 'c', TString::kBackwards, -1, -1},
        {"abc", 'a', TString::kBackwards, -5, -1},
        {"", 'a', 0, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " '" << c.c << "' flags " << c.flags << " start " << c.start);
        EXPECT_EQ(TString(c.text).FindChar(c.c, c.flags, c.start), c.expected);
    }
}

TEST(TString, FindCases) {
    struct Case {
        const char* text;
        const char* needle;
        int flags;
        int start;
        int expected;
    };
    const int back = TString::kBackwards;
    const int icase = TString::kIgnoreCase;
    const Case cases[] = {
        {"abcABCabc", "abc", 0, 0, 0},
        {"abcABCabc", "abc", 0, 1, 6},
        {"abcABCabc", "ABC", 0, 0, 3},
        {"abcABCabc", "abc", icase, 1, 3},
        {"abcABCabc", "abc", back, 0, 6},
        {"abcABCabc", "abc", back, 1, 0},
        {"abcABCabc", "abc", back | icase, 1, 3},
        {"abc", "c", back, 0, 2},
        {"abc", "abcd", 0, 0, -1},
        {"abc", "x", 0, 0, -1},
        {"abc", "c", 0, 3, -1},
        {"abc", "a", 0, -1, -1},
        {"abc", "a", back, -1, -1},
        {"abc", "ab", back, 2, -1},
        {"abc", "", 0, 1, 1},
        {"", "", 0, 0, -1},
        {"", "a", back, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " / " << c.needle << " flags " << c.flags << " start " << c.start);
        EXPECT_EQ(TString(c.text).Find(c.needle, c.flags, c.start), c.expected);
    }
}

TEST(TString, ReplaceCases) {
    struct Case {
        const char* text;
        const char* search;
        const char* replacement;
        int flags;
        int start;
        const char* expected;
    };
    const int all = TString::kReplaceAll;
    const int back = TString::kBackwards;
    const int icase = TString::kIgnoreCase;
    const std::string longText(100, 'L');
    const Case cases[] = {
        {"one two one", "one", "1", 0, 0, "1 two one"},
        {"one two one", "one", "1", all, 0, "1 two 1"},
        {"one two one", "one", "1", 0, 1, "one two 1"},
        {"one two one", "one", "1", back, 0, "one two 1"},
        {"abab", "ab", "x", back | all, 0, "xx"},
        {"aaaa", "aa", "b", back | all, 0, "bb"},
        {"aaa", "a", "aa", all, 0, "aaaaaa"},
        {"aXa", "x", "--", icase, 0, "a--a"},
        {"One one ONE", "one", "2", icase | all, 0, "2 2 2"},
        {"a.b.c", ".", "::", all, 0, "a::b::c"},
        {"abc", "b", "", all, 0, "ac"},
        {"hello", "hello world", "x", all, 0, "hello"},
        {"ab", "b", longText.c_str(), 0, 0, nullptr},
        {"abc", "", "x", all, 0, "abc"},
        {"abc", "", "x", 0, 0, "abc"},
        {"", "", "x", all, 0, ""},
        {"", "a", "x", all, 0, ""},
        {"abc", "a", "x", 0, -1, "abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " / " << c.search << " flags " << c.flags);
        TString s(c.text);
        s.Replace(c.search, c.replacement, c.flags, c.start);
        EXPECT_EQ(Bytes(s), c.expected ? c.expected : "a" + longText);
    }
}

TEST(TString, ReplaceWithItselfAsArgument) {
    TString s("abc");
    s.Replace(s, TString("x"));
    EXPECT_EQ(Bytes(s), "x");
    TString t("ab");
    t.Replace(TString("b"), t, TString::kReplaceAll);
    EXPECT_EQ(Bytes(t), "aab");
}

TEST(TString, SubStringCases) {
    TString s("abcdef");
    EXPECT_EQ(Bytes(s.SubString(0)), "abcdef");
    EXPECT_EQ(Bytes(s.SubString(2, 3)), "cde");
    EXPECT_EQ(Bytes(s.SubString(4, 100)), "ef");
    EXPECT_EQ(Bytes(s.SubString(2, 0)), "");
    EXPECT_EQ(Bytes(s.SubString(6)), "");
    EXPECT_EQ(Bytes(TString("abc").SubString(5, -1)), "");
    EXPECT_EQ(Bytes(s.SubString(-1, 2)), "");
    EXPECT_EQ(Bytes(s.SubString(-100)), "");
}

TEST(TString, EraseCases) {
    struct Case {
        int position;
        int count;
        const char* expected;
    };
    const Case cases[] = {
        {0, 1, "bcdef"}, {2, 2, "abef"}, {3, -1, "abc"}, {3, 100, "abc"},
        {6, 1, "abcdef"}, {2, 0, "abcdef"}, {-1, 2, "abcdef"}, {-100, -1, "abcdef"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position << ", " << c.count);
        TString s("abcdef");
        s.Erase(c.position, c.count);
        EXPECT_EQ(Bytes(s), c.expected);
    }
}

TEST(TString, WriteAtGrowsAndZeroFillsTheGap) {
    TString s("abcdefgh");
    s.Erase(2);  // leaves the old bytes behind the terminator
    EXPECT_EQ(s.WriteAt(5, "XY", 2, true), 7);
    EXPECT_EQ(Bytes(s), "ab");
    EXPECT_EQ(std::memcmp(s.c_str(), "ab\0\0\0XY\0", 8), 0);

    TString t("ab");
    EXPECT_EQ(t.WriteAt(-1, "cd", 2, true), 4);
    EXPECT_EQ(Bytes(t), "abcd");
    EXPECT_EQ(t.WriteAt(1, "Z", 1, false), 2);
    EXPECT_EQ(Bytes(t), "aZcd");
    EXPECT_EQ(t.WriteAt(1, "Z", 1, true), 2);
    EXPECT_EQ(Bytes(t), "aZ");

    const std::string big(1000, 'q');
    TString u;
    EXPECT_EQ(u.WriteAt(0, big.data(), 1000, true), 1000);
    EXPECT_EQ(Bytes(u), big);
    EXPECT_EQ(u.WriteAt(-2, "x", 1, true), -1);
    EXPECT_EQ(u.WriteAt(0, "x", -1, true), -1);
    EXPECT_EQ(Bytes(u), big);
}

// The kept length must always be where the first NUL is, whatever wrote the
// bytes: writes that join bytes left behind the terminator, writes of a NUL,
// writes past the end.
TEST(TString, LengthFollowsTheFirstZeroAfterEveryWrite) {
    struct Step {
        const char* name;
        void (*apply)(TString&);
    };
    const Step steps[] = {
        {"erase tail", [](TString& s) { s.Erase(2); }},
        {"rejoin old bytes", [](TString& s) { s.WriteAt(2, "Q", 1, false); }},
        {"write a zero", [](TString& s) { s.WriteAt(1, "\0", 1, false); }},
        {"write past the end", [](TString& s) { s.WriteAt(s.Length() + 3, "zz", 2, false); }},
        {"append char", [](TString& s) { s += 'c'; }},
        {"append zero char", [](TString& s) { s += '\0'; }},
        {"append text", [](TString& s) { s += TString("tail"); }},
        {"append buffer with zero", [](TString& s) { s.Append("ab\0cd", 5); }},
        {"replace", [](TString& s) { s.Replace("a", "long", TString::kReplaceAll); }},
        {"terminate early", [](TString& s) { s.WriteAt(1, "x", 1, true); }},
        {"overwrite to the end", [](TString& s) { s.WriteAt(0, "abcdefghij", 10, false); }},
        {"reserve", [](TString& s) { s.Reserve(100); }},
        {"lower", [](TString& s) { s.ToLower(); }},
    };
    TString s("abcdefghij");
    TString shared = s;
    for (const Step& step : steps) {
        step.apply(s);
        EXPECT_EQ(s.Length(), static_cast<int>(std::strlen(s.c_str()))) << step.name;
        EXPECT_EQ(s.CharAt(s.Length()), 0) << step.name;
    }
    EXPECT_EQ(Bytes(shared), "abcdefghij");
    EXPECT_EQ((TString("ab") + '\0').Length(), 2);
    EXPECT_EQ(TString::Format("%s", std::string(5000, 'f').c_str()).Length(), 5000);
}

TEST(TString, ReserveKeepsTheText) {
    TString s("keep");
    s.Reserve(2);  // never shrinks below the text
    EXPECT_EQ(Bytes(s), "keep");
    s.Reserve(5000);
    s += " going";
    EXPECT_EQ(Bytes(s), "keep going");
}

TEST(TString, FormatAroundTheLocalBufferSize) {
    for (size_t length : {size_t(0), size_t(1), size_t(4095), size_t(4096), size_t(4097), size_t(100 * 1024)}) {
        SCOPED_TRACE(length);
        const std::string body(length, 'f');
        TString s = TString::Format("%s", body.c_str());
        EXPECT_EQ(Bytes(s), body);
        TString t;
        t.SetFormat("<%s>", body.c_str());
        EXPECT_EQ(Bytes(t), "<" + body + ">");
    }
    EXPECT_EQ(Bytes(TString::Format("%d-%s-%.2f", 12, "x", 1.5)), "12-x-1.50");
}

TEST(TString, FromWideAcrossTheEncodingBoundaries) {
    struct Case {
        uint32_t codePoint;
        const char* expected;
    };
    const Case cases[] = {
        {0x41, "A"},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0x20AC, "\xE2\x82\xAC"},
        {0xD800, "\xED\xA0\x80"},
        {0xFEFF, ""},
        {0xFFFD, "\xEF\xBF\xBD"},
        {0xFFFE, ""},
        {0xFFFF, ""},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
        {0x110000, ""},
        {0xFFFFFFFF, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.codePoint);
        EXPECT_EQ(Bytes(TString::FromWide(c.codePoint)), c.expected);
    }
}

TEST(TString, ToLowerChangesOnlyLetters) {
    TString s("MiXeD 123 ABC");
    s.ToLower();
    EXPECT_EQ(Bytes(s), "mixed 123 abc");
}

}  // namespace
