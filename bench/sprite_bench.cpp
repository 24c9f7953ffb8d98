// Sprites: a frame of 2,000 textured sprites in a three-level tree through the
// renderer and the display handler on the recording device (the engine's own
// work), and one alpha hit test on OpenGL (a render target, a draw and a read
// back). Run headless with SDL_VIDEODRIVER=offscreen.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "glwindow.h"
#include "graphics/render/renderer.h"
#include "graphics/sprite.h"
#include "graphics/texture.h"
#include "platform/display/recordingdevice.h"
#include "rendererondevice.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kTextures = 50;
// A root, its branches and their leaves: 1 + 20 + 20 x 99 = 2,001 sprites.
constexpr int kBranches = 20, kLeaves = 99;

const TDrawState kIdentity(TVec2(0, 0), 1, 1, 0);

// The renderer on a display handler over the device, with textures made on it.
class Scene {
public:
    Scene(display::Device& device, SDL_Window* window) : mRenderer(device, window, kWidth, kHeight) {
        for (int i = 0; i < kTextures; ++i) {
            std::shared_ptr<TTexture> texture = TTexture::Create(16, 16, true);
            if (!texture) continue;
            TRenderer::GetInstance()->FillRect(TRect(0, 0, 16, 16), TColor4f(1, 1, 1, 1), texture);
            mTextures.push_back(texture);
        }
    }
    bool IsReady() const { return mRenderer.IsDeviceReady() && mTextures.size() == kTextures; }

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

    TRendererOnDevice mRenderer;
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
    TimeFramesOnRecordingDevice(state, device, [&] { scene.DrawFrame(); });
    state.counters["sprites"] = TSprite::GetCount();
}
BENCHMARK(BM_SpriteTreeOnRecordingDevice)->Unit(benchmark::kMillisecond);

// One HitTest with a threshold over a sprite with a child, on OpenGL.
void BM_AlphaHitTestOnOpenGl(benchmark::State& state) {
    TGlScreen screen("sprite bench", kWidth, kHeight);
    Scene scene(*screen.device, screen.window);
    if (!screen.window || !scene.IsReady()) {
        state.SkipWithError("no OpenGL 3.3 context");
        return;
    }
    TSprite& tree = scene.BuildTree();
    TRect bounds = tree.GetBounds(kIdentity, 0);
    TPoint point(bounds.left + 3, bounds.top + 3);
    int hits = 0;
    for (auto _ : state) hits += tree.HitTest(point, kIdentity, 1, 0) ? 1 : 0;
    state.counters["hit"] = hits > 0 ? 1 : 0;
}
BENCHMARK(BM_AlphaHitTestOnOpenGl)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
