// The process-wide player of screen transitions. Scripts ask for them through
// "DoTransition" and game code through posted messages of types 1001 to 1013;
// they play one at a time in request order. While one runs or waits, the
// player's mouse and keyboard input is taken before it reaches the window
// manager. A monitor task ends finished transitions: it queues their
// commands, resumes the scripts that wait for them and starts the next one.
#pragma once

#include <deque>
#include <vector>

#include "core/app/message.h"
#include "foundation/task.h"
#include "foundation/tstring.h"
#include "lua/lua.h"

class ROverlay;
class RTransitionManager;
struct TPlatformEvent;

// Runs the manager's end-of-transition step every 16 ms on the platform task list.
class RTransitionManagerMonitor : public TAnimTask {
public:
    static constexpr int32_t kPeriod = 16;

    explicit RTransitionManagerMonitor(RTransitionManager& manager);
    ~RTransitionManagerMonitor() override = default;

    bool Animate() override;

private:
    RTransitionManager& mManager;
};

class RTransitionManager : public TMessageListener {
public:
    // Replaces any manager with a new one; needs the window manager and its script.
    static void Create();
    // Null before Create and after Destroy.
    static RTransitionManager* Get();
    // Takes the manager back from the window manager and deletes it.
    static void Destroy();

    ~RTransitionManager() override;
    RTransitionManager(const RTransitionManager&) = delete;
    RTransitionManager& operator=(const RTransitionManager&) = delete;

    // Consumes types 1001 to 1013, playing the listed transitions with the
    // message's text as their command.
    bool OnMessage(TMessage* message) override;
    // True for a mouse, key or character event (5 to 8, 10 to 13) while a
    // transition runs or waits; such events must not reach the window manager.
    bool FilterEvent(const TPlatformEvent* event) const;
    // Makes the type's overlay and starts or queues it; true when it runs now.
    bool PlayTransition(int type, const TString& command);
    // Takes the overlay (owned from here): it runs now when nothing runs, else
    // it waits in the queue. False for null and for a queued overlay.
    bool StartOverlay(ROverlay* overlay);
    // The monitor's step: deletes the overlays that ended one run ago, then
    // finishes the current one when it is done.
    void MonitorStep();

    ROverlay* GetCurrent() const { return mCurrent; }
    size_t GetQueuedCount() const { return mQueue.size(); }
    bool IsBusy() const { return mCurrent || !mQueue.empty(); }

    static const char* const kDoTransitionSource;

private:
    RTransitionManager();
    // "Lua_DoTransition" (type): false at once for a non-number, an unlisted
    // type, a call outside a coroutine or no manager; else starts the
    // transition and yields until the monitor resumes the caller with true.
    static int LuaDoTransition(lua_State* L);
    static int PushFalse(lua_State* L);
    void FinishCurrent();

    ROverlay* mCurrent = nullptr;
    // Owned by the platform task list once added, else by the manager.
    RTransitionManagerMonitor* mMonitor;
    bool mMonitorQueued = false;
    std::deque<ROverlay*> mQueue;
    // Ended overlays still drawn in their end state until the next run.
    std::vector<ROverlay*> mFinished;
};
