// One playing sound: a two-second device buffer filled half by half from a
// spooler by the manager's worker thread, optionally followed without a gap
// by a queued next sound. Without a sound device the stream has no buffer
// and only measures its playing time. Every operation takes the manager lock.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/clock.h"
#include "platform/audio/buffer.h"
#include "sound/streamnotify.h"
#include "sound/streamspooler.h"

class TSoundInstance;
class TSoundManager;

class TSoundStream : public std::enable_shared_from_this<TSoundStream> {
public:
    // A new bufferless stream, registered with the manager, whose live list
    // owns it from then on. Takes the spooler. Null without a manager or spooler.
    static std::shared_ptr<TSoundStream> Create(TSoundManager* manager, TStreamSpooler* spooler, bool loop, int group,
                                                const std::weak_ptr<TStreamNotify>& data);
    virtual ~TSoundStream();
    TSoundStream(const TSoundStream&) = delete;
    TSoundStream& operator=(const TSoundStream&) = delete;

    void SetInstance(const std::weak_ptr<TSoundInstance>& instance);
    // The instance that shows the stream; empty when it is gone.
    std::shared_ptr<TSoundInstance> GetInstance() const;
    TSoundManager* GetManager() const { return mManager; }

    // Makes the device buffer and writes its first half; false (the stream
    // stays bufferless) without a started manager or for a format that
    // cannot play.
    bool CreateBuffer(int sampleRate, int channels, int bits = 16, float seconds = 2.0f);
    // Starts playing; `once` plays the buffer a single time (kept from then on).
    void Play(bool once);
    void SetPaused(bool pause);
    // A pause of the manager for the application's focus; a pause made by the
    // game survives it.
    void SetFocusPaused(bool pause);
    // 0..1 without group or master factor.
    void SetVolume(float level);
    // Writes the half that playback has left; false when the stream is over.
    bool Refill(bool initial);
    // Queues the sound to follow, taking the spooler; refused (false, the
    // caller keeps the spooler) once the tail after the source's end ran out.
    // A buffer that played once loops from then on, to reach the next sound.
    bool QueueNext(const std::weak_ptr<TStreamNotify>& data, TStreamSpooler* spooler);
    // Stops, drops the queued sound and leaves the manager's live list: to
    // the retired list, or at once (which may destroy the stream).
    void Finish(bool retire);

    // The data the stream moved on from, handed over once.
    std::weak_ptr<TStreamNotify> TakeFinishedData();
    std::shared_ptr<TStreamNotify> GetCurrentData() const;

    int GetGroup() const { return mGroup; }
    bool IsPaused() const { return mPaused; }
    uint32_t GetBufferBytes() const { return mBufferBytes; }
    float GetBufferSeconds() const { return mBufferSeconds; }
    // The device buffer, null while bufferless.
    const audio::Buffer* GetBuffer() const { return mBuffer.get(); }

    // Device buffer size for `seconds` of sound: rounded to whole bytes, then
    // up to a multiple of 8, within 4 and 0x0FFFFFFF.
    static uint32_t BufferBytesFor(uint64_t bytesPerSecond, float seconds);

private:
    TSoundStream(TSoundManager* manager, TStreamSpooler* spooler, bool loop, int group,
                 const std::weak_ptr<TStreamNotify>& data);

    void StartBuffer();
    bool RefillBufferless();
    bool WriteHalf(uint32_t offset, uint32_t bytes);
    bool ReadCurrent(uint32_t bytes, uint8_t* destination, uint32_t* written);
    void MoveOnToNext();
    void NotifyDone();
    // Logs a failed device call at `line`; true when it succeeded.
    static bool Check(audio::Result result, int line);

    TSoundManager* const mManager;
    TSpoolerHold mCurrentSpooler;
    TSpoolerHold mNextSpooler;
    std::weak_ptr<TStreamNotify> mCurrentData;
    std::weak_ptr<TStreamNotify> mNextData;
    std::weak_ptr<TStreamNotify> mFinishedData;
    std::unique_ptr<audio::Buffer> mBuffer;
    std::weak_ptr<TSoundInstance> mInstance;
    bool mExhausted = true;
    bool mPlayOnce = false;
    uint32_t mBufferBytes = 0;
    float mBufferSeconds = 0.0f;
    int64_t mTailBytes = 0;  // bytes still to play after the source ended
    const int mGroup;
    const bool mLoop;
    bool mPaused = false;
    bool mPausedByFocus = false;
    bool mBufferReady = false;
    TClock mClock;
    int mLastHalf = 0;  // 1 first, 2 second
};
