// Text layout: laying out a marked-up paragraph, and redrawing a text that
// has not changed, which replays cached spans and lays nothing out.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "foundation/debuglog.h"
#include "graphics/render/recordingrenderbackend.h"
#include "graphics/render/renderer.h"
#include "graphics/text/fontmap.h"
#include "graphics/text/qmminivecdraw.h"
#include "graphics/text/textlayout.h"

namespace {

// Drops the line lists: the figure is the layout's and the span cache's.
class DiscardingBackEnd : public TRecordingRenderBackEnd {
public:
    DiscardingBackEnd() : TRecordingRenderBackEnd(TRect(0, 0, 800, 600)) {}
    void DrawVertices(int, const TVertexSet&) override {}
};

// About 2,000 characters of words, with a tag every 50 characters.
TString Paragraph(char variant) {
    const char* tags[] = {"<b>", "</b>", "<i>", "</i>", "<font color='#ff8000'>", "</font>", "<u>", "</u>"};
    std::string text;
    int tag = 0;
    while (text.size() < 2000) {
        for (int word = 0; word < 8; ++word) text += std::string(1 + (word * 3) % 6, variant) + " ";
        text += tags[tag++ % 8];
    }
    return TString(text.c_str(), static_cast<int>(text.size()));
}

struct Setting {
    Setting() {
        SetLogFolder(nullptr);
        renderer.SetBackEnd(std::make_unique<DiscardingBackEnd>());
        TQmMiniVecDraw::SetInstance(&draw);
    }
    ~Setting() { TQmMiniVecDraw::SetInstance(nullptr); }

    TFontMap fonts{[](const TString&, std::string&) { return false; }};
    TRenderer renderer;
    TQmMiniVecDraw draw{renderer};
};

void BM_LayOutParagraph(benchmark::State& state) {
    Setting setting;
    const TString texts[2] = {Paragraph('a'), Paragraph('e')};
    TTextLayout layout(400, 600, "", 16, TColor4f(1, 1, 1, 1), 0, texts[0], &setting.fonts);
    int which = 0;
    for (auto _ : state) {
        layout.SetText(texts[which ^= 1]);
        benchmark::DoNotOptimize(layout.GetLines().size());
    }
    state.counters["lines"] = static_cast<double>(layout.GetLines().size());
    state.counters["characters"] = texts[0].Length();
}
BENCHMARK(BM_LayOutParagraph)->Unit(benchmark::kMicrosecond);

void BM_RedrawUnchangedText(benchmark::State& state) {
    Setting setting;
    TTextLayout layout(400, 600, "", 16, TColor4f(1, 1, 1, 1), 0, Paragraph('a'), &setting.fonts);
    setting.renderer.BeginDraw(false);
    setting.renderer.Begin2d();
    layout.Draw(TVec2(0, 0), 600, 1, 0, 1);
    int layouts = 0;
    for (auto _ : state) {
        layouts += layout.IsDirty();
        layout.Draw(TVec2(0, 0), 600, 1, 0, 1);
    }
    setting.renderer.End2d();
    setting.renderer.EndDraw(false);
    state.counters["layouts"] = layouts;
}
BENCHMARK(BM_RedrawUnchangedText)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
