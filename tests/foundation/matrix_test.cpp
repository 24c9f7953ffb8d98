#include "foundation/matrix.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const float kHalfPi = 1.57079632679f;

void ExpectPoint(const TVec2& actual, float x, float y) {
    EXPECT_NEAR(actual.x, x, 1e-5f);
    EXPECT_NEAR(actual.y, y, 1e-5f);
}

TEST(TMat3, TranslationLivesInTheThirdRow) {
    TMat3 m(1, 0, 0, 0, 1, 0, 10, 20, 1);
    ExpectPoint(m.TransformPoint(TVec2(1, 2)), 11, 22);
    TVec3 v = m.TransformVector(TVec3(1, 2, 0));
    EXPECT_EQ(v, TVec3(1, 2, 0));
    EXPECT_EQ(m.TransformVector(TVec3(1, 2, 1)), TVec3(11, 22, 1));
    m.SetIdentity();
    ExpectPoint(m.TransformPoint(TVec2(3, 4)), 3, 4);
}

TEST(TMat3, ProductAppliesTheLeftMatrixFirst) {
    TMat3 scale(2, 0, 0, 0, 3, 0, 0, 0, 1);
    TMat3 move(1, 0, 0, 0, 1, 0, 5, 7, 1);
    ExpectPoint((scale * move).TransformPoint(TVec2(1, 1)), 7, 10);
    ExpectPoint((move * scale).TransformPoint(TVec2(1, 1)), 12, 24);
    TMat3 m = scale;
    m *= move;
    ExpectPoint(m.TransformPoint(TVec2(1, 1)), 7, 10);
}

TEST(TMat3, RotateAndScaleActBeforeTheTranslation) {
    TMat3 m(1, 0, 0, 0, 1, 0, 10, 20, 1);
    m.Rotate(kHalfPi);
    ExpectPoint(m.TransformPoint(TVec2(1, 0)), 10, 21);
    m.Scale(2, 3);
    ExpectPoint(m.TransformPoint(TVec2(1, 0)), 10, 23);  // rotated, then scaled
    m.Scale(0.5f);
    ExpectPoint(m.TransformPoint(TVec2(1, 0)), 10, 21.5f);
    EXPECT_EQ(m.m[2][0], 10);
    EXPECT_EQ(m.m[2][1], 20);
}

TEST(TMat3, RotateClearsTheThirdColumnOfTheBlock) {
    TMat3 m(1, 0, 5, 0, 1, 6, 0, 0, 1);
    m.Rotate(0);
    EXPECT_EQ(m.m[0][2], 0);
    EXPECT_EQ(m.m[1][2], 0);
    EXPECT_EQ(m.m[2][2], 1);
}

TEST(TMat4, PerspectiveRows) {
    TMat4 m;
    m.SetPerspective(1, 11, kHalfPi, 4.0f / 3.0f, TVec2(0.5f, 0.5f));
    EXPECT_NEAR(m.m[0][0], 4.0f / 3.0f, 1e-5f);
    EXPECT_NEAR(m.m[1][1], 1, 1e-5f);
    EXPECT_FLOAT_EQ(m.m[2][0], -1);
    EXPECT_FLOAT_EQ(m.m[2][1], 1);
    EXPECT_FLOAT_EQ(m.m[2][2], 1.1f);
    EXPECT_FLOAT_EQ(m.m[2][3], 1);
    EXPECT_FLOAT_EQ(m.m[3][2], -1.1f);
    EXPECT_FLOAT_EQ(m.m[3][3], 0);
    EXPECT_FLOAT_EQ(m.m[0][1], 0);
    EXPECT_FLOAT_EQ(m.m[3][0], 0);
}

TEST(TMat4, ShiftAtTheEdgeGivesTheLargeConstant) {
    TMat4 m;
    for (TVec2 shift : {TVec2(1, -1), TVec2(-1, 1)}) {
        m.SetPerspective(1, 100, kHalfPi, 1, shift);
        EXPECT_EQ(m.m[2][0], -10000);
        EXPECT_EQ(m.m[2][1], -10000);
    }
    m.SetPerspective(1, 100, kHalfPi, 1, TVec2(0, 0));
    EXPECT_EQ(m.m[2][0], 0);
    EXPECT_EQ(m.m[2][1], 0);
}

}  // namespace
