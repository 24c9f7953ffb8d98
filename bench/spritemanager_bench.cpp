// The sprite manager's frame: one Update and one Draw of a scene of game
// objects, each showing one still state of one of the scene's textures, a
// fifth with a child object, a tenth with a running alpha or tint effect. The
// textures are eight or one, and either images loaded from PNG files as a
// level loads them, or render targets filled on the device. On the recording
// device (the engine's own work) at 500 and 1,000 objects, and on OpenGL at
// 500 with the draw calls and texture changes of a frame. Run headless with
// SDL_VIDEODRIVER=offscreen.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "core/scripting/script.h"
#include "foundation/clock.h"
#include "foundation/virtualfiles.h"
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
#include "spritemanagerframe.h"
#include "tests/graphics/image/imagetesting.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kMaxTextures = 8;
constexpr int kSide = 32;
// Long enough that the effects run through every benchmark.
constexpr int kEffectTime = 100000000;

enum TextureSource { kImageFiles, kRenderTargets };

// The opaque colour of texture i (ARGB).
uint32_t Shade(int i) {
    auto channel = [](float value) { return static_cast<uint32_t>(value * 255); };
    float shade = static_cast<float>(i + 1) / kMaxTextures;
    return 0xFF000000u | channel(shade) << 16 | channel(1 - shade) << 8 | 0x7F;
}

// The images "bench/tex<n>.png" as memory files, made once.
void RegisterImageFiles() {
    static std::vector<std::string> files;
    if (!files.empty()) return;
    for (int i = 0; i < kMaxTextures; ++i) {
        files.push_back(EncodePng(RgbaPng(kSide, kSide, [i](int x, int y) {
            return x == 0 || y == 0 ? 0xFFFFFFFFu : Shade(i);
        })));
        RegisterMemoryFile(TString::Format("bench/tex%i.png", i), files.back().data(), files.back().size());
    }
}

// Texture i: loaded from its image file as a level loads its art, or a
// render target filled with its colour.
std::shared_ptr<TTexture> MakeTexture(int i, TextureSource source) {
    if (source == kImageFiles) return TTexture::GetWithOptions(TString::Format("bench/tex%i.png", i), 0);
    std::shared_ptr<TTexture> texture = TTexture::Create(kSide, kSide, true);
    uint32_t shade = Shade(i);
    auto channel = [shade](int shift) { return ((shade >> shift) & 255) / 255.0f; };
    if (texture) {
        TRenderer::GetInstance()->FillRect(TRect(0, 0, kSide, kSide),
                                           TColor4f(channel(16), channel(8), channel(0), 1), texture);
    }
    return texture;
}

// The scene's textures under the names "bench/tex<n>".
bool RegisterTextures(int count, TextureSource source) {
    RegisterImageFiles();
    for (int i = 0; i < count; ++i) {
        std::shared_ptr<TTexture> texture = MakeTexture(i, source);
        if (!texture) return false;
        VAssetManager::Get()->RegisterAsset(TString::Format("bench/tex%i", i), texture);
    }
    return true;
}

// One description per texture: a still "default" state of the texture.
void DefineDescriptions(TScript& script) {
    for (int i = 0; i < kMaxTextures; ++i) {
        TString code = TString::Format("d%i = { assets = { anim = false, face = { { file = 'bench/tex%i' } } } }", i, i);
        script.DoLuaString(code.c_str());
    }
}

class Scene {
public:
    Scene(display::Device& device, SDL_Window* window, int textures, TextureSource source)
        : mRenderer(device, window, kWidth, kHeight), mTextures(textures) {
        mReady = mRenderer.IsDeviceReady() && RegisterTextures(textures, source);
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

    void Frame() { UpdateAndDraw(*mManager); }

private:
    std::shared_ptr<VObject> Make(int i) {
        std::shared_ptr<VObject> object = VObject::Create(TString(), "bench", 0);
        TString name = TString::Format("d%i", i % mTextures);
        object->Load(VLuaStyle::Create(mScript.GetGlobalTable(name.c_str()), nullptr));
        object->Reset();
        return object;
    }
    static std::shared_ptr<VSpriteEffect> Effect(int i) {
        if (i % 20 == 0) return VAlphaEffect::Create(false, 0.5f, kEffectTime, 1.0f, 0);
        return VTintEffect::Create(1.0f, kEffectTime, 1, 0, 0, 1, 0);
    }

    TRendererOnDevice mRenderer;
    int mTextures;
    TScript mScript;
    TClock mClock;
    std::shared_ptr<VSpriteManager> mManager;
    bool mReady = false;
};

// Names the scene of the arguments (objects, textures, texture source).
void Label(benchmark::State& state) {
    int textures = static_cast<int>(state.range(1));
    bool files = state.range(2) == kImageFiles;
    state.SetLabel(std::to_string(textures) + (files ? " image file" : " render target") + (textures > 1 ? "s" : ""));
}

void BM_SpriteManagerFrameOnRecordingDevice(benchmark::State& state) {
    display::RecordingDevice device;
    Scene scene(device, reinterpret_cast<SDL_Window*>(&device), static_cast<int>(state.range(1)),
                static_cast<TextureSource>(state.range(2)));
    if (!scene.IsReady()) {
        state.SkipWithError("the recording display did not come up");
        return;
    }
    scene.Build(static_cast<int>(state.range(0)));
    TimeFramesOnRecordingDevice(state, device, [&] { scene.Frame(); });
    Label(state);
}
BENCHMARK(BM_SpriteManagerFrameOnRecordingDevice)
    ->ArgsProduct({{500, 1000}, {8}, {kRenderTargets, kImageFiles}})
    ->Unit(benchmark::kMillisecond);

void BM_SpriteManagerFrameOnOpenGl(benchmark::State& state) {
    TGlScreen screen("sprite manager bench", kWidth, kHeight);
    if (!screen.window) {
        state.SkipWithError("no OpenGL 3.3 context");
        return;
    }
    Scene scene(*screen.device, screen.window, static_cast<int>(state.range(1)),
                static_cast<TextureSource>(state.range(2)));
    if (!scene.IsReady()) {
        state.SkipWithError("the OpenGL display did not come up");
        return;
    }
    scene.Build(static_cast<int>(state.range(0)));
    display::GlDevice& device = *screen.device;
    uint64_t draws = device.GetDrawCallCount(), changes = device.GetTextureChangeCount();
    for (auto _ : state) scene.Frame();
    auto perFrame = [&](uint64_t count) { return static_cast<double>(count) / static_cast<double>(state.iterations()); };
    state.counters["draw_calls"] = perFrame(device.GetDrawCallCount() - draws);
    state.counters["texture_changes"] = perFrame(device.GetTextureChangeCount() - changes);
    Label(state);
}
BENCHMARK(BM_SpriteManagerFrameOnOpenGl)
    ->ArgsProduct({{500}, {8, 1}, {kRenderTargets, kImageFiles}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
