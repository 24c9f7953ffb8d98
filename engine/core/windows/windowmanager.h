// The owner of the live window tree: the stack of modal windows with the root
// screen at the bottom, the keyboard focus, the windows that hold the mouse,
// the queue of posted messages and its listeners, the windows waiting for
// deletion and the overlay windows drawn above everything. The game's loop
// hands it every platform event; on idle ticks it runs the top modal's
// tasks, delivers the queue and draws a frame when one is due.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "core/windows/modalwindow.h"
#include "core/windows/window.h"
#include "core/windows/windowmanagerlink.h"
#include "core/windows/windowspider.h"
#include "foundation/tstring.h"

class TFrameServices;
class TMessage;
class TMessageListener;
class TTexture;
class TWindowScriptLink;
struct TPlatformEvent;

// Offered the mouse-leave events that windows do not handle themselves.
class TWindowEventHook {
public:
    virtual ~TWindowEventHook() = default;
    virtual bool OnMouseLeave(TWindow* window, const TPoint& point) = 0;
};

// Tells every window of a popped modal window, children first.
class TModalPoppedSpider : public TWindowSpider {
public:
    bool Visit(TWindow* window) override;
};

class TWindowManager : public TWindowManagerLink {
public:
    // The services are not owned and must outlive the manager.
    explicit TWindowManager(TFrameServices& services);
    ~TWindowManager() override;
    TWindowManager(const TWindowManager&) = delete;
    TWindowManager& operator=(const TWindowManager&) = delete;

    // The live manager, or null.
    static TWindowManager* GetInstance();

    TModalWindow* GetTopModal() const override;
    TWindow* GetRootWindow() const override { return mRootWindow; }
    TScript* GetScript() const override;
    TWindowScriptLink* GetWindowScript() const { return mScript; }

    void Invalidate() override { mDirty = true; }
    bool IsInvalid() const { return mDirty; }

    // A window inside a modal window also becomes that modal's focus window.
    void SetFocus(TWindow* window) override;
    TWindow* GetFocus() const { return mFocus; }
    TWindow* GetHoverWindow() const { return mHover; }

    // Captured windows get the mouse events wherever the mouse is.
    void CaptureMouse(TWindow* window);
    void ReleaseMouse(TWindow* window);
    bool HasCapture(const TWindow* window) const;

    // Queues the message (owned from here) for DeliverMessages.
    void PostMessage(TMessage* message) override;
    void QueueScriptMessage(TMessage* message) override;
    size_t GetQueuedCount() const { return mQueue.size(); }
    // Listeners are owned and offered the messages that have no target.
    void AddMessageListener(TMessageListener* listener);
    // False when it was not listening; the caller owns it again.
    bool RemoveMessageListener(TMessageListener* listener);
    // Overlay windows are owned, drawn after the modal stack and, with
    // "overlaymouse", offered the mouse first.
    void AddOverlayWindow(TWindow* window);
    // False when it was not an overlay; the caller owns it again.
    bool RemoveOverlayWindow(TWindow* window);
    // Each live transition overlay counts itself in from its construction to
    // its destruction; overlays are active while the count is above 0.
    void AddLiveOverlay() { ++mLiveOverlays; }
    void RemoveLiveOverlay() {
        if (mLiveOverlays > 0) --mLiveOverlays;
    }
    bool IsOverlayActive() const { return mLiveOverlays > 0; }

    // Deletes the window (owned from here) at the start of the next event;
    // queued messages for it or its subtree lose their target.
    void DestroyWindowDeferred(TWindow* window) override;
    void FlushDeletes();
    void OnWindowDestroyed(TWindow* window) override;

    bool OfferToEventHook(TWindow* window, const TPoint& point) override;
    // Not owned; null removes it.
    void SetEventHook(TWindowEventHook* hook) { mEventHook = hook; }
    // Frames the window under the mouse in every frame.
    void SetHighlight(bool on) { mHighlight = on; }
    // The texture the modal windows below the top one are cached in; empty
    // for none.
    void SetCacheTarget(std::shared_ptr<TTexture> target) { mCacheTarget = std::move(target); }
    // The root screen draws it as its background.
    const std::shared_ptr<TTexture>& GetCacheTarget() const { return mCacheTarget; }
    // While a movie is shown no frame is drawn; while it takes the input the
    // platform drops mouse buttons.
    void SetMovieShown(bool shown) { mMovieShown = shown; }
    bool IsMovieShown() const { return mMovieShown; }
    void SetMovieInput(bool takesInput) { mMovieInput = takesInput; }
    bool BlocksInput() const { return mMovieInput; }
    // Draws only the top modal window.
    void SetTopModalOnly(bool on) { mTopModalOnly = on; }

    // The window (owned from here on) goes on top of the modal stack, as a
    // child of the previous top, and takes the focus.
    void PushModal(TModalWindow* window);
    // Pops the top modal window (the root screen is never popped) and
    // resumes the clock of the one then on top.
    void PopTopModal();
    // Pops the modal windows above the one of that name or id and that one;
    // nothing when none matches or the match is the root screen.
    void PopModal(const TString& nameOrId);
    // The root screen: the bottom of the modal stack, as large as the screen.
    void SetRootWindow(TModalWindow* window);
    const std::list<TModalWindow*>& GetModalStack() const { return mModals; }

    // The window script is not owned: the platform task list runs and owns it.
    void AttachScript(TWindowScriptLink* script);
    void RegisterWindowType(const TString& name, TWindowClassId id);
    // Sets the window script's UTF-8 text flag; returns the previous value
    // (false, logged, without a window script).
    bool SetUtf8Mode(bool on);
    bool IsUtf8Mode() const;
    // Runs the script file with the window as the one being filled.
    void RunWindowScript(TWindow* window, const TString& file);

    void HandleEvent(const TPlatformEvent& event);
    void DeliverMessages();
    // Draws a frame when one is due and the screen is invalid.
    void UpdateFrame();

    // Frames are at least this far apart (ms), and this while the window is
    // inactive and not hosted.
    static constexpr int32_t kFrameInterval = 12;
    static constexpr int32_t kInactiveFrameInterval = 200;

private:
    class TWindowWalk;

    void PopTop();
    // The clock of the modal window that is on top again runs on.
    void ResumeTopClock();
    void RouteMouse(const TPlatformEvent& event);
    void RouteToCaptures(const TPlatformEvent& event);
    bool RouteToOverlays(const TPlatformEvent& event);
    // Tells the captured windows they lost the mouse. With release the
    // capture list is emptied first; else the walk ends when the top modal
    // changes and skips windows released on the way.
    void CancelCaptures(bool release);
    void SetHover(TWindow* window);
    void Deliver(TMessage* message);
    void DrawModalStack(int pass);
    TModalWindow* FirstDrawnModal() const;
    void DrawHighlight();
    bool IsRoot(const TModalWindow* modal) const;
    // The window or one of its ancestors is the given one.
    static bool IsInSubtree(const TWindow* window, const TWindow* root);

    TFrameServices& mServices;
    std::shared_ptr<TTexture> mCacheTarget;
    TModalWindow* mRootWindow = nullptr;
    bool mPopped = false;
    uint32_t mLastFrameTime = 0;
    std::list<TModalWindow*> mModals;  // front = top
    std::list<TWindow*> mDeleteList;
    std::list<TWindow*> mOverlays;
    int mLiveOverlays = 0;
    bool mMovieShown = false;
    bool mMovieInput = false;
    bool mTopModalOnly = false;
    bool mDirty = true;
    bool mHighlight = false;
    TWindow* mHover = nullptr;
    std::list<TWindow*> mCaptures;  // front = the latest capture
    TWindow* mFocus = nullptr;
    TWindowScriptLink* mScript = nullptr;
    // A message loses its target when that window goes before delivery.
    std::list<TMessage*> mQueue;
    std::list<TMessageListener*> mListeners;
    TWindowEventHook* mEventHook = nullptr;
    // Snapshots of window lists being walked; a destroyed window is cleared
    // from each.
    std::vector<std::vector<TWindow*>*> mWalks;
};
