#include "core/platform/platformdata.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "core/app/msnzylomhandler.h"
#include "core/platform/commandline.h"
#include "core/windows/windowmanagerlink.h"
#include "foundation/debuglog.h"
#include "graphics/displaylink.h"
#include "platform/os/timer.h"
#include "sound/soundmanager.h"

namespace {

const char* const kWindowTitle = "Quenmarth";
const int kWindowWidth = 480;
const int kWindowHeight = 360;

void SleepFor(uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace

TPlatformData::TPlatformData(const TPlatformSetup& setup, std::unique_ptr<window::Window> window)
    : mSetup(setup),
      mHostedMode(::IsHostedMode(setup.commandLine)),
      mWindow(std::move(window)),
      mSleep(SleepFor),
      mStartTime(os::TimeMilliseconds()),
      mTextInput(setup.utf8Mode) {}

void TPlatformData::CreateGameWindow() {
    window::WindowSetup setup;
    setup.title = kWindowTitle;
    setup.width = kWindowWidth;
    setup.height = kWindowHeight;
    // Otherwise the display shows the window once it has set the mode.
    setup.shown = mSetup.axtest;
    if (!mWindow->Create(setup)) {
        DebugLog("Error: the game window cannot be created: %s", mWindow->GetLastError().c_str());
        std::exit(-1);
    }
}

uint32_t TPlatformData::Timer() const {
    return os::TimeMilliseconds() - mStartTime - GetHostPausedTime();
}

void TPlatformData::HandleWindowEvent(const window::NativeEvent& event) {
    using window::EventKind;
    switch (event.kind) {
        case EventKind::kClose: mCloseRequested = true; break;
        case EventKind::kExposed:
            if (TWindowManagerLink* manager = GetWindowManagerLink()) manager->Invalidate();
            mRedrawPending = true;
            break;
        case EventKind::kMinimized:
            mMinimized = true;
            SetActivation(false);
            break;
        case EventKind::kRestored:
            mMinimized = false;
            SetActivation(true);
            break;
        case EventKind::kFocusGained:
            if (!mSetup.embedded && event.pointerInside) mClickGate.Activated(Timer());
            SetAppActivation(true);
            break;
        case EventKind::kFocusLost: SetAppActivation(false); break;
        case EventKind::kMouseMove:
            if (mDisplay) {
                mDisplay->MouseMoved();
                mDisplay->UpdateSystemCursor();
            }
            break;
        case EventKind::kMouseLeave: MouseLeft(); break;
        default: break;
    }
}

// Minimizing and restoring force the change even in full screen.
void TPlatformData::SetActivation(bool active) {
    if (active == mActive) return;
    if (TSoundManager* sound = GetSoundManager()) sound->SetActive(active);
    // Two changes before the next pump call cancel out.
    mActivationPending = !mActivationPending;
    mActive = active;
}

void TPlatformData::SetAppActivation(bool active) {
    if (active == mAppActive) return;
    SetActivation(active);
    mAppActive = active;
    mAppActivationPending = true;
    if (TSoundManager* sound = GetSoundManager()) sound->SetActive(active);
    if (!active && IsDisplayFullScreen()) mMinimized = true;
    if (active) mMinimized = false;
}

// Leaves count only after a move started leave tracking.
void TPlatformData::MouseLeft() {
    if (!mLeaveTracking) return;
    if (mDisplay) mDisplay->MouseLeft();
    mMouseCancelPending = true;
    mHover.Stop();
    mLeaveTracking = false;
}

bool TPlatformData::IsFullScreen() const {
    return mHostedMode ? mHostFullScreen : IsDisplayFullScreen();
}

bool TPlatformData::SetFullScreen(bool on) {
    if (!mHostedMode) return mDisplay && mDisplay->SetFullScreen(on);
    mGameStatePump.SendFullScreen(on);
    mHostFullScreen = on;
    if (mDisplay) mDisplay->SetFullScreen(false);
    return true;
}

void TPlatformData::SetCapture(bool capture) {
    mWindow->CaptureMouse(capture);
    mCaptured = capture;
}

bool TPlatformData::IsDisplayLost() const {
    return mDisplay && !mDisplay->IsDeviceReady();
}

bool TPlatformData::IsDisplayFullScreen() const {
    return mDisplay && mDisplay->IsFullScreen();
}

TPoint TPlatformData::CursorPosition() const {
    TPoint position;
    if (mDisplay && mDisplay->GetMousePosition(position)) return position;
    mWindow->GetPointer(position.x, position.y);
    return position;
}
