// The calls the window tree makes into the window manager. The manager
// installs itself as the process-wide link; while none is installed, windows
// work on their own: nothing is invalidated, focused, posted or queued.
#pragma once

#include "foundation/rect.h"

class TMessage;
class TScript;
class TWindow;

class TWindowManagerLink {
public:
    virtual ~TWindowManagerLink() = default;

    // Marks the screen as needing a new frame.
    virtual void Invalidate() = 0;
    // The window becomes the focus window; its OnFocus hears of the previous one.
    virtual void SetFocus(TWindow* window) = 0;
    virtual TWindow* GetRootWindow() const = 0;
    // The top of the modal stack, or null.
    virtual TWindow* GetTopModal() const = 0;
    // Queues the message (the manager owns it from here).
    virtual void PostMessage(TMessage* message) = 0;
    // Hands a message no window took to the window script (which owns it
    // from here), or deletes it when no script is attached.
    virtual void QueueScriptMessage(TMessage* message) = 0;
    // The window script, whose Lua state window descriptions are read in.
    virtual TScript* GetScript() const = 0;
    // Deletes the window at the start of the next event.
    virtual void DestroyWindowDeferred(TWindow* window) = 0;
    // The window is being destroyed: drop every reference to it.
    virtual void OnWindowDestroyed(TWindow* window) = 0;
    // Offers a mouse leave to the event hook; false when no hook is installed.
    virtual bool OfferToEventHook(TWindow* window, const TPoint& point) = 0;
};

TWindowManagerLink* GetWindowManagerLink();
// Null uninstalls the link.
void SetWindowManagerLink(TWindowManagerLink* link);
