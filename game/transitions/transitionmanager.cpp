#include "game/transitions/transitionmanager.h"

#include "core/app/platformevent.h"
#include "runtime/platform.h"
#include "core/scripting/luabinding.h"
#include "core/scripting/script.h"
#include "core/windows/windowmanager.h"
#include "foundation/debuglog.h"
#include "game/transitions/overlay.h"
#include "game/transitions/transitions.h"
#include "game/utilities/luacommand.h"
#include "lua/lauxlib.h"

namespace {

RTransitionManager* gInstance = nullptr;

constexpr int32_t kFirstMessageType = 1001;
constexpr int32_t kLastMessageType = 1013;

lua_State* ScriptState() {
    TWindowManager* manager = TWindowManager::GetInstance();
    TScript* script = manager ? manager->GetScript() : nullptr;
    return script ? script->GetState() : nullptr;
}

}  // namespace

const char* const RTransitionManager::kDoTransitionSource =
    "function DoTransition( type ) local ret = Lua_DoTransition( type ); while( ret ~= true and ret ~= false )do "
    "ret = Yield(); end return ret; end ";

RTransitionManagerMonitor::RTransitionManagerMonitor(RTransitionManager& manager) : mManager(manager) {
    Start(kPeriod, true, true, false);
}

bool RTransitionManagerMonitor::Animate() {
    mManager.MonitorStep();
    return true;
}

void RTransitionManager::Create() {
    delete gInstance;
    gInstance = new RTransitionManager();
}

RTransitionManager* RTransitionManager::Get() {
    return gInstance;
}

void RTransitionManager::Destroy() {
    delete gInstance;
}

RTransitionManager::RTransitionManager() : mMonitor(new RTransitionManagerMonitor(*this)) {
    TWindowManager* manager = TWindowManager::GetInstance();
    if (manager) {
        manager->AddMessageListener(this);
    } else {
        DebugLog("RTransitionManager: no window manager; posted transitions are not heard");
    }
    if (TPlatform* platform = TPlatform::GetInstance()) {
        platform->AddTask(mMonitor);
        mMonitorQueued = true;
    } else {
        DebugLog("RTransitionManager: no platform task list; transitions never end");
    }
    TScript* script = manager ? manager->GetScript() : nullptr;
    if (!script) {
        DebugLog("RTransitionManager: no window script; \"DoTransition\" is not defined");
        return;
    }
    RegisterBinding(script->GetState(), "Lua_DoTransition", &RTransitionManager::LuaDoTransition);
    script->DoLuaString(kDoTransitionSource);
}

RTransitionManager::~RTransitionManager() {
    if (gInstance == this) gInstance = nullptr;
    TWindowManager* manager = TWindowManager::GetInstance();
    if (manager) manager->RemoveMessageListener(this);
    // Overlays the window manager still lists are taken back and deleted;
    // one it no longer lists has gone with it.
    for (ROverlay* overlay : mFinished) {
        if (manager && manager->RemoveOverlayWindow(overlay)) delete overlay;
    }
    if (mCurrent && manager && manager->RemoveOverlayWindow(mCurrent)) delete mCurrent;
    if (!mMonitorQueued) {
        delete mMonitor;
    } else if (TPlatform* platform = TPlatform::GetInstance(); platform && platform->RemoveTask(mMonitor)) {
        delete mMonitor;
    }
    for (ROverlay* overlay : mQueue) delete overlay;
    if (lua_State* L = ScriptState()) {
        // "Lua_DoTransition" stays: it answers false while no manager lives.
        lua_pushstring(L, "DoTransition");
        lua_pushnil(L);
        lua_settable(L, LUA_GLOBALSINDEX);
    }
}

bool RTransitionManager::OnMessage(TMessage* message) {
    int32_t type = message ? message->GetType() : 0;
    if (type < kFirstMessageType || type > kLastMessageType) return false;
    PlayTransition(type, message->GetName());
    return true;
}

bool RTransitionManager::FilterEvent(const TPlatformEvent* event) const {
    if (!event) return false;
    switch (event->type) {
    case TPlatformEvent::kMouseDown:
    case TPlatformEvent::kMouseButton:
    case TPlatformEvent::kMouseUp:
    case TPlatformEvent::kMouseMove:
    case TPlatformEvent::kMouseHover:
    case TPlatformEvent::kKeyDown:
    case TPlatformEvent::kKeyUp:
    case TPlatformEvent::kChar:
        return IsBusy();
    default:
        return false;
    }
}

bool RTransitionManager::PlayTransition(int type, const TString& command) {
    return StartOverlay(CreateTransition(type, command));
}

bool RTransitionManager::StartOverlay(ROverlay* overlay) {
    if (!overlay) return false;
    if (mCurrent) {
        mQueue.push_back(overlay);
        return false;
    }
    mCurrent = overlay;
    if (TWindowManager* manager = TWindowManager::GetInstance()) manager->AddOverlayWindow(overlay);
    return true;
}

void RTransitionManager::MonitorStep() {
    std::vector<ROverlay*> finished;
    finished.swap(mFinished);
    TWindowManager* manager = TWindowManager::GetInstance();
    for (ROverlay* overlay : finished) {
        if (manager && manager->RemoveOverlayWindow(overlay)) delete overlay;
    }
    if (mCurrent && mCurrent->IsDone()) FinishCurrent();
}

void RTransitionManager::FinishCurrent() {
    ROverlay* ended = mCurrent;
    if (ended->GetCommand().Length() > 0) QueueLuaCommand(ended->GetCommand());
    // A script resumed here that asks for a further transition finds this
    // one still current, so its request waits in the queue.
    ended->ResumeWaitingThread();
    mFinished.push_back(ended);
    mCurrent = nullptr;
    if (mQueue.empty()) return;
    ROverlay* next = mQueue.front();
    mQueue.pop_front();
    StartOverlay(next);
}

int RTransitionManager::PushFalse(lua_State* L) {
    lua_pushboolean(L, 0);
    return 1;
}

int RTransitionManager::LuaDoTransition(lua_State* L) {
    RTransitionManager* manager = Get();
    if (!manager || !lua_isnumber(L, -1)) return PushFalse(L);
    int type = script::truncateNumber<int>(lua_tonumber(L, -1));
    bool mainThread = lua_pushthread(L) != 0;
    lua_pop(L, 1);
    if (mainThread) {
        DebugLog("DoTransition: called outside a coroutine, where it cannot wait");
        return PushFalse(L);
    }
    ROverlay* overlay = CreateTransition(type, TString());
    if (!overlay) return PushFalse(L);
    overlay->SetWaitingThread(L);
    manager->StartOverlay(overlay);
    return lua_yield(L, 0);
}
