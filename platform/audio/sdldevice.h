// The real back end: SDL's default audio output at 44,100 Hz, stereo, 16 bit,
// mixed on SDL's audio thread in blocks of 512 frames.
#pragma once

#include <cstdint>

#include "platform/audio/device.h"

namespace audio {

class SdlDevice : public Device {
public:
    SdlDevice();
    ~SdlDevice() override;

    Result Initialize() override;
    Result CreatePrimaryBuffer() override;

protected:
    bool IsInitialized() const override { return mInitialized; }

private:
    static void MixCallback(void* device, uint8_t* stream, int length);

    bool mInitialized = false;
    uint32_t mOutput = 0;  // SDL's device id, 0 while closed
};

}  // namespace audio
