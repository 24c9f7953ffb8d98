#include "foundation/color.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(TColor, FloatColourPacksWithTruncation) {
    EXPECT_EQ(TColor(TColor4f(1, 0.5f, 0, 1)).ARGB(), 0xFFFF7F00u);
    EXPECT_EQ(TColor(TColor4f(0, 0, 0, 0)).ARGB(), 0u);
    EXPECT_EQ(TColor(TColor4f(0.2f, 0.4f, 0.6f, 0.8f)).ARGB(), 0xCC336699u);
}

TEST(TColor, FloatChannelsOutsideTheRangeAreClamped) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(TColor(TColor4f(2, -1, 0.5f, 1.5f)).ARGB(), 0xFFFF007Fu);
    EXPECT_EQ(TColor(TColor4f(0, 1.001f, 0, 0)).ARGB(), 0x0000FF00u);
    EXPECT_EQ(TColor(TColor4f(nan, 1, nan, 1)).ARGB(), 0xFF00FF00u);
}

TEST(TColor, IntegerChannelsKeepTheirLowByte) {
    TColor c(0x1FF, 0x100, 0x7F, 0x80);
    EXPECT_EQ(c.ARGB(), 0x80FF007Fu);
    EXPECT_EQ(c.GetAlpha(), 0x80);
    EXPECT_EQ(c.GetRed(), 0xFF);
    EXPECT_EQ(c.GetGreen(), 0x00);
    EXPECT_EQ(c.GetBlue(), 0x7F);
    EXPECT_EQ(TColor().ARGB(), 0u);
    EXPECT_EQ(TColor(0x12345678u).GetRed(), 0x34);
}

TEST(TColor, SettersReplaceOneChannel) {
    TColor c(0x11223344u);
    c.SetAlpha(0xAA);
    EXPECT_EQ(c.ARGB(), 0xAA223344u);
    c.SetRed(0x1BB);
    EXPECT_EQ(c.ARGB(), 0xAABB3344u);
    c.SetGreen(-1);
    EXPECT_EQ(c.ARGB(), 0xAABBFF44u);
    c.SetBlue(0);
    EXPECT_EQ(c.ARGB(), 0xAABBFF00u);
}

TEST(TColor4f, InequalityIsExact) {
    TColor4f a(0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_FALSE(a != TColor4f(0.1f, 0.2f, 0.3f, 0.4f));
    EXPECT_TRUE(a != TColor4f(0.1f, 0.2f, 0.3f, 0.40001f));
    EXPECT_TRUE(a != TColor4f(0.1f, 0.2f, 0.31f, 0.4f));
}

}  // namespace
