#include "game/widgets/tintwindow.h"

#include <algorithm>
#include <cmath>

#include "core/windows/modalwindow.h"
#include "core/windows/windowstyle.h"
#include "foundation/clock.h"
#include "game/widgets/rectdraw.h"
#include "game/widgets/screeninvalidator.h"
#include "game/widgets/widgetclass.h"

TWindow* VTintWindow::Create() {
    return new VTintWindow();
}

VTintWindow::VTintWindow() : mInvalidator(RScreenInvalidator::Create()) {}

const char* VTintWindow::GetClassName() const {
    return "VTintWindow";
}

bool VTintWindow::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TWindow::ClassId()});
}

VTintWindow::~VTintWindow() {
    if (!mInvalidatorHandedOver) {
        delete mInvalidator;
    } else if (TModalWindow* modal = EnclosingModal(); modal && modal->RemoveTask(mInvalidator)) {
        delete mInvalidator;
    }
}

TModalWindow* VTintWindow::EnclosingModal() const {
    return dynamic_cast<TModalWindow*>(GetParentModal());
}

void VTintWindow::PostInit(const TWindowStyle& style) {
    TWindow::PostInit(style);
    mColor = style.GetColor("color", TColor4f(0, 0, 0, 1));
    mFade = style.GetBool("fade", false);
    mFadeTime = static_cast<float>(style.GetNumber("time", mFadeTime));
    TModalWindow* modal = EnclosingModal();
    if (modal && !mInvalidatorHandedOver) {
        modal->AddTask(mInvalidator);
        mInvalidatorHandedOver = true;
    }
}

void VTintWindow::ReverseFade() {
    mStartTime = 0;
    mRising = !mRising;
}

float VTintWindow::FadeProgress(uint32_t now) {
    if (mStartTime == 0) mStartTime = now;
    // A fade of no time (or none readable) is over at once.
    float p = 1.0f;
    if (mFadeTime > 0.0f && std::isfinite(mFadeTime)) {
        p = std::min(static_cast<float>(now - mStartTime) / mFadeTime, 1.0f);
    }
    return mRising ? p : 1.0f - p;
}

void VTintWindow::Draw() {
    if (!mFade) {
        FillRectColor(GetClientRect(), mColor);
        return;
    }
    TModalWindow* modal = EnclosingModal();
    if (!modal) return;
    float p = FadeProgress(static_cast<uint32_t>(modal->GetClock()->GetTime()));
    FillRectColor(GetClientRect(), TColor4f(mColor.r, mColor.g, mColor.b, mColor.a * p));
}
