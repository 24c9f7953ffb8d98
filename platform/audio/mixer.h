// Mixes the playing voices into 44,100 Hz stereo 16-bit output. Its lock is
// the device lock: held for one block while mixing and briefly by every
// buffer operation, never for longer.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace audio {

struct Voice;

class Mixer {
public:
    explicit Mixer(uint32_t blockFrames);
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Writes `frames` interleaved stereo frames: the sum of the playing
    // voices, saturated to 16 bits.
    void Mix(int16_t* out, uint32_t frames);

    // The frames the device asks for at a time; buffers place their write
    // cursor one block ahead of the play cursor.
    uint32_t BlockFrames() const { return mBlockFrames; }
    void SetBlockFrames(uint32_t frames);

    // Voices join and leave with their buffers (callers hold the lock).
    void Add(Voice* voice);
    void Remove(Voice* voice);
    // Marks every voice lost and stopped, as when the device goes away.
    void LoseAll();

    std::mutex& Lock() { return mMutex; }

private:
    std::mutex mMutex;
    std::vector<Voice*> mVoices;
    std::vector<int32_t> mAccumulator;
    uint32_t mBlockFrames;
};

}  // namespace audio
