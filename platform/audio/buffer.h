// A streaming sound buffer: the caller writes PCM into it through Lock and
// Unlock while the mixer plays it, once or looping. Offsets and cursors are
// in bytes. Every operation takes the device lock only briefly.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/audio/format.h"
#include "platform/audio/result.h"
#include "platform/audio/voice.h"

namespace audio {

class Device;
class Mixer;

// Status bits of GetStatus.
inline constexpr uint32_t kStatusPlaying = 1;
inline constexpr uint32_t kStatusLost = 2;
inline constexpr uint32_t kStatusLooping = 4;

inline constexpr int32_t kVolumeMin = -10000;  // silence
inline constexpr int32_t kVolumeMax = 0;       // unchanged

class Buffer {
public:
    // Made by Device::CreateBuffer; must go before its device.
    Buffer(Device& device, const Format& format, uint32_t bytes);
    ~Buffer();
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    // Hands out `bytes` bytes at `offset` to write; they reach the mixer at
    // Unlock, all at once. One lock at a time.
    Result Lock(uint32_t offset, uint32_t bytes, uint8_t** data);
    Result Unlock();

    // Plays from the current position; a non-looping buffer stops at its end.
    Result Play(bool looping);
    // Stops and keeps the position.
    Result Stop();
    // The byte the mixer plays next, and the first byte that is safe to
    // write: the play cursor plus what the next mix block reads.
    Result GetCursors(uint32_t* play, uint32_t* write) const;
    // Hundredths of a decibel, kVolumeMin to kVolumeMax.
    Result SetVolume(int32_t hundredthsDb);
    int32_t GetVolume() const;
    Result GetStatus(uint32_t* status) const;
    // Gives a lost buffer its memory back (silent).
    Result Restore();
    // Offsets that mark the halves being played; kept for inspection only.
    Result SetNotifyPositions(const std::vector<uint32_t>& offsets);
    std::vector<uint32_t> GetNotifyPositions() const;

    uint32_t GetSize() const { return mSize; }

private:
    Device& mDevice;
    Mixer& mMixer;
    const Format mFormat;
    const uint32_t mSize;
    Voice mVoice;
    int32_t mVolume = kVolumeMax;
    std::vector<uint32_t> mNotifyPositions;
    // The locked range, written by the caller outside the device lock.
    std::vector<uint8_t> mStaging;
    uint32_t mLockOffset = 0;
    bool mLocked = false;
};

}  // namespace audio
