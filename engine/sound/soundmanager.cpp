#include "sound/soundmanager.h"

#include <pthread.h>

#include <chrono>
#include <condition_variable>
#include <list>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio/sdldevice.h"
#include "sound/audioerror.h"
#include "sound/soundstream.h"
#include "sound/volume.h"

namespace {

const char kModule[] = ".\\soundmanager";
const char kWorkerName[] = "TSoundManager";  // as the system lists threads
const int32_t kSweepInterval = 500;
const auto kWorkerSleep = std::chrono::milliseconds(50);

TSoundManager* gSoundManager = nullptr;

using StreamList = std::list<std::shared_ptr<TSoundStream>>;

// Takes the stream out of the list; empty when it is not there.
std::shared_ptr<TSoundStream> Unlink(StreamList& list, TSoundStream* stream) {
    for (auto entry = list.begin(); entry != list.end(); ++entry) {
        if (entry->get() == stream) {
            std::shared_ptr<TSoundStream> unlinked = std::move(*entry);
            list.erase(entry);
            return unlinked;
        }
    }
    return nullptr;
}

}  // namespace

// Everything the worker thread touches. The device comes first so that it
// goes last, after every stream's buffer.
struct TSoundManagerData {
    explicit TSoundManagerData(std::unique_ptr<audio::Device> output) : device(std::move(output)) {}

    std::unique_ptr<audio::Device> device;
    std::recursive_mutex mutex;  // "TSoundManagerMutex"
    int lockDepth = 0;
    StreamList liveStreams;  // oldest first
    StreamList retiredStreams;
    float masterVolume = 1.0f;
    std::map<int, float> groupVolumes;
    std::thread worker;
    // The worker sleeps on `wake` so that shutdown need not wait out a sleep.
    std::mutex wakeMutex;
    std::condition_variable wake;
    bool stop = false;
};

TSoundManager::TSoundManager() : TSoundManager(std::make_unique<audio::SdlDevice>()) {}

TSoundManager::TSoundManager(std::unique_ptr<audio::Device> device)
    : mData(std::make_unique<TSoundManagerData>(std::move(device))) {}

TSoundManager::~TSoundManager() {
    {
        TSoundLock lock(*this);
        std::lock_guard<std::mutex> wakeLock(mData->wakeMutex);
        mData->stop = true;
    }
    mData->wake.notify_all();
    if (mData->worker.joinable()) {
        mData->worker.join();
    }
    mShuttingDown = true;
    DestroyStreams();
}

void TSoundManager::DestroyStreams() {
    TSoundLock lock(*this);
    // A stream's completion notice may start another: repeat until none is left.
    while (!mData->liveStreams.empty() || !mData->retiredStreams.empty()) {
        StreamList doomed;
        doomed.swap(mData->liveStreams);
        doomed.splice(doomed.end(), mData->retiredStreams);
        doomed.clear();
    }
}

bool TSoundManager::Start() {
    TSoundLock lock(*this);
    if (mStarted) {
        return true;
    }
    // A Start after a failed one tries the device again but keeps its thread.
    if (!mData->worker.joinable()) {
        mData->worker = std::thread(&TSoundManager::RunWorker, this);
        pthread_setname_np(mData->worker.native_handle(), kWorkerName);
        mSweepClock.Reset();
        mSweepClock.Start();
    }
    audio::Result result = mData->device->Initialize();
    if (!audio::Succeeded(result)) {
        LogAudioError(result, kModule, 163);
        return false;
    }
    result = mData->device->CreatePrimaryBuffer();
    if (!audio::Succeeded(result)) {
        LogAudioError(result, kModule, 183);
        return false;
    }
    // The output format is fixed; the answer changes nothing.
    mData->device->SetPrimaryFormat(audio::kOutputFormat);
    mStarted = true;
    return true;
}

void TSoundManager::RunWorker() {
    std::unique_lock<std::mutex> wakeLock(mData->wakeMutex);
    while (!mData->stop) {
        wakeLock.unlock();
        ThreadUpdate(true);
        wakeLock.lock();
        mData->wake.wait_for(wakeLock, kWorkerSleep, [this] { return mData->stop; });
    }
}

void TSoundManager::Lock() {
    mData->mutex.lock();
    ++mData->lockDepth;
}

void TSoundManager::Unlock() {
    --mData->lockDepth;
    mData->mutex.unlock();
}

int TSoundManager::GetLockDepth() const {
    std::lock_guard<std::recursive_mutex> lock(mData->mutex);
    return mData->lockDepth;
}

audio::Device& TSoundManager::GetDevice() {
    return *mData->device;
}

void TSoundManager::AddStream(const std::shared_ptr<TSoundStream>& stream) {
    TSoundLock lock(*this);
    mData->liveStreams.push_back(stream);
}

void TSoundManager::RetireStream(TSoundStream* stream) {
    TSoundLock lock(*this);
    if (auto retired = Unlink(mData->liveStreams, stream)) {
        mData->retiredStreams.push_back(std::move(retired));
    }
}

void TSoundManager::RemoveStream(TSoundStream* stream) {
    TSoundLock lock(*this);
    // Both lists are whole again before the stream's destructor can run.
    std::shared_ptr<TSoundStream> live = Unlink(mData->liveStreams, stream);
    std::shared_ptr<TSoundStream> retired = Unlink(mData->retiredStreams, stream);
}

float TSoundManager::GetGroupVolume(int group) {
    TSoundLock lock(*this);
    auto entry = mData->groupVolumes.find(group);
    return entry == mData->groupVolumes.end() ? mData->masterVolume : mData->masterVolume * entry->second;
}

void TSoundManager::SetMasterVolume(float volume) {
    TSoundLock lock(*this);
    mData->masterVolume = ClampVolume(volume);
    ApplyVolumes();
}

void TSoundManager::SetGroupVolume(int group, float volume) {
    TSoundLock lock(*this);
    mData->groupVolumes[group] = ClampVolume(volume);
    ApplyVolumes();
}

void TSoundManager::ApplyVolumes() {
    TSoundLock lock(*this);
    for (const auto& stream : mData->liveStreams) {
        float volume = GetGroupVolume(stream->GetGroup());
        // A step aside first, so that the real value is a change for the device.
        stream->SetVolume(volume >= 0.5f ? volume - 0.05f : volume + 0.05f);
        stream->SetVolume(volume);
    }
}

void TSoundManager::SetActive(bool active) {
    mActive = active;
    TSoundLock lock(*this);
    for (const auto& stream : mData->liveStreams) {
        stream->SetFocusPaused(!active);
    }
    if (active) {
        ApplyVolumes();
    }
}

void TSoundManager::Update() {
    TSoundLock lock(*this);
    // Notices may play or stop sounds, which changes the lists: the retired
    // streams leave their list before they go, and the live list is walked
    // as it stood.
    StreamList retired;
    retired.swap(mData->retiredStreams);
    retired.clear();
    std::vector<std::shared_ptr<TSoundStream>> live(mData->liveStreams.begin(), mData->liveStreams.end());
    for (const auto& stream : live) {
        if (auto data = stream->TakeFinishedData().lock()) {
            data->OnStreamDone(stream.get());
        }
    }
}

void TSoundManager::ThreadUpdate(bool fromThread) {
    TSoundLock lock(*this);
    if (mSweepClock.GetTime() <= kSweepInterval) {
        return;
    }
    do {
        mSweepClock.Reset();
        mSweepClock.Start();
    } while (SweepOnce(fromThread));
}

bool TSoundManager::SweepOnce(bool fromThread) {
    for (auto entry = mData->liveStreams.rbegin(); entry != mData->liveStreams.rend(); ++entry) {
        TSoundStream* stream = entry->get();
        if (!stream->Refill(false)) {
            // Streams are destroyed on the main thread only.
            if (fromThread) {
                RetireStream(stream);
            } else {
                RemoveStream(stream);
            }
            return true;
        }
    }
    return false;
}

TSoundManager* GetSoundManager() {
    return gSoundManager;
}

void SetSoundManager(TSoundManager* manager) {
    gSoundManager = manager;
}
