// The text layout's measurements, link queries and drawing, drawn into
// pixels in memory with the built-in font.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "graphics/render/renderbackend.h"
#include "graphics/render/renderer.h"
#include "graphics/text/markup.h"
#include "graphics/text/pixeltarget.h"
#include "graphics/text/qmminivecdraw.h"
#include "graphics/text/textlayout.h"
#include "tests/graphics/text/textlayouttesting.h"
#include "tests/support/luatesting.h"

namespace {

const TColor4f kRed(1, 0, 0, 1);

// The box of the pixels that hold any colour.
struct Ink {
    int count = 0;
    TRect box{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
};

Ink InkOf(const TPixelBuffer& buffer, uint32_t mask = 0x00FFFFFF) {
    Ink ink;
    for (int y = 0; y < buffer.GetHeight(); ++y) {
        for (int x = 0; x < buffer.GetWidth(); ++x) {
            if ((buffer.GetPixel(x, y) & mask) == 0) continue;
            ++ink.count;
            ink.box = TRect(std::min(ink.box.left, x), std::min(ink.box.top, y), std::max(ink.box.right, x + 1),
                            std::max(ink.box.bottom, y + 1));
        }
    }
    return ink;
}

int MaxChannel(const TPixelBuffer& buffer, int shift) {
    int most = 0;
    for (uint32_t pixel : buffer.GetPixels()) most = std::max(most, static_cast<int>((pixel >> shift) & 0xFF));
    return most;
}

class TextLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { TQmMiniVecDraw::SetInstance(&draw); }
    void TearDown() override { TQmMiniVecDraw::SetInstance(nullptr); }

    std::unique_ptr<TTextLayout> Make(const char* text, int width = 300, int height = 100, int flags = 0) {
        return std::make_unique<TTextLayout>(width, height, "", 16, kRed, flags, text, &fonts);
    }
    // Draws the layout at (x, y) into a fresh 400 x 200 buffer.
    std::unique_ptr<TPixelBuffer> DrawnAt(TTextLayout& layout, float x, float y, float scale = 1) {
        auto buffer = std::make_unique<TPixelBuffer>(400, 200);
        layout.Draw(TVec2(x, y), 1000, scale, 0, 1, buffer.get());
        return buffer;
    }

    TestLog log;
    TFontMap fonts{[](const TString&, std::string&) { return false; }};
    TRenderer renderer;
    TQmMiniVecDraw draw{renderer};
};

TEST_F(TextLayoutTest, AnEmptyTextHasNoLinesAndZeroExtents) {
    auto layout = Make("");
    EXPECT_TRUE(layout->GetLines().empty());
    EXPECT_EQ(layout->GetExtents(1), TRect(0, 0, 0, 0));
    EXPECT_EQ(layout->CountLinesFitting(1, 0), 0);
    EXPECT_EQ(InkOf(*DrawnAt(*layout, 10, 10)).count, 0);
}

TEST_F(TextLayoutTest, AnEscapedTextShowsItsTagsAsWritten) {
    const TString text = "<b>a</b><br><font size='40' face='x'>b\\<i>c<a id='x'>d\\";
    const TString escaped = EscapeMarkup(text);
    EXPECT_STREQ(escaped.c_str(), "\\<b>a\\</b>\\<br>\\<font size='40' face='x'>b\\\\\\<i>c\\<a id='x'>d\\\\");
    auto layout = Make(escaped.c_str(), 2000);
    ASSERT_EQ(layout->GetLines().size(), 1u);
    const std::vector<TTextRun>& runs = layout->GetLines()[0]->runs;
    ASSERT_FALSE(runs.empty());
    // The runs hold the whole text, up to the last backslash shown.
    EXPECT_EQ(runs.back().last, escaped.Length() - 1);
    for (const TTextRun& run : runs) {
        EXPECT_FALSE(run.bold || run.italic || run.underline);
        EXPECT_EQ(run.size, 16);
        EXPECT_EQ(run.linkId.Length(), 0);
    }
    // Unescaped, the same text breaks its line.
    EXPECT_EQ(Make(text.c_str(), 2000)->GetLines().size(), 2u);
}

TEST_F(TextLayoutTest, VerticalPlacementOfTheBlock) {
    struct Case {
        int flags;
        int top;
    };
    for (const Case& c : {Case{0, 0}, Case{TTextLayout::kVerticalCentre, 50 - 16}, Case{TTextLayout::kBottom, 100 - 32}}) {
        auto layout = Make("ab<br>cd", 300, 100, c.flags);
        TRect extents = layout->GetExtents(1);
        EXPECT_EQ(extents.top, c.top) << c.flags;
        EXPECT_EQ(extents.bottom, c.top + 32) << c.flags;
        EXPECT_EQ(layout->GetExtents(2).bottom - layout->GetExtents(2).top, 64) << c.flags;
    }
}

TEST_F(TextLayoutTest, HorizontalExtentsFollowTheAlignment) {
    auto left = Make("abc");
    auto centre = Make("abc", 300, 100, TTextLayout::kCentre);
    auto right = Make("abc", 300, 100, TTextLayout::kRight);
    TRect l = left->GetExtents(1);
    int width = l.right - l.left;
    // The first glyph's ink begins a pixel in.
    EXPECT_GE(l.left, 0);
    EXPECT_LE(l.left, 1);
    EXPECT_NEAR(centre->GetExtents(1).left, 150 - (width + 1) / 2, 1);
    EXPECT_NEAR(right->GetExtents(1).right, 299, 1);
    EXPECT_GE(right->GetExtents(1).left, 299 - width - 2);
}

TEST_F(TextLayoutTest, CountLinesFittingFindsTheLastPage) {
    auto layout = Make("1<br>2<br>3<br>4<br>5<br>6<br>7<br>8<br>9<br>10", 300, 50);
    // From the bottom: 16, 32, 48, then 64 exceeds 50 at the seventh line.
    EXPECT_EQ(layout->CountLinesFitting(1, 0), 7);
    EXPECT_EQ(layout->CountLinesFitting(1, 4), 8);
    EXPECT_EQ(layout->CountLinesFitting(0.25f, 0), 0);
}

TEST_F(TextLayoutTest, DrawnTextPutsInkOnlyInsideItsExtents) {
    for (int flags : {0, TTextLayout::kCentre | TTextLayout::kVerticalCentre, TTextLayout::kRight | TTextLayout::kBottom}) {
        auto layout = Make("Wag <b>bold</b> <i>Italic</i><br><outline color='#0000ff' size='1'>Jolly</outline> <u>q</u>",
                           300, 100, flags);
        Ink ink = InkOf(*DrawnAt(*layout, 20, 30));
        TRect extents = layout->GetExtents(1);
        ASSERT_GT(ink.count, 200) << flags;
        // Anti-aliased edges and strokes reach a pixel or two beyond.
        EXPECT_GE(ink.box.left, 20 + extents.left - 2) << flags;
        EXPECT_LE(ink.box.right, 20 + extents.right + 2) << flags;
        EXPECT_GE(ink.box.top, 30 + extents.top - 1) << flags;
        EXPECT_LE(ink.box.bottom, 30 + extents.bottom + 1) << flags;
    }
}

TEST_F(TextLayoutTest, AFontColourEndingIn80DrawsAtAboutHalfAlpha) {
    auto opaque = Make("<font color='#ff0000ff'>MMMM");
    auto half = Make("<font color='#ff000080'>MMMM");
    EXPECT_EQ(MaxChannel(*DrawnAt(*opaque, 10, 10), 16), 255);
    EXPECT_NEAR(MaxChannel(*DrawnAt(*half, 10, 10), 16), 128, 3);
}

TEST_F(TextLayoutTest, ALinkColourShowsOnlyWhileHovered) {
    auto layout = Make("ab <a id='go' color='#00ff00'>MMMM</a>");
    const TTextRun& link = layout->GetLines()[0]->runs[1];
    TPoint over(static_cast<int>((link.startX + link.endX) / 2), 8);
    const uint32_t green = 0x0000FF00;
    EXPECT_EQ(InkOf(*DrawnAt(*layout, 0, 0), green).count, 0);

    EXPECT_TRUE(layout->SetHoverPoint(over));
    EXPECT_FALSE(layout->SetHoverPoint(over));
    EXPECT_GT(InkOf(*DrawnAt(*layout, 0, 0), green).count, 20);

    EXPECT_TRUE(layout->SetHoverPoint(TPoint(1, 8)));
    EXPECT_EQ(InkOf(*DrawnAt(*layout, 0, 0), green).count, 0);
}

TEST_F(TextLayoutTest, LinksUnderPoints) {
    auto layout = Make("ab <a id='go'>link</a><br><a id='two'>xy</a>");
    const TTextLine& first = *layout->GetLines()[0];
    int overLink = static_cast<int>((first.runs[1].startX + first.runs[1].endX) / 2);
    struct Case {
        TPoint point;
        int spacing;
        const char* link;
    };
    const Case cases[] = {
        {TPoint(overLink, 5), 0, "go"},  {TPoint(3, 5), 0, ""},      {TPoint(4, 20), 0, "two"},
        {TPoint(4, 40), 0, ""},          {TPoint(4, 37), 4, ""},     {TPoint(4, 17), 4, "two"}, {TPoint(4, 40), 10, "two"},
        {TPoint(overLink, -1), 0, ""},   {TPoint(250, 5), 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(layout->GetLinkAt(c.point, c.spacing).c_str(), c.link)
            << c.point.x << "," << c.point.y << " spacing " << c.spacing;
    }
}

TEST_F(TextLayoutTest, RedrawingAnUnchangedTextLaysNothingOut) {
    auto layout = Make("some <b>text</b>");
    EXPECT_TRUE(layout->IsDirty());
    DrawnAt(*layout, 0, 0);
    const TTextLine* line = layout->GetLines()[0].get();
    layout->SetText("some <b>text</b>");
    layout->SetColor(kRed);
    layout->SetSize(300, 100);
    EXPECT_FALSE(layout->IsDirty());
    DrawnAt(*layout, 0, 0);
    EXPECT_EQ(layout->GetLines()[0].get(), line);

    layout->SetLineHeight(30);
    EXPECT_TRUE(layout->IsDirty());
    EXPECT_EQ(layout->GetLines()[0]->height, 30);
}

TEST_F(TextLayoutTest, UnderlineSitsBelowTheBaselineAndANegativeScaleDrawsNothing) {
    auto layout = Make("<u>MM</u>");
    auto plain = Make("MM");
    const TTextLine& line = *layout->GetLines()[0];
    int row = line.baseline / 4 + 2;
    int middle = static_cast<int>((line.runs[0].startX + line.runs[0].endX) / 2);
    EXPECT_NE(DrawnAt(*layout, 0, 0)->GetPixel(middle, row) & 0xFFFFFF, 0u);
    EXPECT_GT(InkOf(*DrawnAt(*layout, 0, 0)).count, InkOf(*DrawnAt(*plain, 0, 0)).count);
    EXPECT_EQ(InkOf(*DrawnAt(*layout, 0, 0, -1)).count, 0);
}

TEST_F(TextLayoutTest, RotatedTextTurnsAboutItsOrigin) {
    auto layout = Make("MMMMMMMM");
    Ink upright = InkOf(*DrawnAt(*layout, 100, 20));
    layout->SetRotation(90, 0, 0);
    Ink turned = InkOf(*DrawnAt(*layout, 100, 20));
    EXPECT_GT(upright.box.right - upright.box.left, upright.box.bottom - upright.box.top);
    EXPECT_GT(turned.box.bottom - turned.box.top, turned.box.right - turned.box.left);
    // Turned clockwise about (100, 20): the text runs down, left of the origin.
    EXPECT_GE(turned.box.top, 20 - 1);
    EXPECT_LE(turned.box.right, 100 + 1);
}

TEST_F(TextLayoutTest, DrawingStopsAtTheFirstLineBelowTheClipHeight) {
    auto layout = Make("a<br>b<br>c");
    TPixelBuffer buffer(400, 200);
    layout->Draw(TVec2(0, 0), 40, 1, 0, 1, &buffer);
    Ink ink = InkOf(buffer);
    EXPECT_LE(ink.box.bottom, 32 + 1);
    EXPECT_GT(ink.box.bottom, 16);
}

TEST_F(TextLayoutTest, ScrollingStartsAtTheFirstVisibleLine) {
    auto layout = Make("a<br>b<br>c");
    layout->SetFirstVisibleLine(1);
    TRect extents = layout->GetExtents(1);
    Ink ink = InkOf(*DrawnAt(*layout, 0, 0));
    EXPECT_LE(ink.box.bottom, 32 + 1);
    EXPECT_NE(extents.right, 0);
    // Half a line further up.
    layout->SetFirstVisibleLine(1.5f);
    EXPECT_LT(InkOf(*DrawnAt(*layout, 0, 0)).box.top, ink.box.top);
}

}  // namespace
