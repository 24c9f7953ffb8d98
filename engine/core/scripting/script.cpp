#include "core/scripting/script.h"

#include <unordered_map>

#include "core/scripting/luabinding.h"
#include "core/scripting/luaobject.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "lua/lualib.h"
#include "core/scripting/scriptcode.h"
#include "foundation/debuglog.h"
#include "foundation/file.h"

namespace {

// Builds calls that run inside the waiting coroutine.
const char kGetClosureText[] =
    "function GetClosure( f, ... ) return function() return f( arg[1], arg[2], arg[3], arg[4], arg[5], arg[6] ); end; "
    "end";

// Makes the runner of a call handed to a coroutine that waits for a message:
// the call runs on a coroutine of its own whose yields pass out through the
// waiting one, and what resumes that passes back in, so a call may wait
// itself, and an error ends the call and not the wait. A failure goes to
// report with the error value.
const char kCallRunnerText[] = R"(
local create, resume, status = coroutine.create, coroutine.resume, coroutine.status
local yield, unpack = coroutine.yield, unpack
local function finish(co, report, ok, ...)
  if status(co) == "suspended" then
    return finish(co, report, resume(co, yield(unpack(arg))))
  end
  if not ok then report(arg[1]) end
end
return function(call, report)
  return function()
    local co = create(call)
    finish(co, report, resume(co))
  end
end
)";

const char kDumpTableText[] = R"(
function _Internal_DumpEntry(key, value, indent)
  local pad = string.rep(" ", indent)
  local text = pad .. tostring(key) .. " -> "
  if type(value) == "table" then
    return text .. "{\n" .. _Internal_DumpTable(value, indent + 2) .. pad .. "}\n"
  end
  return text .. tostring(value) .. "\n\n"
end

function _Internal_DumpTable(t, indent)
  if indent > 10 then
    return string.rep(" ", indent) .. "...\n"
  end
  local parts = {}
  table.foreach(t, function(key, value)
    table.insert(parts, _Internal_DumpEntry(key, value, indent))
  end)
  return table.concat(parts)
end

function DumpTable(t)
  DebugOut("Dump Table: \n" .. _Internal_DumpTable(t, 2))
end
)";

// The script that owns each state: its own state, and its coroutine thread.
std::unordered_map<lua_State*, TScript*>& Owners() {
    static std::unordered_map<lua_State*, TScript*> owners;
    return owners;
}

bool IsLive(const void* script) {
    for (const auto& entry : Owners()) {
        if (entry.second == script) return true;
    }
    return false;
}

void PushRawGlobal(lua_State* L, const char* name) {
    lua_pushstring(L, name);
    lua_rawget(L, LUA_GLOBALSINDEX);
}

void SetRawGlobal(lua_State* L, const char* name) {
    lua_pushstring(L, name);
    lua_insert(L, -2);
    lua_rawset(L, LUA_GLOBALSINDEX);
}

// "_ALERT": the error reporter, also the error handler of every call.
int Alert(lua_State* L) {
    DebugLog("Lua error: %s", LuaToString(L, 1).c_str());
    return 0;
}

// "DebugOut": scripts' debug text goes nowhere in this build.
void DiscardDebugText(TString) {}

}  // namespace

struct TScript::RunScope {
    explicit RunScope(TScript& script) : mScript(script) { ++mScript.mRunDepth; }
    ~RunScope() { --mScript.mRunDepth; }
    TScript& mScript;
};

TScript::TScript(lua_State* L) : mState(L ? L : lua_open()) {
    GoIdle();
    Owners()[mState] = this;
    InstallScriptFileReader();
    SetUp();
}

// Globals are shared with the owning script's state, so there is no set-up.
TScript::TScript(std::unique_ptr<TLuaThread> thread) : mState(thread->GetThread()), mThread(std::move(thread)) {
    GoIdle();
    Owners()[mState] = this;
}

TScript::~TScript() {
    mRunDepth = 0;  // released objects go now, whatever run is pending
    DeleteReleased();
    Owners().erase(mState);
    if (mCoroutine) {
        Owners().erase(mCoroutine->GetThread());
        mCoroutine.reset();
    }
    if (mThread) {
        mThread.reset();
    } else {
        lua_close(mState);
    }
}

void TScript::SetUp() {
    LuaPopState guard(mState);
    luaopen_base(mState);
    luaopen_string(mState);
    luaopen_table(mState);
    lua_pushcfunction(mState, Alert);
    SetRawGlobal(mState, "_ALERT");
    RegisterBinding(mState, "DebugOut", &DiscardDebugText);
    if (luaL_loadbuffer(mState, kDumpTableText, sizeof(kDumpTableText) - 1, "DumpTable") != 0 ||
        lua_pcall(mState, 0, 0, 0) != 0) {
        DebugLog("TScript: cannot define DumpTable: %s", LuaToString(mState, -1).c_str());
    }
    lua_pushlightuserdata(mState, this);
    SetRawGlobal(mState, "_SCRIPT");
}

TScript* TScript::NewThread() {
    return new TScript(std::make_unique<TLuaThread>(mState));
}

TScript* TScript::Owner(lua_State* L) {
    auto found = Owners().find(L);
    if (found != Owners().end()) return found->second;
    // A coroutine the scripts made themselves: the script of the shared globals.
    PushRawGlobal(L, "_SCRIPT");
    void* script = lua_islightuserdata(L, -1) ? lua_touserdata(L, -1) : nullptr;
    lua_pop(L, 1);
    return IsLive(script) ? static_cast<TScript*>(script) : nullptr;
}

void TScript::ReleaseLater(TLuaObjectWrapper* object) {
    mReleased.push_back(object);
}

void TScript::DeleteReleased() {
    // A nested run must not delete what an outer binding is still using.
    if (mRunDepth > 0) return;
    std::vector<TLuaObjectWrapper*> released;
    released.swap(mReleased);
    for (TLuaObjectWrapper* object : released) {
        delete object;
    }
}

void TScript::GoIdle() {
    mDueTime = kNoDueTime;
    mEveryFrame = false;
}

int TScript::ProtectedCall(int nargs, int nresults) {
    RunScope scope(*this);
    PushRawGlobal(mState, "_ALERT");
    lua_insert(mState, 1);
    int status = lua_pcall(mState, nargs, nresults, 1);
    lua_remove(mState, 1);
    return status;
}

int TScript::DefineGetClosure() {
    int status = luaL_loadbuffer(mState, kGetClosureText, sizeof(kGetClosureText) - 1, kGetClosureText);
    if (status == 0) status = lua_pcall(mState, 0, 0, 0);
    if (status != 0) DebugLog("TScript: cannot define GetClosure: %s", LuaToString(mState, -1).c_str());
    return status;
}

int TScript::MakeClosure(int nargs) {
    PushRawGlobal(mState, "GetClosure");
    if (lua_isnil(mState, -1)) {
        lua_pop(mState, 1);
        int status = DefineGetClosure();
        if (status != 0) {
            // The error value takes the place of the function and its arguments.
            lua_insert(mState, -(nargs + 2));
            lua_pop(mState, nargs + 1);
            return status;
        }
        PushRawGlobal(mState, "GetClosure");
    }
    lua_insert(mState, -(nargs + 2));
    return ProtectedCall(nargs + 1, 1);
}

int TScript::RunFunction(int nargs, int nresults) {
    DeleteReleased();
    if (IsYielded() && nresults <= 1) {
        int status = MakeClosure(nargs);
        if (status != 0) return status;
        TLuaFunction closure(mState);
        closure.Push();
        mTakenCallFailed = false;
        if (TakeDeferredCall()) {
            if (mTakenCallFailed) {
                // What a failing direct call leaves: the error handler's nil.
                lua_pushnil(mState);
                return LUA_ERRRUN;
            }
            for (int i = 0; i < nresults; ++i) lua_pushnil(mState);
            return 0;
        }
        closure.Push();
        nargs = 0;
    }
    int status = ProtectedCall(nargs, nresults);
    if (status != 0) {
        if (nresults > 1) {
            DebugLog("TScript::RunFunction failure. Too many return results? (%d, FAILURE CODE %d)", nresults, status);
        }
        return status;
    }
    if (nresults == 1 && !IsYielded() && lua_isfunction(mState, -1)) StartCoroutine();
    return 0;
}

void TScript::StartCoroutine() {
    if (mCoroutineRunning) {
        DebugLog("lua_resume error: %s", "cannot resume non-suspended coroutine");
        return;
    }
    if (mDueTime == kNoDueTime) Start(0, true, true, false);
    // The function stays as the caller's result; the coroutine runs a copy.
    lua_pushvalue(mState, -1);
    PrepareCoroutine(0);
    TString error;
    if (ResumeCoroutine(0, error) != 0) DebugLog("lua_resume error: %s", error.c_str());
    if (!IsYielded()) GoIdle();
}

void TScript::PrepareCoroutine(int nargs) {
    if (!mCoroutine) {
        mCoroutine = std::make_unique<TLuaThread>(mState);
        Owners()[mCoroutine->GetThread()] = this;
    }
    lua_State* coroutine = mCoroutine->GetThread();
    lua_settop(coroutine, 0);
    lua_xmove(mState, coroutine, nargs + 1);
}

int TScript::ResumeCoroutine(int nargs, TString& error) {
    lua_State* coroutine = mCoroutine->GetThread();
    mCoroutineRunning = true;
    int status;
    {
        RunScope scope(*this);
        status = lua_resume(coroutine, nargs);
    }
    mCoroutineRunning = false;
    if (status != 0) error = LuaToString(coroutine, -1);
    // A finished or failed coroutine keeps nothing on its stack.
    if (!lua_isyielded(coroutine)) lua_settop(coroutine, 0);
    return status;
}

int TScript::Resume(int nargs, TString* error) {
    DeleteReleased();
    TString message;
    int status = LUA_ERRRUN;
    if (IsYielded()) {
        lua_xmove(mState, mCoroutine->GetThread(), nargs);
        status = ResumeCoroutine(nargs, message);
    } else if (!mCoroutineRunning && lua_gettop(mState) > nargs && lua_isfunction(mState, -(nargs + 1))) {
        PrepareCoroutine(nargs);
        status = ResumeCoroutine(nargs, message);
    } else {
        lua_pop(mState, nargs);
        message = mCoroutineRunning ? "cannot resume non-suspended coroutine" : "cannot resume dead coroutine";
    }
    if (status != 0) {
        DebugLog("lua_resume ERROR: %s", message.c_str());
        if (error) *error = message;
    }
    return status;
}

bool TScript::IsYielded() const {
    return mCoroutine && lua_isyielded(mCoroutine->GetThread());
}

bool TScript::Animate() {
    if (mCoroutineRunning) return true;
    if (IsYielded()) Resume(0);
    if (!IsYielded()) GoIdle();
    return true;
}

bool TScript::TakeDeferredCall() {
    lua_pop(mState, 1);
    return false;
}

bool TScript::TakeCallWhileWaiting(bool waitingForMessage) {
    if (!waitingForMessage || !IsYielded()) return TScript::TakeDeferredCall();
    uint32_t serial = ++mCallSerial;
    if (!PushCallRunner(serial)) return TScript::TakeDeferredCall();
    lua_pushnil(mState);
    lua_insert(mState, -2);
    mTakenCall = serial;
    int status = Resume(2);
    mTakenCall = 0;
    // A runner that never ran leaves the call to be made directly.
    return status == 0;
}

bool TScript::PushCallRunner(uint32_t serial) {
    lua_pushlightuserdata(mState, const_cast<char*>(kCallRunnerText));
    lua_rawget(mState, LUA_REGISTRYINDEX);
    if (lua_isnil(mState, -1)) {
        lua_pop(mState, 1);
        if (!LoadCallRunner()) return false;
    }
    // maker(closure, report), the closure kept below until the runner exists.
    lua_pushvalue(mState, -2);
    lua_pushlightuserdata(mState, this);
    lua_pushnumber(mState, serial);
    lua_pushcclosure(mState, &TScript::ReportFailedCall, 2);
    if (lua_pcall(mState, 2, 1, 0) != 0) {
        DebugLog("TScript: cannot make a call runner: %s", LuaToString(mState, -1).c_str());
        lua_pop(mState, 1);
        return false;
    }
    lua_remove(mState, -2);
    return true;
}

bool TScript::LoadCallRunner() {
    int status = luaL_loadbuffer(mState, kCallRunnerText, sizeof(kCallRunnerText) - 1, "CallRunner");
    if (status == 0) status = lua_pcall(mState, 0, 1, 0);
    if (status != 0) {
        DebugLog("TScript: cannot define the call runner: %s", LuaToString(mState, -1).c_str());
        lua_pop(mState, 1);
        return false;
    }
    lua_pushlightuserdata(mState, const_cast<char*>(kCallRunnerText));
    lua_pushvalue(mState, -2);
    lua_rawset(mState, LUA_REGISTRYINDEX);
    return true;
}

int TScript::ReportFailedCall(lua_State* L) {
    auto* script = static_cast<TScript*>(lua_touserdata(L, lua_upvalueindex(1)));
    bool beingTaken = IsLive(script) && lua_tonumber(L, lua_upvalueindex(2)) == script->mTakenCall;
    if (beingTaken) script->mTakenCallFailed = true;
    // The error goes where a failing direct call's goes.
    lua_settop(L, 1);
    PushRawGlobal(L, "_ALERT");
    lua_insert(L, 1);
    lua_pcall(L, 1, 0, 0);
    return 0;
}

void TScript::ReportError(const char* stage, const TString& source) {
    int type = lua_type(mState, -1);
    if (type != LUA_TSTRING && type != LUA_TNUMBER) return;
    TString message = TString::Format("Lua Error: %s\n\twhen %s", LuaToString(mState, -1).c_str(), stage);
    DebugLog("DoLuaString %s %s", message.c_str(), source.c_str());
    lua_pushvalue(mState, LUA_GLOBALSINDEX);
    lua_pushstring(mState, "LuaErrorMessage");
    if (!LuaGetTableProtected(mState)) return;
    if (lua_isnil(mState, -1)) return;
    PushLuaString(mState, message);
    ProtectedCall(1, 0);
}

int TScript::DoLuaString(const char* text, int length, int nresults) {
    TString source = length < 0 ? TString(text ? text : "") : TString(text, length);
    int top = lua_gettop(mState);
    const char* stage = "parsing";
    int status = luaL_loadbuffer(mState, source.c_str(), static_cast<size_t>(source.Length()), source.c_str());
    if (status == 0) {
        stage = "running";
        status = RunFunction(0, nresults == 0 ? 1 : nresults);
        if (status == 0) {
            if (nresults == 0) lua_pop(mState, 1);
            return 0;
        }
    }
    ReportError(stage, source);
    lua_settop(mState, top);
    return status;
}

bool TScript::RunScript(const TString& fileName) {
    if (fileName.Length() == 0 || !FileExists(fileName)) return false;
    LuaPopState guard(mState);
    TString error;
    std::shared_ptr<TScriptCode> code = TScriptCode::Get(fileName, kScriptSearchPath, &error);
    int status = LUA_ERRSYNTAX;
    if (code) {
        TString bytes = code->GetCode();  // holds zero bytes: its length is GetSize
        status = luaL_loadbuffer(mState, bytes.c_str(), static_cast<size_t>(code->GetSize()), fileName.c_str());
        if (status != 0 && error.Length() == 0) error = LuaToString(mState, -1);
    }
    if (status != 0) {
        PushRawGlobal(mState, "_ALERT");
        PushLuaString(mState, error);
        lua_pcall(mState, 1, 0, 0);
        return false;
    }
    status = RunFunction(0, 1);
    if (status != 0) {
        DebugLog("Failed to run script %s: %d", fileName.c_str(), status);
        return false;
    }
    return true;
}

void TScript::SetGlobal(const char* name, const TString& text) {
    PushLuaString(mState, text);
    LuaSetGlobalProtected(mState, name);
}

TLuaTable* TScript::GetGlobalTable(const char* name) {
    LuaPopState guard(mState);
    lua_pushvalue(mState, LUA_GLOBALSINDEX);
    lua_pushstring(mState, name);
    if (!LuaGetTableProtected(mState) || !lua_istable(mState, -1)) return nullptr;
    return new TLuaTable(mState);
}

double TScript::PopNumber() {
    double value = lua_tonumber(mState, -1);
    lua_pop(mState, 1);
    return value;
}

TString TScript::PopString() {
    TString value = LuaToString(mState, -1);
    lua_pop(mState, 1);
    return value;
}

TColor4f TScript::PopColor() {
    TLuaTable table(mState);
    return TColor4f(static_cast<float>(table.GetNumberAt(1)), static_cast<float>(table.GetNumberAt(2)),
                    static_cast<float>(table.GetNumberAt(3)), static_cast<float>(table.GetNumberAt(4)));
}
