#include "platform/audio/device.h"

#include "platform/audio/buffer.h"

namespace audio {

namespace {

const uint32_t kMinBufferBytes = 4;
const uint32_t kMaxBufferBytes = 0x0FFFFFFF;
const uint32_t kMaxSampleRate = 200000;

bool IsPlayable(const Format& format) {
    return format.sampleRate > 0 && format.sampleRate <= kMaxSampleRate && format.channels >= 1 &&
           format.channels <= 2 && format.bitsPerSample == 16;
}

}  // namespace

Device::Device(uint32_t blockFrames) : mMixer(blockFrames) {}

Result Device::SetPrimaryFormat(const Format& format) const {
    if (!IsInitialized()) {
        return Result::kNotInitialized;
    }
    return format == kOutputFormat ? Result::kOk : Result::kUnsupportedFormat;
}

Result Device::CreateBuffer(const Format& format, uint32_t bytes, std::unique_ptr<Buffer>* buffer) {
    if (!buffer || !IsPlayable(format) || bytes < kMinBufferBytes || bytes > kMaxBufferBytes) {
        return Result::kInvalidParam;
    }
    if (!IsInitialized()) {
        return Result::kNotInitialized;
    }
    *buffer = std::make_unique<Buffer>(*this, format, bytes);
    return Result::kOk;
}

void Device::VolumeWritten(const Buffer&, int32_t) {}

}  // namespace audio
