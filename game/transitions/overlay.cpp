#include "game/transitions/overlay.h"

#include <algorithm>

#include "runtime/platform.h"
#include "core/windows/windowmanager.h"
#include "foundation/debuglog.h"
#include "game/utilities/screeninvalidator.h"
#include "lua/lauxlib.h"

ROverlay::ROverlay(int type, const TString& command)
    : mType(type), mCommand(command), mWaitingRef(LUA_NOREF) {
    mClock.Start();
    mInvalidator = RScreenInvalidator::Create();
    SetPosition(0, 0);
    SetSize(kWidth, kHeight);
    if (TPlatform* platform = TPlatform::GetInstance()) {
        platform->AddTask(mInvalidator);
        mInvalidatorQueued = true;
    }
    if (TWindowManager* manager = TWindowManager::GetInstance()) manager->AddLiveOverlay();
}

ROverlay::~ROverlay() {
    if (!mInvalidatorQueued) {
        delete mInvalidator;
    } else if (TPlatform* platform = TPlatform::GetInstance(); platform && platform->RemoveTask(mInvalidator)) {
        delete mInvalidator;
    }
    ReleaseWaitingThread();
    if (TWindowManager* manager = TWindowManager::GetInstance()) manager->RemoveLiveOverlay();
}

void ROverlay::SetWaitingThread(lua_State* L) {
    ReleaseWaitingThread();
    lua_pushthread(L);
    mWaitingRef = luaL_ref(L, LUA_REGISTRYINDEX);
    mWaitingThread = L;
}

void ROverlay::ResumeWaitingThread() {
    lua_State* thread = mWaitingThread;
    if (!thread) return;
    if (lua_isyielded(thread)) {
        int top = lua_gettop(thread);
        lua_pushboolean(thread, 1);
        if (lua_resume(thread, 1) != 0) {
            const char* error = lua_tostring(thread, -1);
            DebugLog("ROverlay: resuming the waiting script failed: %s", error ? error : "(no message)");
        }
        lua_settop(thread, std::min(top, lua_gettop(thread)));
    } else {
        DebugLog("ROverlay: the script waiting for transition %d is not suspended", mType);
    }
    ReleaseWaitingThread();
}

void ROverlay::ReleaseWaitingThread() {
    if (!mWaitingThread) return;
    // The reference lives in the state's registry: only while that state is
    // open, which the window manager's script tells.
    TWindowManager* manager = TWindowManager::GetInstance();
    if (manager && manager->GetScript()) luaL_unref(mWaitingThread, LUA_REGISTRYINDEX, mWaitingRef);
    mWaitingThread = nullptr;
    mWaitingRef = LUA_NOREF;
}

float ROverlay::AdvanceTime() {
    uint32_t now = static_cast<uint32_t>(mClock.GetTime());
    // A flag, not a zero reading, marks the first frame: the clock reads 0
    // in the millisecond it started, and that frame counts too.
    if (!mClockRead) {
        mLastReading = now;
        mClockRead = true;
    }
    mDelta = now - mLastReading;
    mLastReading = now;
    mElapsed += mDelta;
    if (mDuration == 0) return 1.0f;
    return std::min(static_cast<float>(mElapsed) / static_cast<float>(mDuration), 1.0f);
}

void ROverlay::CheckDone() {
    if (mElapsed >= mDuration) mDone = true;
}

void ROverlay::WaitStep() {
    AdvanceTime();
    CheckDone();
}

TWindow* ROverlay::GetTopScreen() {
    TWindowManager* manager = TWindowManager::GetInstance();
    return manager ? manager->GetTopModal() : nullptr;
}
