// The sprite manager's frame: one Update and one Draw of a scene of game
// objects, each showing one still state of eight textures, a fifth with a
// child object, a tenth with a running alpha or tint effect. On the recording
// device (the engine's own work) at 500 and 1,000 objects, and on OpenGL at
// 500. Run headless with SDL_VIDEODRIVER=offscreen.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "core/scripting/script.h"
#include "foundation/clock.h"
#include "game/objects/object.h"
#include "game/shell/gameassetmanager.h"
#include "game/shell/luastyle.h"
#include "game/sprites/alphaeffect.h"
#include "game/sprites/spritemanager.h"
#include "game/sprites/tinteffect.h"
#include "glwindow.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"
#include "platform/display/recordingdevice.h"
#include "rendererondevice.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kTextures = 8;
constexpr int kSide = 32;
// Long enough that the effects run through every benchmark.
constexpr int kEffectTime = 100000000;

// The scene's textures under the names "bench/tex<n>", made on the device.
bool RegisterTextures() {
    for (int i = 0; i < kTextures; ++i) {
        std::shared_ptr<TTexture> texture = TTexture::Create(kSide, kSide, true);
        if (!texture) return false;
        float shade = static_cast<float>(i + 1) / kTextures;
        TRenderer::GetInstance()->FillRect(TRect(0, 0, kSide, kSide), TColor4f(shade, 1 - shade, 0.5f, 1), texture);
        VAssetManager::Get()->RegisterAsset(TString::Format("bench/tex%i", i), texture);
    }
    return true;
}

// One description per texture: a still "default" state of the texture.
void DefineDescriptions(TScript& script) {
    for (int i = 0; i < kTextures; ++i) {
        TString code = TString::Format("d%i = { assets = { anim = false, face = { { file = 'bench/tex%i' } } } }", i, i);
        script.DoLuaString(code.c_str());
    }
}

class Scene {
public:
    Scene(display::Device& device, SDL_Window* window) : mRenderer(device, window, kWidth, kHeight) {
        mReady = mRenderer.IsDeviceReady() && RegisterTextures();
        DefineDescriptions(mScript);
        mClock.Start();
        mManager = VSpriteManager::Create();
        mManager->SetClock(&mClock);
    }
    ~Scene() {
        mManager->RemoveAllSprites();
        ReleaseManagerSingleton<VAssetManager>();
    }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    bool IsReady() const { return mReady; }

    void Build(int count) {
        for (int i = 0; i < count; ++i) {
            std::shared_ptr<VObject> object = Make(i);
            object->SetPosition(TVec2(static_cast<float>(i * 13 % kWidth), static_cast<float>(i * 7 % kHeight)));
            object->SetSpriteLayer(i % 3);
            if (i % 5 == 0) object->AddChild(Make(i + 1));
            if (i % 10 == 0) object->AddEffect(Effect(i));
            mManager->AddSprite(object);
        }
    }

    void Frame() {
        mManager->Update();
        TRenderer& renderer = *TRenderer::GetInstance();
        if (!renderer.BeginDraw(true)) return;
        mManager->Draw();
        renderer.EndDraw(true);
    }

private:
    std::shared_ptr<VObject> Make(int i) {
        std::shared_ptr<VObject> object = VObject::Create(TString(), "bench", 0);
        TString name = TString::Format("d%i", i % kTextures);
        object->Load(VLuaStyle::Create(mScript.GetGlobalTable(name.c_str()), nullptr));
        object->Reset();
        return object;
    }
    static std::shared_ptr<VSpriteEffect> Effect(int i) {
        if (i % 20 == 0) return VAlphaEffect::Create(false, 0.5f, kEffectTime, 1.0f, 0);
        return VTintEffect::Create(1.0f, kEffectTime, 1, 0, 0, 1, 0);
    }

    TRendererOnDevice mRenderer;
    TScript mScript;
    TClock mClock;
    std::shared_ptr<VSpriteManager> mManager;
    bool mReady = false;
};

void BM_SpriteManagerFrameOnRecordingDevice(benchmark::State& state) {
    display::RecordingDevice device;
    Scene scene(device, reinterpret_cast<SDL_Window*>(&device));
    if (!scene.IsReady()) {
        state.SkipWithError("the recording display did not come up");
        return;
    }
    scene.Build(static_cast<int>(state.range(0)));
    TimeFramesOnRecordingDevice(state, device, [&] { scene.Frame(); });
}
BENCHMARK(BM_SpriteManagerFrameOnRecordingDevice)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_SpriteManagerFrameOnOpenGl(benchmark::State& state) {
    TGlScreen screen("sprite manager bench", kWidth, kHeight);
    if (!screen.window) {
        state.SkipWithError("no OpenGL 3.3 context");
        return;
    }
    Scene scene(*screen.device, screen.window);
    if (!scene.IsReady()) {
        state.SkipWithError("the OpenGL display did not come up");
        return;
    }
    scene.Build(static_cast<int>(state.range(0)));
    for (auto _ : state) scene.Frame();
}
BENCHMARK(BM_SpriteManagerFrameOnOpenGl)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
