// The level screen's frame on the shipped first level: the floor of the
// first location with its counters, the player walking between the far
// counters, eight customers waiting with their thought bubbles, patience and
// idle animations, and the HUD. Per iteration one 16 ms tick of the screen
// and one frame of its window tree; on the recording device (the engine's
// own work; median and 99th percentile printed) and on OpenGL. Run headless
// with SDL_VIDEODRIVER=offscreen.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "glwindow.h"
#include "platform/display/recordingdevice.h"
#include "shoplevel.h"

namespace {

void BM_LevelFrameOnRecordingDevice(benchmark::State& state) {
    display::RecordingDevice device;
    Level level(device, reinterpret_cast<SDL_Window*>(&device));
    if (!LevelLoaded(state, level)) return;
    RecordFrames(state, device, [&] { level.Frame(); });
}
BENCHMARK(BM_LevelFrameOnRecordingDevice)->Unit(benchmark::kMillisecond)->Iterations(3000);

void BM_LevelFrameOnOpenGl(benchmark::State& state) {
    TGlScreen screen("level screen bench", kWidth, kHeight);
    if (!screen.window) {
        state.SkipWithError("no OpenGL 3.3 context");
        return;
    }
    Level level(*screen.device, screen.window);
    if (!LevelLoaded(state, level)) return;
    for (auto _ : state) level.Frame();
}
BENCHMARK(BM_LevelFrameOnOpenGl)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
