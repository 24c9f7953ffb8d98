#include "game/texts/timer.h"

#include <algorithm>
#include <cstdint>

#include "core/windows/windowanim.h"
#include "core/windows/windowstyle.h"
#include "game/widgets/gamewindow.h"
#include "game/widgets/widgetclass.h"

TWindow* RTimer::Create() {
    return new RTimer();
}

const char* RTimer::GetClassName() const {
    return "RTimer";
}

bool RTimer::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TText::ClassId(), TWindow::ClassId()});
}

void RTimer::Init(const TWindowStyle& style) {
    TText::Init(style);
    mIncrementing = style.GetBool("isincrementing", mIncrementing);
    mStartTime = style.GetInt("starttime", mStartTime);
    mHide = style.GetBool("hide", mHide);
    UpdateText();
}

void RTimer::PostInit(const TWindowStyle& style) {
    TText::PostInit(style);
    if (mHide) SetFlags(0);
    StartAnimation(RWindow::kAnimationPeriod, true, true, false);
}

bool RTimer::Animate() {
    const TWindowAnim* animator = FindAnimator();
    if (!mRunning || !animator) return true;
    uint32_t now = static_cast<uint32_t>(animator->Now());
    if (mLastTime == 0) mLastTime = now;
    // Elapsed time wraps like the millisecond clock it follows.
    mElapsedTime = static_cast<int32_t>(static_cast<uint32_t>(mElapsedTime) + (now - mLastTime));
    mLastTime = now;
    if (mStartTime < 0) mStartTime = 0;
    UpdateText();
    return true;
}

void RTimer::UpdateText() {
    int64_t t = mElapsedTime;
    if (!mIncrementing) t = static_cast<int64_t>(mStartTime) - mElapsedTime;
    if (t < 1) t = 0;
    SetText(TString::Format("%d:%.2d", static_cast<int>(t / 60000), static_cast<int>(t / 1000 % 60)));
}

void RTimer::Start() {
    mRunning = true;
    const TWindowAnim* animator = FindAnimator();
    mLastTime = animator ? static_cast<uint32_t>(animator->Now()) : 0;
}

void RTimer::SetElapsedTime(int64_t milliseconds) {
    mElapsedTime = static_cast<int32_t>(std::clamp<int64_t>(milliseconds, 0, INT32_MAX));
    UpdateText();
}

void RTimer::Reset() {
    mLastTime = 0;
    mStartTime = 0;
    mElapsedTime = 0;
    mRunning = true;
}
