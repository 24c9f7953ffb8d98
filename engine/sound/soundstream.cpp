#include "sound/soundstream.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "sound/audioerror.h"
#include "sound/soundinstance.h"
#include "sound/soundmanager.h"
#include "sound/volume.h"

namespace {

const char kModule[] = ".\\soundstream";
const uint32_t kMinBufferBytes = 4;
const uint32_t kMaxBufferBytes = 0x0FFFFFFF;
const int kFirstHalf = 1;
const int kSecondHalf = 2;

// Device volume in hundredths of a decibel for a level of 0..1.
int32_t HundredthsDb(float level) {
    if (level == 0.0f) {
        return audio::kVolumeMin;
    }
    return static_cast<int32_t>(-(1.0f - level) * 5000.0f);
}

}  // namespace

std::shared_ptr<TSoundStream> TSoundStream::Create(TSoundManager* manager, TStreamSpooler* spooler, bool loop,
                                                   int group, const std::weak_ptr<TStreamNotify>& data) {
    if (!manager || !spooler) {
        return nullptr;
    }
    std::shared_ptr<TSoundStream> stream(new TSoundStream(manager, spooler, loop, group, data));
    manager->AddStream(stream);
    return stream;
}

TSoundStream::TSoundStream(TSoundManager* manager, TStreamSpooler* spooler, bool loop, int group,
                           const std::weak_ptr<TStreamNotify>& data)
    : mManager(manager), mCurrentSpooler(spooler), mCurrentData(data), mGroup(group), mLoop(loop) {}

TSoundStream::~TSoundStream() {
    TSoundLock lock(*mManager);
    mCurrentSpooler.reset();
    NotifyDone();
    mNextSpooler.reset();
    if (auto instance = mInstance.lock(); instance && instance->GetStream() == this) {
        instance->SetStream(nullptr);
    }
    if (mBuffer) {
        Check(mBuffer->Stop(), 83);
    }
}

bool TSoundStream::Check(audio::Result result, int line) {
    if (audio::Succeeded(result)) {
        return true;
    }
    LogAudioError(result, kModule, line);
    return false;
}

void TSoundStream::SetInstance(const std::weak_ptr<TSoundInstance>& instance) {
    TSoundLock lock(*mManager);
    mInstance = instance;
}

std::shared_ptr<TSoundInstance> TSoundStream::GetInstance() const {
    TSoundLock lock(*mManager);
    return mInstance.lock();
}

uint32_t TSoundStream::BufferBytesFor(uint64_t bytesPerSecond, float seconds) {
    double exact = static_cast<double>(bytesPerSecond) * seconds;
    if (!(exact > 0.0)) {
        return kMinBufferBytes;
    }
    if (exact >= static_cast<double>(kMaxBufferBytes)) {
        return kMaxBufferBytes;
    }
    uint64_t bytes = (static_cast<uint64_t>(std::llround(exact)) + 7) & ~uint64_t{7};
    if (bytes == 0) {
        return kMinBufferBytes;
    }
    return static_cast<uint32_t>(std::min<uint64_t>(bytes, kMaxBufferBytes));
}

bool TSoundStream::CreateBuffer(int sampleRate, int channels, int bits, float seconds) {
    TSoundLock lock(*mManager);
    if (!mManager->IsStarted()) {
        return false;
    }
    // A rate, channel count or sample size that gives no bytes per second
    // would divide by zero below, and the mixer plays only mono and stereo.
    bool playable = sampleRate > 0 && channels >= 1 && channels <= 2 && bits > 0;
    uint64_t bytesPerSecond = playable ? uint64_t(sampleRate) * (uint64_t(channels) * uint64_t(bits) / 8) : 0;
    if (bytesPerSecond == 0) {
        Check(audio::Result::kInvalidParam, 232);
        return false;
    }
    audio::Format format{uint32_t(sampleRate), uint32_t(channels), uint32_t(bits)};
    uint32_t bytes = BufferBytesFor(bytesPerSecond, seconds);
    std::unique_ptr<audio::Buffer> buffer;
    if (!Check(mManager->GetDevice().CreateBuffer(format, bytes, &buffer), 232)) {
        return false;
    }
    // Nothing waits on these positions: the worker thread polls the cursors.
    if (!Check(buffer->SetNotifyPositions({0, bytes / 2}), 258)) {
        return false;
    }
    mBuffer = std::move(buffer);
    mBufferBytes = bytes;
    mBufferSeconds = static_cast<float>(bytes / static_cast<double>(bytesPerSecond));
    mTailBytes = bytes;
    mExhausted = false;
    mBufferReady = true;
    Refill(true);
    return true;
}

void TSoundStream::Play(bool once) {
    TSoundLock lock(*mManager);
    if (once) {
        mPlayOnce = true;
    }
    if (mBufferReady) {
        StartBuffer();
    }
    mClock.Reset();
    mClock.Start();
}

void TSoundStream::StartBuffer() {
    SetVolume(mManager->GetGroupVolume(mGroup));
    if (!mManager->IsActive()) {
        mPaused = true;
        mPausedByFocus = true;
        return;
    }
    Check(mBuffer->Play(!mPlayOnce), mPlayOnce ? 558 : 560);
}

void TSoundStream::SetPaused(bool pause) {
    TSoundLock lock(*mManager);
    if (pause) {
        mPaused = true;
        mPausedByFocus = false;
        mClock.Pause();
        if (mBufferReady) {
            Check(mBuffer->Stop(), 476);
        }
        return;
    }
    mPaused = false;
    if (mBufferReady) {
        Play(mPlayOnce);
    } else {
        mClock.Start();
    }
}

void TSoundStream::SetFocusPaused(bool pause) {
    TSoundLock lock(*mManager);
    if (pause && !mPaused) {
        SetPaused(true);
        mPausedByFocus = true;
    } else if (!pause && mPausedByFocus) {
        mPausedByFocus = false;
        SetPaused(false);
    }
}

void TSoundStream::SetVolume(float level) {
    TSoundLock lock(*mManager);
    if (!mBufferReady) {
        return;
    }
    uint32_t status = 0;
    if (Check(mBuffer->GetStatus(&status), 631) && (status & audio::kStatusLost)) {
        Check(mBuffer->Restore(), 635);
    }
    Check(mBuffer->SetVolume(HundredthsDb(ClampVolume(level))), 637);
}

bool TSoundStream::Refill(bool initial) {
    TSoundLock lock(*mManager);
    if (!mBufferReady) {
        return RefillBufferless();
    }
    uint32_t play = 0;
    uint32_t write = 0;
    if (!Check(mBuffer->GetCursors(&play, &write), 345)) {
        return true;
    }
    uint32_t half = mBufferBytes / 2;
    int target;
    if (initial) {
        target = kFirstHalf;
    } else if (write < half) {
        target = kSecondHalf;
    } else if (play > half) {
        target = kFirstHalf;
    } else {
        return true;  // the cursors straddle the middle
    }
    if (target == mLastHalf) {
        return !(mPlayOnce && play >= write);
    }
    mLastHalf = target;
    if (mExhausted) {
        mTailBytes -= half;
        if (mTailBytes < 1 && !mNextSpooler) {
            Check(mBuffer->Stop(), 391);
            mCurrentSpooler.reset();
            return false;
        }
    }
    return WriteHalf(target == kFirstHalf ? 0 : half, half);
}

bool TSoundStream::WriteHalf(uint32_t offset, uint32_t bytes) {
    uint8_t* data = nullptr;
    if (!Check(mBuffer->Lock(offset, bytes, &data), 408)) {
        return false;
    }
    uint32_t written = 0;
    mExhausted = !ReadCurrent(bytes, data, &written);
    if (mExhausted && mNextSpooler) {
        MoveOnToNext();
        if (written < bytes) {
            mCurrentSpooler->Rewind();
            uint32_t rest = 0;
            mExhausted = !mCurrentSpooler->Read(bytes - written, data + written, &rest, mLoop);
        }
    }
    Check(mBuffer->Unlock(), 438);
    return true;
}

bool TSoundStream::ReadCurrent(uint32_t bytes, uint8_t* destination, uint32_t* written) {
    if (!mCurrentSpooler) {
        std::memset(destination, 0, bytes);
        *written = 0;
        return false;
    }
    return mCurrentSpooler->Read(bytes, destination, written, mLoop);
}

bool TSoundStream::RefillBufferless() {
    if (!mCurrentSpooler || mCurrentSpooler->GetDuration() >= mClock.GetTime() / 1000.0) {
        return true;
    }
    if (!mNextSpooler) {
        return false;
    }
    MoveOnToNext();
    mClock.Reset();
    mClock.Start();
    return true;
}

void TSoundStream::MoveOnToNext() {
    mCurrentSpooler = std::move(mNextSpooler);
    mExhausted = false;
    // The tail counts what plays after the end of the source now playing.
    mTailBytes = mBufferBytes;
    mFinishedData = mCurrentData;
    if (auto instance = mInstance.lock()) {
        instance->MoveToQueuedSound(this);
    }
    mCurrentData = mNextData;
    mNextData.reset();
}

bool TSoundStream::QueueNext(const std::weak_ptr<TStreamNotify>& data, TStreamSpooler* spooler) {
    TSoundLock lock(*mManager);
    if (!spooler || (mBufferReady && mExhausted && mTailBytes < 1)) {
        return false;
    }
    mNextData = data;
    mNextSpooler.reset(spooler);
    // A buffer that plays once stops at its end, before the following sound.
    if (mPlayOnce && mBufferReady) {
        mPlayOnce = false;
        if (!mPaused) {
            Check(mBuffer->Play(true), 560);
        }
    }
    return true;
}

void TSoundStream::Finish(bool retire) {
    TSoundManager& manager = *mManager;
    TSoundLock lock(manager);
    if (mBufferReady) {
        Check(mBuffer->Stop(), 583);
    }
    mNextSpooler.reset();
    mNextData.reset();
    // Removing may destroy this stream: nothing touches it afterwards.
    if (retire) {
        manager.RetireStream(this);
    } else {
        manager.RemoveStream(this);
    }
}

std::weak_ptr<TStreamNotify> TSoundStream::TakeFinishedData() {
    TSoundLock lock(*mManager);
    return std::exchange(mFinishedData, {});
}

std::shared_ptr<TStreamNotify> TSoundStream::GetCurrentData() const {
    TSoundLock lock(*mManager);
    return mCurrentData.lock();
}

void TSoundStream::NotifyDone() {
    // Each data is told once, even when it is linked more than once.
    std::vector<std::shared_ptr<TStreamNotify>> notices;
    for (std::weak_ptr<TStreamNotify>* link : {&mFinishedData, &mCurrentData, &mNextData}) {
        std::shared_ptr<TStreamNotify> data = std::exchange(*link, {}).lock();
        if (data && std::find(notices.begin(), notices.end(), data) == notices.end()) {
            notices.push_back(std::move(data));
        }
    }
    for (const auto& data : notices) {
        data->OnStreamDone(this);
    }
}
