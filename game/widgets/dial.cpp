#include "game/widgets/dial.h"

#include <cmath>

#include "core/windows/windowstyle.h"
#include "foundation/matrix.h"
#include "game/utilities/draw2dscope.h"
#include "game/widgets/widgetclass.h"
#include "graphics/render/drawstate.h"
#include "graphics/texture.h"

namespace {

TMat3 Translation(float x, float y) {
    return TMat3(1, 0, 0, 0, 1, 0, x, y, 1);
}

TMat3 Rotation(float angle) {
    TMat3 rotation;
    rotation.Rotate(angle);
    return rotation;
}

}  // namespace

TWindow* KDial::Create() {
    return new KDial();
}

const char* KDial::GetClassName() const {
    return "KDial";
}

bool KDial::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), KGauge::ClassId(), TWindow::ClassId()});
}

void KDial::Init(const TWindowStyle& style) {
    KGauge::Init(style);
    mCenterX = style.GetInt("center_x", kUnsetPosition);
    mCenterY = style.GetInt("center_y", kUnsetPosition);
    mRegistrationX = style.GetInt("needle_regx", kUnsetPosition);
    mRegistrationY = style.GetInt("needle_regy", kUnsetPosition);
    mMinRotation = static_cast<float>(style.GetNumber("minrot", 0));
    mMaxRotation = static_cast<float>(style.GetNumber("maxrot", kFullTurn));
    mNeedle = GetImage(style.GetString("needle", TString()));
    mOverlay = GetImage(style.GetString("overlay", TString()));
    if (mNeedle) {
        // From the image's top-left to its centre, which it is drawn about.
        mRegistrationX -= mNeedle->GetWidth() / 2;
        mRegistrationY -= mNeedle->GetHeight() / 2;
    }
    SetValue(static_cast<float>(style.GetNumber("startpos", 0)));
}

void KDial::SetValue(float value) {
    mAngle = mMinRotation + (mMaxRotation - mMinRotation) * ClampUnit(value);
    InvalidateScreen();
}

float KDial::GetValue() const {
    float range = mMaxRotation - mMinRotation;
    if (range == 0) return 0;
    float value = (mAngle - mMinRotation) / range;
    return std::isfinite(value) ? value : 0;
}

void KDial::SetNeedleAlpha(float alpha) {
    mNeedleAlpha = ClampUnit(alpha);
}

float KDial::NormalizeAngle(float angle) {
    if (!std::isfinite(angle)) return 0;
    if (angle > kFullTurn) {
        // Whole turns taken off stop at 2 pi, not at 0.
        float rest = std::fmod(angle, kFullTurn);
        return rest == 0 ? kFullTurn : rest;
    }
    if (angle < 0) {
        float rest = std::fmod(angle, kFullTurn);
        return rest < 0 ? rest + kFullTurn : 0;
    }
    return angle;
}

void KDial::PostDraw() {
    if (!mNeedle && !mOverlay) return;
    TDraw2dScope scope;
    if (!scope.IsOpen()) return;
    float centreX = static_cast<float>(mCenterX);
    float centreY = static_cast<float>(mCenterY);
    if (mNeedle) {
        // The registration point goes to the origin, turns there and moves
        // to the centre.
        TDrawState state(TVec2(0, 0), mNeedleAlpha, 1, 0);
        state.matrix = Translation(static_cast<float>(-mRegistrationX), static_cast<float>(-mRegistrationY)) *
                       Rotation(NormalizeAngle(mAngle)) * Translation(centreX, centreY);
        mNeedle->Draw(state);
    }
    if (mOverlay) mOverlay->Draw(TDrawState(TVec2(centreX, centreY), 1, 1, 0));
}
