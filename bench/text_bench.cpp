// The vector text path: rasterising glyphs, replaying them from the span
// cache, and how many draw calls a text's spans take.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/render/recordingrenderbackend.h"
#include "graphics/render/renderer.h"
#include "graphics/text/defaultfont.h"
#include "graphics/text/qmminivecdraw.h"
#include "graphics/text/vecfont.h"

namespace {

const int kTextSize = 24;

// Counts the line lists instead of keeping them.
class CountingBackEnd : public TRecordingRenderBackEnd {
public:
    CountingBackEnd() : TRecordingRenderBackEnd(TRect(0, 0, 800, 600)) {}
    void DrawVertices(int, const TVertexSet& vertices) override {
        ++drawCalls;
        spans += vertices.GetCount() / 2;
    }

    int drawCalls = 0;
    int spans = 0;
};

struct TextBench {
    TextBench() : font(std::vector<uint8_t>(kDefaultFontData, kDefaultFontData + kDefaultFontSize)) {
        auto counting = std::make_unique<CountingBackEnd>();
        backEnd = counting.get();
        renderer.SetBackEnd(std::move(counting));
        renderer.BeginDraw(false);
        renderer.Begin2d();
        scale = 0.8f * kTextSize * 4 / (font.GetAscent() + font.GetDescent());
    }

    // Draws the text as the layout does: the pen in quarter pixels, each
    // glyph at its rounded position.
    void Draw(TQmMiniVecDraw& draw, const std::string& text, float x, float y) {
        float pen = x * 4;
        for (unsigned char c : text) {
            int index = font.FindGlyph(c);
            if (index < 0) continue;
            draw.SetScale(scale, scale * font.GetFitScale(index));
            draw.Begin(pen / 4, y);
            draw.DrawShape(font.GetGlyphShape(index), 0, 0);
            pen += font.GetAdvance(index) * scale;
        }
        draw.Flush();
    }

    TVecFont font;
    TRenderer renderer;
    CountingBackEnd* backEnd = nullptr;
    float scale = 1;
};

std::string PrintableAscii() {
    std::string text;
    for (char c = 32; c < 127; ++c) text += c;
    return text;
}

std::string LongText() {
    std::string text;
    const std::string sentence = "The quick brown fox jumps over the lazy dog, again and again. ";
    while (text.size() < 500) text += sentence;
    return text.substr(0, 500);
}

// Every glyph rasterised: a fresh renderer has an empty cache.
void BM_RasteriseAscii24px(benchmark::State& state) {
    TextBench bench;
    std::string text = PrintableAscii();
    for (auto _ : state) {
        state.PauseTiming();
        auto draw = std::make_unique<TQmMiniVecDraw>(bench.renderer);
        state.ResumeTiming();
        bench.Draw(*draw, text, 10, 100);
        state.PauseTiming();
        draw.reset();
        state.ResumeTiming();
    }
    state.counters["glyphs"] = static_cast<double>(text.size());
}
BENCHMARK(BM_RasteriseAscii24px)->Unit(benchmark::kMillisecond);

// A 500-character text whose glyphs are all in the cache.
void BM_ReplayText500(benchmark::State& state) {
    TextBench bench;
    TQmMiniVecDraw draw(bench.renderer);
    std::string text = LongText();
    bench.Draw(draw, text, 10, 100);
    for (auto _ : state) {
        bench.backEnd->drawCalls = 0;
        bench.backEnd->spans = 0;
        bench.Draw(draw, text, 10, 100);
    }
    state.counters["draw_calls"] = bench.backEnd->drawCalls;
    state.counters["spans"] = bench.backEnd->spans;
}
BENCHMARK(BM_ReplayText500)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
