// The handle of one playing sound: its volume, its stop, the sound that is to
// follow it without a gap and the callback that hears of its end. Its stream
// links back to it weakly and, when it moves on to the following sound,
// makes that the instance's sound.
#pragma once

#include <memory>

class TSound;
class TSoundCallBack;
class TSoundStream;

class TSoundInstance : public std::enable_shared_from_this<TSoundInstance> {
public:
    virtual ~TSoundInstance() = default;

    // Volume 0..1 of this instance alone, without group or master factor.
    void SetVolume(float level);
    // Its stream's sound group, -1 once the stream is gone.
    int GetGroup() const;
    // Stops it through its sound, when the sound still exists.
    void Stop();
    // The callback to tell when the instance ends (not owned; none clears
    // it), and a sound to follow the one playing now (none for no change).
    void SetCallBack(TSoundCallBack* callback, const std::shared_ptr<TSound>& following);

    // The stream that plays the instance (for pausing it); null once the
    // stream is gone.
    TSoundStream* GetStream() const;
    void SetStream(TSoundStream* stream);
    // Empty when the sound is gone.
    std::shared_ptr<TSound> GetSound() const;
    void SetSound(const std::weak_ptr<TSound>& sound);
    std::shared_ptr<TSound> GetQueuedSound() const;
    void SetQueuedSound(const std::shared_ptr<TSound>& sound);
    std::shared_ptr<TSound> TakeQueuedSound();

    // The stream went on to the queued sound: it is now the sound played.
    // Runs on the worker thread, so the queued sound is still held until
    // the main thread takes it with TakeFollowedSound.
    void MoveToQueuedSound(TSoundStream* stream);
    std::shared_ptr<TSound> TakeFollowedSound();

    TSoundCallBack* GetCallBack() const { return mCallBack; }
    // Registers the instance with the callback (leaving an earlier one).
    void AttachCallBack(TSoundCallBack* callback);
    // Leaves the callback; it is not called for this instance any more.
    void DetachCallBack();

private:
    TSoundStream* mStream = nullptr;
    std::weak_ptr<TSound> mSound;
    std::shared_ptr<TSound> mQueuedSound;
    std::shared_ptr<TSound> mFollowedSound;
    TSoundCallBack* mCallBack = nullptr;
};
