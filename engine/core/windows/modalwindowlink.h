// What a window asks of the modal window that encloses it. The modal window
// class implements this beside its TWindow base, and the window tree finds
// it by that.
#pragma once

class TClock;
class TTask;
class TWindow;

class TModalWindowLink {
public:
    // Records whether the window (full-size, as large as the modal) covers it.
    virtual void NoteCoveringChild(TWindow* window, bool covers) = 0;
    // The window inside this modal that holds the focus while it is on top.
    virtual TWindow* GetFocusWindow() const = 0;
    // Runs the task on the modal's own task list, which owns it from here.
    virtual void AddTask(TTask* task) = 0;
    virtual TClock* GetClock() = 0;

protected:
    ~TModalWindowLink() = default;
};
