// The platform implementation: the game window, the state its events leave
// for the pump, and the pump that turns them into TPlatformEvent records one
// per call.
#pragma once

#include <cstdint>
#include <memory>

#include "core/app/gamestatepump.h"
#include "core/app/platformevent.h"
#include "core/app/tasklist.h"
#include "core/platform/clickgate.h"
#include "core/platform/hovertracker.h"
#include "core/platform/textinput.h"
#include "foundation/rect.h"
#include "foundation/tstring.h"
#include "platform/window/window.h"

class TDisplayLink;

struct TPlatformSetup {
    TString commandLine;
    // Inside a foreign parent window ("-wnd=" or "--axtest").
    bool embedded = false;
    bool axtest = false;
    // The setting "utf8mode" at start: text is UTF-8, else Windows-1252.
    bool utf8Mode = false;
};

class TPlatformData {
public:
    using TSleepFunction = void (*)(uint32_t milliseconds);

    // The window is made later by CreateGameWindow.
    TPlatformData(const TPlatformSetup& setup, std::unique_ptr<window::Window> window);
    TPlatformData(const TPlatformData&) = delete;
    TPlatformData& operator=(const TPlatformData&) = delete;

    // Opens "Quenmarth" at (0, 0), 480 x 360; shown only for "--axtest".
    // A window that cannot be made ends the process with -1.
    void CreateGameWindow();

    // Fills the record with the next event; see TPlatformEvent for the types.
    void GetEvent(TPlatformEvent& event);
    // The window procedure: what a window event changes in the state.
    void HandleWindowEvent(const window::NativeEvent& event);
    // The pump later yields a quit event.
    void PostQuit() { mQuitPosted = true; }
    // The display back end raises a display notice (type 17).
    void RaiseDisplayNotice() { mDisplayNoticePending = true; }

    // Milliseconds since the platform data was built, less the time a portal
    // host held the game paused; wraps after 2^32.
    uint32_t Timer() const;
    void Sleep(uint32_t milliseconds) const { mSleep(milliseconds); }
    // Tests and benchmarks replace the wait (the idle tick's 1 ms).
    void SetSleepFunction(TSleepFunction sleep) { mSleep = sleep; }

    // Not owned; null while there is no display.
    void SetDisplayLink(TDisplayLink* display) { mDisplay = display; }
    TDisplayLink* GetDisplayLink() const { return mDisplay; }

    // In portal-hosted mode the state asked of the host; else the display's.
    bool IsFullScreen() const;
    // In portal-hosted mode the wish is kept and the display stays windowed.
    bool SetFullScreen(bool on);

    bool IsEmbedded() const { return mSetup.embedded; }
    bool IsHostedMode() const { return mHostedMode; }
    bool IsUtf8Mode() const { return mSetup.utf8Mode; }
    const TString& GetCommandLine() const { return mSetup.commandLine; }
    bool IsActive() const { return mActive; }
    bool IsMinimized() const { return mMinimized; }
    window::Window& GetWindow() { return *mWindow; }
    const window::Window& GetWindow() const { return *mWindow; }
    TTaskList& GetTaskList() { return mTasks; }

private:
    // The pump's steps.
    bool TakePending(TPlatformEvent& event);
    bool TakeMessage(TPlatformEvent& event);
    // One window event, translated and dispatched, for the game state's
    // hold loop; true when it was a quit.
    bool TakeHeldMessage();
    void Idle(TPlatformEvent& event);

    // Translation of one window event.
    void Translate(const window::NativeEvent& native, TPlatformEvent& event);
    void TranslateMove(const window::NativeEvent& native, TPlatformEvent& event);
    void TranslateButton(const window::NativeEvent& native, TPlatformEvent& event);
    void TranslateWheel(const window::NativeEvent& native, TPlatformEvent& event);
    void TranslateKeyDown(const window::NativeEvent& native, TPlatformEvent& event);
    void TranslateAltKey(const window::NativeEvent& native, TPlatformEvent& event);
    void ToggleFullScreen(TPlatformEvent& event);
    void TranslateFocusLost(TPlatformEvent& event);

    // Window procedure helpers.
    void SetActivation(bool active);
    void SetAppActivation(bool active);
    void MouseLeft();

    void SetCapture(bool capture);
    bool IsDisplayLost() const;
    bool IsDisplayFullScreen() const;
    // The cursor in display coordinates, else the pointer in the window.
    TPoint CursorPosition() const;
    void SetMouseEvent(TPlatformEvent& event, int32_t type) const;

    TPlatformSetup mSetup;
    bool mHostedMode;
    std::unique_ptr<window::Window> mWindow;
    TDisplayLink* mDisplay = nullptr;
    TSleepFunction mSleep;
    uint32_t mStartTime;
    TTaskList mTasks;
    TClickGate mClickGate;
    THoverTracker mHover;
    TTextInput mTextInput;
    TGameStatePump mGameStatePump;

    bool mActive = true;
    bool mActivationPending = false;
    bool mAppActive = true;
    bool mAppActivationPending = false;
    bool mMinimized = false;
    bool mCloseRequested = false;
    bool mRedrawPending = false;
    bool mDisplayNoticePending = false;
    bool mLeaveTracking = false;
    bool mMouseCancelPending = false;
    bool mQuitPosted = false;
    bool mCaptured = false;
    // Portal-hosted mode: the full-screen state last asked of the host.
    bool mHostFullScreen = false;
};
