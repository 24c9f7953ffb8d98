// A clock text of minutes and seconds counting up, or down from a start
// time, on the clock of its modal window, so it stops while that window is
// covered.
#pragma once

#include <cstdint>

#include "widgets/text.h"

class RTimer : public TText {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // "isincrementing", "starttime" and "hide", then the text.
    void Init(const TWindowStyle& style) override;
    // Hidden when asked, then the animation every 16 ms.
    void PostInit(const TWindowStyle& style) override;
    // Adds the time since the previous step while running.
    bool Animate() override;

    // "%d:%.2d" of the time counted, never below 0.
    void UpdateText();
    // Back to 0 and running.
    void Reset();
    // Runs from now on its clock: time spent stopped is not counted.
    void Start();

    void SetIncrementing(bool incrementing) { mIncrementing = incrementing; }
    void SetStartTime(int32_t milliseconds) { mStartTime = milliseconds; }
    void SetRunning(bool running) { mRunning = running; }
    bool IsRunning() const { return mRunning; }
    int32_t GetStartTime() const { return mStartTime; }
    int32_t GetElapsedTime() const { return mElapsedTime; }
    // Kept within 0..INT32_MAX; the text follows at once.
    void SetElapsedTime(int64_t milliseconds);

private:
    uint32_t mLastTime = 0;  // 0 until the first step
    int32_t mStartTime = 0;
    int32_t mElapsedTime = 0;
    bool mIncrementing = true;
    bool mRunning = true;
    bool mHide = false;
};
