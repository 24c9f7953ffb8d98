// The platform implementation: the game window, the state its events leave
// for the pump, the pump that turns them into TPlatformEvent records one per
// call, and the managers the platform owns (window manager, assets, string
// table, sound, the shape renderer, the display device).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "core/app/gamestatepump.h"
#include "core/app/platformevent.h"
#include "core/app/tasklist.h"
#include "runtime/clickgate.h"
#include "runtime/hovertracker.h"
#include "runtime/textinput.h"
#include "foundation/random.h"
#include "foundation/rect.h"
#include "foundation/tstring.h"
#include "platform/host/channel.h"
#include "platform/window/window.h"

class TAssetManager;
class TDisplayLink;
class TFrameServices;
class TQmMiniVecDraw;
class TSoundManager;
class TStringTable;
class TTexture;
class TWindowManager;

namespace display {
class Device;
}

namespace flash {
class Player;
}

struct TPlatformSetup {
    TString commandLine;
    // Inside a foreign parent window ("-wnd=" or "--axtest").
    bool embedded = false;
    bool axtest = false;
    // The setting "utf8mode" at start: text is UTF-8, else Windows-1252.
    bool utf8Mode = false;
    // The parent window of "-wnd=": a connected socket the host passed down.
    host::Handle externalParent = host::kNoWindow;
    // Behind "user:", "common:" and "desktop:".
    TString userFolder;
    TString commonFolder;
    TString desktopFolder;
    // The game's identity, as the driver read it from the version record.
    TString gameName;
    TString gameVersion;
    TString internalName;
};

class TPlatformData {
public:
    using TSleepFunction = void (*)(uint32_t milliseconds);

    // The window is made later by CreateGameWindow. Makes the asset manager
    // (installed as the process's) and the string table.
    TPlatformData(const TPlatformSetup& setup, std::unique_ptr<window::Window> window);
    ~TPlatformData();
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
    // The device the display draws on; without one the platform makes no display.
    void SetDisplayDevice(std::unique_ptr<display::Device> device);
    display::Device* GetDisplayDevice() const { return mDisplayDevice.get(); }

    // The display mode: in portal-hosted mode the host hears the full-screen
    // wish and the display stays windowed; the shape renderer is made and
    // self-tested with the first display.
    void SetDisplayMode(int width, int height, bool fullScreen);
    // The "viewportscale" setting: false (logged, the scale kept) unless it
    // is a finite number above 0.
    bool SetViewScaleSetting(const TString& value);
    // Applies only while embedded; 1.0 otherwise.
    float GetViewScale() const;
    // For the time of a render target; RestoreViewScale gives the setting back.
    void SetViewScale(float scale) { mViewScale = scale; }
    void RestoreViewScale() { mViewScale = mSavedViewScale; }

    // The managers. The window manager is made by the facade, which serves
    // its frames; each Delete is one step of the facade's teardown.
    void CreateWindowManager(TFrameServices& services);
    TWindowManager* GetWindowManager() const { return mWindowManager.get(); }
    void DeleteWindowManager();
    TAssetManager* GetAssetManager() const { return mAssets.get(); }
    void DeleteAssetManager();
    TStringTable* GetStringTable() const { return mStrings.get(); }
    void DeleteStringTable();
    // Makes the sound manager on the system's output when there is none and
    // starts it; the result of the start.
    bool StartSound();
    // Null before StartSound.
    TSoundManager* GetSound() const { return mSound.get(); }
    void DeleteSound();
    void DeleteShapeRenderer();

    TRandom& GetRandom() { return mRandom; }

    // The cursor image the display shows, with its hot spot and flags.
    void SetCursorImage(const std::shared_ptr<TTexture>& image, int hotX, int hotY, int flags);
    const std::shared_ptr<TTexture>& GetCursorImage() const { return mCursorImage; }
    TPoint GetCursorHotSpot() const { return mCursorHotSpot; }
    int GetCursorFlags() const { return mCursorFlags; }
    bool IsSystemCursorShown() const { return mSystemCursorShown; }
    void SetSystemCursorShown(bool shown) { mSystemCursorShown = shown; }

    // Players for the movies of the window script; this system has none
    // unless a test gives a factory.
    using TMoviePlayerFactory = std::function<std::unique_ptr<flash::Player>()>;
    void SetMoviePlayerFactory(TMoviePlayerFactory factory) { mMoviePlayers = std::move(factory); }
    std::unique_ptr<flash::Player> CreateMoviePlayer() const;

    // While set, every mouse message of the window becomes a "nothing" event.
    void SetMouseBlocked(bool blocked) { mMouseBlocked = blocked; }
    bool HasCapture() const { return mCaptured; }
    void ReleaseCapture() { SetCapture(false); }

    // The host window of "-wnd=" and the channel to it, made on first use;
    // null and kNoWindow when there is none.
    host::Channel* GetHostChannel();
    host::Handle GetHostWindow() const { return mSetup.externalParent; }

    // In portal-hosted mode the state asked of the host; else the display's.
    bool IsFullScreen() const;
    // In portal-hosted mode the wish is kept and the display stays windowed.
    bool SetFullScreen(bool on);

    bool IsEmbedded() const { return mSetup.embedded; }
    bool IsAxTest() const { return mSetup.axtest; }
    bool IsHostedMode() const { return mHostedMode; }
    bool IsUtf8Mode() const { return mSetup.utf8Mode; }
    const TString& GetCommandLine() const { return mSetup.commandLine; }
    const TPlatformSetup& GetSetup() const { return mSetup; }
    bool IsActive() const { return mActive; }
    // The application's activation as the window system last reported it.
    bool IsAppActive() const { return mAppActive; }
    bool IsMinimized() const { return mMinimized; }
    window::Window& GetWindow() { return *mWindow; }
    const window::Window& GetWindow() const { return *mWindow; }
    TTaskList& GetTaskList() { return mTasks; }

private:
    // The pump's steps.
    bool TakePending(TPlatformEvent& event);
    bool TakeMessage(TPlatformEvent& event);
    // True, with a log line, the first time the window system has failed
    // under the window.
    bool TakeWindowLoss();
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
    TRandom mRandom;
    std::unique_ptr<TWindowManager> mWindowManager;
    std::unique_ptr<TAssetManager> mAssets;
    std::unique_ptr<TStringTable> mStrings;
    std::unique_ptr<TSoundManager> mSound;
    std::unique_ptr<display::Device> mDisplayDevice;
    std::unique_ptr<TQmMiniVecDraw> mShapeRenderer;
    std::unique_ptr<host::Channel> mHostChannel;
    std::shared_ptr<TTexture> mCursorImage;
    TPoint mCursorHotSpot;
    int mCursorFlags = 0;
    bool mSystemCursorShown = true;
    bool mMouseBlocked = false;
    TMoviePlayerFactory mMoviePlayers;
    // Display pixels to window pixels while embedded; the copy is the
    // setting's, which render targets return to.
    float mViewScale = 1.0f;
    float mSavedViewScale = 1.0f;
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
    bool mWindowLossTaken = false;
    bool mCaptured = false;
    // Portal-hosted mode: the full-screen state last asked of the host.
    bool mHostFullScreen = false;
};
