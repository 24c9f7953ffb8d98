// Render targets, fills into textures, the frame capture and the pixel-offset
// calibration of the display handler on OpenGL.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "graphics/texture.h"
#include "tests/graphics/dxgltesting.h"

namespace {

constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;

// Each channel within 2 of the expected one: blends of halves round either way.
::testing::AssertionResult Near(uint32_t actual, uint32_t expected) {
    for (int shift = 0; shift < 32; shift += 8) {
        int difference = static_cast<int>(actual >> shift & 255) - static_cast<int>(expected >> shift & 255);
        if (std::abs(difference) > 2) {
            return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

class RenderTargetGlTest : public DxGlTest {};

struct ModeCase {
    int mode;
    uint32_t drawn;  // where the half-transparent black quad was drawn
    uint32_t kept;   // beside it
};

TEST_F(RenderTargetGlTest, TheFiveModes) {
    // The back buffer starts transparent green, the texture half-transparent
    // blue; black is drawn at alpha 0.5 over the left half of the target.
    const ModeCase cases[] = {
        {0, 0xFF008000, kGreen},      // over the back buffer, opaque
        {1, 0x80008000, 0x0000FF00},  // the drawn alpha kept
        {2, 0xFF000080, kBlue},       // over the texture's old content, opaque
        {3, 0xFF000080, kBlue},
        {4, 0xFF0000FF, 0x000000FF},  // drawn brightness as alpha, colours kept
    };
    std::shared_ptr<TTexture> paint = TTexture::Create(4, 8, false);
    ASSERT_NE(paint, nullptr);
    ASSERT_TRUE(mRenderer->FillRect(TRect(0, 0, 4, 8), TColor4f(0, 0, 0, 1), paint));
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.mode);
        std::shared_ptr<TTexture> texture = TTexture::Create(8, 8, true);
        ASSERT_NE(texture, nullptr);
        ASSERT_TRUE(mRenderer->FillRect(TRect(0, 0, 8, 8), TColor4f(0, 0, 1, 0.5f), texture));
        ASSERT_TRUE(mRenderer->FillRect(TRect(0, 0, 800, 600), TColor4f(0, 1, 0, 0)));
        ASSERT_TRUE(mRenderer->BeginRenderTarget(texture, c.mode));
        ASSERT_TRUE(mRenderer->Begin2d());
        paint->DrawAt(2, 4, 0.5f, 1, 0, 0);
        mRenderer->End2d();
        mRenderer->EndRenderTarget();
        EXPECT_TRUE(Near(TexturePixel(texture, 0, 0), c.drawn));
        EXPECT_TRUE(Near(TexturePixel(texture, 3, 7), c.drawn));
        EXPECT_TRUE(Near(TexturePixel(texture, 4, 0), c.kept));
        EXPECT_TRUE(Near(TexturePixel(texture, 7, 7), c.kept));
    }
    EXPECT_EQ(mHandler->GetState().renderTargetMode, -1);
    EXPECT_EQ(mHandler->GetState().target, TRect(0, 0, 800, 600));
    EXPECT_FALSE(mDevice->GetStates().alphaSourceOver);
}

TEST_F(RenderTargetGlTest, ATargetLargerThanTheScreenTakesOnlyWhatFits) {
    std::shared_ptr<TTexture> texture = TTexture::Create(1024, 700, false);
    ASSERT_NE(texture, nullptr);
    ASSERT_TRUE(mRenderer->FillRect(TRect(0, 0, 1024, 700), TColor4f(0, 0, 1, 1), texture));
    ASSERT_TRUE(mRenderer->FillRect(TRect(0, 0, 800, 600), TColor4f(0, 1, 0, 1)));
    ASSERT_TRUE(mRenderer->BeginRenderTarget(texture, 0));
    EXPECT_EQ(mRenderer->GetViewport(), TRect(0, 0, 1024, 700));
    mRenderer->EndRenderTarget();
    EXPECT_EQ(mRenderer->GetViewport(), TRect(0, 0, 800, 600));
    EXPECT_EQ(TexturePixel(texture, 0, 0), kGreen);
    EXPECT_EQ(TexturePixel(texture, 799, 599), kGreen);
    EXPECT_EQ(TexturePixel(texture, 800, 0), kBlue);
    EXPECT_EQ(TexturePixel(texture, 0, 600), kBlue);
}

TEST_F(RenderTargetGlTest, FillsIntoTexturesAreClippedAndReplace) {
    std::shared_ptr<TTexture> texture = TTexture::Create(8, 8, true);
    ASSERT_NE(texture, nullptr);
    EXPECT_TRUE(mRenderer->FillRect(TRect(-4, -4, 2, 2), TColor4f(1, 0, 0, 1), texture));
    EXPECT_TRUE(mRenderer->FillRect(TRect(6, 6, 20, 20), TColor4f(0, 0, 0, 0), texture));
    EXPECT_TRUE(mRenderer->FillRect(TRect(9, 9, 20, 20), TColor4f(1, 1, 1, 1), texture));  // nothing left
    EXPECT_EQ(TexturePixel(texture, 1, 1), 0xFFFF0000u);
    EXPECT_EQ(TexturePixel(texture, 2, 2), 0u);  // created transparent black
    EXPECT_EQ(TexturePixel(texture, 7, 7), 0u);

    // While the texture is the open target its fill replaces what the target
    // holds, alpha included, and survives the copy at the end.
    ASSERT_TRUE(mRenderer->FillRect(TRect(0, 0, 800, 600), TColor4f(0, 1, 0, 1)));
    ASSERT_TRUE(mRenderer->BeginRenderTarget(texture, 1));
    EXPECT_TRUE(mRenderer->FillRect(TRect(2, 2, 4, 4), TColor4f(0, 0, 1, 0.5f), texture));
    mRenderer->EndRenderTarget();
    EXPECT_TRUE(Near(TexturePixel(texture, 2, 2), 0x800000FF));
    EXPECT_EQ(TexturePixel(texture, 1, 1), kGreen);
}

TEST_F(RenderTargetGlTest, TheFrameCaptureHoldsTheFinishedFrame) {
    std::shared_ptr<TTexture> capture = TTexture::Create(800, 600, false);
    ASSERT_NE(capture, nullptr);
    mRenderer->SetRootSizeSource([] { return TPoint(800, 600); });
    mRenderer->SetCaptureTexture(capture);
    ASSERT_EQ(mRenderer->GetCaptureTexture(), capture);
    ASSERT_TRUE(mRenderer->BeginDraw(true));
    mRenderer->FillRect(TRect(0, 0, 800, 600), TColor4f(0, 0, 1, 1));
    mRenderer->FillRect(TRect(10, 20, 30, 40), TColor4f(0, 1, 0, 1));
    mRenderer->EndDraw(true);
    EXPECT_EQ(mRenderer->GetCaptureTexture(), nullptr);
    EXPECT_EQ(TexturePixel(capture, 10, 20), kGreen);
    EXPECT_EQ(TexturePixel(capture, 29, 39), kGreen);
    EXPECT_EQ(TexturePixel(capture, 30, 40), kBlue);
    EXPECT_EQ(TexturePixel(capture, 799, 599), kBlue);
    EXPECT_FALSE(mRenderer->IsDrawing());
}

TEST_F(RenderTargetGlTest, TheCalibrationFindsTheClassicOffsetAndLeavesABlackScreen) {
    EXPECT_TRUE(mHandler->GetState().calibrated);
    EXPECT_EQ(mHandler->GetState().pixelOffset, -0.5f);
    EXPECT_EQ(Pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(Pixel(799, 599), 0xFF000000u);
    EXPECT_EQ(mRenderer->GetTexture(), nullptr);
    EXPECT_FALSE(mRenderer->IsDrawing());
}

}  // namespace
