// 10,000 TTexture::DrawAt quads a frame from 50 textures in runs of 200,
// through the renderer and the display handler: on the recording device (the
// engine's own work in a frame) and on OpenGL, batched against one draw call
// per quad. Run headless with SDL_VIDEODRIVER=offscreen.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/assetmanager.h"
#include "foundation/virtualfiles.h"
#include "glwindow.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"
#include "platform/display/recordingdevice.h"
#include "rendererondevice.h"
#include "tests/graphics/image/imagetesting.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kTextures = 50, kRun = 200;

// The 16x16 images, registered as memory files "bench/<n>.png".
const std::vector<std::string>& ImageFiles() {
    static std::vector<std::string> files = [] {
        std::vector<std::string> made;
        for (int i = 0; i < kTextures; ++i) {
            made.push_back(EncodePng(RgbaPng(16, 16, [i](int x, int y) {
                return 0x80000000u | static_cast<uint32_t>(i * 5) << 16 | static_cast<uint32_t>(x * 16 + y);
            })));
        }
        return made;
    }();
    static bool registered = [] {
        for (int i = 0; i < kTextures; ++i) {
            RegisterMemoryFile(("bench/" + std::to_string(i) + ".png").c_str(), files[i].data(), files[i].size());
        }
        return true;
    }();
    (void)registered;
    return files;
}

// The renderer on a display handler over the device, with the textures loaded.
class Scene {
public:
    Scene(display::Device& device, SDL_Window* window) : mRenderer(device, window, kWidth, kHeight) {
        static TAssetManager assets;
        SetAssetManager(&assets);
        ImageFiles();
        for (int i = 0; i < kTextures; ++i) {
            auto texture = TTexture::GetWithOptions(("bench/" + std::to_string(i) + ".png").c_str(), 0);
            if (texture) mTextures.push_back(texture);
        }
    }

    bool IsReady() const { return mRenderer.IsDeviceReady() && mTextures.size() == kTextures; }

    void DrawFrame() {
        TRenderer& renderer = *TRenderer::GetInstance();
        if (!renderer.BeginDraw(true)) return;
        renderer.Begin2d();
        for (int run = 0; run < kTextures; ++run) {
            for (int i = 0; i < kRun; ++i) {
                int index = run * kRun + i;
                float x = static_cast<float>(16 + index * 13 % (kWidth - 32));
                float y = static_cast<float>(16 + index * 7 % (kHeight - 32));
                mTextures[run]->DrawAt(x, y, 1, 1, 0, 0);
            }
        }
        renderer.End2d();
        renderer.EndDraw(true);
    }

private:
    TRendererOnDevice mRenderer;
    std::vector<std::shared_ptr<TTexture>> mTextures;
};

// The engine's side of a frame: renderer, textures and handler, with a
// device that only records.
void BM_FrameOnRecordingDevice(benchmark::State& state) {
    display::RecordingDevice device;
    Scene scene(device, reinterpret_cast<SDL_Window*>(&device));
    if (!scene.IsReady()) {
        state.SkipWithError("the recording display did not come up");
        return;
    }
    TimeFramesOnRecordingDevice(state, device, [&] { scene.DrawFrame(); });
    state.counters["quads_per_frame"] = kTextures * kRun;
}
BENCHMARK(BM_FrameOnRecordingDevice)->Unit(benchmark::kMillisecond);

// Whole frames on OpenGL, finished before the clock stops.
void BM_FrameOnOpenGl(benchmark::State& state) {
    TGlScreen screen("renderer bench", kWidth, kHeight);
    Scene scene(*screen.device, screen.window);
    if (!screen.window || !scene.IsReady()) {
        state.SkipWithError("no OpenGL 3.3 context");
        return;
    }
    screen.device->SetFlushEveryDraw(state.range(0) != 0);
    uint64_t before = screen.device->GetDrawCallCount();
    for (auto _ : state) {
        scene.DrawFrame();
        glFinish();
    }
    state.counters["gl_draws_per_frame"] = static_cast<double>(screen.device->GetDrawCallCount() - before) /
                                           static_cast<double>(state.iterations());
    state.SetLabel(state.range(0) ? "flush every draw" : "batched");
}
BENCHMARK(BM_FrameOnOpenGl)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
