// The shop floor's stations in one frame: one sprite-manager Update and one
// Draw of 16 stations with a tabletop each, carrying 24 idle machines (two
// on each of eight stations, one on each of the others), each machine with
// its body, six parts (three still, three animated and hidden while idle)
// and three option buttons shown with their icon and stripe. On the recording
// device (the engine's own work; the budget is 0.5 ms) and on OpenGL. Run
// headless with SDL_VIDEODRIVER=offscreen.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "core/scripting/script.h"
#include "foundation/clock.h"
#include "foundation/virtualfiles.h"
#include "game/level/upgrademanager.h"
#include "game/machines/machine.h"
#include "game/machines/machinebutton.h"
#include "game/machines/station.h"
#include "game/shell/gameassetmanager.h"
#include "game/shell/luastyle.h"
#include "game/sprites/spritemanager.h"
#include "glwindow.h"
#include "graphics/render/renderer.h"
#include "platform/display/recordingdevice.h"
#include "rendererondevice.h"
#include "spritemanagerframe.h"
#include "tests/graphics/image/imagetesting.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kStations = 16;
constexpr int kStationsWithTwoMachines = 8;

// The floor's images as memory files, made once.
void RegisterImages() {
    static std::vector<std::string> files;
    if (!files.empty()) return;
    const struct {
        const char* name;
        int width, height;
        uint32_t argb;
    } images[] = {{"top", 100, 30, 0xFFB08050u},  {"base", 72, 64, 0xFF9098A8u}, {"part", 24, 24, 0xFF606878u},
                  {"button", 20, 20, 0xFFE0E0E0u}, {"icon", 16, 16, 0xFF603020u}, {"stripe", 16, 6, 0xFFF0C040u}};
    files.reserve(std::size(images));
    for (const auto& image : images) {
        files.push_back(EncodePng(RgbaPng(image.width, image.height, [&image](int, int) { return image.argb; })));
        RegisterMemoryFile(TString::Format("bench/%s.png", image.name), files.back().data(), files.back().size());
    }
}

const char kDescriptions[] = R"(
    local function still(name) return { anim = false, { file = "bench/" .. name .. ".png" } } end
    local function part(name) return { assets = { look = still(name) } } end
    local function option(id)
        return { id = id, icon = "shown", stripe = "shown",
                 assets = { button = still("button"),
                            icon = { anim = false, { file = "bench/icon.png" }, { state = "shown", file = "bench/icon.png" } },
                            stripe = { anim = false, { file = "bench/stripe.png" },
                                       { state = "shown", file = "bench/stripe.png" } } } }
    end
    local function machine(name, x)
        return { name = name, x = x, assets = { base = still("base") },
                 children = { static_a = part("part"), static_b = part("part"), static_c = part("part"),
                              anim_a = part("part"), anim_b = part("part"), anim_c = part("part") },
                 selections = { one = option(0), two = option(1), three = option(2) } }
    end
    function Station(n, machines, x, y)
        local entries = { left = machine("left", -40) }
        if machines > 1 then entries.right = machine("right", 40) end
        return { stationID = n, stationType = 2, x = x, y = y, assets = { tabletop = still("top") }, machines = entries }
    end
)";

class Floor {
public:
    Floor(display::Device& device, SDL_Window* window) : mRenderer(device, window, kWidth, kHeight) {
        RegisterImages();
        mScript.DoLuaString(kDescriptions);
        mClock.Start();
        mManager = VSpriteManager::Create();
        mManager->SetClock(&mClock);
        if (mRenderer.IsDeviceReady()) Build();
    }
    ~Floor() {
        mManager->RemoveAllSprites();
        ReleaseManagerSingleton<VUpgradeManager>();
        ReleaseManagerSingleton<VAssetManager>();
    }
    Floor(const Floor&) = delete;
    Floor& operator=(const Floor&) = delete;

    bool IsReady() const { return mRenderer.IsDeviceReady() && mMachines == 24; }

    void Frame() { UpdateAndDraw(*mManager); }

private:
    void Build() {
        for (int n = 0; n < kStations; ++n) {
            int machines = n < kStationsWithTwoMachines ? 2 : 1;
            // Two rows of eight.
            int x = 60 + n % 8 * 90, y = 200 + n / 8 * 250;
            mScript.DoLuaString(TString::Format("station = Station(%i, %i, %i, %i)", n, machines, x, y).c_str());
            std::shared_ptr<VStation> station = VStation::Create(n, 2);
            station->Load(VLuaStyle::Create(mScript.GetGlobalTable("station"), nullptr));
            station->ApplyUpgrades();
            for (const auto& [key, machine] : station->GetMachines()) {
                for (const auto& [option, button] : machine->GetSelections()) button->SetVisible(true);
                ++mMachines;
            }
            mManager->AddSprite(station);
        }
    }

    TRendererOnDevice mRenderer;
    TScript mScript;
    TClock mClock;
    std::shared_ptr<VSpriteManager> mManager;
    int mMachines = 0;
};

void BM_FloorFrameOnRecordingDevice(benchmark::State& state) {
    display::RecordingDevice device;
    Floor floor(device, reinterpret_cast<SDL_Window*>(&device));
    if (!floor.IsReady()) {
        state.SkipWithError("the recording display or the floor did not come up");
        return;
    }
    TimeFramesOnRecordingDevice(state, device, [&] { floor.Frame(); });
}
BENCHMARK(BM_FloorFrameOnRecordingDevice)
    ->Name("floor_frame/recording")
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

void BM_FloorFrameOnOpenGl(benchmark::State& state) {
    TGlScreen screen("floor bench", kWidth, kHeight);
    if (!screen.window) {
        state.SkipWithError("no OpenGL 3.3 context");
        return;
    }
    Floor floor(*screen.device, screen.window);
    if (!floor.IsReady()) {
        state.SkipWithError("the OpenGL display or the floor did not come up");
        return;
    }
    display::GlDevice& device = *screen.device;
    uint64_t draws = device.GetDrawCallCount();
    for (auto _ : state) floor.Frame();
    state.counters["draw_calls"] =
        static_cast<double>(device.GetDrawCallCount() - draws) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FloorFrameOnOpenGl)
    ->Name("floor_frame/opengl")
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
