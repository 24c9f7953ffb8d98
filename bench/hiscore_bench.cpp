// The hiscore screen's text update over a local table of ten 63-byte names
// in the game's own font, each in a name text so small that it fits only
// at size 1, so that every name is laid out at its own size and then at
// each size from 19 down to 1.
// Headless, on the build's assets. The update runs
// once per change of the screen, not per frame. Target: a median of at
// most 5 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/scripting/script.h"
#include "core/windows/modalwindow.h"
#include "core/windows/windowstyle.h"
#include "core/windows/windowmanager.h"
#include "foundation/settings.h"
#include "foundation/virtualfiles.h"
#include "game/progression/hiscore.h"
#include "game/shell/game.h"
#include "online/qmhiscores.h"
#include "platform/display/recordingdevice.h"
#include "platform/window/scriptedwindow.h"
#include "runtime/platform.h"
#include "runtime/platformdata.h"
#include "widgets/text.h"

namespace {

constexpr int kNameLength = 63;

// A working folder of its own beside the build's assets.
std::filesystem::path MakeFolder() {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "hiscore_bench";
    std::filesystem::remove_all(folder);
    for (const char* name : {"user", "common", "desktop"}) std::filesystem::create_directories(folder / name);
    std::filesystem::create_directory_symlink(std::string(VANDERMOOT_ROOT) + "/assets", folder / "assets");
    return folder;
}

std::unique_ptr<TPlatform> MakePlatform(const std::filesystem::path& folder) {
    TPlatformSetup setup;
    setup.userFolder = (folder / "user").c_str();
    setup.commonFolder = (folder / "common").c_str();
    setup.desktopFolder = (folder / "desktop").c_str();
    setup.gameName = "vandermoot";
    auto data = std::make_unique<TPlatformData>(setup, std::make_unique<window::ScriptedWindow>());
    data->SetDisplayDevice(std::make_unique<display::RecordingDevice>());
    data->SetSleepFunction([](uint32_t) {});
    auto platform = std::make_unique<TPlatform>(std::move(data));
    platform->SetDisplay(800, 600, false);
    return platform;
}

// Ten players of the current mode, each with a 63-byte name of words.
void FillLocalTable(TQmHiscores& hiscores) {
    const std::string words = "Engelbert Humperdinck-Wolfenstein of Greater Chocolateshire the ";
    for (int i = 0; i < THiscore::kRows; ++i) {
        std::string name = std::to_string(i) + words;
        name.resize(kNameLength);
        hiscores.SetSessionValue(TQmHiscores::kPlayerName, name.c_str());
        hiscores.AddLocalScore(1000 * (i + 1), false, "", "");
    }
}

// The screen's rows, their name texts 20 by 2 pixels in the game's font.
THiscore* MakeScreen(TModalWindow* modal) {
    auto* screen = new THiscore();
    screen->SetSize(800, 600);
    modal->AddChild(screen, false);
    const TColor4f colour(0.2f, 0.1f, 0.05f, 1);
    for (int row = 1; row <= THiscore::kRows; ++row) {
        for (const char* format : {"name%d", "score%d", "%d"}) {
            auto* text = new TText();
            text->SetName(TString::Format(format, row));
            screen->AddChild(text, false);
            const bool name = format[0] == 'n';
            text->CreateLayout(name ? 20 : 100, name ? 2 : 30, 0, "myriad_pro", 18, colour, 0, "");
        }
    }
    return screen;
}

void BM_UpdateTextWithTenNamesShrunkToTheSmallestSize(benchmark::State& state) {
    const std::filesystem::path folder = MakeFolder();
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    {
        std::unique_ptr<TPlatform> platform = MakePlatform(folder);
        SetSetting(kSettingEncryptionKey, "YmVuY2hrZXk=");
        ScanFolder("assets", "");
        VGame* game = VGame::Create();
        FillLocalTable(*game->GetHiscores());
        auto* modal = new TModalWindow();
        modal->SetSize(800, 600);
        TWindowManager::GetInstance()->PushModal(modal);
        THiscore* screen = MakeScreen(modal);
        TWindowManager::GetInstance()->GetScript()->DoLuaString("function UpdateButtons() end");
        // Keeps the names' own size, from which each update starts.
        screen->PostInit(TWindowStyle(nullptr));
        for (auto _ : state) screen->UpdateText();
        auto* name = CastToTText(screen->FindChildWindow("name10", -1));
        state.counters["name_size"] = name ? name->GetLayout()->GetLineHeight() : -1;
        VGame::Destroy();
    }
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_UpdateTextWithTenNamesShrunkToTheSmallestSize)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
