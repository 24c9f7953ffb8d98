// Shared fixture of the renderer tests: a renderer on a recording back end,
// a timer that moves by hand and a log in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "foundation/settings.h"
#include "graphics/render/recordingrenderbackend.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"
#include "platform/os/timer.h"
#include "tests/support/luatesting.h"

// A surface object that keeps only a size and options: the renderer and the
// recording back end read no more of a texture.
class TStandInTextureData : public TTextureData {
public:
    TStandInTextureData(uint32_t width, uint32_t height, uint8_t options) {
        mWidth = mSurfaceWidth = width;
        mHeight = mSurfaceHeight = height;
        mOptions = options;
    }
    void Release() override {}
    bool Restore() override { return true; }
    bool Upload(int, int, const uint32_t*) override { return true; }
    bool CreateSurface(uint32_t, uint32_t, bool) override { return true; }
    bool Blit(int, int, const TRect*, TTextureData*) override { return true; }
    void Clear() override {}
    bool Lock(uint32_t*&, int&) override { return false; }
    void Unlock() override {}
    bool HasSurface() const override { return true; }
};

class TStandInTexture : public TTexture {
public:
    TStandInTexture(uint32_t width, uint32_t height, uint8_t options)
        : TTexture(std::make_unique<TStandInTextureData>(width, height, options)) {}
};

// A texture to pass along, by default of the fixture's screen size.
inline std::shared_ptr<TTexture> StandInTexture(uint32_t width = 800, uint32_t height = 600, uint8_t options = 0) {
    return std::make_shared<TStandInTexture>(width, height, options);
}

class RendererFixture : public ::testing::Test {
protected:
    RendererFixture() {
        auto backEnd = std::make_unique<TRecordingRenderBackEnd>(TRect(0, 0, 800, 600));
        recorder = backEnd.get();
        renderer.SetBackEnd(std::move(backEnd));
        os::SetCurrentTimer(&timer);
    }
    ~RendererFixture() override {
        os::SetCurrentTimer(nullptr);
        ClearSettings();
    }

    os::FakeTimer timer{5000};
    TestLog log;
    TRenderer renderer;
    TRecordingRenderBackEnd* recorder = nullptr;
};
