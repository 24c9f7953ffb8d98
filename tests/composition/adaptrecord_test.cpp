// Reading composition files into item records: the defaults of each kind,
// the attribute conversions and the files that hold nothing usable.
#include <gtest/gtest.h>

#include <string>

#include "foundation/xmlnode.h"
#include "game/composition/adaptrecord.h"

namespace {

std::vector<RAdaptRecord> Parse(const std::string& xml) {
    TXmlNode document;
    document.ParseString(xml.c_str(), static_cast<int>(xml.size()));
    return ParseAdaptRecords(document);
}

TEST(AdaptRecordTest, ABareTextGetsTheDefaults) {
    auto records = Parse("<adapt><text/></adapt>");
    ASSERT_EQ(records.size(), 1u);
    const RAdaptRecord& text = records[0];
    EXPECT_EQ(text.kind, RAdaptKind::kText);
    EXPECT_EQ(text.x, 0);
    EXPECT_EQ(text.y, 0);
    EXPECT_EQ(text.width, 800);
    EXPECT_EQ(text.height, 600);
    EXPECT_EQ(text.AlignFlags(), 1 + 4);
    EXPECT_STREQ(text.font.c_str(), "fonts/myriad_pro.mvec");
    EXPECT_EQ(text.fontSize, 20);
    EXPECT_EQ(text.padding, 0);
    EXPECT_EQ(text.alpha, 1.0f);
    EXPECT_EQ(text.color, TColor4f(0, 0, 0, 0));
    EXPECT_EQ(text.label.Length(), 0);
}

TEST(AdaptRecordTest, ItemsKeepFileOrderAndUnknownElementsAreSkipped) {
    auto records = Parse(
        "<other><text/></other>"
        "<adapt><sound source=\"a.ogg\"/><video/><image source=\"b.png\"/><anim source=\"c\"/><text label=\"d\"/></adapt>"
        "<adapt><text/></adapt>");
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].kind, RAdaptKind::kSound);
    EXPECT_EQ(records[1].kind, RAdaptKind::kImage);
    EXPECT_EQ(records[2].kind, RAdaptKind::kAnim);
    EXPECT_EQ(records[3].kind, RAdaptKind::kText);
    EXPECT_STREQ(records[0].source.c_str(), "a.ogg");
    EXPECT_STREQ(records[3].label.c_str(), "d");
}

TEST(AdaptRecordTest, EachKindReadsOnlyItsOwnAttributesAndTheLastRepeatWins) {
    auto records = Parse(
        "<adapt>"
        "<image x=\"5\" y=\"6\" source=\"i.png\" alpha=\"0.5\" scale=\"2\" width=\"7\" loop=\"1\" label=\"no\"/>"
        "<anim x=\"1\" y=\"2\" source=\"walk\" loop=\"1\" delay=\"250\" alpha=\"0.1\" scale=\"3\"/>"
        "<sound x=\"9\" source=\"s.ogg\" delay=\"100\" delay=\"200\" loop=\"1\" unknown=\"x\"/>"
        "<text source=\"no\" fontsize=\"31\" padding=\"4\" rotation=\"12.5\" font=\"f.mvec\" width=\"300\" height=\"40\"/>"
        "</adapt>");
    ASSERT_EQ(records.size(), 4u);
    const RAdaptRecord& image = records[0];
    EXPECT_EQ(image.x, 5);
    EXPECT_EQ(image.y, 6);
    EXPECT_EQ(image.alpha, 0.5f);
    EXPECT_EQ(image.scale, 2.0f);
    EXPECT_EQ(image.width, 800);
    EXPECT_FALSE(image.loop);
    EXPECT_EQ(image.label.Length(), 0);
    const RAdaptRecord& anim = records[1];
    EXPECT_EQ(anim.x, 1);
    EXPECT_TRUE(anim.loop);
    EXPECT_EQ(anim.delay, 250);
    EXPECT_EQ(anim.alpha, 1.0f);
    EXPECT_EQ(anim.scale, 1.0f);
    const RAdaptRecord& sound = records[2];
    EXPECT_EQ(sound.x, 0);
    EXPECT_EQ(sound.delay, 200);
    EXPECT_TRUE(sound.loop);
    const RAdaptRecord& text = records[3];
    EXPECT_EQ(text.source.Length(), 0);
    EXPECT_EQ(text.fontSize, 31);
    EXPECT_EQ(text.padding, 4);
    EXPECT_EQ(text.rotation, 12.5f);
    EXPECT_STREQ(text.font.c_str(), "f.mvec");
    EXPECT_EQ(text.width, 300);
    EXPECT_EQ(text.height, 40);
}

TEST(AdaptRecordTest, AlignmentWords) {
    const struct {
        const char* text;
        int horizontal;
        int vertical;
    } cases[] = {
        {"0", 0, 0},      {"left", 0, 4},     {"top", 1, 0},   {"1", 1, 4},   {"center", 1, 4},
        {"Center", 1, 4}, {"2", 2, 8},        {"right", 2, 4}, {"bottom", 1, 8}, {"", 1, 4},
        {"02", 1, 4},     {"RIGHT", 1, 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AdaptHorizontalAlign(c.text), c.horizontal) << c.text;
        EXPECT_EQ(AdaptVerticalAlign(c.text), c.vertical) << c.text;
    }
    auto records = Parse("<adapt><text halign=\"right\" valign=\"bottom\"/></adapt>");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].AlignFlags(), 2 + 8);
}

TEST(AdaptRecordTest, Colours) {
    const struct {
        const char* text;
        TColor4f colour;
    } cases[] = {
        {"#ff8000", TColor4f(1.0f, 128 / 255.0f, 0, 1)},
        {"FF8000", TColor4f(1.0f, 128 / 255.0f, 0, 1)},
        {"#0#0#0#0#0#1", TColor4f(0, 0, 1 / 255.0f, 1)},
        {"#fff", TColor4f(0, 0, 0, 0)},
        {"#ff80001", TColor4f(0, 0, 0, 0)},
        {"", TColor4f(0, 0, 0, 0)},
        {"#gg0000", TColor4f(0, 0, 0, 0)},
        {"#-10000", TColor4f(0, 0, 0, 0)},
    };
    for (const auto& c : cases) EXPECT_EQ(AdaptColor(c.text), c.colour) << c.text;
    EXPECT_NEAR(AdaptColor("#ff8000").g, 0.502f, 0.001f);
}

TEST(AdaptRecordTest, NumbersReadLikeAtoiAndLoopOnlyForOne) {
    EXPECT_EQ(AdaptInt("12abc"), 12);
    EXPECT_EQ(AdaptInt("abc"), 0);
    EXPECT_EQ(AdaptInt("-7"), -7);
    EXPECT_EQ(AdaptInt("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(AdaptInt("-99999999999999999999"), INT32_MIN);
    EXPECT_EQ(AdaptFloat("0.25x"), 0.25f);
    EXPECT_EQ(AdaptFloat("x"), 0.0f);
    auto records = Parse("<adapt><sound loop=\"true\"/><sound loop=\"1\"/><sound loop=\" 1\"/></adapt>");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_FALSE(records[0].loop);
    EXPECT_TRUE(records[1].loop);
    EXPECT_FALSE(records[2].loop);
}

TEST(AdaptRecordTest, FilesWithoutACompositionGiveNoItems) {
    for (const char* xml : {"", "<adapt/>", "<adapt>", "<other><adapt><text/></adapt></other>", "\x01\x02garbage<<",
                            "ZXML\xff\xff\xff\xff"}) {
        EXPECT_TRUE(Parse(xml).empty()) << xml;
    }
    TXmlNode missing;
    missing.LoadFile("::no/such/adapt.xml");
    EXPECT_TRUE(ParseAdaptRecords(missing).empty());
}

}  // namespace
