// The base of every screen-transition overlay: a full-screen window that the
// transition manager puts in the window manager's overlay list. Its time
// counts from the first frame it is drawn in, on a clock of its own; its
// invalidator keeps frames coming while it lives. A script waiting for the
// transition's end is held here until it is resumed.
#pragma once

#include <cstdint>

#include "core/windows/window.h"
#include "foundation/clock.h"
#include "foundation/tstring.h"
#include "lua/lua.h"

class RScreenInvalidator;

class ROverlay : public TWindow {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
    static constexpr uint32_t kDefaultDuration = 500;

    // type: the transition type; command: a script statement queued when the
    // transition ends (empty for none).
    ROverlay(int type, const TString& command);
    ~ROverlay() override;

    int GetType() const { return mType; }
    const TString& GetCommand() const { return mCommand; }
    bool IsDone() const { return mDone; }
    uint32_t GetDuration() const { return mDuration; }
    uint32_t GetElapsed() const { return mElapsed; }

    // Keeps the coroutine L (which must not be the main thread) referenced
    // until ResumeWaitingThread, so the collector cannot free it meanwhile.
    void SetWaitingThread(lua_State* L);
    // Resumes the waiting coroutine with true when it is suspended, logs a
    // failed resume, and lets the coroutine go.
    void ResumeWaitingThread();

protected:
    void SetDuration(uint32_t duration) { mDuration = duration; }
    // Moves the time on by the clock's progress since the last draw and
    // returns the progress, elapsed / duration capped at 1.
    float AdvanceTime();
    // Sets the done flag once the elapsed time reaches the duration.
    void CheckDone();
    // The draw of an overlay that only waits: time moves on, nothing is drawn.
    void WaitStep();
    // The screen a transition acts on: the top modal window, or null.
    static TWindow* GetTopScreen();

private:
    void ReleaseWaitingThread();

    uint32_t mLastReading = 0;
    bool mClockRead = false;
    uint32_t mDelta = 0;
    uint32_t mElapsed = 0;
    TClock mClock;
    uint32_t mDuration = kDefaultDuration;
    bool mDone = false;
    int mType;
    TString mCommand;
    lua_State* mWaitingThread = nullptr;
    int mWaitingRef;
    // Owned by the platform task list once added, else by the overlay.
    RScreenInvalidator* mInvalidator = nullptr;
    bool mInvalidatorQueued = false;
};
