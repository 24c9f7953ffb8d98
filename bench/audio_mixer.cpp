// One 10 ms mix block (441 frames of 44,100 Hz stereo) of 32 voices: 16
// stereo at 44,100 Hz and 16 mono at 22,050 Hz, at mixed volumes, half of
// them looping. The target is 1% of real time: 100 us per block.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/audio/buffer.h"
#include "platform/audio/manualdevice.h"

namespace {

const uint32_t kBlockFrames = 441;
const int kVoicesPerKind = 16;

// Two seconds of a tone, as the sound streams' buffers hold.
std::unique_ptr<audio::Buffer> ToneBuffer(audio::Device& device, const audio::Format& format, double hertz) {
    uint32_t frames = format.sampleRate * 2;
    std::unique_ptr<audio::Buffer> buffer;
    if (device.CreateBuffer(format, frames * format.BlockAlign(), &buffer) != audio::Result::kOk) return nullptr;
    uint8_t* data = nullptr;
    buffer->Lock(0, buffer->GetSize(), &data);
    std::vector<int16_t> samples(frames * format.channels);
    for (uint32_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(8000 * std::sin(2 * M_PI * hertz * (i / format.channels) / format.sampleRate));
    }
    std::memcpy(data, samples.data(), buffer->GetSize());
    buffer->Unlock();
    return buffer;
}

void MixThirtyTwoVoices(benchmark::State& state) {
    audio::ManualDevice device(kBlockFrames);
    device.Initialize();
    std::vector<std::unique_ptr<audio::Buffer>> buffers;
    for (int i = 0; i < kVoicesPerKind * 2; ++i) {
        audio::Format format = i % 2 ? audio::Format{22050, 1, 16} : audio::Format{44100, 2, 16};
        auto buffer = ToneBuffer(device, format, 220.0 + 20 * i);
        if (!buffer) {
            state.SkipWithError("no buffer");
            return;
        }
        buffer->SetVolume(-(i * 150));
        buffer->Play(i % 4 < 2);
        buffers.push_back(std::move(buffer));
    }
    std::vector<int16_t> out(kBlockFrames * 2);
    for (auto _ : state) {
        device.GetMixer().Mix(out.data(), kBlockFrames);
        benchmark::DoNotOptimize(out.data());
        // One-shots that reached their end start again, so all 32 keep sounding.
        for (auto& buffer : buffers) {
            uint32_t status = 0;
            buffer->GetStatus(&status);
            if (!(status & audio::kStatusPlaying)) buffer->Play(false);
        }
    }
    state.counters["voices"] = static_cast<double>(buffers.size());
}
BENCHMARK(MixThirtyTwoVoices)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
