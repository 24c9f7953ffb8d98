// Tutorials over a level of 600 named objects on the recording device: the
// highlighter's BeginStep for a step naming 10 objects, and a frame of the
// level (Update and Draw) with the tutorial's dim and the tints of 10
// highlighted objects against the same frame without a tutorial. The time
// runs on a fake timer that the benchmark moves.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/scripting/script.h"
#include "foundation/clock.h"
#include "game/objects/object.h"
#include "game/progression/tutorial.h"
#include "game/progression/tutorialmanager.h"
#include "game/progression/tutorialspider.h"
#include "game/shell/gameassetmanager.h"
#include "game/shell/luastyle.h"
#include "game/sprites/spritemanager.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"
#include "platform/display/recordingdevice.h"
#include "platform/os/timer.h"
#include "rendererondevice.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kObjects = 600;
constexpr int kNamesPerStep = 10;
constexpr int kSide = 32;

// The names of a step: objects spread over the level.
std::string StepNames(int first) {
    std::string names;
    for (int n = 0; n < kNamesPerStep; ++n) names += "'obj" + std::to_string(first + n * 37) + "', ";
    return names;
}

class Level {
public:
    explicit Level(display::RecordingDevice& device)
        : mRenderer(device, reinterpret_cast<SDL_Window*>(&device), kWidth, kHeight) {
        os::SetCurrentTimer(&mTimer);
        mClock.Start();
        mManager = VSpriteManager::Create();
        mManager->SetClock(&mClock);
        mReady = mRenderer.IsDeviceReady() && Populate();
        VTutorialManager::Get()->SetSpriteManager(mManager);
    }
    ~Level() {
        mTutorials.reset();
        ReleaseManagerSingleton<VTutorialManager>();
        mManager->RemoveAllSprites();
        ReleaseManagerSingleton<VAssetManager>();
        os::SetCurrentTimer(nullptr);
    }
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    bool IsReady() const { return mReady; }

    // A running tutorial whose two steps highlight and open 10 objects each.
    std::shared_ptr<VTutorial> StartTutorial() {
        std::string code = "tutorials = { t = { modes = { 0 }, steps = { { w = 300, h = 100, pause = false, action_objects = { " +
                           StepNames(1) + "} }, { w = 300, h = 100, pause = false, action_objects = { " + StepNames(2) +
                           "} } } } }";
        mScript.DoLuaString(code.c_str());
        std::shared_ptr<VLuaStyle> style = VLuaStyle::Create(mScript.GetGlobalTable("tutorials"), nullptr);
        mTutorials = VTutorialManager::Get();
        mTutorials->LoadTutorials(style->GetLuaTable(), style);
        std::shared_ptr<VTutorial> tutorial = mTutorials->FindTutorial("t");
        tutorial->Start(true);
        return tutorial;
    }

    // Lets the time pass and the manager drop the effects that have ended.
    void Pass(uint32_t milliseconds) {
        mTimer.Advance(milliseconds);
        mManager->Update();
    }

    void Frame() {
        Pass(16);
        TRenderer& renderer = *TRenderer::GetInstance();
        if (!renderer.BeginDraw(true)) return;
        mManager->Draw();
        renderer.EndDraw(true);
    }

private:
    bool Populate() {
        std::shared_ptr<TTexture> texture = TTexture::Create(kSide, kSide, true);
        if (!texture) return false;
        VAssetManager::Get()->RegisterAsset("bench/tex", texture);
        mScript.DoLuaString("object = { assets = { anim = false, face = { { file = 'bench/tex' } } } }");
        for (int i = 0; i < kObjects; ++i) {
            std::shared_ptr<VObject> object = VObject::Create(TString::Format("obj%i", i), "bench", 0);
            object->Load(VLuaStyle::Create(mScript.GetGlobalTable("object"), nullptr));
            object->Reset();
            object->SetPosition(TVec2(static_cast<float>(i * 13 % kWidth), static_cast<float>(i * 7 % kHeight)));
            mManager->AddSprite(object);
        }
        return true;
    }

    os::FakeTimer mTimer{1000};
    TRendererOnDevice mRenderer;
    TScript mScript;
    TClock mClock;
    std::shared_ptr<VSpriteManager> mManager;
    std::shared_ptr<VTutorialManager> mTutorials;
    bool mReady = false;
};

bool IsReady(benchmark::State& state, const Level& level) {
    if (!level.IsReady()) state.SkipWithError("the recording display did not come up");
    return level.IsReady();
}

void BM_BeginStepOfTenNames(benchmark::State& state) {
    display::RecordingDevice device;
    Level level(device);
    if (!IsReady(state, level)) return;
    std::shared_ptr<VTutorialSpider> highlighter = level.StartTutorial()->GetHighlighter();
    int step = 1;
    for (auto _ : state) {
        step = 3 - step;
        highlighter->BeginStep(step);
        state.PauseTiming();
        level.Pass(400);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BeginStepOfTenNames)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// Argument 1: with the tutorial's second step shown (the dim, and the tints
// of the first step's objects darkening again), else no tutorial.
void BM_LevelFrame(benchmark::State& state) {
    display::RecordingDevice device;
    Level level(device);
    if (!IsReady(state, level)) return;
    if (state.range(0) == 1) {
        std::shared_ptr<VTutorial> tutorial = level.StartTutorial();
        level.Pass(600);
        tutorial->Advance();
        level.Pass(600);
    }
    TimeFramesOnRecordingDevice(state, device, [&] { level.Frame(); });
    state.SetLabel(state.range(0) == 1 ? "dim and 10 tints" : "no tutorial");
}
BENCHMARK(BM_LevelFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
