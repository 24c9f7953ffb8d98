// The mixing state of one buffer: its samples, its play position and its
// gain. The mixer and the buffer touch it only under the mixer's lock.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/audio/format.h"

namespace audio {

// Gain as a 16.16 fixed-point factor; 1.0 leaves samples unchanged.
inline constexpr int32_t kUnityGain = 1 << 16;

struct Voice {
    Voice(const Format& format, uint32_t bytes);

    // Adds up to `count` output frames to a stereo accumulator, advancing the
    // position; a non-looping voice stops at its end and rewinds to 0.
    void MixInto(int32_t* accumulator, uint32_t count);
    // The source frames that the next `outputFrames` output frames read.
    uint32_t FramesAhead(uint32_t outputFrames) const;
    uint32_t PlayFrame() const { return static_cast<uint32_t>(position >> 32); }

    // Hundredths of a decibel (-10000 silence .. 0) as a fixed-point gain.
    static int32_t GainFor(int32_t hundredthsDb);

    std::vector<int16_t> samples;  // interleaved, the buffer's bytes
    uint32_t channels;
    uint32_t frames;
    uint64_t step;          // source frames per output frame, 32.32 fixed point
    uint64_t position = 0;  // source frame, 32.32 fixed point
    int32_t gain = kUnityGain;
    bool playing = false;
    bool looping = false;
    bool lost = false;

private:
    template <uint32_t kChannels>
    void MixFrames(int32_t* accumulator, uint32_t count);
    uint32_t NextFrame(uint32_t frame) const;
    // At the end: a looping voice starts over (true), a one-shot stops.
    bool Wrap(uint64_t end);
};

}  // namespace audio
