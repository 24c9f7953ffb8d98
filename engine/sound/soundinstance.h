// The handle of one playing sound. Its stream links back to it weakly and,
// when it moves on to the queued sound, makes that the instance's sound.
#pragma once

#include <memory>

class TSound;
class TSoundStream;

class TSoundInstance : public std::enable_shared_from_this<TSoundInstance> {
public:
    virtual ~TSoundInstance() = default;

    // The stream that plays the instance; null once the stream is gone.
    TSoundStream* GetStream() const { return mStream; }
    void SetStream(TSoundStream* stream) { mStream = stream; }
    // Empty when the sound is gone.
    std::shared_ptr<TSound> GetSound() const { return mSound.lock(); }
    const std::shared_ptr<TSound>& GetQueuedSound() const { return mQueuedSound; }
    void SetQueuedSound(const std::shared_ptr<TSound>& sound) { mQueuedSound = sound; }

    // The stream went on to the queued sound: it is now the sound played.
    void MoveToQueuedSound(TSoundStream* stream);

private:
    TSoundStream* mStream = nullptr;
    std::weak_ptr<TSound> mSound;
    std::shared_ptr<TSound> mQueuedSound;
};
