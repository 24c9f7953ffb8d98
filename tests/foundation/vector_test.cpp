#include "foundation/vector.h"

#include <gtest/gtest.h>

namespace {

TEST(TVec2, Arithmetic) {
    TVec2 a(1, 2);
    TVec2 b(3, -4);
    EXPECT_EQ(a + b, TVec2(4, -2));
    EXPECT_EQ(a - b, TVec2(-2, 6));
    EXPECT_EQ(a * 2.0f, TVec2(2, 4));
    EXPECT_EQ(2.0f * a, TVec2(2, 4));
    EXPECT_EQ(-a, TVec2(-1, -2));
    EXPECT_FLOAT_EQ(TVec2::Dot(a, b), -5);
    TVec2 c = a;
    c += b;
    c -= TVec2(1, 1);
    c *= 3;
    c /= 2;
    EXPECT_EQ(c, TVec2(4.5f, -4.5f));
    EXPECT_TRUE(a != b);
    const float pair[] = {5, 6};
    EXPECT_EQ(TVec2(pair), TVec2(5, 6));
    EXPECT_EQ(TVec2(), TVec2(0, 0));
}

TEST(TVec2, LengthAndNormalize) {
    TVec2 v(3, 4);
    EXPECT_FLOAT_EQ(v.LengthSquared(), 25);
    EXPECT_FLOAT_EQ(v.Length(), 5);
    v.Normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
    TVec2 zero;
    zero.Normalize();
    EXPECT_EQ(zero, TVec2(0, 0));
}

TEST(TVec3, BuildAndAdd) {
    TVec3 v(TVec2(1, 2), 3);
    v += TVec3(1, 1, 1);
    EXPECT_EQ(v, TVec3(2, 3, 4));
    EXPECT_EQ(TVec3(), TVec3(0, 0, 0));
    EXPECT_EQ(TVec4(), TVec4(0, 0, 0, 0));
}

}  // namespace
