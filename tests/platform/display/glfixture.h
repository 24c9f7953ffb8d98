// A hidden 800x600 OpenGL window with a GlDevice on it, and quads to draw.
// Without a GL context the fixture fails the test rather than skipping it.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/display/glattributes.h"
#include "platform/display/gldevice.h"

namespace displaytest {

using Quad = std::array<display::Vertex, 4>;

// A screen-space quad as a fan, corners given in pixels, texture 0..1.
inline Quad ScreenQuad(float left, float top, float right, float bottom, uint32_t color) {
    Quad quad;
    const float corners[4][4] = {{left, top, 0, 0}, {right, top, 1, 0}, {right, bottom, 1, 1}, {left, bottom, 0, 1}};
    for (int i = 0; i < 4; ++i) {
        quad[i] = {corners[i][0], corners[i][1], 0.5f, 1.0f, color, 0, corners[i][2], corners[i][3]};
    }
    return quad;
}

// Red, green and blue each within tolerance.
inline bool Near(uint32_t actual, uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int a = (actual >> shift) & 255, e = (expected >> shift) & 255;
        if (std::abs(a - e) > tolerance) return false;
    }
    return true;
}

// Draw states of a 2D frame: no depth, no culling, clamped linear textures.
inline display::DrawStates States2d() {
    display::DrawStates states;
    states.zEnable = false;
    states.zWrite = false;
    states.cull = display::Cull::None;
    states.addressU = states.addressV = display::Address::Clamp;
    return states;
}

class GlDeviceTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_TRUE(display::SetGlAttributes()) << SDL_GetError();
        mWindow = SDL_CreateWindow("display test", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(mWindow, nullptr) << SDL_GetError();
        mDevice = std::make_unique<display::GlDevice>();
        ASSERT_EQ(mDevice->CreateScreen({mWindow, kWidth, kHeight, false, false, true}), display::Result::Ok)
            << "no OpenGL 3.3 core context: " << SDL_GetError();
        mDevice->SetStates(States2d());
        ASSERT_EQ(mDevice->BeginScene(), display::Result::Ok);
    }

    void TearDown() override {
        mDevice.reset();
        if (mWindow) SDL_DestroyWindow(mWindow);
        SDL_Quit();
    }

    void Fill(uint32_t argb) {
        ASSERT_EQ(mDevice->ColorFill(display::kBackBuffer, {0, 0, kWidth, kHeight}, argb), display::Result::Ok);
    }

    void DrawQuad(const Quad& quad, display::VertexKind kind = display::VertexKind::PreTransformed) {
        ASSERT_EQ(mDevice->Draw(display::Primitive::TriangleFan, kind, quad.data(), 4), display::Result::Ok);
    }

    // The back buffer's pixel (ARGB).
    uint32_t Pixel(int x, int y) {
        uint32_t pixel = 0;
        EXPECT_EQ(mDevice->ReadPixels(display::kBackBuffer, {x, y, x + 1, y + 1}, &pixel), display::Result::Ok);
        return pixel;
    }

    std::vector<uint32_t> Pixels(const display::Rect& rect) {
        std::vector<uint32_t> pixels(static_cast<size_t>(rect.Width()) * rect.Height());
        EXPECT_EQ(mDevice->ReadPixels(display::kBackBuffer, rect, pixels.data()), display::Result::Ok);
        return pixels;
    }

    display::SurfaceId MakeTexture(int width, int height, const std::vector<uint32_t>& pixels,
                                   display::Format format = display::Format::A8R8G8B8) {
        display::SurfaceId texture = display::kNoSurface;
        EXPECT_EQ(mDevice->CreateSurface({width, height, format, display::SurfaceKind::Texture, false}, texture),
                  display::Result::Ok);
        EXPECT_EQ(mDevice->Upload(texture, pixels.data(), width, height), display::Result::Ok);
        return texture;
    }

    SDL_Window* mWindow = nullptr;
    std::unique_ptr<display::GlDevice> mDevice;
};

}  // namespace displaytest
