// The message pump's costs: translating one queued window record, an idle
// call without its 1 ms wait, and the tick rate of a real idle loop on the
// SDL window (offscreen) with its wait. Targets: <= 2 us, <= 10 us and
// >= 800 ticks per second.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "runtime/platformdata.h"
#include "platform/window/scriptedwindow.h"
#include "platform/window/sdlwindow.h"

namespace {

void NoWait(uint32_t) {}

window::NativeEvent Record(int index) {
    window::NativeEvent event;
    if (index % 2 == 0) {
        event.kind = window::EventKind::kMouseMove;
        event.x = index % 480;
        event.y = index % 360;
    } else {
        event.kind = window::EventKind::kKeyDown;
        event.key = 'A' + index % 26;
        event.modifiers = window::kModShift;
    }
    return event;
}

void BM_TranslateQueuedRecord(benchmark::State& state) {
    auto scripted = std::make_unique<window::ScriptedWindow>();
    window::ScriptedWindow& window = *scripted;
    TPlatformData data({}, std::move(scripted));
    data.SetSleepFunction(NoWait);
    TPlatformEvent event;
    int index = 0;
    for (auto _ : state) {
        window.Queue(Record(index++));
        data.GetEvent(event);
        benchmark::DoNotOptimize(event);
    }
}
BENCHMARK(BM_TranslateQueuedRecord);

void BM_IdleCallWithoutItsWait(benchmark::State& state) {
    TPlatformData data({}, std::make_unique<window::ScriptedWindow>());
    data.SetSleepFunction(NoWait);
    TPlatformEvent event;
    for (auto _ : state) {
        data.GetEvent(event);
        benchmark::DoNotOptimize(event);
    }
}
BENCHMARK(BM_IdleCallWithoutItsWait);

void BM_RealIdleLoop(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    TPlatformData data({}, std::make_unique<window::SdlWindow>());
    data.CreateGameWindow();
    TPlatformEvent event;
    int64_t ticks = 0;
    for (auto _ : state) {
        data.GetEvent(event);
        if (event.type == TPlatformEvent::kIdle) ++ticks;
    }
    state.counters["ticks"] = benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RealIdleLoop)->MinTime(2.0)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
