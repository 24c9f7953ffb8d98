#include "sound/soundinstance.h"

#include <utility>

#include "sound/sound.h"
#include "sound/soundcallback.h"
#include "sound/soundmanager.h"
#include "sound/soundstream.h"

// The worker thread changes the stream, sound and queued sound when the
// stream moves on, so they are read and written under the manager's lock.

void TSoundInstance::SetVolume(float level) {
    TPlatformSoundLock lock;
    if (mStream) {
        mStream->SetVolume(level);
    }
}

int TSoundInstance::GetGroup() const {
    TPlatformSoundLock lock;
    return mStream ? mStream->GetGroup() : -1;
}

void TSoundInstance::Stop() {
    if (auto sound = GetSound()) {
        sound->Stop(shared_from_this());
    }
}

void TSoundInstance::SetCallBack(TSoundCallBack* callback, const std::shared_ptr<TSound>& following) {
    std::shared_ptr<TSound> sound = GetSound();
    if (sound) {
        sound->SetCallBack(shared_from_this(), callback, following);
    } else if (!callback && !following) {
        // Detaching needs no sound: a callback going away relies on it.
        TPlatformSoundLock lock;
        DetachCallBack();
        mQueuedSound.reset();
    }
}

TSoundStream* TSoundInstance::GetStream() const {
    TPlatformSoundLock lock;
    return mStream;
}

void TSoundInstance::SetStream(TSoundStream* stream) {
    TPlatformSoundLock lock;
    mStream = stream;
}

std::shared_ptr<TSound> TSoundInstance::GetSound() const {
    TPlatformSoundLock lock;
    return mSound.lock();
}

void TSoundInstance::SetSound(const std::weak_ptr<TSound>& sound) {
    TPlatformSoundLock lock;
    mSound = sound;
}

std::shared_ptr<TSound> TSoundInstance::GetQueuedSound() const {
    TPlatformSoundLock lock;
    return mQueuedSound;
}

void TSoundInstance::SetQueuedSound(const std::shared_ptr<TSound>& sound) {
    TPlatformSoundLock lock;
    mQueuedSound = sound;
}

std::shared_ptr<TSound> TSoundInstance::TakeQueuedSound() {
    TPlatformSoundLock lock;
    return std::exchange(mQueuedSound, nullptr);
}

void TSoundInstance::MoveToQueuedSound(TSoundStream* stream) {
    mSound = mQueuedSound;
    mFollowedSound = std::move(mQueuedSound);
    mStream = stream;
}

std::shared_ptr<TSound> TSoundInstance::TakeFollowedSound() {
    TPlatformSoundLock lock;
    return std::exchange(mFollowedSound, nullptr);
}

void TSoundInstance::AttachCallBack(TSoundCallBack* callback) {
    if (callback == mCallBack) {
        return;
    }
    DetachCallBack();
    if (callback) {
        callback->Register(shared_from_this());
    }
    mCallBack = callback;
}

void TSoundInstance::DetachCallBack() {
    if (mCallBack) {
        mCallBack->Unregister(shared_from_this());
        mCallBack = nullptr;
    }
}
