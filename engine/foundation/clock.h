// A pausable millisecond clock over the platform timer. It starts paused;
// time spent paused does not count.
#pragma once

#include <cstdint>

class TClock {
public:
    TClock() = default;
    virtual ~TClock() = default;

    int32_t GetTime() const;
    // Sets the current reading to t, forgetting earlier pauses; returns t.
    int32_t SetTime(int32_t t);
    // Runs the clock: the first start sets it to 0 and returns 0; a later one
    // resumes from the paused reading and returns the span spent paused.
    // Returns 0 when already running.
    int32_t Start();
    // Freezes the reading; true when it was already paused.
    bool Pause();
    // Reads 0 and stays paused until the next Start.
    void Reset();

private:
    int32_t RunningTime() const;

    bool mPaused = true;
    bool mStarted = false;
    int32_t mStartTime = 0;   // platform milliseconds at the last SetTime
    int32_t mOffset = 0;      // the reading given to the last SetTime
    int32_t mFrozenTime = 0;  // the reading while paused
    int32_t mPausedTotal = 0; // milliseconds paused since the last SetTime
};
