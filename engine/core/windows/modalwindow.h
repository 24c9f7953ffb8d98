// The window the window manager pushes on its modal stack: every screen and
// dialog. It runs its own tasks on its own clock (paused while another modal
// window is above it), remembers which of its windows had the focus, knows
// which of its windows cover it entirely, maps hot keys to buttons, answers
// Enter and Escape through its default and cancel buttons, and announces its
// end with a kModalClosed message carrying its id.
#pragma once

#include <map>
#include <memory>
#include <set>

#include "core/windows/modalwindowlink.h"
#include "core/app/tasklist.h"
#include "core/windows/window.h"
#include "core/windows/windowspider.h"
#include "foundation/clock.h"
#include "foundation/tstring.h"

class TButtonLink;

class TModalWindow : public TWindow, public TModalWindowLink {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    TModalWindow();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Posts kModalClosed with the modal's id while a window manager lives.
    ~TModalWindow() override;
    // Resumes the clock.
    bool OnAttach() override;
    // Fits the modal to its children before the layout.
    void PostInit(const TWindowStyle& style) override;
    // Takes kCloseWindow: pops the modal named by the message's text.
    bool OnMessage(TMessage* message) override;
    // Enter and Escape press the default and cancel buttons.
    bool OnChar(char character) override;
    // Hot keys press their buttons.
    bool OnKeyDown(int key, int modifiers) override;
    // Hands the focus on to the window of this modal that held it.
    void OnFocus(TWindow* previous) override;
    // Maps the key text to the button; an empty name removes the mapping.
    virtual void AddHotKey(const TString& key, const TString& buttonName);

    void NoteCoveringChild(TWindow* window, bool covers) override;
    TWindow* GetFocusWindow() const override { return mFocusWindow; }
    // The task runs on this modal's list, which owns it from here.
    void AddTask(TTask* task) override;
    TClock* GetClock() override { return &mClock; }

    // False when the task is not on the list; the caller owns it again.
    bool RemoveTask(TTask* task);
    // 0 on idle ticks, 1 in the frame pass.
    void RunTasks(int pass);
    // Ends every task; called when the modal is popped.
    void StopTasks();
    // Remembers the window; passes the focus on at once when the modal holds it.
    void SetFocusWindow(TWindow* window);
    // Clicks the button of that name inside the modal.
    void PressHotKeyButton(const TString& buttonName);
    // Lower case, modifiers in the order "shift-", "ctrl-", "alt-" (or a
    // leading "@" for any modifiers), then the key upper-cased.
    static TString NormalizeHotKey(const TString& key);

private:
    std::unique_ptr<TTaskList> mTasks;
    TWindow* mFocusWindow = nullptr;
    std::set<TWindow*> mCovering;
    TClock mClock;
    std::map<TString, TString> mHotKeys;
};

// Finds the visible default and cancel buttons of a modal window.
class FindDefault : public TWindowSpider {
public:
    bool Visit(TWindow* window) override;

    TButtonLink* GetDefaultButton() const { return mDefault; }
    TButtonLink* GetCancelButton() const { return mCancel; }

private:
    TButtonLink* mDefault = nullptr;
    TButtonLink* mCancel = nullptr;
};
