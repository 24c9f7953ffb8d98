#include "platform/audio/mixer.h"

#include <algorithm>

#include "platform/audio/voice.h"

namespace audio {

Mixer::Mixer(uint32_t blockFrames) : mBlockFrames(blockFrames) {}

void Mixer::SetBlockFrames(uint32_t frames) {
    std::lock_guard<std::mutex> lock(mMutex);
    mBlockFrames = frames;
}

void Mixer::Add(Voice* voice) {
    mVoices.push_back(voice);
}

void Mixer::Remove(Voice* voice) {
    mVoices.erase(std::remove(mVoices.begin(), mVoices.end(), voice), mVoices.end());
}

void Mixer::LoseAll() {
    std::lock_guard<std::mutex> lock(mMutex);
    for (Voice* voice : mVoices) {
        voice->lost = true;
        voice->playing = false;
    }
}

void Mixer::Mix(int16_t* out, uint32_t frames) {
    std::lock_guard<std::mutex> lock(mMutex);
    mAccumulator.assign(static_cast<size_t>(frames) * 2, 0);
    for (Voice* voice : mVoices) {
        voice->MixInto(mAccumulator.data(), frames);
    }
    for (size_t i = 0; i < mAccumulator.size(); ++i) {
        out[i] = static_cast<int16_t>(std::clamp(mAccumulator[i], -32768, 32767));
    }
}

}  // namespace audio
