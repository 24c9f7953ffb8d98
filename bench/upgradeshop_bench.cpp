// The upgrade shop. Its list: ShowCategory of a category of 25 upgrades,
// each tab made by the shipped "scripts/upgrade.lua" in a window of its own,
// sorted and laid out (target: median <= 25 ms, Release), headless on a
// window manager with its window script and a recording renderer, textures
// not loaded; two categories alternate, so each step builds the list
// afresh. Its frame: the shop with the first level's scene inside it at half
// size, over the covered level screen (target: median <= 1.3 x the level's
// frame alone, both printed), on the recording device and on OpenGL. Run
// headless with SDL_VIDEODRIVER=offscreen.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "core/windows/modalwindow.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowscript.h"
#include "core/windows/windowstyle.h"
#include "foundation/virtualfiles.h"
#include "game/level/upgrademanager.h"
#include "game/progression/prelevelwindow.h"
#include "game/progression/upgradelist.h"
#include "game/progression/upgradetab.h"
#include "game/shell/valuemanager.h"
#include "game/widgets/disablebutton.h"
#include "graphics/render/recordingrenderbackend.h"
#include "graphics/render/renderer.h"
#include "glwindow.h"
#include "tests/support/headlessservices.h"
#include "platform/display/recordingdevice.h"
#include "shoplevel.h"
#include "widgets/widgetclasses.h"

namespace {

constexpr int kUpgrades = 25;

// Two categories of 25 offered upgrades with texts and thumbnails.
std::string Catalogue() {
    std::string xml = "<upgrades>";
    for (const char* category : {"station", "aesthetic"}) {
        xml += std::string("<upgradetype type=\"") + category + "\">";
        for (int i = 0; i < kUpgrades; ++i) {
            xml += "<upgrade name=\"k" + std::string(category) + std::to_string(i) + "\"><cost>" +
                   std::to_string(100 + i * 37 % 500) +
                   "</cost><header>upgrade_kmixer1_header</header><content>upgrade_kmixer1_content</content>"
                   "<image>ui/upgrades/thumb_mixer.png</image></upgrade>";
        }
        xml += "</upgradetype>";
    }
    return xml + "</upgrades>";
}

class Shop {
public:
    Shop() : mCatalogue(Catalogue()) {
        RegisterWidgetClasses();
        TRenderer::GetInstance()->SetBackEnd(std::make_unique<TRecordingRenderBackEnd>(TRect(0, 0, 800, 600)));
        mManager = std::make_unique<TWindowManager>(mFrame);
        mManager->SetRootWindow(new TModalWindow());
        mManager->AttachScript(new TWindowScript(mServices));
        mManager->RegisterWindowType("VUpgradeTab", VUpgradeTab::ClassId());
        mManager->RegisterWindowType("RDisableButton", RDisableButton::ClassId());
        ScanFolder(VANDERMOOT_ASSETS, ".");
        RegisterMemoryFile("bench_upgrades.xml", mCatalogue.data(), mCatalogue.size());
        VUpgradeManager::Get()->SelectLocation(5, "bench_upgrades.xml", -1, -1, nullptr);
        VValueManager::Get()->SetValue("current_worth", 1000, false);
        list = new VUpgradeList();
        mManager->GetTopModal()->AddChild(list, false);
        list->SetSize(312, 388);
        list->PostInit(TWindowStyle(nullptr));
    }
    ~Shop() {
        mManager.reset();
        mFrame.tasks.Clear();
        ReleaseManagerSingleton<VUpgradeManager>();
        ReleaseManagerSingleton<VValueManager>();
        RegisterMemoryFile("bench_upgrades.xml", nullptr, 0);
        TRenderer::DestroyInstance();
    }
    Shop(const Shop&) = delete;
    Shop& operator=(const Shop&) = delete;

    // The tabs of the category's last list are deleted first, outside the time.
    void Flush() { mManager->FlushDeletes(); }

    VUpgradeList* list = nullptr;

private:
    std::string mCatalogue;
    NoFrameServices mFrame;
    NoScriptServices mServices;
    std::unique_ptr<TWindowManager> mManager;
};

void BM_ShowCategoryOf25Upgrades(benchmark::State& state) {
    Shop shop;
    std::vector<double> times;
    bool station = false;
    for (auto _ : state) {
        station = !station;
        auto start = std::chrono::steady_clock::now();
        bool shown = shop.list->ShowCategory(station ? "station" : "aesthetic");
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (!shown || shop.list->GetTabs().size() != kUpgrades) {
            state.SkipWithError("the list was not filled");
            return;
        }
        state.PauseTiming();
        shop.Flush();
        state.ResumeTiming();
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
}
BENCHMARK(BM_ShowCategoryOf25Upgrades)->Unit(benchmark::kMillisecond)->Iterations(200);

// The shop over the level: the level screen covered, so only the shop's
// backdrop and the scene inside it are drawn; the scene steps as the shop
// steps.
class ShopOverLevel {
public:
    explicit ShopOverLevel(Level& level) : mLevel(level), mRoot(std::make_unique<TWindow>()) {
        mRoot->SetSize(kWidth, kHeight);
        mShop = new VPrelevelWindow();
        mRoot->AddChild(mShop, false);
        mShop->SetSize(kWidth, kHeight);
        mShop->PostInit(TWindowStyle(nullptr));
        mShop->SetImage("ui/backgrounds/title_backdrop.png", 1.0f);
    }

    void Frame() {
        mLevel.Advance();
        mShop->Animate();
        TRenderer& renderer = *TRenderer::GetInstance();
        if (!renderer.BeginDraw(true)) return;
        TWindow::DrawWindowTree(mRoot.get(), TWindow::kDrawAll);
        renderer.EndDraw(true);
    }

private:
    Level& mLevel;
    std::unique_ptr<TWindow> mRoot;
    VPrelevelWindow* mShop = nullptr;
};

void BM_LevelFrameAlone(benchmark::State& state) {
    display::RecordingDevice device;
    Level level(device, reinterpret_cast<SDL_Window*>(&device));
    if (!LevelLoaded(state, level)) return;
    RecordFrames(state, device, [&] { level.Frame(); });
}
BENCHMARK(BM_LevelFrameAlone)->Unit(benchmark::kMillisecond)->Iterations(2000);

void BM_ShopFrameOverTheLevel(benchmark::State& state) {
    display::RecordingDevice device;
    Level level(device, reinterpret_cast<SDL_Window*>(&device));
    if (!LevelLoaded(state, level)) return;
    ShopOverLevel shop(level);
    RecordFrames(state, device, [&] { shop.Frame(); });
}
BENCHMARK(BM_ShopFrameOverTheLevel)->Unit(benchmark::kMillisecond)->Iterations(2000);

void BM_ShopFrameOverTheLevelOnOpenGl(benchmark::State& state) {
    TGlScreen screen("upgrade shop bench", kWidth, kHeight);
    if (!screen.window) {
        state.SkipWithError("no OpenGL 3.3 context");
        return;
    }
    Level level(*screen.device, screen.window);
    if (!LevelLoaded(state, level)) return;
    ShopOverLevel shop(level);
    for (auto _ : state) shop.Frame();
}
BENCHMARK(BM_ShopFrameOverTheLevelOnOpenGl)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
