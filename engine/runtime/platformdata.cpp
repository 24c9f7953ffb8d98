#include "runtime/platformdata.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

#include "core/app/msnzylomhandler.h"
#include "runtime/commandline.h"
#include "core/windows/windowmanager.h"
#include "foundation/assetmanager.h"
#include "foundation/debuglog.h"
#include "foundation/stringtable.h"
#include "graphics/display/displaylink.h"
#include "graphics/render/renderer.h"
#include "graphics/text/qmminivecdraw.h"
#include "graphics/texture.h"
#include "graphics/texturedata.h"
#include "platform/display/device.h"
#include "platform/flash/unavailableplayer.h"
#include "platform/host/socketchannel.h"
#include "platform/os/timer.h"
#include "sound/soundmanager.h"

namespace {

const char* const kWindowTitle = "Quenmarth";
const int kWindowWidth = 480;
const int kWindowHeight = 360;

void SleepFor(uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The self-test target's pixels, rows from the top.
bool ReadSelfTestTarget(TTexture& target, std::vector<uint32_t>& pixels) {
    TTextureData* data = target.GetTextureData();
    uint32_t* locked = nullptr;
    int pitch = 0;
    if (!data || !data->Lock(locked, pitch)) return false;
    const int width = TQmMiniVecDraw::kSelfTestWidth;
    for (int y = 0; y < TQmMiniVecDraw::kSelfTestHeight; ++y) {
        const uint32_t* row = locked + static_cast<size_t>(y) * pitch;
        std::copy(row, row + width, pixels.begin() + static_cast<ptrdiff_t>(y) * width);
    }
    data->Unlock();
    return true;
}

// Finds where this display puts the shape renderer's line spans.
void SelfTestShapes(TQmMiniVecDraw& shapes) {
    std::shared_ptr<TTexture> target =
        TTexture::Create(TQmMiniVecDraw::kSelfTestWidth, TQmMiniVecDraw::kSelfTestHeight, true);
    if (!target) {
        DebugLog("Error: no target for the shape renderer's self-test; its offsets stay as they are");
        return;
    }
    shapes.SelfTest(target, [&target](std::vector<uint32_t>& pixels) { return ReadSelfTestTarget(*target, pixels); });
}

}  // namespace

TPlatformData::TPlatformData(const TPlatformSetup& setup, std::unique_ptr<window::Window> window)
    : mSetup(setup),
      mHostedMode(::IsHostedMode(setup.commandLine)),
      mWindow(std::move(window)),
      mSleep(SleepFor),
      mStartTime(os::TimeMilliseconds()),
      mAssets(std::make_unique<TAssetManager>()),
      mStrings(std::make_unique<TStringTable>()),
      mTextInput(setup.utf8Mode) {
    SetAssetManager(mAssets.get());
}

TPlatformData::~TPlatformData() {
    DeleteWindowManager();
    DeleteSound();
    DeleteShapeRenderer();
    DeleteAssetManager();
}

void TPlatformData::SetDisplayDevice(std::unique_ptr<display::Device> device) {
    mDisplayDevice = std::move(device);
}

void TPlatformData::SetDisplayMode(int width, int height, bool fullScreen) {
    if (mHostedMode) {
        mGameStatePump.SendFullScreen(fullScreen);
        mHostFullScreen = fullScreen;
        fullScreen = false;
    }
    // The size of an embedding parent is not known here, so the view keeps
    // the scale of the "viewportscale" setting (1.0 without it).
    if (mDisplay) mDisplay->SetDisplay(width, height, fullScreen);
    if (!mShapeRenderer && mDisplayDevice) {
        mShapeRenderer = std::make_unique<TQmMiniVecDraw>(*TRenderer::GetInstance());
        TQmMiniVecDraw::SetInstance(mShapeRenderer.get());
        if (mDisplay && mDisplay->IsDeviceReady()) SelfTestShapes(*mShapeRenderer);
    }
}

// A scale of 0 or below, or one that is no number, would later divide by
// nothing.
bool TPlatformData::SetViewScaleSetting(const TString& value) {
    char* end = nullptr;
    float scale = std::strtof(value.c_str(), &end);
    if (end == value.c_str() || !std::isfinite(scale) || scale <= 0) {
        DebugLog("Error: viewportscale '%s' is no scale above 0; the view scale stays %g", value.c_str(),
                 static_cast<double>(mSavedViewScale));
        return false;
    }
    mViewScale = mSavedViewScale = scale;
    return true;
}

float TPlatformData::GetViewScale() const {
    return mSetup.embedded ? mViewScale : 1.0f;
}

void TPlatformData::CreateWindowManager(TFrameServices& services) {
    mWindowManager = std::make_unique<TWindowManager>(services);
}

void TPlatformData::DeleteWindowManager() {
    mWindowManager.reset();
}

void TPlatformData::DeleteAssetManager() {
    if (GetAssetManager() == ::GetAssetManager()) SetAssetManager(nullptr);
    mAssets.reset();
}

void TPlatformData::DeleteStringTable() {
    mStrings.reset();
}

bool TPlatformData::StartSound() {
    if (!mSound) {
        mSound = std::make_unique<TSoundManager>();
        SetSoundManager(mSound.get());
    }
    return mSound->Start();
}

void TPlatformData::DeleteSound() {
    if (!mSound) return;
    if (::GetSoundManager() == mSound.get()) SetSoundManager(nullptr);
    mSound.reset();
}

void TPlatformData::DeleteShapeRenderer() {
    mShapeRenderer.reset();
}

void TPlatformData::SetCursorImage(const std::shared_ptr<TTexture>& image, int hotX, int hotY, int flags) {
    mCursorImage = image;
    mCursorHotSpot = TPoint(hotX, hotY);
    mCursorFlags = flags;
}

std::unique_ptr<flash::Player> TPlatformData::CreateMoviePlayer() const {
    if (mMoviePlayers) return mMoviePlayers();
    return std::make_unique<flash::UnavailablePlayer>();
}

host::Channel* TPlatformData::GetHostChannel() {
    if (mSetup.externalParent == host::kNoWindow) return nullptr;
    if (!mHostChannel) mHostChannel = std::make_unique<host::SocketChannel>(mSetup.externalParent);
    return mHostChannel.get();
}

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
