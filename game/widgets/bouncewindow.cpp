#include "game/widgets/bouncewindow.h"

#include <cmath>

#include "core/windows/windowanim.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowstyle.h"
#include "game/widgets/widgetclass.h"

TWindow* RBounceWindow::Create() {
    return new RBounceWindow();
}

const char* RBounceWindow::GetClassName() const {
    return "RBounceWindow";
}

bool RBounceWindow::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), RWindow::ClassId(), TImage::ClassId(), TWindow::ClassId()});
}

void RBounceWindow::PostInit(const TWindowStyle& style) {
    RWindow::PostInit(style);
    mStartX = GetRect().left;
    mStartY = GetRect().top;
    int32_t x = style.GetInt("targetposx", GetRect().left);
    int32_t y = style.GetInt("targetposy", GetRect().top);
    mBounceLength = style.GetInt("bouncelen", mBounceLength);
    mFunctionMin = static_cast<float>(style.GetNumber("funcmin", mFunctionMin));
    mFunctionMax = static_cast<float>(style.GetNumber("funcmax", mFunctionMax));
    mPiForm = style.GetString("bouncefunc", "sincx") == TString("sincpix");
    BounceTo(x, y);
    StartAnimation(kAnimationPeriod, true, true, false);
}

void RBounceWindow::OnBounceStart() {
    mBouncing = true;
}

void RBounceWindow::OnBounceEnd() {
    mBouncing = false;
}

void RBounceWindow::BounceTo(int32_t x, int32_t y) {
    if (!FindAnimator()) StartAnimation(kAnimationPeriod, true, true, false);
    if (x == mTargetX && y == mTargetY) return;
    if (mBouncing) OnBounceEnd();
    OnBounceStart();
    mProgress = 0;
    mStartX = GetRect().left;
    mStartY = GetRect().top;
    mTargetX = x;
    mTargetY = y;
    mStartTime = 0;
}

float RBounceWindow::BounceCurve(float t) const {
    const float x = (mFunctionMin - mFunctionMax) * t;
    if (x == 0) return 1;
    if (!mPiForm) return std::sin(x) / x;
    const double px = static_cast<double>(kPi) * x;
    return static_cast<float>(std::sin(px) / px);
}

int32_t RBounceWindow::Approach(int32_t target, int32_t start, float f) {
    const double offset = std::trunc(static_cast<double>(static_cast<int64_t>(target) - start) * f);
    double position = static_cast<double>(target) - offset;
    if (!(position > INT32_MIN)) return INT32_MIN;
    if (position > INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(position);
}

void RBounceWindow::MoveTo(int32_t x, int32_t y) {
    if (x == GetRect().left && y == GetRect().top) return;
    if (TWindowManager* manager = TWindowManager::GetInstance()) manager->Invalidate();
    SetPosition(x, y);
}

bool RBounceWindow::Animate() {
    RWindow::Animate();
    const TWindowAnim* animator = FindAnimator();
    if (mProgress >= 1 || !animator) return true;
    const uint32_t last = static_cast<uint32_t>(animator->Now());
    if (mStartTime == 0 && last != 0) mStartTime = last;
    // A length of 0 or less ends the bounce at once rather than never.
    float t = 1;
    if (mBounceLength > 0) t = static_cast<float>(last - mStartTime) / static_cast<float>(mBounceLength);
    mProgress = t;
    if (t <= 0 || t >= 1) {
        if (t <= 0) MoveTo(mStartX, mStartY);
        else MoveTo(mTargetX, mTargetY);
        if (mProgress >= 1) OnBounceEnd();
        return true;
    }
    const float f = BounceCurve(t);
    MoveTo(Approach(mTargetX, mStartX, f), Approach(mTargetY, mStartY, f));
    return true;
}
