// The renderer of the drawing benchmarks: the renderer singleton on a display
// handler over a device, and frames timed on the recording device.
#pragma once

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

#include "graphics/display/displayhost.h"
#include "graphics/display/dxdisplayhandler.h"
#include "graphics/render/renderer.h"
#include "platform/display/recordingdevice.h"

// Sets the display to the size given; the renderer goes with this object.
class TRendererOnDevice {
public:
    TRendererOnDevice(display::Device& device, SDL_Window* window, int width, int height) {
        mHost.window = window;
        auto handler = std::make_unique<TDxDisplayHandler>(device, mHost);
        mHandler = handler.get();
        TRenderer::GetInstance()->SetBackEnd(std::move(handler));
        mHandler->SetDisplay(width, height, false, false, false, false);
    }
    ~TRendererOnDevice() { TRenderer::DestroyInstance(); }
    TRendererOnDevice(const TRendererOnDevice&) = delete;
    TRendererOnDevice& operator=(const TRendererOnDevice&) = delete;

    bool IsDeviceReady() const { return mHandler->IsDeviceReady(); }

private:
    TFakeDisplayHost mHost;
    TDxDisplayHandler* mHandler = nullptr;
};

// The engine's own work in each frame: what the device recorded is dropped
// between frames, off the clock.
inline void TimeFramesOnRecordingDevice(benchmark::State& state, display::RecordingDevice& device,
                                        const std::function<void()>& drawFrame) {
    for (auto _ : state) {
        drawFrame();
        state.PauseTiming();
        device.ClearCalls();
        state.ResumeTiming();
    }
}
