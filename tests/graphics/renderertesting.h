// Shared fixture of the renderer tests: a renderer on a recording back end,
// a timer that moves by hand and a log in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "foundation/settings.h"
#include "graphics/recordingrenderbackend.h"
#include "graphics/renderer.h"
#include "platform/os/timer.h"
#include "tests/support/luatesting.h"

// A distinct texture pointer to pass along: the renderer and the recording
// back end never look inside a texture.
inline std::shared_ptr<TTexture> StandInTexture() {
    return std::shared_ptr<TTexture>(reinterpret_cast<TTexture*>(new char),
                                     [](TTexture* texture) { delete reinterpret_cast<char*>(texture); });
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
