#include "foundation/task.h"

#include "foundation/clock.h"
#include "platform/os/timer.h"

namespace {

// Times wrap modulo 2^32 like the platform timer; unsigned arithmetic keeps
// that free of signed overflow.
int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t WrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// Past this many milliseconds behind, a task skips the missed periods.
constexpr int32_t kResyncLimit = 1000;

TTaskTimer gTaskTimer = nullptr;

}  // namespace

void SetTaskTimer(TTaskTimer timer) {
    gTaskTimer = timer;
}

bool TTask::Ready(int) {
    return true;
}

TAnimTask::TAnimTask(TClock* clock) : mClock(clock) {
    mDueTime = Now();
}

int32_t TAnimTask::Now() const {
    if (mClock) return mClock->GetTime();
    return static_cast<int32_t>(gTaskTimer ? gTaskTimer() : os::TimeMilliseconds());
}

int32_t TAnimTask::Late(int32_t now) const {
    return WrapSub(now, mDueTime);
}

int32_t TAnimTask::Start(int32_t delay, bool repeat, bool fromNow, bool catchUp) {
    mFromNow = fromNow;
    mCatchUp = catchUp;
    int32_t base = (fromNow || mDueTime == kNoDueTime) ? Now() : mDueTime;
    mDueTime = WrapAdd(base, delay);
    mPeriod = repeat ? delay : 0;
    return delay;
}

int32_t TAnimTask::Elapsed() const {
    return mDueTime == kNoDueTime ? kNoDueTime : Late(Now());
}

void TAnimTask::SetEveryFrame(bool everyFrame) {
    mEveryFrame = everyFrame;
}

void TAnimTask::SetClock(TClock* clock) {
    if (mDueTime == kNoDueTime) {
        mClock = clock;
        return;
    }
    int32_t remaining = WrapSub(mDueTime, Now());
    mClock = clock;
    mDueTime = WrapAdd(Now(), remaining);
}

bool TAnimTask::Ready(int pass) {
    if (pass == 1) return mEveryFrame;
    return mDueTime != kNoDueTime && Late(Now()) >= 0;
}

bool TAnimTask::DoTask() {
    // An unscheduled task runs only in frame passes and stays unscheduled.
    if (mDueTime == kNoDueTime) return Animate();
    int32_t now = Now();
    if (Late(now) > kResyncLimit) mDueTime = now;
    bool result;
    do {
        mDueTime = WrapAdd(mFromNow ? now : mDueTime, mPeriod);
        result = Animate();
        // A period of 0 or less never moves the due time past now, and a step
        // may have unscheduled the task.
    } while (result && mCatchUp && mPeriod > 0 && mDueTime != kNoDueTime && Late(now) > 0);
    return result;
}
