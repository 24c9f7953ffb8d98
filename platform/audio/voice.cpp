#include "platform/audio/voice.h"

#include <cmath>

namespace audio {

namespace {

const int32_t kSilence = -10000;
const uint32_t kFractionBits = 15;

// One output sample: linear interpolation between two source samples, with gain.
int32_t Sample(int32_t from, int32_t to, int32_t fraction, int32_t gain) {
    int32_t value = from + (((to - from) * fraction) >> kFractionBits);
    return static_cast<int32_t>((static_cast<int64_t>(value) * gain) >> 16);
}

}  // namespace

Voice::Voice(const Format& format, uint32_t bytes)
    : samples((bytes + 1) / 2),
      channels(format.channels),
      frames(bytes / format.BlockAlign()),
      step((static_cast<uint64_t>(format.sampleRate) << 32) / kOutputFormat.sampleRate) {}

int32_t Voice::GainFor(int32_t hundredthsDb) {
    if (hundredthsDb <= kSilence) {
        return 0;
    }
    return static_cast<int32_t>(std::lround(kUnityGain * std::pow(10.0, hundredthsDb / 2000.0)));
}

uint32_t Voice::NextFrame(uint32_t frame) const {
    if (frame + 1 < frames) {
        return frame + 1;
    }
    return looping ? 0 : frame;
}

template <uint32_t kChannels>
void Voice::MixFrames(int32_t* accumulator, uint32_t count) {
    const uint64_t end = static_cast<uint64_t>(frames) << 32;
    const int16_t* data = samples.data();
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t frame = PlayFrame();
        const int16_t* from = data + static_cast<size_t>(frame) * kChannels;
        const int16_t* to = data + static_cast<size_t>(NextFrame(frame)) * kChannels;
        int32_t fraction = static_cast<int32_t>((position & 0xFFFFFFFFu) >> (32 - kFractionBits));
        int32_t left = Sample(from[0], to[0], fraction, gain);
        accumulator[2 * i] += left;
        accumulator[2 * i + 1] += kChannels == 2 ? Sample(from[1], to[1], fraction, gain) : left;
        position += step;
        if (position >= end && !Wrap(end)) {
            return;
        }
    }
}

bool Voice::Wrap(uint64_t end) {
    if (looping) {
        position %= end;
        return true;
    }
    playing = false;
    position = 0;
    return false;
}

void Voice::MixInto(int32_t* accumulator, uint32_t count) {
    if (!playing) {
        return;
    }
    if (channels == 2) {
        MixFrames<2>(accumulator, count);
    } else {
        MixFrames<1>(accumulator, count);
    }
}

uint32_t Voice::FramesAhead(uint32_t outputFrames) const {
    if (!playing) {
        return 0;
    }
    uint64_t fraction = position & 0xFFFFFFFFu;
    return static_cast<uint32_t>((fraction + outputFrames * step + 0xFFFFFFFFu) >> 32);
}

}  // namespace audio
