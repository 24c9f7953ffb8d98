// Render targets, the frame capture and the calibration on the recording
// device, where results can be scripted.
#include <gtest/gtest.h>

#include <memory>

#include "displaytesting.h"
#include "graphics/display/dxdisplayhandler.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"

namespace {

using display::Result;

// The handler as the renderer's back end with an 800x600 window.
class RenderTargetTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        auto handler = std::make_unique<TDxDisplayHandler>(mDevice, mHost);
        mHandler = handler.get();
        mRenderer = TRenderer::GetInstance();
        mRenderer->SetBackEnd(std::move(handler));
        mHandler->SetDisplay(800, 600, false, false, false, false);
        ASSERT_TRUE(mHandler->IsDeviceReady());
    }
    void TearDown() override {
        TRenderer::DestroyInstance();
        DisplayTest::TearDown();
    }

    TDxDisplayHandler* mHandler = nullptr;
    TRenderer* mRenderer = nullptr;
};

TEST_F(RenderTargetTest, ARefusedTargetLeavesViewportScaleAndStatesAsTheyWere) {
    std::shared_ptr<TTexture> texture = TTexture::Create(64, 64, true);
    ASSERT_NE(texture, nullptr);
    mRenderer->PushViewport(TRect(10, 10, 300, 200));
    mHost.viewScale = mHost.savedViewScale = 1.5f;
    int invalidations = mHost.invalidations;
    mDevice.Script("BeginScene", Result::Failed);
    EXPECT_FALSE(mRenderer->BeginRenderTarget(texture, 2));
    EXPECT_FALSE(mRenderer->IsDrawing());
    const TDxDisplayState& state = mHandler->GetState();
    EXPECT_EQ(state.viewport, TRect(10, 10, 300, 200));
    EXPECT_EQ(state.viewportStack.size(), 1u);
    EXPECT_EQ(state.target, TRect(0, 0, 800, 600));
    EXPECT_EQ(state.renderTargetMode, -1);
    EXPECT_EQ(state.renderTarget, nullptr);
    EXPECT_EQ(mHost.viewScale, 1.5f);
    EXPECT_GT(mHost.invalidations, invalidations);  // asked before the frame failed
    // The next attempt goes through, at scale 1 while it lasts.
    ASSERT_TRUE(mRenderer->BeginRenderTarget(texture, 2));
    EXPECT_EQ(mHost.viewScale, 1.0f);
    EXPECT_TRUE(mDevice.GetStates().alphaSourceOver);
    mRenderer->EndRenderTarget();
    EXPECT_EQ(mHost.viewScale, 1.5f);
    EXPECT_FALSE(mDevice.GetStates().alphaSourceOver);
    EXPECT_EQ(mHandler->GetState().viewport, TRect(10, 10, 300, 200));
}

TEST_F(RenderTargetTest, ACaptureThatCannotOpenWaitsForTheNextFrame) {
    std::shared_ptr<TTexture> capture = TTexture::Create(800, 600, false);
    ASSERT_NE(capture, nullptr);
    mRenderer->SetRootSizeSource([] { return TPoint(800, 600); });
    mRenderer->SetCaptureTexture(capture);
    mDevice.Script("BeginScene", Result::Ok);      // the frame
    mDevice.Script("BeginScene", Result::Failed);  // the capture's target
    ASSERT_TRUE(mRenderer->BeginDraw(true));
    mRenderer->EndDraw(true);
    EXPECT_EQ(mRenderer->GetCaptureTexture(), capture);
    mDevice.ClearCalls();
    ASSERT_TRUE(mRenderer->BeginDraw(true));
    mRenderer->EndDraw(true);
    EXPECT_EQ(mRenderer->GetCaptureTexture(), nullptr);
    EXPECT_EQ(mDevice.Count("Copy"), 1);
    EXPECT_EQ(mDevice.Count("Present"), 1);
}

TEST_F(RenderTargetTest, WhenEveryCandidateFailsTheOffsetStaysAtMinusAHalf) {
    // Nothing is rasterised here: every cell keeps the red background.
    const TDxDisplayState& state = mHandler->GetState();
    EXPECT_TRUE(state.calibrated);
    EXPECT_EQ(state.pixelOffset, -0.5f);
    EXPECT_EQ(state.viewportStack.size(), 0u);
    uint32_t pixel = 0;
    ASSERT_EQ(mDevice.ReadPixels(display::kBackBuffer, {20, 20, 21, 21}, &pixel), Result::Ok);
    EXPECT_EQ(pixel, 0xFF000000u);  // the closing black fill

    // Once per handler: a new display does not measure again.
    mDevice.ClearCalls();
    mHandler->SetDisplay(800, 600, false, true, false, false);
    EXPECT_EQ(mDevice.Count("Draw"), 0);
}

TEST_F(RenderTargetTest, TheCalibrationDrawsOneProbePerCandidate) {
    // The handler that replaces this one keeps making textures.
    auto handler = std::make_unique<TDxDisplayHandler>(mDevice, mHost);
    TDxDisplayHandler& fresh = *handler;
    mRenderer->SetBackEnd(std::move(handler));
    mDevice.ClearCalls();
    fresh.SetDisplay(800, 600, false, true, false, false);
    EXPECT_EQ(mDevice.Count("Draw"), 10);
    EXPECT_TRUE(fresh.GetState().calibrated);
    EXPECT_NE(TTexture::Create(4, 4, true), nullptr);
}

}  // namespace
