// Ogg Vorbis decoding through the sound spooler. A generated 60 s, 44,100 Hz
// stereo sound is read in halves of 176,400 bytes (one second, what a stream
// refill asks for) through TMemSpooler::Read, against a plain ov_read loop
// over the same bytes: the spooler should keep at least 0.9 of the plain rate.
// Two spoolers reading one stream in turn show the cost of the seek that lets
// instances share a stream. The sweep figure is the time the worker's pass
// holds the manager lock while it refills four streamed voices.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/file.h"
#include "foundation/virtualfiles.h"
#include "platform/audio/manualdevice.h"
#include "platform/os/timer.h"
#include "sound/memspooler.h"
#include "sound/sound.h"
#include "sound/sounddata.h"
#include "sound/soundinstance.h"
#include "sound/soundmanager.h"
#include "tests/support/oggwriter.h"

namespace {

const uint32_t kHalf = 176400;
const uint32_t kRate = 44100;

const std::string& Minute() {
    static const std::string bytes = MakeOgg(kRate, 2, kRate * 60);
    return bytes;
}

// The sound loaded as the game loads music: kept as an open stream.
std::shared_ptr<TSoundData> MinuteData() {
    RegisterMemoryFile("bench/minute.ogg", Minute().data(), Minute().size());
    auto data = std::make_shared<TSoundData>();
    data->Load(FileOpen("bench/minute.ogg", kFileReadBinary), false);
    return data;
}

void SetBytes(benchmark::State& state, int64_t bytes) {
    state.SetBytesProcessed(bytes);
    state.counters["MB/s of PCM"] =
        benchmark::Counter(static_cast<double>(bytes) / 1e6, benchmark::Counter::kIsRate);
}

void SpoolerRead(benchmark::State& state) {
    auto data = MinuteData();
    std::vector<uint8_t> half(kHalf);
    int64_t bytes = 0;
    for (auto _ : state) {
        TMemSpooler spooler(data);
        uint32_t written = 0;
        while (spooler.Read(kHalf, half.data(), &written, false)) bytes += written;
        bytes += written;
        benchmark::DoNotOptimize(half.data());
    }
    SetBytes(state, bytes);
}
BENCHMARK(SpoolerRead)->Unit(benchmark::kMillisecond);

void PlainOvRead(benchmark::State& state) {
    std::vector<uint8_t> half(kHalf);
    int64_t bytes = 0;
    for (auto _ : state) {
        OggFixtureReader reader{&Minute()};
        OggVorbis_File file;
        if (!reader.Open(&file)) {
            state.SkipWithError("no stream");
            return;
        }
        int section = 0;
        for (bool more = true; more;) {
            uint32_t filled = 0;
            while (filled < kHalf) {
                long got = ov_read(&file, reinterpret_cast<char*>(half.data() + filled), kHalf - filled, 0, 2, 1,
                                   &section);
                if (got <= 0) {
                    more = false;
                    break;
                }
                filled += static_cast<uint32_t>(got);
            }
            bytes += filled;
        }
        benchmark::DoNotOptimize(half.data());
        ov_clear(&file);
    }
    SetBytes(state, bytes);
}
BENCHMARK(PlainOvRead)->Unit(benchmark::kMillisecond);

void TwoSpoolersInTurn(benchmark::State& state) {
    auto data = MinuteData();
    std::vector<uint8_t> half(kHalf);
    int64_t bytes = 0;
    for (auto _ : state) {
        TMemSpooler first(data);
        TMemSpooler second(data);
        second.Seek(30.0);
        uint32_t written = 0;
        for (int i = 0; i < 30; ++i) {
            first.Read(kHalf, half.data(), &written, false);
            bytes += written;
            second.Read(kHalf, half.data(), &written, false);
            bytes += written;
        }
        benchmark::DoNotOptimize(half.data());
    }
    SetBytes(state, bytes);
}
BENCHMARK(TwoSpoolersInTurn)->Unit(benchmark::kMillisecond);

// One worker pass that writes a half of each of four streamed voices, each
// a sound of its own; the device plays a second between passes, untimed.
// Each half is about 0.7 ms of decoding (see SpoolerRead).
void SweepOfFourStreamedVoices(benchmark::State& state) {
    os::FakeTimer timer(1000);
    os::SetCurrentTimer(&timer);
    auto device = std::make_unique<audio::ManualDevice>();
    audio::ManualDevice* output = device.get();
    auto manager = std::make_unique<TSoundManager>(std::move(device));
    manager->Start();
    SetSoundManager(manager.get());
    std::vector<std::shared_ptr<TSound>> sounds;
    std::vector<std::shared_ptr<TSoundInstance>> voices;
    for (int i = 0; i < 4; ++i) {
        std::string name = "bench/voice" + std::to_string(i) + ".ogg";
        RegisterMemoryFile(name.c_str(), Minute().data(), Minute().size());
        sounds.push_back(TSound::Get(name.c_str(), 0, 1000));
        voices.push_back(sounds.back()->Play(true));
    }
    // Each second of play then leaves the cursor in the middle of the other
    // half, so every pass writes a half of each voice.
    output->Render(kRate / 2);
    for (auto _ : state) {
        state.PauseTiming();
        output->Render(kRate);
        // Held first, so that the worker thread cannot take this pass.
        TSoundLock lock(*manager);
        timer.Advance(550);
        state.ResumeTiming();
        manager->ThreadUpdate(true);
    }
    voices.clear();
    sounds.clear();
    SetSoundManager(nullptr);
    manager.reset();
    os::SetCurrentTimer(nullptr);
}
BENCHMARK(SweepOfFourStreamedVoices)->Unit(benchmark::kMillisecond)->Iterations(100);

}  // namespace

BENCHMARK_MAIN();
