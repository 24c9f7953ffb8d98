#include "platform/audio/buffer.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/audio/device.h"
#include "platform/audio/mixer.h"

namespace audio {

Buffer::Buffer(Device& device, const Format& format, uint32_t bytes)
    : mDevice(device), mMixer(device.GetMixer()), mFormat(format), mSize(bytes), mVoice(format, bytes) {
    std::lock_guard<std::mutex> lock(mMixer.Lock());
    mMixer.Add(&mVoice);
}

Buffer::~Buffer() {
    std::lock_guard<std::mutex> lock(mMixer.Lock());
    mMixer.Remove(&mVoice);
}

Result Buffer::Lock(uint32_t offset, uint32_t bytes, uint8_t** data) {
    if (!data || mLocked || bytes == 0 || offset > mSize || bytes > mSize - offset) {
        return Result::kInvalidParam;
    }
    std::lock_guard<std::mutex> lock(mMixer.Lock());
    if (mVoice.lost) {
        return Result::kBufferLost;
    }
    const uint8_t* memory = reinterpret_cast<const uint8_t*>(mVoice.samples.data());
    mStaging.assign(memory + offset, memory + offset + bytes);
    mLockOffset = offset;
    mLocked = true;
    *data = mStaging.data();
    return Result::kOk;
}

Result Buffer::Unlock() {
    if (!mLocked) {
        return Result::kNotLocked;
    }
    std::lock_guard<std::mutex> lock(mMixer.Lock());
    mLocked = false;
    if (mVoice.lost) {
        return Result::kBufferLost;
    }
    uint8_t* memory = reinterpret_cast<uint8_t*>(mVoice.samples.data());
    std::memcpy(memory + mLockOffset, mStaging.data(), mStaging.size());
    return Result::kOk;
}

Result Buffer::Play(bool looping) {
    std::lock_guard<std::mutex> lock(mMixer.Lock());
    if (mVoice.lost) {
        return Result::kBufferLost;
    }
    mVoice.playing = true;
    mVoice.looping = looping;
    return Result::kOk;
}

Result Buffer::Stop() {
    std::lock_guard<std::mutex> lock(mMixer.Lock());
    mVoice.playing = false;
    return Result::kOk;
}

Result Buffer::GetCursors(uint32_t* play, uint32_t* write) const {
    if (!play || !write) {
        return Result::kInvalidParam;
    }
    std::lock_guard<std::mutex> lock(mMixer.Lock());
    uint32_t blockAlign = mFormat.BlockAlign();
    uint64_t playByte = static_cast<uint64_t>(mVoice.PlayFrame()) * blockAlign;
    uint64_t writeByte = playByte + static_cast<uint64_t>(mVoice.FramesAhead(mMixer.BlockFrames())) * blockAlign;
    // A looping buffer's next block wraps to its start; a one-shot's ends at its end.
    uint64_t end = static_cast<uint64_t>(mVoice.frames) * blockAlign;
    *play = static_cast<uint32_t>(playByte);
    *write = static_cast<uint32_t>(mVoice.looping ? writeByte % end : std::min(writeByte, end));
    return Result::kOk;
}

Result Buffer::SetVolume(int32_t hundredthsDb) {
    if (hundredthsDb < kVolumeMin || hundredthsDb > kVolumeMax) {
        return Result::kInvalidParam;
    }
    std::lock_guard<std::mutex> lock(mMixer.Lock());
    mVolume = hundredthsDb;
    mVoice.gain = Voice::GainFor(hundredthsDb);
    mDevice.VolumeWritten(*this, hundredthsDb);
    return Result::kOk;
}

int32_t Buffer::GetVolume() const {
    std::lock_guard<std::mutex> lock(mMixer.Lock());
    return mVolume;
}

Result Buffer::GetStatus(uint32_t* status) const {
    if (!status) {
        return Result::kInvalidParam;
    }
    std::lock_guard<std::mutex> lock(mMixer.Lock());
    *status = (mVoice.playing ? kStatusPlaying : 0) | (mVoice.lost ? kStatusLost : 0) |
              (mVoice.playing && mVoice.looping ? kStatusLooping : 0);
    return Result::kOk;
}

Result Buffer::Restore() {
    std::lock_guard<std::mutex> lock(mMixer.Lock());
    if (mVoice.lost) {
        std::fill(mVoice.samples.begin(), mVoice.samples.end(), 0);
        mVoice.lost = false;
    }
    return Result::kOk;
}

Result Buffer::SetNotifyPositions(const std::vector<uint32_t>& offsets) {
    for (uint32_t offset : offsets) {
        if (offset >= mSize) {
            return Result::kInvalidParam;
        }
    }
    std::lock_guard<std::mutex> lock(mMixer.Lock());
    mNotifyPositions = offsets;
    return Result::kOk;
}

std::vector<uint32_t> Buffer::GetNotifyPositions() const {
    std::lock_guard<std::mutex> lock(mMixer.Lock());
    return mNotifyPositions;
}

}  // namespace audio
