// The mark-up state's stacks, nested deeper than they hold.
#include <gtest/gtest.h>

#include "graphics/text/textformat.h"

namespace {

TTextFont FontOfSize(int size) {
    return TTextFont{"face", size, TColor4f(1, 1, 1, 1)};
}

TEST(TextFormatTest, FortyNestedFontsReturnThroughTheirClosings) {
    TTextFormat format;
    format.Reset(FontOfSize(16));
    for (int size = 1; size <= 40; ++size) format.PushFont(FontOfSize(size));
    // The base and 31 pushes are stored; the rest are counted.
    EXPECT_EQ(format.GetFont().size, 31);
    for (int pop = 0; pop < 9; ++pop) format.PopFont();
    EXPECT_EQ(format.GetFont().size, 31);
    format.PopFont();
    EXPECT_EQ(format.GetFont().size, 30);
    for (int pop = 0; pop < 30; ++pop) format.PopFont();
    EXPECT_EQ(format.GetFont().size, 16);
    format.PopFont();
    EXPECT_EQ(format.GetFont().size, 16);
}

TEST(TextFormatTest, AlignmentStackKeepsItsBottomAndCountsOverflow) {
    TTextFormat format;
    format.Reset(FontOfSize(16));
    format.PopAlignment();
    EXPECT_EQ(format.GetAlignment(), TTextFormat::kAlignLeft);
    format.PushAlignment(TTextFormat::kAlignCentre);
    for (int push = 0; push < 40; ++push) format.PushAlignment(TTextFormat::kAlignRight);
    for (int pop = 0; pop < 40; ++pop) format.PopAlignment();
    EXPECT_EQ(format.GetAlignment(), TTextFormat::kAlignCentre);
}

TEST(TextFormatTest, ResetForgetsTheLastText) {
    TTextFormat format;
    format.Reset(FontOfSize(16));
    for (int push = 0; push < 40; ++push) format.PushFont(FontOfSize(9));
    format.bold = true;
    format.linkId = "x";
    format.outlineSize = 2;
    format.Reset(FontOfSize(12));
    EXPECT_EQ(format.GetFont().size, 12);
    format.PushFont(FontOfSize(5));
    format.PopFont();
    EXPECT_EQ(format.GetFont().size, 12);
    EXPECT_FALSE(format.bold);
    EXPECT_EQ(format.linkId.Length(), 0);
    EXPECT_EQ(format.outlineSize, 0);
    EXPECT_EQ(format.colour, TColor4f(1, 1, 1, 1));
}

}  // namespace
