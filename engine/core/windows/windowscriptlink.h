// What the window manager asks of the window script: the stack of windows a
// dialog script is filling, the window classes it creates by name, and the
// queue that hands it the messages no window took.
#pragma once

#include "core/windows/window.h"
#include "foundation/tstring.h"

class TLuaFunction;
class TMessage;
class TScript;

class TWindowScriptLink {
public:
    // The script itself: its Lua state, and the task the platform runs.
    virtual TScript* GetScript() = 0;
    // Restarts the window stack at the window (null for none).
    virtual void SetCurrentModal(TWindow* window) = 0;
    virtual void PushWindow(TWindow* window) = 0;
    // Drops the current window; a stack of one entry is kept.
    virtual void PopWindow() = 0;
    // The window is being destroyed: the stack ends below it.
    virtual void OnWindowDestroyed(TWindow* window) = 0;
    // Makes the class creatable from scripts under the name.
    virtual void RegisterWindowType(const TString& name, TWindowClassId id) = 0;
    // Hands the script a message that no window took (owned from here; null
    // for none) and a command to run (not owned; null for none). False when
    // the script could not take them.
    virtual bool QueueMessage(TMessage* message, const TLuaFunction* command) = 0;
    // The UTF-8 text flag; setting it returns the previous value.
    virtual bool SetUtf8Mode(bool on) = 0;
    virtual bool IsUtf8Mode() const = 0;

protected:
    ~TWindowScriptLink() = default;
};
