// Cooperative work: a task list asks each task on every pass whether it is
// ready and then lets it take one step.
#pragma once

#include <cstdint>

class TClock;

class TTask {
public:
    virtual ~TTask() = default;
    // True when the task wants to run in this pass (0 idle tick, 1 frame).
    virtual bool Ready(int pass);
    // One step; false means finished, and the list then deletes the task.
    virtual bool DoTask() = 0;
};

// The time of tasks without a clock: the platform's timer while the platform
// sets one, else the system's.
using TTaskTimer = uint32_t (*)();
void SetTaskTimer(TTaskTimer timer);

// A task due at a time on its clock (the platform timer when it has none),
// repeating at a period once started.
class TAnimTask : public TTask {
public:
    explicit TAnimTask(TClock* clock = nullptr);

    // The clock's time in milliseconds, or the platform timer's.
    int32_t Now() const;
    // Schedules the next step delay ms after now (from-now, or when nothing is
    // scheduled) or after the previous due time; repeat makes delay the period.
    // Catch-up replays missed periods in one pass. Returns delay.
    int32_t Start(int32_t delay, bool repeat, bool fromNow, bool catchUp);
    // Milliseconds past the due time (negative while waiting); -1 when unscheduled.
    int32_t Elapsed() const;
    void SetEveryFrame(bool everyFrame);
    // Moves to another clock, keeping the time still to wait (or overdue).
    void SetClock(TClock* clock);

    bool Ready(int pass) override;
    bool DoTask() override;
    // One step of the task's work; false ends the task.
    virtual bool Animate() = 0;

    static constexpr int32_t kNoDueTime = -1;

protected:
    bool mEveryFrame = false;         // runs in every frame pass, due or not
    int32_t mDueTime = kNoDueTime;
    int32_t mPeriod = 0;              // 0 for a one-shot
    bool mFromNow = false;            // reschedule from the current time
    bool mCatchUp = false;            // replay missed periods in one pass
    TClock* mClock = nullptr;         // not owned

private:
    // now - due as a signed 32-bit difference, right across the timer's wrap.
    int32_t Late(int32_t now) const;
};
