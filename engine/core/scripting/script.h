// A Lua interpreter state (or a thread of another script's state) run as an
// animation task. The engine runs script functions through it; when a
// function hands back a function, that one runs as the script's coroutine,
// resumed every tick until it finishes. The coroutine runs on a thread of the
// script's state kept for it, so the script's own stack stays at its base
// level for the engine's calls while the coroutine waits.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/task.h"
#include "foundation/color.h"
#include "foundation/tstring.h"

struct lua_State;
class TLuaObjectWrapper;
class TLuaTable;
class TLuaThread;

class TScript : public TAnimTask {
public:
    // Runs on the given state, or on a new one; either way the script owns
    // the state and closes it. Idle until a function run starts a coroutine.
    explicit TScript(lua_State* L = nullptr);
    ~TScript() override;
    TScript(const TScript&) = delete;
    TScript& operator=(const TScript&) = delete;

    // A script on a new thread of this script's state, sharing its globals.
    // Delete it before this script.
    TScript* NewThread();

    lua_State* GetState() const { return mState; }

    // Runs the function lying under its nargs arguments on top of the stack,
    // leaving nresults results; on an error the error value replaces them.
    // While the coroutine waits in a yield (and nresults <= 1) the call is
    // first offered to TakeDeferredCall. A function handed back as the one
    // result starts as the coroutine. Returns 0 or the interpreter's error code.
    int RunFunction(int nargs, int nresults);
    // Compiles and runs source text (length -1: up to the terminating zero),
    // leaving nresults results on success. Errors are logged, passed to a
    // script-defined "LuaErrorMessage", and leave the stack as it was.
    int DoLuaString(const char* text, int length = -1, int nresults = 0);
    // Runs a script file through its cached byte code; the stack is unchanged.
    bool RunScript(const TString& fileName);
    // Resumes the waiting coroutine with the top nargs values (popped). With
    // no coroutine waiting, a function lying under the values starts as the
    // coroutine, as on a fresh thread. A failure's text also goes to error
    // when given.
    int Resume(int nargs, TString* error = nullptr);
    // True while the coroutine is suspended in a yield.
    bool IsYielded() const;

    void SetGlobal(const char* name, const TString& text);
    // A new table owned by the caller, or null when the global is no table.
    TLuaTable* GetGlobalTable(const char* name);
    double PopNumber();
    TString PopString();
    // Entries 1 to 4 of the table on top; pops the table.
    TColor4f PopColor();

    // Resumes the coroutine; the task goes idle once the coroutine ends.
    bool Animate() override;
    // Idle: no due time and no frame passes, until the task is started again.
    void GoIdle();
    // Offered a call (the closure on top of the stack) while the coroutine
    // waits. Taking it, true, consumes the closure; the base pops it and
    // declines, so RunFunction calls it directly.
    virtual bool TakeDeferredCall();

    // The live script that owns L: the script of that state or of its
    // coroutine, else the script of the globals L shares ("_SCRIPT"); null
    // when there is none.
    static TScript* Owner(lua_State* L);
    // Deletes the object (a wrapper of a value on this script's state) at the
    // next run.
    void ReleaseLater(TLuaObjectWrapper* object);

protected:
    // For scripts whose coroutine waits for messages: passes the offered
    // closure to the waiting coroutine as the values (nil, runner), where the
    // runner makes the call on a coroutine of its own, so that a failing call
    // is reported through "_ALERT" and the wait goes on. True when the
    // waiting coroutine took it; else it declines like the base.
    bool TakeCallWhileWaiting(bool waitingForMessage);

private:
    struct RunScope;

    explicit TScript(std::unique_ptr<TLuaThread> thread);
    void SetUp();
    void DeleteReleased();
    // Calls with "_ALERT" as the error handler at stack position 1.
    int ProtectedCall(int nargs, int nresults);
    // Replaces the function and its arguments by a closure over them.
    int MakeClosure(int nargs);
    int DefineGetClosure();
    void StartCoroutine();
    // Moves the function lying under the top nargs values, and the values, to
    // the coroutine thread (made on first use), ready to start.
    void PrepareCoroutine(int nargs);
    // Resumes the coroutine with the nargs values on top of its own stack; a
    // failure's message goes to error.
    int ResumeCoroutine(int nargs, TString& error);
    void ReportError(const char* stage, const TString& source);
    // Replaces the closure on top by its runner; false (closure left) when
    // no runner can be made.
    bool PushCallRunner(uint32_t serial);
    // Leaves the runner maker on the stack and keeps it in the registry.
    bool LoadCallRunner();
    // A runner's report of its call's failure; upvalues: script and serial.
    static int ReportFailedCall(lua_State* L);

    lua_State* mState;
    std::unique_ptr<TLuaThread> mThread;     // set when running on another script's state
    std::unique_ptr<TLuaThread> mCoroutine;  // made on the first coroutine start
    bool mCoroutineRunning = false;
    int mRunDepth = 0;  // nested runs; released objects wait until the outermost
    // Calls handed to the waiting coroutine are numbered, so that the failure
    // of the one being handed over is told from that of an earlier one.
    uint32_t mCallSerial = 0;
    uint32_t mTakenCall = 0;
    bool mTakenCallFailed = false;
    std::vector<TLuaObjectWrapper*> mReleased;
};
