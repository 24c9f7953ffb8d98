#include "game/objects/suspendable.h"

#include <vector>

#include "foundation/clock.h"
#include "game/objects/suspendabletutorial.h"

std::shared_ptr<VSuspendable> VSuspendable::Create(const TString& name, int layer) {
    auto object = std::make_shared<VSuspendable>(name, layer);
    Adopt(object);
    return object;
}

VSuspendable::VSuspendable(const TString& name, int layer) : VObject(name, TString(), layer) {}

VSuspendable::~VSuspendable() = default;

uint32_t VSuspendable::Now() const {
    TClock* clock = GetClock();
    return clock ? static_cast<uint32_t>(clock->GetTime()) : 0;
}

void VSuspendable::Update(bool paused) {
    std::shared_ptr<VSprite> hold = GetShared();
    uint32_t now = Now();
    uint32_t pauseMark = GetPauseMark();
    // The time on hold before the pause began still counts; the pause does not.
    if (!paused && pauseMark != 0 && pauseMark > mStart) mStart = now - (pauseMark - mStart);
    if (mSuspended && IsHoldOver(now)) {
        mAwaited.reset();
        mDuration = 0;
        if (OnResume()) mSuspended = false;
        TellTutorials();
    }
    VObject::Update(paused);
}

bool VSuspendable::IsHoldOver(uint32_t now) const {
    if (mAwaited && (!mAwaited->IsPlaying(-1) || mAwaited->IsFinished(-1))) return true;
    return mDuration != 0 && now - mStart >= mDuration;
}

void VSuspendable::Resume() {
    if (mSuspended) {
        mSuspended = false;
        OnResume();
        TellTutorials();
        // A tutorial listener may have asked to go.
        ApplyListenerChanges();
    }
    mStart = 0;
    mDuration = 0;
    mAwaited.reset();
}

void VSuspendable::Suspend(uint32_t duration) {
    mStart = Now();
    mSuspended = true;
    mDuration = duration;
}

void VSuspendable::SuspendUntil(const std::shared_ptr<VSprite>& sprite) {
    if (!sprite) return;
    mSuspended = true;
    mAwaited = sprite;
}

void VSuspendable::TellTutorials() {
    std::shared_ptr<VSprite> self = GetShared();
    // A copy: a tutorial that advances may change the listeners.
    std::vector<std::shared_ptr<VSpriteListener>> listeners(GetListeners().begin(), GetListeners().end());
    for (const std::shared_ptr<VSpriteListener>& listener : listeners) {
        if (auto tutorial = std::dynamic_pointer_cast<VTutorialListener>(listener)) {
            tutorial->OnSuspensionEnd(mSuspended, self);
        }
    }
}
