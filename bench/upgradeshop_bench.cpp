// The upgrade shop's list: ShowCategory of a category of 25 upgrades, each
// tab made by the shipped "scripts/upgrade.lua" in a window of its own,
// sorted and laid out (target: median <= 25 ms, Release). Headless, on a
// window manager with its window script and a recording renderer; textures
// are not loaded. Two categories alternate, so each step builds the list
// afresh.
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
#include "game/progression/upgradelist.h"
#include "game/progression/upgradetab.h"
#include "game/shell/valuemanager.h"
#include "game/widgets/disablebutton.h"
#include "graphics/render/recordingrenderbackend.h"
#include "graphics/render/renderer.h"
#include "headlessservices.h"
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

}  // namespace

BENCHMARK_MAIN();
