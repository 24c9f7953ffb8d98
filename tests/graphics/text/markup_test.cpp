// Reading tags, colour values and UTF-8 characters of marked-up text.
#include <gtest/gtest.h>

#include <string>

#include "graphics/text/markup.h"

namespace {

TEST(MarkupTagTest, NamesMatchByPrefixInTableOrder) {
    struct Case {
        const char* text;
        TMarkupTag::TKind kind;
    };
    const Case cases[] = {
        {"<br>", TMarkupTag::kBreak},          {"<BR pad='3'>", TMarkupTag::kBreak},
        {"<b>", TMarkupTag::kBold},            {"<bold>", TMarkupTag::kBold},
        {"<blink>", TMarkupTag::kBold},        {"<a id='x'>", TMarkupTag::kLink},
        {"<anchor>", TMarkupTag::kLink},       {"</a>", TMarkupTag::kEndLink},
        {"</b>", TMarkupTag::kEndBold},        {"<cursor>", TMarkupTag::kCursor},
        {"<center>", TMarkupTag::kCenter},     {"</center>", TMarkupTag::kEndCenter},
        {"<right>", TMarkupTag::kRight},       {"</left>", TMarkupTag::kEndLeft},
        {"<font size='3'>", TMarkupTag::kFont}, {"</font>", TMarkupTag::kEndFont},
        {"<outline>", TMarkupTag::kOutline},   {"</outline>", TMarkupTag::kEndOutline},
        {"<tab pos='150'>", TMarkupTag::kTab}, {"</p>", TMarkupTag::kEndParagraph},
        {"<zap>", TMarkupTag::kUnknown},       {"<>", TMarkupTag::kUnknown},
    };
    for (const Case& c : cases) {
        TMarkupTag tag;
        int end = 0;
        ASSERT_TRUE(tag.Read(c.text, 0, end)) << c.text;
        EXPECT_EQ(tag.GetKind(), c.kind) << c.text;
        EXPECT_EQ(end, static_cast<int>(std::string(c.text).size())) << c.text;
    }
}

TEST(MarkupTagTest, AnUnterminatedTagIsNoTag) {
    TMarkupTag tag;
    int end = -1;
    EXPECT_FALSE(tag.Read("a<b", 1, end));
    EXPECT_FALSE(tag.Read("<", 0, end));
    EXPECT_EQ(end, -1);
}

TEST(MarkupTagTest, SpacesDropOutsideQuotesAndValuesKeepTheirCase) {
    TMarkupTag tag;
    int end = 0;
    ASSERT_TRUE(tag.Read("<FONT Face='My Font' SIZE = \"20\" color='#AbCdEf'>x", 0, end));
    // A space inside a value lowers what follows it again; each value is
    // read within its own quotes, single or double.
    EXPECT_STREQ(tag.GetText().c_str(), "fontface='My font'size=\"20\"color='#AbCdEf'");
    EXPECT_STREQ(tag.GetAttribute("face").c_str(), "My font");
    EXPECT_EQ(tag.GetIntAttribute("size", 0), 20);
    EXPECT_STREQ(tag.GetAttribute("color").c_str(), "#AbCdEf");
    EXPECT_STREQ(tag.GetAttribute("pad").c_str(), "");
    EXPECT_EQ(tag.GetIntAttribute("pad", 7), 7);
    EXPECT_EQ(end, 49);
}

TEST(MarkupTagTest, ATagEndsAfterItsLongestLength) {
    std::string text = "<" + std::string(200, 'x') + ">";
    TMarkupTag tag;
    int end = 0;
    ASSERT_TRUE(tag.Read(text.c_str(), 0, end));
    EXPECT_EQ(tag.GetText().Length(), TMarkupTag::kMaxLength);
    EXPECT_EQ(end, 1 + TMarkupTag::kMaxLength);
}

TEST(MarkupColorTest, ValuesOfSixAndEightDigits) {
    struct Case {
        const char* value;
        bool allowAlpha;
        TColor4f colour;
    };
    const Case cases[] = {
        {"#ff0000", false, TColor4f(1, 0, 0, 1)},
        {"00FF00", false, TColor4f(0, 1, 0, 1)},
        {"#0000ff80", true, TColor4f(0, 0, 1, 128 / 255.0f)},
        {"0000ff80", false, TColor4f(0, 0, 1, 1)},
        {"#0000ff8", true, TColor4f(0, 0, 1, 1)},
        // Short values are read as far as they go.
        {"#f", false, TColor4f(0xf0 / 255.0f, 0, 0, 1)},
        {"ff80", true, TColor4f(1, 128 / 255.0f, 0, 1)},
    };
    for (const Case& c : cases) {
        TColor4f colour;
        ASSERT_TRUE(ParseMarkupColor(c.value, c.allowAlpha, colour)) << c.value;
        EXPECT_EQ(colour, c.colour) << c.value;
    }
    TColor4f untouched(0.5f, 0.5f, 0.5f, 0.5f);
    EXPECT_FALSE(ParseMarkupColor("", true, untouched));
    EXPECT_FALSE(ParseMarkupColor("#", true, untouched));
    EXPECT_EQ(untouched, TColor4f(0.5f, 0.5f, 0.5f, 0.5f));
}

TEST(MarkupUtf8Test, DecodesWithinTheText) {
    struct Case {
        std::string text;
        uint32_t code;
        int next;
    };
    const Case cases[] = {
        {"A", 'A', 1},
        {"\xC3\xA9", 0xE9, 2},
        {"\xE2\x82\xAC", 0x20AC, 3},
        {"\xF0\x9F\x98\x80", 0x1F600, 4},
        // Cut off by the end: one byte skipped, nothing read past the end.
        {"\xE2\x82", kNoCharacter, 1},
        {"\xF0", kNoCharacter, 1},
        // A broken continuation or a stray one.
        {"\xC3" "A", kNoCharacter, 1},
        {"\x80", kNoCharacter, 1},
        {"\xFF", kNoCharacter, 1},
    };
    for (const Case& c : cases) {
        TString text(c.text.data(), static_cast<int>(c.text.size()));
        uint32_t code = 0;
        EXPECT_EQ(DecodeUtf8(text, 0, code), c.next) << c.text;
        EXPECT_EQ(code, c.code) << c.text;
    }
}

}  // namespace
