#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/graphics/dxgltesting.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

class DxDisplayHandlerGlTest : public DxGlTest {
protected:
    // One frame with a fill of the rectangle in the colour.
    void FillFrame(const TRect& rect, const TColor4f& color) {
        ASSERT_TRUE(mRenderer->BeginDraw(true));
        EXPECT_TRUE(mRenderer->FillRect(rect, color));
        mRenderer->EndDraw(true);
    }
};

TEST_F(DxDisplayHandlerGlTest, AFillLandsOnExactPixels) {
    EXPECT_FALSE(mHandler->IsFullScreen());
    FillFrame(TRect(0, 0, 800, 600), TColor4f(0, 0, 1, 1));
    FillFrame(TRect(10, 20, 30, 40), TColor4f(1, 0, 0, 1));
    EXPECT_EQ(Pixel(10, 20), kRed);
    EXPECT_EQ(Pixel(29, 39), kRed);
    EXPECT_EQ(Pixel(9, 20), kBlue);
    EXPECT_EQ(Pixel(10, 19), kBlue);
    EXPECT_EQ(Pixel(30, 39), kBlue);
    EXPECT_EQ(Pixel(29, 40), kBlue);

    // Inside a pushed viewport the rectangle is in the viewport's coordinates.
    mRenderer->PushViewport(TRect(100, 200, 400, 400));
    FillFrame(TRect(0, 0, 10, 10), TColor4f(1, 0, 0, 1));
    mRenderer->PopViewport();
    EXPECT_EQ(Pixel(100, 200), kRed);
    EXPECT_EQ(Pixel(109, 209), kRed);
    EXPECT_EQ(Pixel(110, 205), kBlue);
    EXPECT_EQ(Pixel(99, 205), kBlue);
}

TEST_F(DxDisplayHandlerGlTest, TheViewRectangleClips) {
    FillFrame(TRect(0, 0, 800, 600), TColor4f(0, 0, 1, 1));
    mRenderer->PushViewRect(TRect(100, 100, 200, 150));
    FillFrame(TRect(0, 0, 800, 600), TColor4f(1, 0, 0, 1));
    mRenderer->PopViewRect();
    EXPECT_EQ(Pixel(100, 100), kRed);
    EXPECT_EQ(Pixel(199, 149), kRed);
    EXPECT_EQ(Pixel(99, 120), kBlue);
    EXPECT_EQ(Pixel(200, 120), kBlue);
    EXPECT_EQ(Pixel(150, 150), kBlue);

    // Outside a frame the fill is a colour fill, clipped the same way.
    mRenderer->PushViewRect(TRect(300, 300, 310, 310));
    EXPECT_TRUE(mRenderer->FillRect(TRect(0, 0, 800, 600), TColor4f(1, 0, 0, 1)));
    mRenderer->PopViewRect();
    EXPECT_EQ(Pixel(305, 305), kRed);
    EXPECT_EQ(Pixel(310, 305), kBlue);
}

TEST_F(DxDisplayHandlerGlTest, AnEmptyViewRectangleDrawsNothing) {
    FillFrame(TRect(0, 0, 800, 600), TColor4f(0, 0, 1, 1));
    mRenderer->PushViewRect(TRect(100, 100, 400, 300));
    for (const TRect& empty : {TRect(100, 100, 400, 100), TRect(200, 100, 150, 300)}) {
        mRenderer->SetViewRect(empty);
        FillFrame(TRect(0, 0, 800, 600), TColor4f(1, 0, 0, 1));
    }
    mRenderer->PopViewRect();
    EXPECT_EQ(Pixel(100, 100), kBlue);
    EXPECT_EQ(Pixel(200, 200), kBlue);
    EXPECT_EQ(Pixel(0, 0), kBlue);
}

TEST_F(DxDisplayHandlerGlTest, ALostDeviceIsRepairedAndDrawingResumes) {
    struct Case {
        const char* name;
        int framesBefore;  // within three frames the whole display is rebuilt
    } cases[] = {{"early loss", 0}, {"later loss", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mHandler->SetDisplay(800, 600, false, true, false, false);
        for (int i = 0; i < c.framesBefore; ++i) FillFrame(TRect(0, 0, 800, 600), TColor4f(0, 0, 1, 1));
        mDevice->SimulateLoss();
        FillFrame(TRect(0, 0, 800, 600), TColor4f(1, 0, 0, 1));
        EXPECT_FALSE(mHandler->IsBroken());
        EXPECT_EQ(Pixel(400, 300), kRed);
    }
}

TEST_F(DxDisplayHandlerGlTest, AntialiasHintsSmoothEdgesAndTheStateSwitchesAtOnce) {
    mHandler->OnRenderHint("hint_antialias", "1");
    mHandler->OnRenderHint("antialias", "1");
    mHandler->SetDisplay(800, 600, false, true, false, false);
    ASSERT_TRUE(mHandler->IsDeviceReady());
    ASSERT_TRUE(mHandler->GetState().hintAntialias);
    // A white triangle with a long diagonal edge over black, drawn through the renderer.
    auto wedgeFrame = [&] {
        ASSERT_TRUE(mRenderer->BeginDraw(true));
        EXPECT_TRUE(mRenderer->FillRect(TRect(0, 0, 800, 600), TColor4f(0, 0, 0, 1)));
        {
            TBegin2dScope block(*mRenderer);
            mRenderer->SetTexture(nullptr);
            TRenderVertex wedge[3];
            const float corners[3][2] = {{100.3f, 100.6f}, {300.2f, 100.6f}, {100.3f, 257.1f}};
            for (int i = 0; i < 3; ++i) {
                wedge[i].x = corners[i][0];
                wedge[i].y = corners[i][1];
                wedge[i].diffuse = 0xFFFFFFFF;
            }
            TVertexSet vertices;
            vertices.Init2d(wedge, 3);
            mRenderer->DrawVertices(TRenderer::kTriangleFan, vertices);
        }
        mRenderer->EndDraw(true);
    };
    // Pixels around the edge that are neither black nor white.
    auto blended = [&] {
        std::vector<uint32_t> pixels(220 * 180);
        EXPECT_EQ(mDevice->ReadPixels(display::kBackBuffer, {90, 90, 310, 270}, pixels.data()), display::Result::Ok);
        return std::count_if(pixels.begin(), pixels.end(),
                             [](uint32_t pixel) { return pixel != 0xFF000000u && pixel != 0xFFFFFFFFu; });
    };
    wedgeFrame();
    EXPECT_EQ(Pixel(120, 120), 0xFFFFFFFFu);
    EXPECT_GT(blended(), 100);
    mHandler->OnRenderHint("antialias", "0");
    wedgeFrame();
    EXPECT_EQ(Pixel(120, 120), 0xFFFFFFFFu);
    EXPECT_EQ(blended(), 0);
}

}  // namespace
