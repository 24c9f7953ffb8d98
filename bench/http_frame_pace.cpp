// A stuck request must never hold up the frame loop. A loopback server
// accepts and never answers; a 16 ms frame loop polls the client each frame,
// abandons the request at frame 100 for a new one and destroys the client at
// frame 200. Reported: the main thread's time inside TSimpleHttp per frame
// (maximum and 99th percentile, target below 1 ms) and the frames those
// calls made late.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "online/httpworkerregistry.h"
#include "online/simplehttp.h"
#include "tests/support/testhttpserver.h"

namespace {

using Clock = std::chrono::steady_clock;

const auto kFrame = std::chrono::milliseconds(16);
const int kAbandonFrame = 100;
const int kDestroyFrame = 200;

void Request(TSimpleHttp& client, const std::string& url) {
    client.BeginRequest(url.c_str(), nullptr, false);
    client.AddParam("action", "get");
    client.Send(0);
}

// The client's work for one frame.
void Frame(int frame, std::unique_ptr<TSimpleHttp>& client, const std::string& url) {
    if (frame == 0 || frame == kAbandonFrame) {
        Request(*client, url);
    }
    if (frame == kDestroyFrame) {
        client.reset();
        return;
    }
    benchmark::DoNotOptimize(client->GetStatus());
}

void BM_HttpFramePace(benchmark::State& state) {
    TestHttpServer server;
    if (!server.Ok()) {
        state.SkipWithError("no loopback server");
        return;
    }
    std::vector<double> costs;
    int late = 0;
    for (auto _ : state) {
        for (int i = 0; i <= kDestroyFrame + 1; ++i) server.Script(TestHttpServer::Reply::Held());
        auto client = std::make_unique<TSimpleHttp>();
        const Clock::time_point start = Clock::now();
        for (int frame = 0; frame <= kDestroyFrame; ++frame) {
            const Clock::time_point deadline = start + kFrame * (frame + 1);
            const Clock::time_point before = Clock::now();
            Frame(frame, client, server.Url("/go/hiscore"));
            const Clock::time_point after = Clock::now();
            costs.push_back(std::chrono::duration<double, std::micro>(after - before).count());
            if (after > deadline && before <= deadline) ++late;
            std::this_thread::sleep_until(deadline);
        }
        state.PauseTiming();
        THttpWorkerRegistry::Get().Shutdown();
        state.ResumeTiming();
    }
    std::sort(costs.begin(), costs.end());
    state.counters["max_us"] = costs.back();
    state.counters["p99_us"] = costs[costs.size() * 99 / 100];
    state.counters["late_frames"] = late;
    state.counters["requests_seen"] = static_cast<double>(server.Requests().size());
}

}  // namespace

BENCHMARK(BM_HttpFramePace)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
