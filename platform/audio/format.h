// The sample format of a buffer or of the output: 16-bit signed samples,
// interleaved by channel.
#pragma once

#include <cstdint>

namespace audio {

struct Format {
    uint32_t sampleRate = 0;
    uint32_t channels = 0;
    uint32_t bitsPerSample = 0;

    uint32_t BlockAlign() const { return channels * bitsPerSample / 8; }
    bool operator==(const Format&) const = default;
};

// What the device plays: 44,100 Hz stereo, 16 bit.
inline constexpr Format kOutputFormat{44100, 2, 16};

}  // namespace audio
