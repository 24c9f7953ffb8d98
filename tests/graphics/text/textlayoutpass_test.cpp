// The layout pass: runs from tags, fallback glyphs, wrapping and alignment.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "graphics/text/vecfont.h"
#include "tests/graphics/text/textlayouttesting.h"
#include "tests/support/luatesting.h"

namespace {

const TColor4f kWhite(1, 1, 1, 1);

class TextLayoutPassTest : public ::testing::Test {
protected:
    TTextLayoutPass::TLines Lay(const std::string& text, int width = 1000, int flags = 0, bool legacy = false,
                                const char* face = "") {
        mText = TString(text.data(), static_cast<int>(text.size()));
        return TTextLayoutPass(mText, width, TTextFont{face, 16, kWhite}, flags, fonts, legacy).Run();
    }
    std::vector<std::string> Texts(const TTextLayoutPass::TLines& lines) const {
        std::vector<std::string> texts;
        for (const auto& line : lines) texts.push_back(LineText(mText, *line));
        return texts;
    }
    // The pen after the text on one line, in pixels.
    float Width(const std::string& text) { return Lay(text)[0]->GetWidth(); }

    TestLog log;
    TFontMap fonts{SmallFaceReader()};
    TString mText;
};

TEST_F(TextLayoutPassTest, AnEmptyTextHasNoLines) {
    EXPECT_TRUE(Lay("").empty());
}

TEST_F(TextLayoutPassTest, TagsCloseRunsAndSetTheirStyle) {
    auto lines = Lay("<bold>x</b>y<br pad='5'>z<i>w");
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0]->runs.size(), 2u);
    EXPECT_TRUE(lines[0]->runs[0].bold);
    EXPECT_FALSE(lines[0]->runs[1].bold);
    EXPECT_EQ(lines[0]->height, 16 + 5);
    EXPECT_EQ(lines[1]->height, 16);
    ASSERT_EQ(lines[1]->runs.size(), 2u);
    EXPECT_TRUE(lines[1]->runs[1].italic);
    // Entering italic moves the pen on.
    EXPECT_GT(lines[1]->runs[1].startX, lines[1]->runs[0].endX);
    EXPECT_EQ(Texts(lines), (std::vector<std::string>{"xy", "zw"}));
}

TEST_F(TextLayoutPassTest, AnyTagBeginningWithAIsALinkWithItsHoverColour) {
    auto lines = Lay("<abc id='go' color='#00ff00'>x</a>y");
    ASSERT_EQ(lines[0]->runs.size(), 2u);
    const TTextRun& link = lines[0]->runs[0];
    EXPECT_STREQ(link.linkId.c_str(), "go");
    EXPECT_EQ(link.linkColour, TColor4f(0, 1, 0, 1));
    EXPECT_EQ(link.colour, kWhite);
    EXPECT_STREQ(lines[0]->runs[1].linkId.c_str(), "");
    EXPECT_EQ(lines[0]->runs[1].linkColour, kWhite);
}

TEST_F(TextLayoutPassTest, LiteralAngleBracketsAndBrokenInput) {
    struct Case {
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"\\<b>x", "<b>x"},
        {"a<b", "a<b"},
        {"ab\\", "ab"},
        {"a\xE2\x82", "a"},
        {"<zap>a<>b", "ab"},
    };
    for (const Case& c : cases) {
        auto lines = Lay(c.text);
        ASSERT_EQ(lines.size(), 1u) << c.text;
        EXPECT_EQ(Texts(lines)[0], c.shown) << c.text;
        for (const TTextRun& run : lines[0]->runs) EXPECT_FALSE(run.bold) << c.text;
    }
}

TEST_F(TextLayoutPassTest, FontTagsPushAndPop) {
    auto lines = Lay("</font>a<font size='30' color='#ff000080' face='small.mvec'>a</font>a");
    ASSERT_EQ(lines[0]->runs.size(), 3u);
    const TTextRun& base = lines[0]->runs[0];
    const TTextRun& pushed = lines[0]->runs[1];
    EXPECT_EQ(base.size, 16);
    EXPECT_EQ(base.colour, kWhite);
    EXPECT_EQ(base.font, fonts.Get(TFontMap::kDefaultFontName));
    EXPECT_EQ(pushed.size, 30);
    EXPECT_NEAR(pushed.colour.a, 0.5f, 0.01f);
    EXPECT_EQ(pushed.font, fonts.Get("small.mvec"));
    EXPECT_EQ(lines[0]->runs[2].size, 16);
    EXPECT_EQ(lines[0]->height, 30);
}

TEST_F(TextLayoutPassTest, FortyNestedFontTagsAndTheirClosings) {
    std::string text;
    for (int size = 1; size <= 40; ++size) text += "<font size='" + std::to_string(size) + "'>";
    text += "a";
    for (int pop = 0; pop < 9; ++pop) text += "</font>";
    text += "b</font>c";
    for (int pop = 0; pop < 30; ++pop) text += "</font>";
    text += "d</font></font>e";
    auto lines = Lay(text);
    std::vector<int> sizes;
    for (const TTextRun& run : lines[0]->runs) sizes.push_back(run.size);
    EXPECT_EQ(sizes, (std::vector<int>{31, 31, 30, 16, 16}));
}

TEST_F(TextLayoutPassTest, GlyphsMissingFromTheFaceComeFromTheDefaultFont) {
    auto lines = Lay("ab\xEE\x80\x80" "a", 1000, 0, false, "small.mvec");
    ASSERT_EQ(lines[0]->runs.size(), 3u);
    EXPECT_EQ(lines[0]->runs[0].fallbackFont, nullptr);
    EXPECT_EQ(lines[0]->runs[1].fallbackFont, fonts.Get(TFontMap::kDefaultFontFile));
    EXPECT_EQ(lines[0]->runs[2].fallbackFont, nullptr);
    // The private-use character is in neither font and is skipped.
    EXPECT_EQ(Texts(lines)[0], "aba");
    EXPECT_EQ(lines[0]->runs[1].endX, lines[0]->runs[2].startX);
}

TEST_F(TextLayoutPassTest, Wrapping) {
    int afterSpace = static_cast<int>(std::ceil(Width("aaaa ") + 2));
    int threeLetters = static_cast<int>(std::ceil(Width("abc") + 2));
    struct Case {
        std::string text;
        int width;
        bool legacy;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"aaaa bbbb", afterSpace, false, {"aaaa ", "bbbb"}},
        {"aaaa bb bbbb", afterSpace, false, {"aaaa ", "bb ", "bbbb"}},
        {"abcdefg", threeLetters, false, {"abc", "def", "g"}},
        {"abcdefg", threeLetters, true, {"abcd", "efg"}},
        {"abc", 1, false, {"a", "b", "c"}},
        // The legacy wrap keeps the overflowing character on its line.
        {"abc", 1, true, {"ab", "c"}},
        {"a\nb\n", 1000, false, {"a", "b"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Texts(Lay(c.text, c.width, 0, c.legacy)), c.lines) << c.text << " in " << c.width;
    }
}

TEST_F(TextLayoutPassTest, ALineBrokenAfterItsSpaceReadsTheFollowingTagsAgain) {
    int width = static_cast<int>(std::ceil(Width("aaaa ") + 2));
    for (const char* text : {"aaaa <b>bbbb", "aaaa<b> bbbb"}) {
        auto lines = Lay(text, width);
        ASSERT_EQ(lines.size(), 2u) << text;
        ASSERT_EQ(lines[1]->runs.size(), 1u) << text;
        EXPECT_TRUE(lines[1]->runs[0].bold) << text;
        EXPECT_EQ(Texts(lines)[1], "bbbb") << text;
    }
}

TEST_F(TextLayoutPassTest, AlignmentFromFlagsUntilALineHoldsATag) {
    auto lines = Lay("ab<br>c<right>d<br>e<br><center>f<br></center>g", 200, 1);
    ASSERT_EQ(lines.size(), 5u);
    float width = lines[0]->GetWidth();
    EXPECT_EQ(lines[0]->x, 100);
    EXPECT_FLOAT_EQ(lines[0]->origin, -width / 2);
    for (int i : {1, 2}) {
        EXPECT_EQ(lines[i]->x, 199) << i;
        EXPECT_FLOAT_EQ(lines[i]->origin, -lines[i]->GetWidth()) << i;
    }
    EXPECT_EQ(lines[3]->x, 100);
    // The closing tag pops back to the right alignment pushed before.
    EXPECT_EQ(lines[4]->x, 199);
}

TEST_F(TextLayoutPassTest, LineMetricsComeFromTheLargestRun) {
    auto lines = Lay("a<font size='40'>b</font>c<br>d");
    const TVecFont* font = fonts.Get(TFontMap::kDefaultFontName);
    float scale40 = TVecFont::GetContentFraction() * 40 * 4 / (font->GetAscent() + font->GetDescent());
    EXPECT_EQ(lines[0]->height, 40);
    EXPECT_EQ(lines[0]->baseline, static_cast<int>((font->GetAscent() + font->GetLinePadding(true)) * scale40));
    EXPECT_EQ(lines[1]->height, 16);
    // The first glyph's ink starts a pixel in.
    int glyph = font->FindGlyph('a');
    float scale16 = scale40 * 16 / 40;
    EXPECT_NEAR(lines[0]->runs[0].startX * 4 + font->GetLeftExtent(glyph) * scale16, 4, 1e-3);
}

}  // namespace
