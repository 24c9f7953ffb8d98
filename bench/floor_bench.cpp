// The shop floor's stations in one frame: one sprite-manager Update and one
// Draw of 16 stations with a tabletop each, carrying 24 idle machines (two
// on each of eight stations, one on each of the others), each machine with
// its body, six parts (three still, three animated and hidden while idle)
// and three option buttons shown with their icon and stripe. The working
// floor adds a mixer spraying its chocolate in, a press pouring a bucket
// and ten sprites halfway through a wipe; the clock stands still once they
// are there, so every frame draws the same. On the recording device (the
// engine's own work; the budgets are 0.5 ms idle and 0.1 ms more working)
// and on OpenGL. The belt bench times one step of a belt of 50 chocolates
// past 12 counters with waiting customers (budget 20 us). Run headless with
// SDL_VIDEODRIVER=offscreen.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "core/windows/windowstyle.h"
#include "foundation/clock.h"
#include "foundation/virtualfiles.h"
#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatevendor.h"
#include "game/floor/customer.h"
#include "game/level/upgrademanager.h"
#include "game/machines/conveyor.h"
#include "game/machines/machine.h"
#include "game/machines/machinebutton.h"
#include "game/machines/mixer.h"
#include "game/machines/press.h"
#include "game/machines/station.h"
#include "game/machines/wipeeffect.h"
#include "game/shell/gameassetmanager.h"
#include "game/shell/luastyle.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/spritemanager.h"
#include "glwindow.h"
#include "graphics/render/renderer.h"
#include "platform/display/recordingdevice.h"
#include "platform/os/timer.h"
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
                            icon = { anim = false, { file = "bench/icon.png" },
                                     { state = "shown", file = "bench/icon.png" } },
                            stripe = { anim = false, { file = "bench/stripe.png" },
                                       { state = "shown", file = "bench/stripe.png" } } } }
    end
    local function machine(name, x)
        return { name = name, x = x, stationType = 1, assets = { base = still("base") },
                 children = { static_a = part("part"), static_b = part("part"), static_c = part("part"),
                              anim_a = part("part"), anim_b = part("part"), anim_c = part("part") },
                 selections = { one = option(0), two = option(1), three = option(2) } }
    end
    function Working(name)
        return { name = name, assets = { base = still("base") },
                 children = { anim_arm = part("part"), anim_tube = part("part"), anim_spray = part("part"),
                              anim_door = part("part"), anim_largeweight = part("part"), anim_wheel = part("part"),
                              anim_fill = part("part"), static_door = part("part") },
                 selections = { button1 = option(0), button2 = option(1) } }
    end
    mixer = Working("mixer")
    press = Working("press")
    wiped = { assets = { look = still("part") } }
    chocolates = { { barType = -1, layerType = 0, option = 0, assets = { bucket = still("part") },
                     children = { icon = { assets = { choc = still("icon") } } } },
                   { barType = 0, layerType = 2, option = 0, assets = { look = still("part") } } }
    function Station(n, machines, x, y)
        local entries = { left = machine("left", -40) }
        if machines > 1 then entries.right = machine("right", 40) end
        return { stationID = n, stationType = 2, x = x, y = y, assets = { tabletop = still("top") },
                 machines = entries }
    end
)";

class Floor {
public:
    Floor(display::Device& device, SDL_Window* window, bool working)
        : mRenderer(device, window, kWidth, kHeight), mWorking(working) {
        os::SetCurrentTimer(&mTimer);
        RegisterImages();
        mScript.DoLuaString(kDescriptions);
        mClock.Start();
        mManager = VSpriteManager::Create();
        mManager->SetClock(&mClock);
        if (mRenderer.IsDeviceReady()) Build();
        if (mRenderer.IsDeviceReady() && working) StartWork();
    }
    ~Floor() {
        mManager->RemoveAllSprites();
        mScreen.SetChocolateVendor(nullptr);
        ReleaseManagerSingleton<VUpgradeManager>();
        ReleaseManagerSingleton<VAssetManager>();
        os::SetCurrentTimer(nullptr);
    }
    Floor(const Floor&) = delete;
    Floor& operator=(const Floor&) = delete;

    bool IsReady() const {
        bool working = !mWorking || (mMixer && mMixer->GetPhase() == VMixer::kSpray && mPress &&
                                     mPress->GetPhase() == VPress::kPouring);
        return mRenderer.IsDeviceReady() && mMachines == 24 && working;
    }

    void Frame() { UpdateAndDraw(*mManager); }

private:
    static constexpr int kWipes = 10;
    // Far enough into the work for the mixer to spray and the press to
    // pour, and for the wipes to be on their way.
    static constexpr int kFramesToWork = 12;

    template <class T>
    std::shared_ptr<T> WorkingMachine(int kind, const char* global, int x) {
        auto machine = std::dynamic_pointer_cast<T>(VMachine::Create(kind));
        machine->Load(VLuaStyle::Create(mScript.GetGlobalTable(global), nullptr));
        machine->SetEnabled(true);
        machine->VMachine::ApplyUpgrades();
        machine->SetPosition(TVec2(static_cast<float>(x), 520));
        mManager->AddSprite(machine);
        return machine;
    }

    void StartWork() {
        TWindowStyle style(nullptr);
        mScreen.PostInit(style);
        std::unique_ptr<TLuaTable> chocolates(mScript.GetGlobalTable("chocolates"));
        std::shared_ptr<VChocolateVendor> vendor = VChocolateVendor::Create();
        vendor->Load(chocolates.get());
        mScreen.SetChocolateVendor(vendor);
        mMixer = WorkingMachine<VMixer>(kMixerStation, "mixer", 300);
        mMixer->Select(0);
        mMixer->TryStartWork();
        mPress = WorkingMachine<VPress>(kPressStation, "press", 500);
        mPress->PutItem(vendor->MakeChocolateIcon(0, true), 1, false);
        mPress->Select(0);
        mPress->TryStartWork();
        for (int n = 0; n < kWipes; ++n) {
            auto sprite = VObject::Create(TString(), "wiped", 0);
            sprite->Load(VLuaStyle::Create(mScript.GetGlobalTable("wiped"), nullptr));
            sprite->SetPosition(TVec2(static_cast<float>(40 + 70 * n), 560));
            sprite->AddEffect(VWipeEffect::Create(n % 4, n % 2 == 0, 1000));
            mManager->AddSprite(sprite);
        }
        for (int frame = 0; frame < kFramesToWork; ++frame) {
            mTimer.Advance(16);
            Frame();
        }
    }

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
    bool mWorking;
    os::FakeTimer mTimer{1000};
    TScript mScript;
    TClock mClock;
    std::shared_ptr<VSpriteManager> mManager;
    int mMachines = 0;
    ShopWindow mScreen;
    std::shared_ptr<VMixer> mMixer;
    std::shared_ptr<VPress> mPress;
};

void FrameOnRecordingDevice(benchmark::State& state, bool working) {
    display::RecordingDevice device;
    Floor floor(device, reinterpret_cast<SDL_Window*>(&device), working);
    if (!floor.IsReady()) {
        state.SkipWithError("the recording display or the floor did not come up");
        return;
    }
    TimeFramesOnRecordingDevice(state, device, [&] { floor.Frame(); });
}

void FrameOnOpenGl(benchmark::State& state, bool working) {
    TGlScreen screen("floor bench", kWidth, kHeight);
    if (!screen.window) {
        state.SkipWithError("no OpenGL 3.3 context");
        return;
    }
    Floor floor(*screen.device, screen.window, working);
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

// A belt of radius 200 from 0.1 to 3 rad, crossed in about 20 s as on the
// shop floor, past 12 counters whose customers wait, the more impatient at the lower numbers; taken and dumped
// chocolates are replaced, and freed, between steps.
void BeltMove(benchmark::State& state) {
    constexpr int kCounters = 12;
    constexpr size_t kOnBelt = 50;
    os::FakeTimer timer{1000};
    os::SetCurrentTimer(&timer);
    TClock clock;
    clock.Start();
    TScript script;
    script.DoLuaString(kDescriptions);
    ShopWindow screen;
    TWindowStyle style(nullptr);
    screen.PostInit(style);
    std::unique_ptr<TLuaTable> chocolates(script.GetGlobalTable("chocolates"));
    std::shared_ptr<VChocolateVendor> vendor = VChocolateVendor::Create();
    vendor->Load(chocolates.get());
    std::string stations;
    for (int n = 1; n <= kCounters; ++n) {
        std::shared_ptr<VStation> counter = VStation::Create(n, kPlainStation);
        screen.AddStation(counter->GetName(), counter);
        std::shared_ptr<VCustomer> customer = VCustomer::Create(nullptr);
        counter->AttachCustomer(customer);
        customer->SetState(VCustomer::kWaiting);
        customer->SetPatience(static_cast<float>(10 * n));
        float angle = 0.1f + 2.9f * static_cast<float>(n) / (kCounters + 1);
        stations += TString::Format("'%s', {%f, %f}, ", counter->GetName().c_str(), 400 + 200 * std::cos(angle),
                                    500 - 200 * std::sin(angle))
                        .c_str();
    }
    script.DoLuaString(("belt = { arcCenter = {400, 500}, arcStart = {" + std::to_string(400 + 200 * std::cos(0.1)) +
                        ", " + std::to_string(500 - 200 * std::sin(0.1)) + "}, arcEnd = {" +
                        std::to_string(400 + 200 * std::cos(3.0)) + ", " + std::to_string(500 - 200 * std::sin(3.0)) +
                        "}, arcVelocity = 4, stations = { " + stations + "} }")
                           .c_str());
    std::shared_ptr<VConveyor> belt = VConveyor::Create(20);
    belt->SetClock(&clock);
    belt->Load(VLuaStyle::Create(script.GetGlobalTable("belt"), nullptr));
    // Chocolates that leave the belt are freed outside the timed step.
    std::vector<std::shared_ptr<VChocolate>> made;
    for (auto _ : state) {
        if (made.size() > 1000) made.clear();
        while (belt->GetBelt().size() < kOnBelt) {
            made.push_back(vendor->MakeChocolateIcon(0, false));
            belt->AddToBelt(made.back());
        }
        timer.Advance(16);
        auto start = std::chrono::steady_clock::now();
        belt->MoveBelt();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        belt->VStation::Update(false);
    }
    screen.SetChocolateVendor(nullptr);
    os::SetCurrentTimer(nullptr);
}

const struct {
    const char* name;
    void (*run)(benchmark::State&, bool);
    bool working;
} kFloors[] = {{"floor_frame/idle/recording", FrameOnRecordingDevice, false},
               {"floor_frame/working/recording", FrameOnRecordingDevice, true},
               {"floor_frame/idle/opengl", FrameOnOpenGl, false},
               {"floor_frame/working/opengl", FrameOnOpenGl, true}};

[[maybe_unused]] const bool kRegistered = [] {
    for (const auto& floor : kFloors) {
        benchmark::RegisterBenchmark(floor.name, floor.run, floor.working)
            ->Repetitions(5)
            ->DisplayAggregatesOnly(true)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("floor_belt/move_50_past_12", BeltMove)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
