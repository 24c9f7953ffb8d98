#include "graphics/render/drawstate.h"

#include <gtest/gtest.h>

namespace {

void ExpectMatrix(const TMat3& actual, const TMat3& expected) {
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            EXPECT_NEAR(actual.m[row][column], expected.m[row][column], 1e-6f) << row << ", " << column;
        }
    }
}

TEST(TDrawState, ConstructionScalesOnlyForScalesOtherThanOne) {
    TDrawState plain(TVec2(30, 40), 0.5f, 1.0f, TDrawState::kMirrorVertical);
    ExpectMatrix(plain.matrix, TMat3(1, 0, 0, 0, 1, 0, 30, 40, 1));
    EXPECT_EQ(plain.alpha, 0.5f);
    EXPECT_EQ(plain.flags, TDrawState::kMirrorVertical);
    EXPECT_EQ(plain.pivot, TVec2());
    EXPECT_EQ(plain.color, TColor4f(1, 1, 1, 1));
    EXPECT_EQ(plain.sourceRect, TRect());
    EXPECT_EQ(plain.blendMode, TDrawState::kInheritBlend);

    TDrawState scaled(TVec2(-5, 6), 1, 2.5f, 0);
    ExpectMatrix(scaled.matrix, TMat3(2.5f, 0, 0, 0, 2.5f, 0, -5, 6, 1));
}

TEST(TDrawState, AssignCopiesEveryField) {
    TDrawState source(TVec2(1, 2), 0.25f, 3, TDrawState::kUseSourceRect | TDrawState::kUsePivot);
    source.pivot = TVec2(7, 8);
    source.color = TColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    source.sourceRect = TRect(1, 2, 3, 4);
    source.blendMode = 2;
    TDrawState copy(TVec2(), 1, 1, 0);
    copy.Assign(source);
    ExpectMatrix(copy.matrix, source.matrix);
    EXPECT_EQ(copy.pivot, source.pivot);
    EXPECT_EQ(copy.color, source.color);
    EXPECT_EQ(copy.alpha, source.alpha);
    EXPECT_EQ(copy.sourceRect, source.sourceRect);
    EXPECT_EQ(copy.flags, source.flags);
    EXPECT_EQ(copy.blendMode, source.blendMode);
}

struct ComposeCase {
    const char* name;
    int childFlags;
    int parentFlags;
    int childBlend;
    int parentBlend;
    int flags;
    int blend;
};

TEST(TDrawState, ComposeCombinesFlagsAndBlendModes) {
    const int kH = TDrawState::kMirrorHorizontal;
    const int kV = TDrawState::kMirrorVertical;
    const int kRect = TDrawState::kUseSourceRect;
    const int kPivot = TDrawState::kUsePivot;
    const int kInherit = TDrawState::kInheritBlend;
    const ComposeCase cases[] = {
        {"horizontal under horizontal cancels", kH, kH, kInherit, kInherit, 0, kInherit},
        {"mirrors accumulate", kV, kH, kInherit, kInherit, kH | kV, kInherit},
        {"the parent's source rectangle and pivot stay its own", 0, kRect | kPivot | kV, kInherit, kInherit, kV,
         kInherit},
        {"the child's source rectangle and pivot stay", kRect | kPivot, 0, kInherit, kInherit, kRect | kPivot,
         kInherit},
        {"an inheriting child takes the parent's blend mode", 0, 0, kInherit, 0, 0, 0},
        {"a child's own blend mode stays", 0, 0, 2, 0, 0, 2},
        {"inherit under inherit stays inherit", 0, 0, kInherit, kInherit, 0, kInherit},
    };
    for (const ComposeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TDrawState child(TVec2(), 1, 1, c.childFlags);
        child.blendMode = c.childBlend;
        TDrawState parent(TVec2(), 1, 1, c.parentFlags);
        parent.blendMode = c.parentBlend;
        TDrawState result = TDrawState::Compose(child, parent);
        EXPECT_EQ(result.flags, c.flags);
        EXPECT_EQ(result.blendMode, c.blend);
    }
}

TEST(TDrawState, ComposePlacesTheChildWithinItsParent) {
    TDrawState child(TVec2(10, 0), 0.5f, 2, 0);
    child.pivot = TVec2(3, 4);
    child.color = TColor4f(1, 0, 0, 1);
    child.sourceRect = TRect(0, 0, 16, 16);
    TDrawState parent(TVec2(100, 50), 0.4f, 1, 0);
    parent.matrix.Rotate(1.57079632679f);
    parent.color = TColor4f(0, 1, 0, 0.5f);

    TDrawState result = TDrawState::Compose(child, parent);
    // The child's scale and move first, then the parent's turn and move.
    TVec2 point = result.matrix.TransformPoint(TVec2(1, 0));
    EXPECT_NEAR(point.x, 100, 1e-4f);
    EXPECT_NEAR(point.y, 62, 1e-4f);
    EXPECT_FLOAT_EQ(result.alpha, 0.2f);
    EXPECT_EQ(result.pivot, TVec2(3, 4));
    EXPECT_EQ(result.color, TColor4f(1, 0, 0, 1)) << "the parent's colour is not combined";
    EXPECT_EQ(result.sourceRect, TRect(0, 0, 16, 16));
}

}  // namespace
