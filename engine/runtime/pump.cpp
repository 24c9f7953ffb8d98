// TPlatformData's message pump: one event per call, pending state first,
// then one window event, else an idle tick.
#include "runtime/platformdata.h"
#include "core/windows/windowmanager.h"
#include "foundation/debuglog.h"
#include "graphics/display/displaylink.h"
#include "graphics/render/renderer.h"
#include "platform/os/termination.h"
#include "sound/soundmanager.h"

namespace {

using window::EventKind;
using window::NativeEvent;

// Virtual keys the pump treats apart.
const int32_t kKeyBack = 0x08;
const int32_t kKeyTab = 0x09;
const int32_t kKeyReturn = 0x0D;
const int32_t kKeyEscape = 0x1B;
const int32_t kKeyInsert = 0x2D;
const int32_t kKeyF1 = 0x70;

// Modifier bits of key events beside the native ones.
const int32_t kKeyExtended = 8;
const uint32_t kMouseModifierMask = window::kModShift | window::kModCtrl;

// Button codes of type-6 events.
enum : int32_t {
    kRightUp = 0,
    kRightDown = 1,
    kMiddleUp = 2,
    kMiddleDown = 3,
    kExtra1Down = 4,
    kExtra2Down = 5,
    kWheelForward = 6,
    kWheelBack = 7,
};

// The idle tick's wait (ms).
const uint32_t kIdleWait = 1;

void SetEvent(TPlatformEvent& event, int32_t type, int32_t param = 0) {
    event = TPlatformEvent{};
    event.type = type;
    event.param = param;
}

// The native modifier bits are the events' own Shift, Ctrl and Alt bits.
static_assert(window::kModShift == 1 && window::kModCtrl == 2 && window::kModAlt == 4);

int32_t KeyModifiers(const NativeEvent& native) {
    return static_cast<int32_t>(native.modifiers) | (native.extended ? kKeyExtended : 0);
}

// The keys whose key-down also types a control character.
bool TypesControl(int32_t key) {
    return key == kKeyBack || key == kKeyTab || key == kKeyReturn || key == kKeyEscape;
}

bool IsMoviePlaying() {
    TWindowManager* manager = TWindowManager::GetInstance();
    return manager && manager->IsMovieShown();
}

bool IsMouseMessage(EventKind kind) {
    return kind == EventKind::kMouseMove || kind == EventKind::kButtonDown || kind == EventKind::kButtonUp ||
           kind == EventKind::kWheel;
}

bool IsInputBlocked() {
    TWindowManager* manager = TWindowManager::GetInstance();
    return manager && manager->BlocksInput();
}

}  // namespace

void TPlatformData::GetEvent(TPlatformEvent& event) {
    SetEvent(event, TPlatformEvent::kNothing);
    if (mGameStatePump.BeginEvent(event, [this] { return TakeHeldMessage(); })) return;
    if (TakePending(event) || TakeMessage(event)) return;
    Idle(event);
}

bool TPlatformData::TakeHeldMessage() {
    NativeEvent native;
    if (!mWindow->PollEvent(native)) return false;
    TPlatformEvent ignored;
    HandleWindowEvent(native);
    Translate(native, ignored);
    return ignored.type == TPlatformEvent::kQuit;
}

// The state the window procedure left, in the order it is reported.
bool TPlatformData::TakePending(TPlatformEvent& event) {
    if (mActivationPending) {
        mActivationPending = false;
        if (!mActive && mDisplay) mDisplay->Deactivated();
        SetEvent(event, TPlatformEvent::kActivation, mActive);
        return true;
    }
    if (IsDisplayLost() && (mQuitPosted || mWindow->IsQuitWaiting())) {
        SetEvent(event, TPlatformEvent::kQuit);
        return true;
    }
    if (IsDisplayLost() && !mMinimized && mActive) {
        mDisplay->Restore();
        return true;
    }
    if (mDisplayNoticePending) {
        mDisplayNoticePending = false;
        SetEvent(event, TPlatformEvent::kDisplayNotice);
        return true;
    }
    if (mRedrawPending) {
        mRedrawPending = false;
        SetEvent(event, TPlatformEvent::kRedraw);
        if (IsDisplayLost() && !mMinimized) mDisplay->Restore();
        return true;
    }
    if (mAppActivationPending) {
        mAppActivationPending = false;
        SetEvent(event, TPlatformEvent::kActivation, mAppActive);
        return true;
    }
    if (mCloseRequested) {
        mCloseRequested = false;
        SetEvent(event, TPlatformEvent::kCloseRequest);
        return true;
    }
    if (mMouseCancelPending) {
        mMouseCancelPending = false;
        SetMouseEvent(event, TPlatformEvent::kMouseCancel);
        return true;
    }
    return false;
}

// One waiting message: a posted quit, a signal's request to end or the loss
// of the window, a character typed earlier, a record of the host window, a
// window event, or a due hover.
bool TPlatformData::TakeMessage(TPlatformEvent& event) {
    if (mQuitPosted || os::TakeTerminationRequest() || TakeWindowLoss()) {
        mQuitPosted = false;
        SetEvent(event, TPlatformEvent::kQuit);
        return true;
    }
    if (mTextInput.Next(event)) return true;
    if (mGameStatePump.DispatchHostRecord()) return true;
    NativeEvent native;
    if (mWindow->PollEvent(native)) {
        // The window's own handling first: a move tells the display where
        // the pointer is before the event asks it.
        HandleWindowEvent(native);
        Translate(native, event);
        return true;
    }
    if (mHover.IsDue(Timer())) {
        SetMouseEvent(event, TPlatformEvent::kMouseHover);
        return true;
    }
    return false;
}

bool TPlatformData::TakeWindowLoss() {
    if (mWindowLossTaken) return false;
    std::string loss = mWindow->GetLoss();
    if (loss.empty()) return false;
    mWindowLossTaken = true;
    DebugLog("The window system lost the game's window (%s); the game ends", loss.c_str());
    return true;
}

// Keeping the full-screen window in front is the window system's task here.
void TPlatformData::Idle(TPlatformEvent& event) {
    if (TSoundManager* sound = GetSoundManager()) sound->Update();
    mTasks.RunAll(0);
    SetEvent(event, TPlatformEvent::kIdle);
    mSleep(kIdleWait);
}

void TPlatformData::Translate(const NativeEvent& native, TPlatformEvent& event) {
    if (mMouseBlocked && IsMouseMessage(native.kind)) return;
    switch (native.kind) {
        case EventKind::kQuit: SetEvent(event, TPlatformEvent::kQuit); break;
        case EventKind::kExposed:
            mHover.Stop();
            SetEvent(event, TPlatformEvent::kRedraw);
            break;
        case EventKind::kFocusLost: TranslateFocusLost(event); break;
        case EventKind::kMouseMove: TranslateMove(native, event); break;
        case EventKind::kButtonDown:
        case EventKind::kButtonUp: TranslateButton(native, event); break;
        case EventKind::kWheel: TranslateWheel(native, event); break;
        case EventKind::kKeyDown: TranslateKeyDown(native, event); break;
        case EventKind::kKeyUp:
            // With Alt held it is a system key, which the game never sees.
            if (native.key != 0 && !(native.modifiers & window::kModAlt)) {
                SetEvent(event, TPlatformEvent::kKeyUp, native.key);
                event.extra = KeyModifiers(native);
            }
            break;
        case EventKind::kText:
            mTextInput.QueueText(native.text);
            mTextInput.Next(event);
            break;
        default: break;
    }
}

// Losing the focus takes the capture away from the game.
void TPlatformData::TranslateFocusLost(TPlatformEvent& event) {
    if (!mCaptured) return;
    SetCapture(false);
    SetEvent(event, TPlatformEvent::kMouseCancel);
}

void TPlatformData::TranslateMove(const NativeEvent& native, TPlatformEvent& event) {
    SetMouseEvent(event, TPlatformEvent::kMouseMove);
    mHover.Moved(TPoint(native.x, native.y), Timer());
    mLeaveTracking = true;
}

void TPlatformData::TranslateButton(const NativeEvent& native, TPlatformEvent& event) {
    bool down = native.kind == EventKind::kButtonDown;
    if (mClickGate.Drops(down, Timer(), IsMoviePlaying(), IsInputBlocked())) return;
    if (down && mSetup.embedded) mWindow->TakeFocus();
    SetCapture(down);
    int32_t modifiers = static_cast<int32_t>(native.modifiers & kMouseModifierMask);
    switch (native.button) {
        case window::Button::kLeft:
            SetMouseEvent(event, down ? TPlatformEvent::kMouseDown : TPlatformEvent::kMouseUp);
            if (down) event.extra = modifiers;
            break;
        case window::Button::kRight:
            SetMouseEvent(event, TPlatformEvent::kMouseButton);
            event.param = down ? kRightDown : kRightUp;
            if (down) event.extra = modifiers;
            break;
        case window::Button::kMiddle:
            SetMouseEvent(event, TPlatformEvent::kMouseButton);
            event.param = down ? kMiddleDown : kMiddleUp;
            if (down) event.extra = modifiers;
            break;
        case window::Button::kExtra1:
        case window::Button::kExtra2:
            // Only their downs are reported.
            if (!down) break;
            SetMouseEvent(event, TPlatformEvent::kMouseButton);
            event.param = native.button == window::Button::kExtra1 ? kExtra1Down : kExtra2Down;
            break;
        default: break;
    }
}

void TPlatformData::TranslateWheel(const NativeEvent& native, TPlatformEvent& event) {
    if (mClickGate.Drops(true, Timer(), IsMoviePlaying(), IsInputBlocked())) return;
    // A sideways-only turn is no wheel message the game knows.
    if (native.wheelY == 0 && native.wheelX != 0) return;
    SetMouseEvent(event, TPlatformEvent::kMouseButton);
    event.param = native.wheelY > 0 ? kWheelForward : kWheelBack;
    event.extra = static_cast<int32_t>(native.modifiers & kMouseModifierMask);
}

void TPlatformData::TranslateKeyDown(const NativeEvent& native, TPlatformEvent& event) {
    if (native.key == 0) return;
    if (native.modifiers & window::kModAlt) {
        TranslateAltKey(native, event);
        return;
    }
    // Insert alone or with Ctrl is left to the system; Shift+Insert pastes.
    if (native.key == kKeyInsert && native.modifiers != window::kModShift) return;
    SetEvent(event, TPlatformEvent::kKeyDown, native.key);
    event.extra = KeyModifiers(native);
    if (TypesControl(native.key)) mTextInput.QueueControl(native.key);
}

void TPlatformData::TranslateAltKey(const NativeEvent& native, TPlatformEvent& event) {
    if (native.key == kKeyReturn) {
        ToggleFullScreen(event);
    } else if (native.key == kKeyF1) {
        TRenderer::GetInstance()->ToggleStatsOverlay();
    } else {
        SetEvent(event, TPlatformEvent::kKeyDown, native.key);
        event.extra = KeyModifiers(native);
    }
}

// Alt+Enter. An embedded game switches only when a portal hosts it, and then
// through the host: its own display stays windowed.
void TPlatformData::ToggleFullScreen(TPlatformEvent& event) {
    if (mSetup.embedded && !mHostedMode) return;
    if (mHostedMode) {
        SetFullScreen(!IsFullScreen());
    } else if (mDisplay) {
        mDisplay->SetFullScreen(!mDisplay->IsFullScreen());
    }
    SetEvent(event, TPlatformEvent::kFullScreenToggled, IsDisplayFullScreen());
}

// Mouse events carry the cursor as 16-bit signed coordinates.
void TPlatformData::SetMouseEvent(TPlatformEvent& event, int32_t type) const {
    SetEvent(event, type);
    TPoint cursor = CursorPosition();
    event.x = static_cast<int16_t>(cursor.x);
    event.y = static_cast<int16_t>(cursor.y);
}
