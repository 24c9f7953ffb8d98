// The test back end: nothing plays by itself. Render mixes the frames asked
// for and returns them; the device can be told to refuse to open and to lose
// its buffers, and it records the volumes its buffers were given.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/audio/device.h"

namespace audio {

class ManualDevice : public Device {
public:
    explicit ManualDevice(uint32_t blockFrames = 512) : Device(blockFrames) {}

    Result Initialize() override;
    Result CreatePrimaryBuffer() override;

    // The next Initialize or CreatePrimaryBuffer fails with that result.
    void RefuseInitialize(Result result) { mInitializeResult = result; }
    void RefusePrimaryBuffer(Result result) { mPrimaryResult = result; }

    // Mixes `frames` frames; interleaved stereo samples.
    std::vector<int16_t> Render(uint32_t frames);
    // Every buffer loses its memory and stops.
    void LoseBuffers() { GetMixer().LoseAll(); }

    void VolumeWritten(const Buffer& buffer, int32_t hundredthsDb) override;
    // The volumes written to one buffer, oldest first.
    std::vector<int32_t> VolumeWrites(const Buffer* buffer);

protected:
    bool IsInitialized() const override { return mInitialized; }

private:
    struct VolumeWrite {
        const Buffer* buffer;
        int32_t hundredthsDb;
    };

    Result mInitializeResult = Result::kOk;
    Result mPrimaryResult = Result::kOk;
    bool mInitialized = false;
    std::vector<VolumeWrite> mVolumeWrites;
};

}  // namespace audio
