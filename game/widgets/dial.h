// A dial gauge: a needle image turned about the dial's centre between a
// minimum and a maximum angle, with an optional overlay centred on it.
#pragma once

#include <memory>

#include "game/widgets/gauge.h"

class KDial : public KGauge {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    void Init(const TWindowStyle& style) override;
    void PostDraw() override;
    void SetValue(float value) override;
    // 0 when the rotation range is empty.
    float GetValue() const override;
    // Clamped to 0..1.
    virtual void SetNeedleAlpha(float alpha);

    float GetAngle() const { return mAngle; }
    // The registration point, from the needle image's centre once loaded.
    TPoint GetRegistration() const { return TPoint(mRegistrationX, mRegistrationY); }
    // The angle as drawn: within (0, 2 pi] above 2 pi and [0, 2 pi) below 0,
    // untouched between; 0 for an infinite or undefined angle.
    static float NormalizeAngle(float angle);

    // 2 pi as a float.
    static constexpr float kFullTurn = 6.2831855f;
    // Centres and registration points the description leaves out.
    static constexpr int kUnsetPosition = -1337;

protected:
    float mAngle = 0;
    int mCenterX = 0;
    int mCenterY = 0;
    float mNeedleAlpha = 1;

private:
    int mRegistrationX = 0;
    int mRegistrationY = 0;
    float mMinRotation = 0;
    float mMaxRotation = kFullTurn;
    std::shared_ptr<TTexture> mNeedle;
    std::shared_ptr<TTexture> mOverlay;
};
