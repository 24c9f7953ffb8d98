#include "graphics/text/vecfont.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/graphics/text/fonttesting.h"
#include "tests/support/luatesting.h"

namespace {

const int16_t kUnit = 128;

// Ascent 10, descent 3 (from 'g'; '_' and U+00E7 reach lower but do not count).
std::vector<TestGlyph> MetricGlyphs() {
    return {
        {' ', 0, 0, 4 * kUnit},
        {'W', -10 * kUnit, 0, 12 * kUnit, {kShapeFillStyle, 1, kShapeEnd}, kUnit, 11 * kUnit},
        {'_', 0, 5 * kUnit, 8 * kUnit},
        {'g', -6 * kUnit, 3 * kUnit, 7 * kUnit},
        {0xC7, -12 * kUnit, 4 * kUnit, 9 * kUnit},
        {0xC9, -13 * kUnit, 0, 9 * kUnit},
    };
}

TEST(VecFont, FindGlyphAtBothEndsAndPastThem) {
    TVecFont font(BuildFont(MetricGlyphs()));
    ASSERT_EQ(font.GetGlyphCount(), 6);
    struct Case {
        uint32_t code;
        int index;
    } cases[] = {{' ', 0}, {0xC9, 5}, {'W', 1}, {'g', 3}, {' ' - 1, -1}, {0xCA, -1}, {'A', -1}, {0, -1}};
    for (const Case& c : cases) EXPECT_EQ(font.FindGlyph(c.code), c.index) << c.code;
}

TEST(VecFont, MetricsFromTheRecords) {
    TVecFont font(BuildFont(MetricGlyphs()));
    EXPECT_FLOAT_EQ(font.GetAscent(), 10);
    EXPECT_FLOAT_EQ(font.GetDescent(), 3) << "'_' and codes past 127 are not part of the descent";
    EXPECT_FLOAT_EQ(font.GetLinePadding(true), 0.1875f * 13);
    EXPECT_FLOAT_EQ(font.GetLinePadding(false), 0.0625f * 13);
    EXPECT_FLOAT_EQ(TVecFont::GetContentFraction(), 0.8f);
    EXPECT_FLOAT_EQ(font.GetAdvance(1), 12);
    EXPECT_FLOAT_EQ(font.GetLeftExtent(1), 1);
    EXPECT_FLOAT_EQ(font.GetRightExtent(1), 11);
    EXPECT_FALSE(font.IsBold());
    EXPECT_FLOAT_EQ(font.GetBoldFactor(), 1);
    for (int index : {-1, 6}) {
        EXPECT_EQ(font.GetGlyphShape(index), nullptr);
        EXPECT_EQ(font.GetAdvance(index), 0);
        EXPECT_EQ(font.GetLeftExtent(index), 0);
        EXPECT_EQ(font.GetRightExtent(index), 0);
        EXPECT_EQ(font.GetFitScale(index), 1);
    }
    ASSERT_NE(font.GetGlyphShape(3), nullptr);
    EXPECT_EQ(font.GetGlyphShape(3)[0], kShapeFillStyle);
}

// The padded box reaches 10 + 2.4375 up and 3 + 0.8125 down.
TEST(VecFont, OnlyGlyphsTallerThanThePaddedBoxShrink) {
    TVecFont font(BuildFont(MetricGlyphs()));
    EXPECT_EQ(font.GetFitScale(font.FindGlyph('W')), 1.0f);
    EXPECT_EQ(font.GetFitScale(font.FindGlyph('g')), 1.0f);
    EXPECT_FLOAT_EQ(font.GetFitScale(font.FindGlyph('_')), 3.8125f / 5) << "below the padded descent";
    EXPECT_FLOAT_EQ(font.GetFitScale(font.FindGlyph(0xC7)), 3.8125f / 4) << "the larger overshoot decides";
    EXPECT_FLOAT_EQ(font.GetFitScale(font.FindGlyph(0xC9)), 12.4375f / 13);
}

TEST(VecFont, WrongMagicShortOrNoDataGivesAnEmptyFontAndALogLineEach) {
    std::vector<uint8_t> wrongMagic = BuildFont(MetricGlyphs());
    wrongMagic[3] = '3';
    std::vector<uint8_t> magicAlone(wrongMagic.begin(), wrongMagic.begin() + 4);
    magicAlone[3] = '4';
    std::vector<uint8_t> headerAlone = BuildFont(MetricGlyphs());
    headerAlone.resize(12);
    for (const std::vector<uint8_t>& data : {wrongMagic, magicAlone, headerAlone, std::vector<uint8_t>{}}) {
        TestLog log;
        TVecFont font(data);
        EXPECT_EQ(font.GetGlyphCount(), 0) << data.size();
        EXPECT_EQ(font.FindGlyph('W'), -1) << data.size();
        EXPECT_EQ(font.GetAscent(), 0) << data.size();
        EXPECT_EQ(font.GetDescent(), 0) << data.size();
        EXPECT_EQ(log.Count("TVecFont: malformed font data (" + std::to_string(data.size()) + " bytes)"), 1u);
    }
}

TEST(VecFont, MalformedFilesGiveAnEmptyFontAndALogLine) {
    std::vector<TestGlyph> glyphs = MetricGlyphs();
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
    } cases[] = {
        {"record table past the end", [](std::vector<uint8_t>& b) { b.resize(RecordField(4, 0)); }},
        {"glyph count past the end", [](std::vector<uint8_t>& b) { b[5] = 0x40; }},
        {"shape offset past the end", [](std::vector<uint8_t>& b) { b[RecordField(2, 17)] = 0x7F; }},
        {"shape offset inside the records", [](std::vector<uint8_t>& b) { b[RecordField(2, 14)] = 13; }},
        {"stream without its end", [](std::vector<uint8_t>& b) { b.back() = kShapeFillStyle; }},
        {"unknown opcode", [](std::vector<uint8_t>& b) { b[b.size() - 3] = 9; }},
        {"opcode zero", [](std::vector<uint8_t>& b) { b[b.size() - 3] = 0; }},
        {"codes out of order", [](std::vector<uint8_t>& b) { b[RecordField(3, 0)] = 'A'; }},
        {"no 'W'", [](std::vector<uint8_t>& b) { b[RecordField(1, 0)] = 'V'; }},
        {"no line height", [](std::vector<uint8_t>& b) { b[RecordField(1, 9)] = 0x0A; }},
    };
    for (const Case& c : cases) {
        TestLog log;
        std::vector<uint8_t> bytes = BuildFont(glyphs);
        c.damage(bytes);
        TVecFont font(bytes);
        EXPECT_EQ(font.GetGlyphCount(), 0) << c.what;
        EXPECT_EQ(font.FindGlyph('W'), -1) << c.what;
        EXPECT_EQ(font.GetGlyphShape(0), nullptr) << c.what;
        EXPECT_TRUE(log.Contains("TVecFont: malformed font data")) << c.what;
    }
}

TEST(VecFont, EveryOpcodeWithItsOperandsIsAccepted) {
    std::vector<TestGlyph> glyphs = MetricGlyphs();
    glyphs[2].shape = {kShapeNewGroup, kShapeColour, 1, 2, 3, kShapeFillStyle, 1, kShapeLineStyle, 1, kShapeMoveTo,
                       0, 0, 0, 0, kShapeLineTo, 0, 1, 0, 1, kShapeCurveTo, 0, 0, 0, 1, 0, 2, 0, 2, kShapeEnd};
    TVecFont font(BuildFont(glyphs));
    EXPECT_EQ(font.GetGlyphCount(), 6);
}

}  // namespace
