// Sprites: a frame of 2,000 textured sprites in a three-level tree through the
// renderer and the display handler on the recording device (the engine's own
// work), and one alpha hit test on OpenGL (a render target, a draw and a read
// back). Run headless with SDL_VIDEODRIVER=offscreen.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "graphics/displayhost.h"
#include "graphics/dxdisplayhandler.h"
#include "graphics/renderer.h"
#include "graphics/sprite.h"
#include "graphics/texture.h"
#include "platform/display/glattributes.h"
#include "platform/display/gldevice.h"
#include "platform/display/recordingdevice.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kTextures = 50;
// A root, its branches and their leaves: 1 + 20 + 20 x 99 = 2,001 sprites.
constexpr int kBranches = 20, kLeaves = 99;

const TDrawState kIdentity(TVec2(0, 0), 1, 1, 0);

// The renderer on a display handler over the device, with textures made on it.
class Scene {
public:
    Scene(display::Device& device, SDL_Window* window) {
        mHost.window = window;
        auto handler = std::make_unique<TDxDisplayHandler>(device, mHost);
        mHandler = handler.get();
        TRenderer::GetInstance()->SetBackEnd(std::move(handler));
        mHandler->SetDisplay(kWidth, kHeight, false, false, false, false);
        for (int i = 0; i < kTextures; ++i) {
            std::shared_ptr<TTexture> texture = TTexture::Create(16, 16, true);
            if (!texture) continue;
            TRenderer::GetInstance()->FillRect(TRect(0, 0, 16, 16), TColor4f(1, 1, 1, 1), texture);
            mTextures.push_back(texture);
        }
    }
    ~Scene() {
        mTree.reset();
        mTextures.clear();
        TRenderer::DestroyInstance();
    }

    bool IsReady() const { return mHandler->IsDeviceReady() && mTextures.size() == kTextures; }

    TSprite& BuildTree() {
        int made = 0;
        mTree = Make(0, made);
        for (int b = 0; b < kBranches; ++b) {
            std::shared_ptr<TSprite> branch = Make(b % 3 - 1, made);
            for (int l = 0; l < kLeaves; ++l) branch->AddChild(Make(l % 5 - 2, made));
            mTree->AddChild(branch);
        }
        return *mTree;
    }

    void DrawFrame() {
        TRenderer& renderer = *TRenderer::GetInstance();
        if (!renderer.BeginDraw(true)) return;
        renderer.Begin2d();
        mTree->Draw(kIdentity, -1);
        renderer.End2d();
        renderer.EndDraw(true);
    }

private:
    // Spread over the screen, each placed within its parent.
    std::shared_ptr<TSprite> Make(int layer, int& made) {
        std::shared_ptr<TSprite> sprite = TSprite::Create(layer, mTextures[made % kTextures]);
        sprite->GetDrawState() = TDrawState(TVec2(static_cast<float>(made * 13 % 300), static_cast<float>(made * 7 % 200)),
                                            1, 1, 0);
        ++made;
        return sprite;
    }

    TFakeDisplayHost mHost;
    TDxDisplayHandler* mHandler = nullptr;
    std::vector<std::shared_ptr<TTexture>> mTextures;
    std::shared_ptr<TSprite> mTree;
};

void BM_SpriteTreeOnRecordingDevice(benchmark::State& state) {
    display::RecordingDevice device;
    Scene scene(device, reinterpret_cast<SDL_Window*>(&device));
    if (!scene.IsReady()) {
        state.SkipWithError("the recording display did not come up");
        return;
    }
    scene.BuildTree();
    for (auto _ : state) {
        scene.DrawFrame();
        state.PauseTiming();
        device.ClearCalls();
        state.ResumeTiming();
    }
    state.counters["sprites"] = TSprite::GetCount();
}
BENCHMARK(BM_SpriteTreeOnRecordingDevice)->Unit(benchmark::kMillisecond);

// One HitTest with a threshold over a sprite with a child, on OpenGL.
void BM_AlphaHitTestOnOpenGl(benchmark::State& state) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !display::SetGlAttributes()) {
        state.SkipWithError("no SDL video");
        return;
    }
    SDL_Window* window =
        SDL_CreateWindow("sprite bench", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    auto device = std::make_unique<display::GlDevice>();
    {
        Scene scene(*device, window);
        if (!window || !scene.IsReady()) {
            state.SkipWithError("no OpenGL 3.3 context");
        } else {
            TSprite& tree = scene.BuildTree();
            TRect bounds = tree.GetBounds(kIdentity, 0);
            TPoint point(bounds.left + 3, bounds.top + 3);
            int hits = 0;
            for (auto _ : state) hits += tree.HitTest(point, kIdentity, 1, 0) ? 1 : 0;
            state.counters["hit"] = hits > 0 ? 1 : 0;
        }
    }
    device.reset();
    if (window) SDL_DestroyWindow(window);
}
BENCHMARK(BM_AlphaHitTestOnOpenGl)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
