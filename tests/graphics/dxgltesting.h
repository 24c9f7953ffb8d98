// The display handler on OpenGL in a hidden window, as the renderer's back
// end, with an 800x600 windowed display set up. Without a GL context the
// fixture fails the test rather than skipping it.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "graphics/display/displayhost.h"
#include "graphics/display/dxdisplayhandler.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"
#include "platform/display/glattributes.h"
#include "platform/display/gldevice.h"

class DxGlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_TRUE(display::SetGlAttributes()) << SDL_GetError();
        mWindow = SDL_CreateWindow("display handler test", 0, 0, 800, 600, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(mWindow, nullptr) << SDL_GetError();
        mHost.window = mWindow;
        mDevice = std::make_unique<display::GlDevice>();
        auto handler = std::make_unique<TDxDisplayHandler>(*mDevice, mHost);
        mHandler = handler.get();
        mRenderer = TRenderer::GetInstance();
        mRenderer->SetBackEnd(std::move(handler));
        mHandler->SetDisplay(800, 600, false, false, false, false);
        ASSERT_TRUE(mHandler->IsDeviceReady()) << "no OpenGL 3.3 core context: " << SDL_GetError();
        mRenderer->SetViewRect(TRect(0, 0, 800, 600));
    }

    void TearDown() override {
        TRenderer::DestroyInstance();
        mDevice.reset();
        if (mWindow) SDL_DestroyWindow(mWindow);
        SDL_Quit();
    }

    // The back buffer's pixel (ARGB).
    uint32_t Pixel(int x, int y) {
        uint32_t pixel = 0;
        EXPECT_EQ(mDevice->ReadPixels(display::kBackBuffer, {x, y, x + 1, y + 1}, &pixel), display::Result::Ok);
        return pixel;
    }
    // The texture's pixel (ARGB).
    uint32_t TexturePixel(const std::shared_ptr<TTexture>& texture, int x, int y) {
        uint32_t* pixels = nullptr;
        int pitch = 0;
        TTextureData* data = texture->GetTextureData();
        EXPECT_TRUE(data->Lock(pixels, pitch));
        if (!pixels) return 0;
        uint32_t pixel = pixels[static_cast<size_t>(y) * pitch + x];
        data->Unlock();
        return pixel;
    }

    SDL_Window* mWindow = nullptr;
    std::unique_ptr<display::GlDevice> mDevice;
    TFakeDisplayHost mHost;
    TDxDisplayHandler* mHandler = nullptr;
    TRenderer* mRenderer = nullptr;
};
