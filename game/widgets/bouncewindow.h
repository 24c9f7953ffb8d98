// A window that moves itself to a target position along a damped sinc
// curve: a glide with the default range, swings around the target with a
// wider one.
#pragma once

#include <cstdint>

#include "game/widgets/gamewindow.h"

class RBounceWindow : public RWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // "targetposx", "targetposy", "bouncelen", "funcmin", "funcmax" and
    // "bouncefunc", then a bounce from where the window stands.
    void PostInit(const TWindowStyle& style) override;
    bool Animate() override;

    virtual void OnBounceStart();
    virtual void OnBounceEnd();

    // Starts a bounce from the present position; nothing when the point is
    // already the target.
    void BounceTo(int32_t x, int32_t y);
    bool IsBouncing() const { return mBouncing; }
    float GetProgress() const { return mProgress; }
    TPoint GetTarget() const { return TPoint(mTargetX, mTargetY); }
    // Where the last bounce started, and how long a bounce lasts (ms).
    TPoint GetStart() const { return TPoint(mStartX, mStartY); }
    int32_t GetBounceLength() const { return mBounceLength; }

    // The curve's value at t in 0..1: 1 where its argument is 0.
    float BounceCurve(float t) const;

    static constexpr float kPi = 3.1415927f;
    static constexpr int32_t kUnset = INT32_MIN;

private:
    // The window's offset from the target at t: the start's offset times f.
    static int32_t Approach(int32_t target, int32_t start, float f);
    void MoveTo(int32_t x, int32_t y);

    int32_t mStartX = 0;
    int32_t mStartY = 0;
    int32_t mTargetX = kUnset;
    int32_t mTargetY = kUnset;
    int32_t mBounceLength = 500;  // ms
    uint32_t mStartTime = 0;      // 0: not started
    float mFunctionMin = 0;
    float mFunctionMax = kPi;
    float mProgress = 0;
    bool mPiForm = false;
    bool mBouncing = false;
};
