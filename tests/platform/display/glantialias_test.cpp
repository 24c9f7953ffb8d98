// Antialiasing on the GL device: a multisampled back buffer smooths edges
// while the antialias state is on, and everything that reads or writes the
// back buffer sees what was drawn into its samples.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include "glfixture.h"

namespace displaytest {
namespace {

using display::Result;
using display::VertexKind;

constexpr uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;
// Around the wedge of DrawWedge.
constexpr display::Rect kWedgeArea{90, 90, 310, 270};

class GlAntialiasTest : public GlDeviceTest {
protected:
    // A new windowed screen, with or without samples, in the 2D states with
    // the antialias state as given; the scene is open.
    void MakeScreen(bool samples, bool antialias, int bitsPerPixel = 32) {
        ASSERT_EQ(mDevice->SetDisplayMode(kWidth, kHeight, bitsPerPixel), Result::Ok);
        ASSERT_EQ(mDevice->CreateScreen({mWindow, kWidth, kHeight, false, samples, true}), Result::Ok);
        SetAntialias(antialias);
        ASSERT_EQ(mDevice->BeginScene(), Result::Ok);
    }

    void SetAntialias(bool on) {
        display::DrawStates states = States2d();
        states.antialias = on;
        mDevice->SetStates(states);
    }

    // A white right triangle whose long edge runs diagonally, at (dx, dy).
    void DrawWedge(float dx = 0, float dy = 0) {
        const display::Vertex wedge[] = {{dx + 100.3f, dy + 100.6f, 0.5f, 1, kWhite, 0, 0, 0},
                                         {dx + 300.2f, dy + 100.6f, 0.5f, 1, kWhite, 0, 0, 0},
                                         {dx + 100.3f, dy + 257.1f, 0.5f, 1, kWhite, 0, 0, 0}};
        ASSERT_EQ(mDevice->Draw(display::Primitive::TriangleList, VertexKind::PreTransformed, wedge, 3), Result::Ok);
    }

    // Pixels of the area that are neither black nor white; the area must
    // hold both.
    int BlendedPixels(const display::Rect& area) {
        int blended = 0, black = 0, white = 0;
        for (uint32_t pixel : Pixels(area)) {
            if (pixel == kBlack) ++black;
            else if (pixel == kWhite) ++white;
            else ++blended;
        }
        EXPECT_GT(black, 0);
        EXPECT_GT(white, 0);
        return blended;
    }
};

// Along a diagonal edge of some 250 pixels, most pixels are partly covered.
constexpr int kSmoothEdge = 100;

TEST_F(GlAntialiasTest, EdgesBlendOnlyWithSamplesAndTheStateOn) {
    struct Case {
        const char* name;
        bool samples, antialias;
        int bitsPerPixel;
        bool smooth;
    } cases[] = {
        {"plain", false, false, 32, false},
        {"plain with the state on", false, true, 32, false},
        {"samples with the state off", true, false, 32, false},
        {"samples with the state on", true, true, 32, true},
        {"16 bits, samples with the state on", true, true, 16, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeScreen(c.samples, c.antialias, c.bitsPerPixel);
        Fill(kBlack);
        DrawWedge();
        EXPECT_EQ(Pixel(120, 120), kWhite);
        EXPECT_EQ(Pixel(95, 95), kBlack);
        EXPECT_EQ(Pixel(290, 250), kBlack);
        int blended = BlendedPixels(kWedgeArea);
        if (c.smooth) {
            EXPECT_GT(blended, kSmoothEdge);
        } else {
            EXPECT_EQ(blended, 0);
        }
    }
}

TEST_F(GlAntialiasTest, TheStateSwitchesBetweenTwoDrawsOfAFrame) {
    MakeScreen(true, true);
    Fill(kBlack);
    DrawWedge();
    SetAntialias(false);
    DrawWedge(300, 300);
    EXPECT_GT(BlendedPixels(kWedgeArea), kSmoothEdge);
    EXPECT_EQ(BlendedPixels({390, 390, 610, 570}), 0);
}

TEST_F(GlAntialiasTest, ReadsCopiesAndWritesSeeWhatWasDrawnIntoTheSamples) {
    MakeScreen(true, true);
    Fill(kBlue);
    // On whole pixels: every sample of a pixel is covered, or none.
    DrawQuad(ScreenQuad(9.5f, 9.5f, 19.5f, 19.5f, kRed));
    EXPECT_EQ(Pixel(10, 10), kRed);
    EXPECT_EQ(Pixel(19, 19), kRed);
    EXPECT_EQ(Pixel(20, 10), kBlue);
    EXPECT_EQ(Pixel(9, 9), kBlue);

    // Out of the back buffer, as it is and scaled.
    display::SurfaceId target = display::kNoSurface;
    ASSERT_EQ(mDevice->CreateSurface({40, 40, display::Format::X8R8G8B8, display::SurfaceKind::RenderTarget}, target),
              Result::Ok);
    DrawQuad(ScreenQuad(19.5f, 9.5f, 29.5f, 19.5f, kGreen));
    ASSERT_EQ(mDevice->Copy(display::kBackBuffer, {10, 10, 30, 20}, target, {0, 0, 20, 10}), Result::Ok);
    DrawQuad(ScreenQuad(9.5f, 9.5f, 29.5f, 19.5f, kWhite));
    ASSERT_EQ(mDevice->Copy(display::kBackBuffer, {10, 10, 30, 20}, target, {0, 20, 40, 40}), Result::Ok);
    uint32_t copied[4] = {};
    ASSERT_EQ(mDevice->ReadPixels(target, {9, 5, 11, 6}, copied), Result::Ok);
    ASSERT_EQ(mDevice->ReadPixels(target, {9, 30, 11, 31}, copied + 2), Result::Ok);
    EXPECT_EQ(copied[0], kRed);
    EXPECT_EQ(copied[1], kGreen);
    EXPECT_EQ(copied[2], kWhite);
    EXPECT_EQ(copied[3], kWhite);

    // Into the back buffer: each write is kept by the draws that follow.
    display::SurfaceId texture = MakeTexture(2, 2, {kGreen, kGreen, kGreen, kGreen});
    ASSERT_EQ(mDevice->Copy(texture, {0, 0, 2, 2}, display::kBackBuffer, {100, 100, 102, 102}), Result::Ok);
    ASSERT_EQ(mDevice->ColorFill(display::kBackBuffer, {200, 200, 210, 210}, kRed), Result::Ok);
    uint32_t* pixels = nullptr;
    int pitch = 0;
    ASSERT_EQ(mDevice->Lock(display::kBackBuffer, pixels, pitch), Result::Ok);
    EXPECT_EQ(pixels[15 * pitch + 15], kWhite);
    pixels[300 * pitch + 300] = kGreen;
    ASSERT_EQ(mDevice->Unlock(display::kBackBuffer), Result::Ok);
    DrawQuad(ScreenQuad(49.5f, 49.5f, 59.5f, 59.5f, kRed));
    EXPECT_EQ(Pixel(100, 100), kGreen);
    EXPECT_EQ(Pixel(101, 101), kGreen);
    EXPECT_EQ(Pixel(102, 102), kBlue);
    EXPECT_EQ(Pixel(205, 205), kRed);
    EXPECT_EQ(Pixel(300, 300), kGreen);
    EXPECT_EQ(Pixel(50, 50), kRed);
    EXPECT_EQ(Pixel(15, 15), kWhite);
}

// A pixel of the window, rows from the top. The offscreen video driver
// keeps the window's pixels after the swap.
uint32_t WindowPixel(int x, int y, int windowHeight) {
    uint32_t pixel = 0;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(x, windowHeight - 1 - y, 1, 1, GL_BGRA, GL_UNSIGNED_BYTE, &pixel);
    return pixel;
}

TEST_F(GlAntialiasTest, PresentShowsTheResolvedFrame) {
    MakeScreen(true, true);
    Fill(kBlue);
    DrawQuad(ScreenQuad(-0.5f, -0.5f, kWidth / 2 - 0.5f, 9.5f, kRed));
    ASSERT_EQ(mDevice->EndScene(), Result::Ok);
    ASSERT_EQ(mDevice->Present(), Result::Ok);
    EXPECT_EQ(WindowPixel(0, 0, kHeight), kRed);
    EXPECT_EQ(WindowPixel(kWidth / 2 - 1, 9, kHeight), kRed);
    EXPECT_EQ(WindowPixel(kWidth / 2, 9, kHeight), kBlue);
    EXPECT_EQ(WindowPixel(0, 10, kHeight), kBlue);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // Full screen scales the frame into the desktop.
    ASSERT_EQ(mDevice->CreateScreen({mWindow, kWidth, kHeight, true, true, false}), Result::Ok);
    SetAntialias(true);
    ASSERT_EQ(mDevice->BeginScene(), Result::Ok);
    Fill(kBlack);
    DrawWedge();
    ASSERT_EQ(mDevice->EndScene(), Result::Ok);
    EXPECT_EQ(mDevice->Present(), Result::Ok);
    EXPECT_GT(BlendedPixels(kWedgeArea), kSmoothEdge);
}

TEST_F(GlAntialiasTest, ALostScreenComesBackWithItsSamples) {
    MakeScreen(true, true);
    mDevice->SimulateLoss();
    EXPECT_EQ(mDevice->BeginScene(), Result::SurfaceLost);
    ASSERT_EQ(mDevice->RestoreAllSurfaces(), Result::Ok);
    ASSERT_EQ(mDevice->BeginScene(), Result::Ok);
    Fill(kBlack);
    DrawWedge();
    EXPECT_GT(BlendedPixels(kWedgeArea), kSmoothEdge);
}

}  // namespace
}  // namespace displaytest
