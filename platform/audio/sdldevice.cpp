#include "platform/audio/sdldevice.h"

#include <SDL.h>

namespace audio {

namespace {

const uint16_t kBlockFrames = 512;

}  // namespace

SdlDevice::SdlDevice() : Device(kBlockFrames) {}

SdlDevice::~SdlDevice() {
    // Closing waits for the audio thread, so the mixer is idle before it goes.
    if (mOutput != 0) {
        SDL_CloseAudioDevice(mOutput);
    }
    if (mInitialized) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

Result SdlDevice::Initialize() {
    if (!mInitialized) {
        mInitialized = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }
    return mInitialized ? Result::kOk : Result::kNoDriver;
}

Result SdlDevice::CreatePrimaryBuffer() {
    if (!mInitialized) {
        return Result::kNotInitialized;
    }
    if (mOutput != 0) {
        return Result::kOk;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(kOutputFormat.sampleRate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(kOutputFormat.channels);
    wanted.samples = kBlockFrames;
    wanted.callback = MixCallback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts if the hardware runs otherwise.
    mOutput = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (mOutput == 0) {
        return Result::kNoDevice;
    }
    GetMixer().SetBlockFrames(obtained.samples);
    SDL_PauseAudioDevice(mOutput, 0);
    return Result::kOk;
}

void SdlDevice::MixCallback(void* device, uint8_t* stream, int length) {
    uint32_t frames = static_cast<uint32_t>(length) / kOutputFormat.BlockAlign();
    static_cast<SdlDevice*>(device)->GetMixer().Mix(reinterpret_cast<int16_t*>(stream), frames);
}

}  // namespace audio
