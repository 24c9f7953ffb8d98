#include "platform/audio/manualdevice.h"

#include <mutex>

namespace audio {

Result ManualDevice::Initialize() {
    mInitialized = Succeeded(mInitializeResult);
    return mInitializeResult;
}

Result ManualDevice::CreatePrimaryBuffer() {
    return mInitialized ? mPrimaryResult : Result::kNotInitialized;
}

std::vector<int16_t> ManualDevice::Render(uint32_t frames) {
    std::vector<int16_t> samples(static_cast<size_t>(frames) * 2);
    GetMixer().Mix(samples.data(), frames);
    return samples;
}

void ManualDevice::VolumeWritten(const Buffer& buffer, int32_t hundredthsDb) {
    mVolumeWrites.push_back({&buffer, hundredthsDb});
}

std::vector<int32_t> ManualDevice::VolumeWrites(const Buffer* buffer) {
    std::lock_guard<std::mutex> lock(GetMixer().Lock());
    std::vector<int32_t> volumes;
    for (const VolumeWrite& write : mVolumeWrites) {
        if (write.buffer == buffer) {
            volumes.push_back(write.hundredthsDb);
        }
    }
    return volumes;
}

}  // namespace audio
