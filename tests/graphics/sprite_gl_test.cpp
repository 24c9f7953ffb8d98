// Pixel-accurate sprite hit tests through a render target on OpenGL.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "dxgltesting.h"
#include "graphics/sprite.h"
#include "graphics/texture.h"

namespace {

const TDrawState kIdentity(TVec2(0, 0), 1, 1, 0);

class SpriteGlTest : public DxGlTest {
protected:
    void SetUp() override {
        DxGlTest::SetUp();
        if (HasFatalFailure()) return;
        // Opaque white with a transparent hole at (4, 4)-(8, 8).
        mHoled = TTexture::Create(16, 16, true);
        ASSERT_NE(mHoled, nullptr);
        ASSERT_TRUE(mRenderer->FillRect(TRect(0, 0, 16, 16), TColor4f(1, 1, 1, 1), mHoled));
        ASSERT_TRUE(mRenderer->FillRect(TRect(4, 4, 8, 8), TColor4f(0, 0, 0, 0), mHoled));
        mSprite = TSprite::Create(0, mHoled);
        // Drawn over (92, 92)-(108, 108); the hole covers (96, 96)-(100, 100).
        mSprite->GetDrawState() = TDrawState(TVec2(100, 100), 1, 1, 0);
    }
    void TearDown() override {
        mSprite.reset();
        mHoled.reset();
        DxGlTest::TearDown();
    }

    bool Hit(int x, int y, int threshold) { return mSprite->HitTest(TPoint(x, y), kIdentity, threshold, -1); }

    std::shared_ptr<TTexture> mHoled;
    std::shared_ptr<TSprite> mSprite;
};

struct HitCase {
    int x, y, threshold;
    bool hit;
};

TEST_F(SpriteGlTest, OpaquePixelsHitAndTheHoleDoesNot) {
    const HitCase cases[] = {
        {92, 92, 1, true},   {107, 107, 255, true}, {95, 97, 1, true},    {96, 96, 1, false},
        {99, 99, 1, false},  {100, 99, 1, true},    {99, 100, 1, true},   {97, 97, 0, true},
        {97, 97, -1, true},  {91, 100, -1, false},  {108, 100, 1, false},
    };
    for (const HitCase& c : cases) {
        EXPECT_EQ(Hit(c.x, c.y, c.threshold), c.hit) << c.x << ", " << c.y << " at " << c.threshold;
    }
    EXPECT_FALSE(mRenderer->IsDrawing());
}

TEST_F(SpriteGlTest, RotatedAndMirroredSpritesMoveTheHole) {
    // Half a turn puts the hole at (100, 100)-(104, 104).
    mSprite->GetDrawState().matrix.Rotate(static_cast<float>(M_PI));
    EXPECT_TRUE(Hit(97, 97, 1));
    EXPECT_FALSE(Hit(101, 101, 1));
    EXPECT_FALSE(Hit(103, 103, 1));
    EXPECT_TRUE(Hit(104, 104, 1));

    // A horizontal mirror puts it at (100, 96)-(104, 100).
    mSprite->GetDrawState() = TDrawState(TVec2(100, 100), 1, 1, TDrawState::kMirrorHorizontal);
    EXPECT_TRUE(Hit(97, 97, 1));
    EXPECT_FALSE(Hit(101, 97, 1));
    EXPECT_TRUE(Hit(101, 101, 1));
}

TEST_F(SpriteGlTest, AChildBehindShowsThroughTheHoleUnlessTheParentIsHidden) {
    std::shared_ptr<TTexture> patch = TTexture::Create(4, 4, false);
    ASSERT_NE(patch, nullptr);
    std::shared_ptr<TSprite> behind = TSprite::Create(-1, patch);
    // Covers (96, 96)-(100, 100), the hole, from behind.
    behind->GetDrawState() = TDrawState(TVec2(-2, -2), 1, 1, 0);
    mSprite->AddChild(behind);
    EXPECT_TRUE(Hit(97, 97, 1));
    EXPECT_FALSE(mSprite->HitTest(TPoint(97, 97), kIdentity, 1, 0)) << "depth 0 leaves the child out";
    mSprite->SetVisible(false);
    EXPECT_FALSE(Hit(97, 97, -1));
    EXPECT_FALSE(Hit(93, 93, 1));
}

TEST_F(SpriteGlTest, TheDrawnAlphaIsMeasured) {
    mSprite->GetDrawState().alpha = 0.5f;
    EXPECT_TRUE(Hit(93, 93, 120));
    EXPECT_FALSE(Hit(93, 93, 136));
    // The parent's alpha multiplies in.
    TDrawState faint(TVec2(0, 0), 0.5f, 1, 0);
    EXPECT_TRUE(mSprite->HitTest(TPoint(93, 93), faint, 56, -1));
    EXPECT_FALSE(mSprite->HitTest(TPoint(93, 93), faint, 72, -1));
}

}  // namespace
