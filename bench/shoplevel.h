// The level screen of the shipped first level, ready to play a frame: the
// floor of the first location with its counters, the player walking
// between the far counters, eight customers waiting, and the HUD. Benches
// of screens over the level share it.
#pragma once

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "core/app/tasklist.h"
#include "core/scripting/script.h"
#include "core/windows/windowstyle.h"
#include "foundation/clock.h"
#include "foundation/virtualfiles.h"
#include "game/floor/customer.h"
#include "game/floor/customervendor.h"
#include "game/floor/player.h"
#include "game/level/levelmanager.h"
#include "game/level/upgrademanager.h"
#include "game/machines/station.h"
#include "game/progression/tutorialmanager.h"
#include "game/shell/gameassetmanager.h"
#include "game/shell/valuemanager.h"
#include "game/shop/shophud.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/spritemanager.h"
#include "game/texts/timer.h"
#include "game/widgets/dial.h"
#include "game/widgets/sweepdial.h"
#include "glwindow.h"
#include "graphics/render/renderer.h"
#include "platform/display/recordingdevice.h"
#include "platform/os/timer.h"
#include "rendererondevice.h"
#include "scriptedsprites/animationhost.h"
#include "widgets/text.h"

constexpr int kWidth = 800, kHeight = 600;
constexpr int kTick = 16;
constexpr int kCustomers = 8;
constexpr int kCounters = 6;

class BenchHost : public TAnimationHost {
public:
    TTaskList& GetTaskList() override { return tasks; }
    uint32_t Rand() override { return next = next * 1664525u + 1013904223u; }
    TTaskList tasks;
    uint32_t next = 1;
};

// The level screen of level 1 with its HUD, loaded as the level script
// loads it, with every counter taken and two customers more.
class Level {
public:
    explicit Level(display::Device& device, SDL_Window* window) : mRenderer(device, window, kWidth, kHeight) {
        os::SetCurrentTimer(&mTimer);
        SetAnimationHost(&mHost);
        ScanFolder(VANDERMOOT_ASSETS, ".");
        mScript.DoLuaString("function ReadFile(f) return dofile(f) end "
                            "ReadFile('scripts/shop/posse.lua') "
                            "screen = { location_grytviken = ReadFile('scripts/shop/grytviken.lua'), posse = posse, "
                            "tutorials = { } }");
        std::unique_ptr<TLuaTable> description(mScript.GetGlobalTable("screen"));
        mRoot = std::make_unique<TWindow>();
        mRoot->SetSize(kWidth, kHeight);
        mScreen = new ShopWindow();
        mRoot->AddChild(mScreen, false);
        mScreen->SetSize(kWidth, kHeight);
        TWindowStyle style(description.get());
        mScreen->PostInit(style);
        mClock.Start();
        mScreen->GetSpriteManager()->SetClock(&mClock);
        MakeHud();
        VValueManager::Get()->SetValue("current_level", 1, false);
        mScreen->LevelSetup();
        while (mScreen->IsStartPending()) Tick();
        Crowd();
    }
    ~Level() {
        mRoot.reset();
        mHost.tasks.Clear();
        SetAnimationHost(nullptr);
        ReleaseManagerSingleton<VAssetManager>();
        ReleaseManagerSingleton<VLevelManager>();
        ReleaseManagerSingleton<VUpgradeManager>();
        ReleaseManagerSingleton<VValueManager>();
        ReleaseManagerSingleton<VTutorialManager>();
        os::SetCurrentTimer(nullptr);
    }
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    ShopWindow* GetScreen() const { return mScreen; }
    // Moves the time on and runs the animation scripts, without the screen's tick.
    void Advance() {
        mTimer.Advance(kTick);
        mHost.tasks.RunAll(0);
    }

    bool IsReady() const { return mScreen->GetPlayer() && mScreen->GetActiveCustomers().size() == kCustomers; }

    // The player turns back at each far counter.
    void Tick() {
        Advance();
        const std::shared_ptr<VPlayer>& player = mScreen->GetPlayer();
        if (player && !player->IsWalking()) {
            mFarSide = !mFarSide;
            player->GoTo(mScreen->FindStationByNumber(mFarSide ? kCounters : 1)->GetPlayerPoints().front());
        }
        mScreen->Animate();
    }

    void Frame() {
        Tick();
        TRenderer& renderer = *TRenderer::GetInstance();
        if (!renderer.BeginDraw(true)) return;
        TWindow::DrawWindowTree(mRoot.get(), TWindow::kDrawAll);
        renderer.EndDraw(true);
    }

private:
    template <typename Window>
    Window* Child(TWindow* parent, const char* name, int x, int width) {
        auto* window = new Window();
        parent->AddChild(window, false);
        window->SetPosition(x, 4);
        window->SetSize(width, 30);
        window->Init(TWindowStyle(nullptr));
        window->SetName(name);
        return window;
    }

    void MakeHud() {
        auto* hud = new VShopHud();
        hud->SetName("shop_hud");
        hud->SetSize(kWidth, 80);
        mScreen->AddChild(hud, false);
        Child<RTimer>(hud, "game_timer", 46, 64);
        Child<KSweepDial>(hud, "timer_sweep", 8, 32);
        Child<KDial>(hud, "dialPower", 488, 32);
        for (const char* text : {"goal_score", "mastery_score", "level_name"}) Child<TText>(hud, text, 600, 70);
    }

    // Beside the level's first customer, every counter taken and two
    // customers more at the first counters, where an arrival pass would
    // hold them back.
    void Crowd() {
        const std::shared_ptr<VCustomerVendor>& vendor = mScreen->GetCustomerVendor();
        for (int n = 1; n <= kCustomers && mScreen->GetActiveCustomers().size() < kCustomers; ++n) {
            std::shared_ptr<VCustomer> customer = vendor ? vendor->CreateRandomCustomer() : nullptr;
            std::shared_ptr<VStation> counter = mScreen->FindStationByNumber(n % kCounters + 1);
            if (customer && counter) mScreen->SendToStation(customer, counter);
        }
    }

    TRendererOnDevice mRenderer;
    os::FakeTimer mTimer{1000};
    BenchHost mHost;
    TScript mScript;
    TClock mClock;
    std::unique_ptr<TWindow> mRoot;
    ShopWindow* mScreen = nullptr;
    bool mFarSide = false;
};

// Frames on the recording device, timed one by one: their median and 99th
// percentile, and the device calls of one frame.
template <typename Frame>
void RecordFrames(benchmark::State& state, display::RecordingDevice& device, Frame frame) {
    std::vector<double> times;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        frame();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        state.PauseTiming();
        state.counters["device_calls"] = static_cast<double>(device.GetCalls().size());
        device.ClearCalls();
        state.ResumeTiming();
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["p99_ms"] = times[times.size() * 99 / 100];
}

// False, and the bench skipped, when the level did not load.
inline bool LevelLoaded(benchmark::State& state, const Level& level) {
    if (!level.IsReady()) state.SkipWithError("the level did not load");
    return level.IsReady();
}
