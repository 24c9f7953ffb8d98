// 10,000 quads a frame drawn through the display handler inside a 2D block,
// where the projection is rebuilt before every draw: an unchanged matrix is
// not sent, so the device keeps one batch; against view rectangles that
// change every 200 quads. Run headless with SDL_VIDEODRIVER=offscreen.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <array>
#include <memory>

#include "glwindow.h"
#include "graphics/display/displayhost.h"
#include "graphics/display/dxdisplayhandler.h"
#include "graphics/render/renderer.h"
#include "platform/display/gldevice.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kQuads = 10000, kRun = 200;

// One window, device and handler for every benchmark of the program.
struct Screen {
    SDL_Window* window = nullptr;
    std::unique_ptr<display::GlDevice> device;
    TFakeDisplayHost host;
    std::unique_ptr<TDxDisplayHandler> handler;

    Screen() {
        window = CreateGlWindow("handler bench", kWidth, kHeight);
        if (!window) return;
        host.window = window;
        device = std::make_unique<display::GlDevice>();
        handler = std::make_unique<TDxDisplayHandler>(*device, host);
        handler->SetDisplay(kWidth, kHeight, false, false, false, false);
        if (!handler->IsDeviceReady()) handler.reset();
    }
};

Screen& GetScreen() {
    static Screen screen;
    return screen;
}

std::array<TRenderVertex, 4> Quad(int index) {
    float x = static_cast<float>(index * 13 % (kWidth - 16)), y = static_cast<float>(index * 7 % (kHeight - 16));
    std::array<TRenderVertex, 4> quad;
    const float corners[4][2] = {{0, 0}, {16, 0}, {16, 16}, {0, 16}};
    for (int i = 0; i < 4; ++i) {
        quad[i].x = x + corners[i][0];
        quad[i].y = y + corners[i][1];
        quad[i].diffuse = 0x80000000u | static_cast<uint32_t>(index);
    }
    return quad;
}

void DrawFrames(benchmark::State& state, bool changingView) {
    Screen& screen = GetScreen();
    if (!screen.handler) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    TDxDisplayHandler& handler = *screen.handler;
    uint64_t calls = screen.device->GetDrawCallCount();
    for (auto _ : state) {
        handler.BeginDraw(true);
        handler.Begin2d();
        for (int i = 0; i < kQuads; ++i) {
            if (changingView && i % kRun == 0) handler.SetViewRect(TRect((i / kRun) % 2, 0, kWidth, kHeight));
            std::array<TRenderVertex, 4> quad = Quad(i);
            TVertexSet vertices;
            vertices.Init2d(quad.data(), 4);
            handler.DrawVertices(TRenderer::kTriangleFan, vertices);
        }
        handler.End2d();
        handler.EndDraw(false);
    }
    state.counters["draw_calls_per_frame"] = benchmark::Counter(
        static_cast<double>(screen.device->GetDrawCallCount() - calls) / static_cast<double>(state.iterations()));
}

void BM_QuadsInOne2dBlock(benchmark::State& state) {
    DrawFrames(state, false);
}
BENCHMARK(BM_QuadsInOne2dBlock)->Unit(benchmark::kMillisecond);

void BM_QuadsWithChangingViewRects(benchmark::State& state) {
    DrawFrames(state, true);
}
BENCHMARK(BM_QuadsWithChangingViewRects)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
