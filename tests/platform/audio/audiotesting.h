// Helpers of the audio layer tests: buffers on a manual device filled with
// known samples.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <memory>
#include <vector>

#include "platform/audio/buffer.h"
#include "platform/audio/manualdevice.h"

// A buffer of the given format holding exactly these interleaved samples.
inline std::unique_ptr<audio::Buffer> FilledBuffer(audio::ManualDevice& device, const audio::Format& format,
                                                   const std::vector<int16_t>& samples) {
    std::unique_ptr<audio::Buffer> buffer;
    uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
    EXPECT_EQ(device.CreateBuffer(format, bytes, &buffer), audio::Result::kOk);
    if (!buffer) return nullptr;
    uint8_t* data = nullptr;
    EXPECT_EQ(buffer->Lock(0, bytes, &data), audio::Result::kOk);
    std::memcpy(data, samples.data(), bytes);
    EXPECT_EQ(buffer->Unlock(), audio::Result::kOk);
    return buffer;
}

// Samples `first`, `first + 1`, ... for `frames` frames of one channel.
inline std::vector<int16_t> Ramp(int first, int frames) {
    std::vector<int16_t> samples;
    for (int i = 0; i < frames; ++i) samples.push_back(static_cast<int16_t>(first + i));
    return samples;
}

// One channel of interleaved stereo output.
inline std::vector<int16_t> Channel(const std::vector<int16_t>& stereo, int channel) {
    std::vector<int16_t> samples;
    for (size_t i = channel; i < stereo.size(); i += 2) samples.push_back(stereo[i]);
    return samples;
}

inline const audio::Format kStereo{44100, 2, 16};
inline const audio::Format kMono{44100, 1, 16};
inline const audio::Format kMonoHalfRate{22050, 1, 16};

// Little-endian 16-bit samples from raw bytes.
inline std::vector<int16_t> Read16(const std::string& bytes) {
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}
