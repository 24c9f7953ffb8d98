// 500 animated sprites playing the default DoAnim (three frames, 60 ms each)
// on a task list: one idle pass, 60 ms after the last, resumes every
// coroutine once. The engine's side only: no texture is drawn.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "core/app/tasklist.h"
#include "core/scripting/script.h"
#include "scriptedsprites/animatedsprite.h"
#include "scriptedsprites/animationhost.h"
#include "platform/os/timer.h"

namespace {

constexpr int kSprites = 500;
constexpr int kFrameDelay = 60;
// What a description of three frames without a script plays.
const char kDefaultDoAnim[] = "function DoAnim()\n    delay(60);\n    frames{1,2,3};\nend\n";

class BenchHost : public TAnimationHost {
public:
    TTaskList& GetTaskList() override { return tasks; }
    uint32_t Rand() override { return 0; }

    TTaskList tasks;
};

void PlayAll(const std::vector<std::shared_ptr<TAnimatedSprite>>& sprites) {
    for (const auto& sprite : sprites) sprite->Play("DoAnim");
}

void BM_TaskPassResumingEverySprite(benchmark::State& state) {
    os::FakeTimer timer(1000);
    os::SetCurrentTimer(&timer);
    BenchHost host;
    SetAnimationHost(&host);
    std::vector<std::shared_ptr<TAnimatedSprite>> sprites;
    for (int i = 0; i < kSprites; ++i) {
        auto sprite = TAnimatedSprite::Create(0);
        sprite->GetScript()->DoLuaString(kDefaultDoAnim);
        sprites.push_back(sprite);
    }
    PlayAll(sprites);
    int passes = 0;
    for (auto _ : state) {
        timer.Advance(kFrameDelay);
        host.tasks.RunAll(0);
        // After its third frame DoAnim ends; start it again off the clock.
        if (++passes % 3 == 0) {
            state.PauseTiming();
            PlayAll(sprites);
            state.ResumeTiming();
        }
    }
    state.counters["sprites"] = kSprites;
    sprites.clear();
    host.tasks.Clear();
    SetAnimationHost(nullptr);
    os::SetCurrentTimer(nullptr);
}
BENCHMARK(BM_TaskPassResumingEverySprite)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
