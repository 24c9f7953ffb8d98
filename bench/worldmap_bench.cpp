// The world map's frame with the map open: the shipped map's six pins and
// sixty globes (the last location's pin open and revealed), twelve glowing
// globes and forty dots of the paths, each frame the map's step (sprite
// updates, effects, dots) and its drawing (target: median <= 1.5 ms,
// Release, recording device; OpenGL printed). The map's description comes
// from the shipped "scripts/worldmap.lua", read in a window script with the
// dialog functions stubbed. Run headless with SDL_VIDEODRIVER=offscreen.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "core/app/tasklist.h"
#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "core/windows/modalwindow.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowscript.h"
#include "core/windows/windowstyle.h"
#include "foundation/clock.h"
#include "foundation/virtualfiles.h"
#include "game/level/levelmanager.h"
#include "game/objects/spritebutton.h"
#include "game/progression/gloweffect.h"
#include "game/progression/pushpin.h"
#include "game/progression/worldmap.h"
#include "game/shell/gameassetmanager.h"
#include "game/shell/valuemanager.h"
#include "game/sprites/spritemanager.h"
#include "glwindow.h"
#include "graphics/render/renderer.h"
#include "platform/display/recordingdevice.h"
#include "platform/os/timer.h"
#include "rendererondevice.h"
#include "shoplevel.h"
#include "scriptedsprites/animationhost.h"
#include "tests/support/headlessservices.h"

namespace {

constexpr int kPins = 6;
constexpr int kDots = 40;
constexpr int kGlows = 12;

// The map script's dialog calls keep the map's description in "map".
const char kStubs[] = R"(
function ReadFile() end
function Color() return {} end
function OvalButton() return nil end
function Bitmap(t) return t end
function VWorldMap(t) t.isMap = true return t end
function MakeDialog(t)
    for _, window in pairs(t[1]) do
        if type(window) == "table" and window.isMap then map = window end
    end
end
function ResetMap() end
function GetManagedInt() return 0 end
kHAlignLeft, kHAlignRight, kHAlignCenter, kVAlignCenter = 0, 0, 0, 0
)";

class OpenMap {
public:
    OpenMap(display::Device& device, SDL_Window* window) : mRenderer(device, window, kWidth, kHeight) {
        os::SetCurrentTimer(&mTimer);
        SetAnimationHost(&mHost);
        ScanFolder(VANDERMOOT_ASSETS, ".");
        mWindows = std::make_unique<TWindowManager>(mFrame);
        mWindows->SetRootWindow(new TModalWindow());
        mWindows->AttachScript(new TWindowScript(mServices));
        TScript& script = *mWindows->GetScript();
        script.DoLuaString(kStubs);
        script.DoLuaString("dofile('scripts/worldmap.lua')");
        std::unique_ptr<TLuaTable> description(script.GetGlobalTable("map"));
        if (!description) return;
        // Every location reached, the last one under way.
        VLevelManager::Get()->SetHighestComplete(55, true);
        mRoot = std::make_unique<TWindow>();
        mRoot->SetSize(kWidth, kHeight);
        mMap = new VWorldMap();
        mRoot->AddChild(mMap, false);
        mMap->SetSize(kWidth, kHeight);
        mMap->PostInit(TWindowStyle(description.get()));
        mClock.Start();
        mMap->GetSpriteManager()->SetClock(&mClock);
        mMap->ResetMap();
        for (int i = 0; i < 100; ++i) Frame();
        LayDots();
        LightGlobes();
    }
    ~OpenMap() {
        mRoot.reset();
        mWindows.reset();
        mFrame.tasks.Clear();
        mHost.tasks.Clear();
        SetAnimationHost(nullptr);
        ReleaseManagerSingleton<VAssetManager>();
        ReleaseManagerSingleton<VLevelManager>();
        ReleaseManagerSingleton<VValueManager>();
        os::SetCurrentTimer(nullptr);
    }
    OpenMap(const OpenMap&) = delete;
    OpenMap& operator=(const OpenMap&) = delete;

    bool IsReady() const {
        if (!mMap || mMap->GetPins().size() != kPins) return false;
        int globes = 0;
        for (const auto& [name, pin] : mMap->GetPins()) globes += static_cast<int>(pin->GetGlobes().size());
        std::shared_ptr<VPushPin> open = mMap->FindCurrentPin();
        return globes == kPins * 10 && Dots() == kDots && open && open->GetPinState() == VPushPin::kOpen;
    }

    void Frame() {
        mTimer.Advance(kTick);
        mHost.tasks.RunAll(0);
        mMap->Animate();
        TRenderer& renderer = *TRenderer::GetInstance();
        if (!renderer.BeginDraw(true)) return;
        TWindow::DrawWindowTree(mRoot.get(), TWindow::kDrawAll);
        renderer.EndDraw(true);
    }

private:
    int Dots() const { return static_cast<int>(mMap->GetSpriteManager()->GetSprites().size()) - kPins; }

    // The paths played one after another until forty dots stand.
    void LayDots() {
        for (int round = 0; round < 20 && Dots() < kDots; ++round) {
            for (const auto& [name, points] : mMap->GetPaths()) {
                mMap->PlayTransition(name);
                while (mMap->GetCurrentPath().Length() > 0 && Dots() < kDots) Frame();
                if (Dots() >= kDots) break;
            }
        }
        mMap->PlayTransition(TString());
    }

    // Endless glows on the open pin's globes and two of another pin's.
    void LightGlobes() {
        std::vector<std::shared_ptr<VButton>> globes;
        for (const auto& [name, pin] : mMap->GetPins()) {
            for (const auto& [level, globe] : pin->GetGlobes()) globes.push_back(globe);
        }
        std::reverse(globes.begin(), globes.end());
        for (int i = 0; i < kGlows && i < static_cast<int>(globes.size()); ++i) {
            globes[static_cast<size_t>(i)]->DetachEffects();
            globes[static_cast<size_t>(i)]->AddEffect(VGlowEffect::Create(1.0f, 500, -1.0f, 0.0f));
        }
    }

    TRendererOnDevice mRenderer;
    os::FakeTimer mTimer{1000};
    BenchHost mHost;
    NoFrameServices mFrame;
    NoScriptServices mServices;
    std::unique_ptr<TWindowManager> mWindows;
    TClock mClock;
    std::unique_ptr<TWindow> mRoot;
    VWorldMap* mMap = nullptr;
};

void BM_OpenMapFrame(benchmark::State& state) {
    display::RecordingDevice device;
    OpenMap map(device, reinterpret_cast<SDL_Window*>(&device));
    if (!map.IsReady()) {
        state.SkipWithError("the map did not open as planned");
        return;
    }
    RecordFrames(state, device, [&] { map.Frame(); });
}
BENCHMARK(BM_OpenMapFrame)->Unit(benchmark::kMillisecond)->Iterations(2000);

void BM_OpenMapFrameOnOpenGl(benchmark::State& state) {
    TGlScreen screen("world map bench", kWidth, kHeight);
    if (!screen.window) {
        state.SkipWithError("no OpenGL 3.3 context");
        return;
    }
    OpenMap map(*screen.device, screen.window);
    if (!map.IsReady()) {
        state.SkipWithError("the map did not open as planned");
        return;
    }
    for (auto _ : state) map.Frame();
}
BENCHMARK(BM_OpenMapFrameOnOpenGl)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
