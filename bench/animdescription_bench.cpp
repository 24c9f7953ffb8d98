// Reading an animation description of 200,000 frames from the working
// folder: without a script (the reader writes the default DoAnim listing
// every frame) and with one.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "foundation/virtualfiles.h"
#include "graphics/animatedtexture.h"
#include "tests/support/tempfolder.h"

namespace {

constexpr int kFrames = 200000;

std::string Description(bool withScript) {
    std::string xml = "<sequence name=\"walk\"><img name=\"sheet.png\" w=\"64\" h=\"32\"/><framelist>";
    for (int i = 0; i < kFrames; ++i) xml += "<frame x=\"0\" y=\"0\" w=\"16\" h=\"32\"/>";
    xml += "</framelist>";
    if (withScript) xml += "<script>function DoAnim() end</script>";
    return xml + "</sequence>";
}

struct Descriptions {
    TempFolder folder;

    Descriptions() {
        folder.Write("assets/plain.xml", Description(false));
        folder.Write("assets/scripted.xml", Description(true));
        std::filesystem::current_path(folder.Path());
        ScanFolder("assets", "");
    }
};

void ReadDescription(benchmark::State& state, const char* name) {
    static Descriptions descriptions;
    for (auto _ : state) {
        TAnimation animation;
        if (!animation.Read(name, "walk")) state.SkipWithError("the description did not load");
        benchmark::DoNotOptimize(animation.script.c_str());
    }
    state.counters["frames"] = kFrames;
}

void BM_ReadWithoutScript(benchmark::State& state) { ReadDescription(state, "plain.xml"); }
BENCHMARK(BM_ReadWithoutScript)->Unit(benchmark::kMillisecond);

void BM_ReadWithScript(benchmark::State& state) { ReadDescription(state, "scripted.xml"); }
BENCHMARK(BM_ReadWithScript)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
