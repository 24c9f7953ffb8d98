// The sound manager: the audio device, every live sound stream, the master
// and group volumes, the pause that follows the application's focus, and the
// worker thread that refills the streams. One lock ("TSoundManagerMutex",
// recursive) guards all of it; every operation takes it, even when its caller
// already holds it.
#pragma once

#include <atomic>
#include <memory>

#include "foundation/clock.h"
#include "platform/audio/device.h"

class TSoundStream;
struct TSoundManagerData;

class TSoundManager {
public:
    // On the system's audio output.
    TSoundManager();
    // On the given device (tests give a manual one).
    explicit TSoundManager(std::unique_ptr<audio::Device> device);
    // Ends the worker thread first, then destroys the streams without
    // calling the game back (IsShuttingDown is set by then).
    virtual ~TSoundManager();
    TSoundManager(const TSoundManager&) = delete;
    TSoundManager& operator=(const TSoundManager&) = delete;

    // Starts the worker thread and opens the device; false (logged) when the
    // device cannot be opened, the streams then run silently on their clocks.
    // True at once when already started.
    bool Start();

    void Lock();
    void Unlock();
    // How many locks are held now (all of them by one thread).
    int GetLockDepth() const;

    // The live list owns the stream from now on.
    void AddStream(const std::shared_ptr<TSoundStream>& stream);
    // Moves a live stream to the retired list, which Update empties.
    void RetireStream(TSoundStream* stream);
    // Takes the stream off both lists; it goes with its last reference.
    void RemoveStream(TSoundStream* stream);

    // Master volume times the group's own (1 for a group never set).
    float GetGroupVolume(int group);
    void SetMasterVolume(float volume);
    void SetGroupVolume(int group, float volume);
    // The application's focus: pauses every live stream, or resumes them
    // and applies the volumes again. Pauses made by the game survive.
    void SetActive(bool active);

    // Main thread, every idle pass: destroys the retired streams (their
    // completion notices run here) and tells the data that streams moved on
    // from that they are done with it.
    void Update();
    // The worker's pass: at most every 500 ms, refills every live stream and
    // retires (from the thread) or removes the finished ones.
    void ThreadUpdate(bool fromThread);

    bool IsStarted() const { return mStarted; }
    bool IsActive() const { return mActive; }
    bool IsShuttingDown() const { return mShuttingDown; }
    audio::Device& GetDevice();

private:
    void ApplyVolumes();
    bool SweepOnce(bool fromThread);
    void RunWorker();
    void DestroyStreams();

    std::unique_ptr<TSoundManagerData> mData;
    TClock mSweepClock;
    // Read without the lock from other threads.
    std::atomic<bool> mStarted{false};
    std::atomic<bool> mShuttingDown{false};
    std::atomic<bool> mActive{true};
};

// Holds the manager's lock for a scope.
class TSoundLock {
public:
    explicit TSoundLock(TSoundManager& manager) : mManager(manager) { mManager.Lock(); }
    ~TSoundLock() { mManager.Unlock(); }
    TSoundLock(const TSoundLock&) = delete;
    TSoundLock& operator=(const TSoundLock&) = delete;

private:
    TSoundManager& mManager;
};

// The platform's sound manager, null before it exists. The platform sets it
// when it makes its manager and clears it at teardown.
TSoundManager* GetSoundManager();
void SetSoundManager(TSoundManager* manager);

// Holds the platform manager's lock for a scope; nothing without a manager.
class TPlatformSoundLock {
public:
    TPlatformSoundLock() : mManager(GetSoundManager()) {
        if (mManager) mManager->Lock();
    }
    ~TPlatformSoundLock() {
        if (mManager) mManager->Unlock();
    }
    TPlatformSoundLock(const TPlatformSoundLock&) = delete;
    TPlatformSoundLock& operator=(const TPlatformSoundLock&) = delete;

private:
    TSoundManager* const mManager;
};
