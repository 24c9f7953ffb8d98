// Textured quads through the display device on the GL back end: 10,000 quads
// a frame from 50 textures in runs of 200, batched against one draw call per
// quad. Run headless with SDL_VIDEODRIVER=offscreen.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "glwindow.h"
#include "platform/display/gldevice.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kTextures = 50, kRun = 200;

// One window and device for every benchmark of the program.
struct Screen {
    SDL_Window* window = nullptr;
    std::unique_ptr<display::GlDevice> device;
    std::vector<display::SurfaceId> textures;

    Screen() {
        window = CreateGlWindow("display bench", kWidth, kHeight);
        if (!window) return;
        device = std::make_unique<display::GlDevice>();
        if (device->CreateScreen({window, kWidth, kHeight, false, false, true}) != display::Result::Ok) {
            device.reset();
            return;
        }
        display::DrawStates states;
        states.zEnable = states.zWrite = false;
        states.cull = display::Cull::None;
        device->SetStates(states);
        std::vector<uint32_t> pixels(32 * 32);
        for (int i = 0; i < kTextures; ++i) {
            for (size_t p = 0; p < pixels.size(); ++p) pixels[p] = 0x80000000u | (i * 5) << 16 | static_cast<uint32_t>(p);
            display::SurfaceId texture = display::kNoSurface;
            device->CreateSurface({32, 32, display::Format::A8R8G8B8}, texture);
            device->Upload(texture, pixels.data(), 32, 32);
            textures.push_back(texture);
        }
    }
};

Screen& GetScreen() {
    static Screen screen;
    return screen;
}

std::array<display::Vertex, 4> Quad(int index) {
    float x = static_cast<float>(index * 13 % (kWidth - 16)), y = static_cast<float>(index * 7 % (kHeight - 16));
    std::array<display::Vertex, 4> quad;
    const float corners[4][4] = {{0, 0, 0, 0}, {16, 0, 1, 0}, {16, 16, 1, 1}, {0, 16, 0, 1}};
    for (int i = 0; i < 4; ++i) {
        quad[i] = {x + corners[i][0], y + corners[i][1], 0.5f, 1, 0xFFFFFFFF, 0, corners[i][2], corners[i][3]};
    }
    return quad;
}

void DrawFrame(display::GlDevice& device, const std::vector<display::SurfaceId>& textures) {
    device.BeginScene();
    for (int run = 0; run < kTextures; ++run) {
        device.SetTexture(textures[run]);
        for (int i = 0; i < kRun; ++i) {
            auto quad = Quad(run * kRun + i);
            device.Draw(display::Primitive::TriangleFan, display::VertexKind::PreTransformed, quad.data(), 4);
        }
    }
    device.EndScene();
    glFinish();
}

void BM_TexturedQuads(benchmark::State& state) {
    Screen& screen = GetScreen();
    if (!screen.device) {
        state.SkipWithError("no OpenGL 3.3 context");
        return;
    }
    screen.device->SetFlushEveryDraw(state.range(0) != 0);
    uint64_t before = screen.device->GetDrawCallCount();
    for (auto _ : state) DrawFrame(*screen.device, screen.textures);
    state.counters["gl_draws_per_frame"] = static_cast<double>(screen.device->GetDrawCallCount() - before) /
                                           static_cast<double>(state.iterations());
    state.counters["quads_per_frame"] = kTextures * kRun;
    state.SetLabel(state.range(0) ? "flush every draw" : "batched");
}
BENCHMARK(BM_TexturedQuads)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
