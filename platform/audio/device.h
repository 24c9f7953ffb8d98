// The sound output: one device plays 44,100 Hz stereo 16-bit sound mixed
// from any number of streaming buffers. Back ends open the output their own
// way; the mixing is shared.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/audio/format.h"
#include "platform/audio/mixer.h"
#include "platform/audio/result.h"

namespace audio {

class Buffer;

class Device {
public:
    explicit Device(uint32_t blockFrames);
    virtual ~Device() = default;
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // Starts the audio system; succeeds again when it already runs.
    virtual Result Initialize() = 0;
    // Opens the output and starts mixing into it.
    virtual Result CreatePrimaryBuffer() = 0;
    // The output format is fixed: only kOutputFormat is accepted.
    Result SetPrimaryFormat(const Format& format) const;
    // A new silent, stopped buffer of `bytes` bytes (4 to 0x0FFFFFFF) of
    // 16-bit mono or stereo sound at up to 200,000 Hz; needs Initialize first.
    Result CreateBuffer(const Format& format, uint32_t bytes, std::unique_ptr<Buffer>* buffer);

    Mixer& GetMixer() { return mMixer; }

    // Told of every volume a buffer takes, under the device lock.
    virtual void VolumeWritten(const Buffer& buffer, int32_t hundredthsDb);

protected:
    virtual bool IsInitialized() const = 0;

private:
    Mixer mMixer;
};

}  // namespace audio
