#include "foundation/clock.h"

#include "platform/os/timer.h"

namespace {

// Platform time as a signed reading; differences stay right across its wrap.
int32_t Now() {
    return static_cast<int32_t>(os::TimeMilliseconds());
}

// Sum with the platform counter's modulo-2^32 wrap, free of signed overflow.
int32_t WrapSum(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t WrapDifference(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

}  // namespace

int32_t TClock::RunningTime() const {
    return WrapDifference(WrapSum(mOffset, WrapDifference(Now(), mStartTime)), mPausedTotal);
}

int32_t TClock::GetTime() const {
    return mPaused ? mFrozenTime : RunningTime();
}

int32_t TClock::SetTime(int32_t t) {
    mStartTime = Now();
    mOffset = t;
    mFrozenTime = t;
    mPausedTotal = 0;
    return t;
}

int32_t TClock::Start() {
    if (!mPaused) {
        return 0;
    }
    mPaused = false;
    if (!mStarted) {
        mStarted = true;
        SetTime(0);
        return 0;
    }
    int32_t pausedSpan = WrapDifference(RunningTime(), mFrozenTime);
    mPausedTotal = WrapSum(mPausedTotal, pausedSpan);
    return pausedSpan;
}

bool TClock::Pause() {
    if (mPaused) {
        return true;
    }
    mFrozenTime = GetTime();
    mPaused = true;
    return false;
}

void TClock::Reset() {
    SetTime(0);
    mPaused = true;
}
