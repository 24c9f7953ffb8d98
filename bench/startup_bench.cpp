// Start-up of the game on its shipped assets, headless: from the engine's
// entry to the end of the first frame of the main menu, in three phases
// (the driver and platform, the game's set-up, the first frame). Each run is
// a whole engine start and teardown in this process; the first run warms the
// caches and is not counted. Target: a median under 250 ms.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/app/platformevent.h"
#include "runtime/driver.h"
#include "runtime/platform.h"
#include "core/windows/windowmanager.h"
#include "game/shell/game.h"
#include "game/startup/gamemain.h"

namespace {

using Clock = std::chrono::steady_clock;

struct TPhases {
    Clock::time_point start;
    Clock::time_point gameMain;
    Clock::time_point setUp;
    Clock::time_point firstFrame;
};

TPhases gPhases;

// Handles events until the window manager drew the screen it was asked for.
void RunToFirstFrame(TPlatform* platform) {
    TWindowManager* manager = platform->GetWindowManager();
    TPlatformEvent event;
    for (;;) {
        platform->GetEvent(event);
        if (event.type == TPlatformEvent::kQuit) return;
        HandleGameEvent(platform, event);
        if (event.type == TPlatformEvent::kIdle && !manager->IsInvalid()) return;
    }
}

int TimedGameMain(TPlatform* platform, const TString& /*commandLine*/) {
    gPhases.gameMain = Clock::now();
    TGameSession session;
    GameMainSetUp(platform, session);
    gPhases.setUp = Clock::now();
    RunToFirstFrame(platform);
    gPhases.firstFrame = Clock::now();
    // The warm-up run leaves a player, so the timed runs open on the main menu.
    if (VGame* game = VGame::Get(); game && game->GetNumUsers() == 0) game->CreateNewUser("Bench");
    platform->PostQuit(0);
    GameMainLoop(platform);
    GameMainTearDown(session);
    return 0;
}

void RunOnce() {
    static const std::string workingFolder = std::string("-wd=") + VANDERMOOT_ROOT;
    const char* argv[] = {"vandermoot", "--multiple", workingFolder.c_str()};
    gPhases.start = Clock::now();
    EngineMain(3, argv, TimedGameMain, 0);
}

double Milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void BM_StartToFirstFrame(benchmark::State& state) {
    static bool warmed = false;
    if (!warmed) {
        RunOnce();
        warmed = true;
    }
    for (auto _ : state) {
        RunOnce();
        state.SetIterationTime(Milliseconds(gPhases.start, gPhases.firstFrame) / 1000.0);
        state.counters["driver_ms"] = Milliseconds(gPhases.start, gPhases.gameMain);
        state.counters["setup_ms"] = Milliseconds(gPhases.gameMain, gPhases.setUp);
        state.counters["frame_ms"] = Milliseconds(gPhases.setUp, gPhases.firstFrame);
    }
}
BENCHMARK(BM_StartToFirstFrame)->Iterations(1)->Repetitions(10)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Headless, with the log and preferences in a folder of their own.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    char folder[] = "/tmp/startup-bench.XXXXXX";
    if (!mkdtemp(folder)) return 2;
    setenv("XDG_DATA_HOME", folder, 1);
    setenv("XDG_CONFIG_HOME", folder, 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    return 0;
}
