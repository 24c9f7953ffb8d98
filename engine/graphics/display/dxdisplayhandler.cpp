#include "graphics/display/dxdisplayhandler.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "foundation/assetmanager.h"
#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "foundation/virtualfiles.h"
#include "foundation/xmlnode.h"
#include "graphics/display/ddutil.h"
#include "graphics/display/dxdevicestates.h"
#include "graphics/display/dxviewport.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"
#include "platform/os/replacefile.h"

namespace {

// Source unit named in the error lines of this file.
constexpr const char* kUnit = ".\\dxdisplayhandler";
constexpr const char* kDisplaySettingsFile = "common:display.xml";

constexpr uint32_t kReentrySleep = 50;
constexpr uint32_t kSuspendedSleep = 100;
constexpr uint32_t kFullScreenRetrySleep = 150;
constexpr uint32_t kEmbeddedRetryGuard = 1000;
constexpr uint32_t kBrokenThrottle = 250;
constexpr uint32_t kWorkingFrames = 3;
constexpr int kCooperativePasses = 3;
// Render-target modes.
constexpr int kOpaqueTarget = 0;
constexpr int kAlphaTarget = 1;
constexpr int kOverTarget = 2;
constexpr int kOverTargetToo = 3;
constexpr int kAlphaMaskTarget = 4;
// The calibration's probe, its grid and the offsets it tries.
constexpr int kProbeSide = 16;
constexpr int kCellsWidth = 1024, kCellsHeight = 512;
// The red background the cells are drawn over.
const TRect kCellsBackground(0, 0, 512, 512);
constexpr int kCellColumns = 50;
constexpr int kCandidates = 10;
constexpr float kFirstCandidate = -0.5f;
constexpr float kCandidateStep = 0.1f;
constexpr uint32_t kOpaque = 0xFF000000u;
constexpr float kDefaultFov = 0.7853982f;

const char* const kErrorCaption = "Error";
const char* const kOutOfMemoryBox =
    "You cannot run this application at your current screen resolution or bit depth (out of memory). Change your "
    "display settings and run again. Closing other applications might also help.";
const char* const kWindowOutOfMemoryBox =
    "You cannot run this application at your current screen resolution or bit depth (out of memory). Change your "
    "display settings and run again.";
const char* const kPaletteBox =
    "You cannot run this application when your video mode is 8 bits or less. Change your display settings and run "
    "again.";
const char* const kSmallBox =
    "You cannot run this application at your current screen resolution. Change your display settings and run again.";
const char* const kReconfigureBox =
    "Your video card doesn't have enough memory in the current mode. Changing to another mode. This setting will be "
    "saved so you won't see this box again. This will take less than a minute. Press OK to continue.";
const char* const kTooFewColorsBox =
    "DirectX requires that you have your screen set to 256 color mode or higher for any DirectX application to run. "
    "Please go to your control panel and select 256 color mode or install new video drivers to run this game. "
    "Exiting.";
const char* const kFallbackFailedBox =
    "Failed to initialize window. Please try running the game again. If that doesn't help, try changing the screen "
    "resolution and color depth. If that fails, then your video card does not support this game.";
const char* const kFullScreenFailedBox =
    "Failed to initialize full screen mode. Your video card is not supported. Trying to run in a window.";
const char* const kWindowFailedBox = "Failed to initialize windowed mode. Trying full screen.";

TDxDisplayHandler* gInstance = nullptr;

int Width(const TRect& rect) {
    return rect.right - rect.left;
}

int Height(const TRect& rect) {
    return rect.bottom - rect.top;
}

display::Rect ToDisplay(const TRect& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

float Candidate(int index) {
    return kFirstCandidate + static_cast<float>(index) * kCandidateStep;
}

TPoint Cell(int index) {
    return TPoint(index % kCellColumns * kProbeSide, index / kCellColumns * kProbeSide);
}

bool IsPrimitive(int type) {
    return type >= static_cast<int>(display::Primitive::LineList) &&
           type <= static_cast<int>(display::Primitive::TriangleFan);
}

display::VertexKind VertexKindOf(int kind) {
    if (kind == TVertexSet::kLit || kind == TVertexSet::kLit2d) return display::VertexKind::Transformed;
    if (kind == TVertexSet::kTransformed) return display::VertexKind::PreTransformed;
    return display::VertexKind::Lit;
}

const display::Vertex* DeviceVertices(const TVertexSet& vertices) {
    // The same 32-byte layout; both headers assert it.
    return reinterpret_cast<const display::Vertex*>(vertices.GetVertices());
}

}  // namespace

TDxDisplayHandler::TDxDisplayHandler(display::Device& device, TDisplayHost& host)
    : mDevice(device), mHost(host), mState(std::make_unique<TDxDisplayState>(device, host)) {
    gInstance = this;
    if (!mHost.IsHosted()) ReadDisplaySettings();
    SetTextureDataFactory([this] { return CreateTextureData(); });
    mTextureSurface = [](const TTexture& texture) {
        auto* data = dynamic_cast<const TDxTextureData*>(texture.GetTextureData());
        return data ? data->GetSurface() : display::kNoSurface;
    };
}

TDxDisplayHandler::~TDxDisplayHandler() {
    TDxTextureData::ForgetOwner(*this);
    // A newer handler keeps the factory it installed.
    if (gInstance != this) return;
    SetTextureDataFactory(nullptr);
    gInstance = nullptr;
}

std::unique_ptr<TTextureData> TDxDisplayHandler::CreateTextureData() {
    return std::make_unique<TDxTextureData>(*this);
}

TDxDisplayHandler* TDxDisplayHandler::GetInstance() {
    return gInstance;
}

void TDxDisplayHandler::ReadDisplaySettings() {
    TXmlNode document;
    if (!document.LoadFile(kDisplaySettingsFile)) return;
    TXmlNode* settings = document.FindChild("Settings");
    if (!settings) return;
    mState->lowMemoryVideo = settings->GetAttribute("LowMemoryVideo").ToInt() != 0;
    if (mState->lowMemoryVideo) DebugLog("Low memory video card setting enabled!");
}

bool TDxDisplayHandler::WriteDisplaySettings() {
    TXmlNode settings("Settings");
    settings.SetAttribute("LowMemoryVideo", "1");
    TString text;
    settings.WriteToString(text);
    TString path = ResolvePath(kDisplaySettingsFile, false);
    if (path.Length() == 0) {
        DebugLog("ERROR: OnOutOfVideoMemory: no folder for %s", kDisplaySettingsFile);
        return false;
    }
    CreateFoldersForWrite(path);
    std::string error;
    if (!os::ReplaceFile(path.c_str(), text.c_str(), static_cast<size_t>(text.Length()), &error)) {
        DebugLog("ERROR: OnOutOfVideoMemory: %s not written: %s", kDisplaySettingsFile, error.c_str());
        return false;
    }
    return true;
}

// ---- Display set-up ----

void TDxDisplayHandler::SetDisplay(int width, int height, bool fullScreen) {
    SetDisplay(width, height, fullScreen, false, false, false);
}

void TDxDisplayHandler::SetDisplay(int width, int height, bool fullScreen, bool force, bool quiet, bool placed) {
    if (mState->inSetDisplay) {
        mHost.Sleep(kReentrySleep);
        return;
    }
    if (width <= 0 || height <= 0) {
        DebugLog("SetDisplay: bad size %d x %d", width, height);
        return;
    }
    TRequest request{width, height, fullScreen, force, quiet, placed};
    mState->inSetDisplay = true;
    std::optional<TFallback> fallback = SetUp(request);
    mState->inSetDisplay = false;
    if (!fallback) {
        CalibratePixelOffset();
        return;
    }
    SetDisplay(width, height, fallback->fullScreen, request.force, false, false);
    if (fallback->boxAfter && !request.quiet) Box(fallback->boxAfter, TMessageBoxIcon::kNone);
}

std::optional<TDxDisplayHandler::TFallback> TDxDisplayHandler::SetUp(TRequest& request) {
    if (!PassesGates(request)) return std::nullopt;
    TearDown(request);
    uint32_t flags = kDisplayFlagDefault;
    if (request.placed) flags |= kDisplayFlagPlaced;
    if (mState->hintAntialias) flags |= kDisplayFlagAntialias;
    bool retry = true;
    while (!CreateDevice(request, flags)) {
        std::optional<TFallback> fallback = FailCreation(request, flags, retry);
        if (!retry) return fallback;
    }
    FinishSetUp(request);
    return std::nullopt;
}

bool TDxDisplayHandler::PassesGates(TRequest& request) {
    TDxDisplayState& state = *mState;
    if (mHost.IsZylomHost()) {
        request.fullScreen = false;
        request.quiet = true;
    }
    if (mHost.IsSuspended()) {
        mHost.Sleep(kSuspendedSleep);
        return false;
    }
    if (state.lowMemoryVideo) {
        if (mHost.IsHosted()) {
            Fatal(kOutOfMemoryBox);
            return false;
        }
        DebugLog("SetDisplay Forcing Fullscreen (MEMORY)");
        request.fullScreen = true;
    }
    if (!mHost.IsActivationGateOpen() && !request.force) return false;
    if (!Attach(request)) return false;
    if (state.fatal) {
        mHost.ExitProcess(-1);
        return false;
    }
    // Wrap-safe: the unsigned difference is the time since the mark.
    if (IsExternallyParented() && state.broken && state.brokenTime &&
        mHost.Timer() - *state.brokenTime < kEmbeddedRetryGuard) {
        return false;
    }
    state.workingCount = 0;
    if (!request.fullScreen && state.context.IsPaletteDesktop()) {
        if (IsExternallyParented()) {
            Fatal(kPaletteBox);
            return false;
        }
        DebugLog("SetDisplay Forcing Fullscreen (PALLETTED)");
        request.fullScreen = true;
    }
    bool changed = request.fullScreen != state.fullScreen || request.width != Width(state.screen) ||
                   request.height != Height(state.screen) || request.force;
    if (!changed) return false;
    return request.fullScreen || ChecksWindow(request);
}

bool TDxDisplayHandler::Attach(TRequest& request) {
    if (!IsExternallyParented()) return true;
    if (!mHost.IsExternalParentAlive()) {
        DebugLog("Error: mExternalWindowParent is lost, exiting!");
        mHost.ExitProcess(-1);
        return false;
    }
    mHost.AttachToParent(!request.fullScreen);
    if (!request.fullScreen) request.placed = true;
    return true;
}

bool TDxDisplayHandler::ChecksWindow(TRequest& request) {
    const display::DesktopMode& desktop = mState->context.GetDesktopMode();
    if (!mHost.IsHosted()) {
        float scale = mHost.GetViewScale();
        if (!(scale > 0) || !std::isfinite(scale)) scale = 1.0f;
        int scaledWidth = static_cast<int>(static_cast<float>(request.width) * scale);
        int scaledHeight = static_cast<int>(static_cast<float>(request.height) * scale);
        if (desktop.width <= scaledWidth || desktop.height <= scaledHeight) {
            if (IsExternallyParented()) {
                Fatal(kSmallBox);
                return false;
            }
            DebugLog("SetDisplay Forcing Fullscreen (SMALL)");
            request.fullScreen = true;
            return true;
        }
    }
    if (mState->context.IsWindowShortOfVideoMemory()) {
        if (IsExternallyParented()) {
            Fatal(kWindowOutOfMemoryBox);
            return false;
        }
        DebugLog("SetDisplay Forcing Fullscreen (MEMORY)");
        request.fullScreen = true;
    }
    return true;
}

void TDxDisplayHandler::TearDown(const TRequest& request) {
    TDxDisplayState& state = *mState;
    if (TAssetManager* assets = GetAssetManager()) assets->ReleaseAssets();
    mHost.SetDisplayChanged();
    if (!IsExternallyParented()) mHost.StyleGameWindow(request.fullScreen);

    state.fullScreen = request.fullScreen;
    TRect screen(0, 0, request.width, request.height);
    state.viewport = state.screen = state.view = state.target = screen;
    state.hasDevice = false;
    state.broken = false;
    state.frameOpen = false;
    state.context.Release();

    if (state.reconfigureNotice) {
        mHost.MessageBox(kReconfigureBox, "Reconfiguring", TMessageBoxIcon::kWarning);
        state.reconfigureNotice = false;
    }
}

bool TDxDisplayHandler::CreateDevice(const TRequest& request, uint32_t flags) {
    int depth = mState->lowMemoryVideo ? 16 : 32;
    return mState->context.Create(mHost.GetGameWindow(), request.fullScreen, request.width, request.height, depth,
                                  flags);
}

std::optional<TDxDisplayHandler::TFallback> TDxDisplayHandler::FailCreation(TRequest& request, uint32_t& flags,
                                                                             bool& retry) {
    TDxDisplayState& state = *mState;
    retry = false;
    if (flags & kDisplayFlagAntialias) {
        state.antialias = state.hintAntialias = false;
        flags &= ~kDisplayFlagAntialias;
        retry = true;
        return std::nullopt;
    }
    if (state.context.HasTooFewColors()) {
        if (!request.quiet) Box(kTooFewColorsBox, TMessageBoxIcon::kNone);
        state.fatal = true;
        mHost.ExitProcess(-1);
        return std::nullopt;
    }
    if (IsExternallyParented()) {
        MarkBroken();
        return std::nullopt;
    }
    if (state.wasFullScreen && request.fullScreen) {
        MarkBroken();
        mHost.Sleep(kFullScreenRetrySleep);
        return std::nullopt;
    }
    bool active = mHost.IsActivationGateOpen();
    bool foreground = mHost.IsForeground();
    if (!state.fallbackInProgress && (!active || !foreground)) {
        DebugLog("SetDisplay marking DirectX Broken: %s, %s", active ? "ACTIVE" : "INACTIVE",
                 foreground ? "FOREGROUND" : "BACKGROUND");
        MarkBroken();
        return std::nullopt;
    }
    if (const char* obstacle = WindowObstacle(request)) {
        if (!request.quiet) Box(obstacle, TMessageBoxIcon::kNone);
        state.fallbackInProgress = true;
        return TFallback{true, nullptr};
    }
    if (state.fallbackInProgress) {
        DebugLog("ERROR FALLBACK FAILED");
        Box(kFallbackFailedBox, TMessageBoxIcon::kError);
        mHost.PostQuit();
        state.fatal = true;
        return std::nullopt;
    }
    state.fallbackInProgress = true;
    if (request.fullScreen) return TFallback{false, kFullScreenFailedBox};
    if (!request.quiet) Box(kWindowFailedBox, TMessageBoxIcon::kNone);
    return TFallback{true, nullptr};
}

const char* TDxDisplayHandler::WindowObstacle(const TRequest& request) const {
    if (request.fullScreen) return nullptr;
    const TDXContext& context = mState->context;
    const display::DesktopMode& desktop = context.GetDesktopMode();
    if (context.IsPaletteDesktop()) return "Cannot run in 256 color mode or lower in a window. Switching to full screen.";
    if (desktop.width <= request.width || desktop.height <= request.height) {
        return "Cannot run in a window when your desktop is set to 800x600 or lower resolution. Switching to full "
               "screen.";
    }
    if (context.IsWindowShortOfVideoMemory()) {
        return "Cannot run in a window: Insufficient video memory. Switching to full screen.";
    }
    return nullptr;
}

void TDxDisplayHandler::FinishSetUp(const TRequest& request) {
    TDxDisplayState& state = *mState;
    state.fallbackInProgress = false;
    if (!request.placed) mHost.ShowGameWindow(request.fullScreen);
    state.hasDevice = true;
    ReadCapabilities();

    // Antialiasing is kept across a new device, like the hint that asked for it.
    display::DrawStates defaults = DefaultDrawStates();
    defaults.antialias = state.antialias;
    mDevice.SetStates(defaults);
    state.zEnable = state.zWrite = true;
    if (GetAssetManager() && !mHost.IsFrozen()) DxCheck(state.context.Present(), mHost, kUnit, __LINE__);
    if (!IsDeviceReady()) return;

    ResetWorldAndView();
    SetPerspective(0.1f, 1000.0f, kDefaultFov, 0);
    mDevice.SetMaterial(display::Material());
    if (!state.context.HasMouseImage() && !state.defaultCursorSet) {
        state.defaultCursorSet = true;
        mHost.SetDefaultCursor();
    }
    RestoreAssets();
    mHost.Invalidate();
    if (request.fullScreen) state.wasFullScreen = true;
    SetSetting(kSettingMonitorFrequency, TString::Format("%d", state.context.GetDesktopMode().refreshRate));
}

void TDxDisplayHandler::ReadCapabilities() {
    display::DeviceDesc desc = mDevice.GetDeviceDesc();
    mState->separateTextureMemories = desc.separateTextureMemories != 0;
    mState->noSpecularGouraud = desc.specularGouraud == 0;
    mState->squareTexturesOnly = desc.squareTexturesOnly != 0 || desc.maxTextureAspectRatio < 64;
}

void TDxDisplayHandler::Fatal(const char* text) {
    Box(text);
    mHost.ExitProcess(-1);
}

void TDxDisplayHandler::Box(const char* text, TMessageBoxIcon icon) {
    mHost.MessageBox(text, kErrorCaption, icon);
}

bool TDxDisplayHandler::IsExternallyParented() const {
    return mHost.IsEmbedded() && mHost.HasExternalParent();
}

bool TDxDisplayHandler::SetFullScreen(bool on) {
    const TDxDisplayState& state = *mState;
    if (!on) {
        const display::DesktopMode& desktop = state.context.GetDesktopMode();
        bool fits = desktop.width > Width(state.screen) && desktop.height > Height(state.screen);
        if (state.context.IsPaletteDesktop() || !fits || state.context.IsWindowShortOfVideoMemory() ||
            state.lowMemoryVideo) {
            return false;
        }
    }
    SetDisplay(Width(state.screen), Height(state.screen), on, false, false, false);
    return true;
}

bool TDxDisplayHandler::IsFullScreen() const {
    return mState->fullScreen;
}

void TDxDisplayHandler::GetDisplaySize(int& width, int& height, bool& fullScreen) const {
    width = Width(mState->screen);
    height = Height(mState->screen);
    fullScreen = mState->fullScreen;
}

void TDxDisplayHandler::UpdateDesktopMode() {
    mState->context.UpdateDesktopMode();
}

void TDxDisplayHandler::SetVSync(bool on) {
    mState->context.SetVSync(on);
}

void TDxDisplayHandler::OnOutOfVideoMemory() {
    TDxDisplayState& state = *mState;
    if (state.lowMemoryVideo || !state.hasDevice) return;
    DebugLog("OutOfVideoMemory triggered!");
    state.lowMemoryVideo = true;
    MarkBroken();
    state.reconfigureNotice = true;
    WriteDisplaySettings();
}

void TDxDisplayHandler::MarkBroken() {
    mState->broken = true;
    mState->brokenTime = mHost.Timer();
}

void TDxDisplayHandler::MarkBrokenThrottled() {
    uint32_t now = mHost.Timer();
    if (mState->brokenTime && now - *mState->brokenTime <= kBrokenThrottle) return;
    MarkBroken();
}

bool TDxDisplayHandler::IsDeviceReady() const {
    if (mState->broken) return false;
    if (mState->hasDevice) return true;
    // The state is held by pointer: a const query may still mark it.
    mState->broken = true;
    mState->brokenTime = mHost.Timer();
    return false;
}

void TDxDisplayHandler::ResetWorkingCount() {
    mState->workingCount = 0;
}

void TDxDisplayHandler::RestoreAssets() {
    if (!IsDeviceReady()) {
        DebugLog("RestoreAssets: DX broken");
        return;
    }
    if (TAssetManager* assets = GetAssetManager()) assets->RestoreAssets();
    mHost.RunRestoreTasks();
    mHost.Invalidate();
}

// ---- Device loss ----

void TDxDisplayHandler::Restore() {
    TDxDisplayState& state = *mState;
    if (state.inRestore) {
        MarkBroken();
        mHost.Sleep(kReentrySleep);
        return;
    }
    // No display was asked for yet: there is nothing to bring back.
    if (Width(state.screen) <= 0) return;
    state.inRestore = true;
    RestoreDevice();
    state.inRestore = false;
}

void TDxDisplayHandler::RestoreDevice() {
    if (mHost.IsSuspended()) {
        mHost.Sleep(kSuspendedSleep);
        return;
    }
    if (TAssetManager* assets = GetAssetManager()) assets->ReleaseAssets();
    if (!mState->hasDevice || mState->reconfigureNotice) {
        DebugLog("TPlatformData::Restore: mDirectDraw NULL. Calling SetDisplay()");
        RebuildDisplay(true);
        return;
    }
    display::Result result = mDevice.TestCooperativeLevel();
    if (result == display::Result::Ok) {
        RestoreSurfaces();
    } else {
        RetryCooperativeLevel(result);
    }
}

void TDxDisplayHandler::RebuildDisplay(bool quiet) {
    SetDisplay(Width(mState->screen), Height(mState->screen), mState->fullScreen, true, quiet, false);
}

void TDxDisplayHandler::RestoreSurfaces() {
    TDxDisplayState& state = *mState;
    if (state.workingCount < kWorkingFrames) {
        if (mHost.IsActive()) {
            DebugLog("TPlatformData::Restore: Working count too small (%d). Calling SetDisplay()",
                     static_cast<int>(state.workingCount));
            RebuildDisplay(false);
        } else {
            MarkBroken();
        }
        return;
    }
    state.workingCount = 0;
    state.broken = false;
    display::Result result = mDevice.RestoreAllSurfaces();
    if (result == display::Result::Ok) {
        RestoreAssets();
        mHost.Invalidate();
        return;
    }
    if (result == display::Result::WrongMode) {
        DebugLog("Restore: RestoreAllSurfaces resulted in DDERR_WRONGMODE. Calling SetDisplay.");
    } else {
        DebugLog("RestoreAllSurfaces failed!\n");
        DxCheck(result, mHost, kUnit, __LINE__);
    }
    RebuildDisplay(false);
}

void TDxDisplayHandler::RetryCooperativeLevel(display::Result result) {
    for (int attempt = 0; result != display::Result::Ok; ++attempt) {
        if (result == display::Result::WrongMode) {
            RebuildDisplay(false);
            return;
        }
        if (!mHost.IsActive()) return;
        mHost.Sleep(kSuspendedSleep);
        if (result == display::Result::ExclusiveModeAlreadySet) return;
        // Asking again is how this device takes the screen back.
        if (result == display::Result::NoExclusiveMode) result = mDevice.TestCooperativeLevel();
        if (attempt > kCooperativePasses) return;
    }
    DebugLog("Restore: Test Cooperative level failed. Calling SetDisplay");
    RebuildDisplay(false);
}

// ---- Frames ----

bool TDxDisplayHandler::BeginDraw(bool checkContext) {
    TDxDisplayState& state = *mState;
    if (!state.hasDevice || state.broken) return false;
    display::Result flip = mDevice.GetFlipStatus();
    if (flip == display::Result::StillDrawing) return false;
    DxCheck(flip, mHost, kUnit, __LINE__);
    if (checkContext && !state.context.HasDevice()) {
        MarkBroken();
        return false;
    }
    if (!OpenScene()) {
        state.frameOpen = false;
        return false;
    }
    ++state.workingCount;
    ApplyViewportInView();
    state.frameOpen = true;
    return true;
}

bool TDxDisplayHandler::OpenScene() {
    display::Result result = mDevice.BeginScene();
    if (result == display::Result::Ok) return true;
    if (result != display::Result::SurfaceLost) {
        DxCheck(result, mHost, kUnit, __LINE__);
        return false;
    }
    DebugLog("TRenderer::BeginDraw: DDERR_SURFACELOST on BeginScene");
    if (mState->inRestore) {
        MarkBroken();
        return false;
    }
    Restore();
    if (mState->broken) return false;
    result = mDevice.BeginScene();
    if (DxCheck(result, mHost, kUnit, __LINE__)) return true;
    MarkBroken();
    return false;
}

void TDxDisplayHandler::EndDraw(bool present) {
    TDxDisplayState& state = *mState;
    if (!state.frameOpen) return;
    state.frameOpen = false;
    if (!state.hasDevice) return;
    display::Result result = mDevice.EndScene();
    if (result == display::Result::SceneEndFailed) {
        MarkBroken();
        return;
    }
    // A render target's own frame copies nothing into the capture.
    if (!state.renderTarget) CaptureFrame();
    if (present && !mHost.IsFrozen() && result == display::Result::Ok) result = state.context.Present();
    if (result == display::Result::Ok) return;
    if (result == display::Result::SurfaceLost) {
        DebugLog("TPlatform::EndDraw: DDERR_SURFACELOST on UpdateFrame or EndScene");
    } else {
        DxCheck(result, mHost, kUnit, __LINE__);
        DebugLog("TPlatform::EndDraw: Unexpected error (see above) on UpdateFrame or EndScene");
    }
    Restore();
}

void TDxDisplayHandler::CaptureFrame() {
    TRenderer& renderer = *TRenderer::GetInstance();
    std::shared_ptr<TTexture> capture = renderer.GetCaptureTexture();
    if (!capture) return;
    renderer.SetCaptureTexture(nullptr);
    if (BeginRenderTarget(capture, kOpaqueTarget)) {
        EndRenderTarget();
        return;
    }
    // Tried again after the next frame.
    renderer.SetCaptureTexture(capture);
}

// ---- Render targets ----

display::SurfaceId TDxDisplayHandler::SurfaceOf(const TTexture& texture) const {
    return mTextureSurface ? mTextureSurface(texture) : display::kNoSurface;
}

bool TDxDisplayHandler::BeginRenderTarget(const std::shared_ptr<TTexture>& texture, int mode) {
    TDxDisplayState& state = *mState;
    if (!state.hasDevice || state.broken || !texture) return false;
    display::SurfaceId surface = SurfaceOf(*texture);
    if (surface == display::kNoSurface) {
        DebugLog("BeginRenderTarget: the texture has no surface to receive the drawing");
        return false;
    }
    state.renderTargetMode = mode;
    state.renderTarget = texture;
    while (mDevice.GetFlipStatus() == display::Result::StillDrawing) mHost.Sleep(1);
    mHost.SetViewScale(1.0f);
    TRect target(0, 0, texture->GetWidth(), texture->GetHeight());
    PushViewport(target);
    state.target = target;
    mHost.Invalidate();
    TRect onScreen;
    onScreen.Intersect(target, state.screen);
    if (mode == kOverTarget || mode == kOverTargetToo) {
        DxCheck(mDevice.Copy(surface, ToDisplay(onScreen), display::kBackBuffer, ToDisplay(onScreen)), mHost, kUnit,
                __LINE__);
    } else if (mode == kAlphaMaskTarget) {
        FillOnScreen(target, TColor4f(0, 0, 0, 0));
    }
    if (BeginDraw(false)) {
        // The target's alpha is written, blended source-over.
        ApplyStates([](display::DrawStates&) {});
        return true;
    }
    state.renderTarget.reset();
    state.renderTargetMode = -1;
    PopViewport();
    state.target = state.screen;
    mHost.RestoreViewScale();
    return false;
}

void TDxDisplayHandler::EndRenderTarget() {
    TDxDisplayState& state = *mState;
    mHost.RestoreViewScale();
    if (!state.renderTarget) return;
    EndDraw(false);
    PopViewport();
    TRect target = state.target;
    state.target = state.screen;
    display::Rect copy{0, 0, std::min(target.right, Width(state.screen)), std::min(target.bottom, Height(state.screen))};
    std::shared_ptr<TTexture> texture = std::move(state.renderTarget);
    int mode = state.renderTargetMode;
    state.renderTargetMode = -1;
    ApplyStates([](display::DrawStates&) {});
    if (copy.Width() > 0 && copy.Height() > 0 && state.hasDevice) EndTarget(*texture, mode, copy);
}

void TDxDisplayHandler::EndTarget(const TTexture& texture, int mode, const display::Rect& copy) {
    bool alpha = texture.GetTextureData()->HasOption(TTextureData::kAlpha);
    if (mode == kAlphaMaskTarget) {
        if (alpha) MaskAlpha(texture, copy);
        return;
    }
    display::Result copied = mDevice.Copy(display::kBackBuffer, copy, SurfaceOf(texture), copy);
    if (!DxCheck(copied, mHost, kUnit, __LINE__)) return;
    if (mode != kAlphaTarget && alpha) MakeOpaque(texture);
}

void TDxDisplayHandler::MaskAlpha(const TTexture& texture, const display::Rect& copy) {
    std::vector<uint32_t> screen(static_cast<size_t>(copy.Width()) * copy.Height());
    if (!DxCheck(mDevice.ReadPixels(display::kBackBuffer, copy, screen.data()), mHost, kUnit, __LINE__)) return;
    uint32_t* pixels = nullptr;
    int pitch = 0;
    TTextureData& data = *texture.GetTextureData();
    if (!data.Lock(pixels, pitch)) return;
    for (int y = 0; y < copy.Height(); ++y) {
        uint32_t* row = pixels + static_cast<size_t>(y) * pitch;
        const uint32_t* drawn = &screen[static_cast<size_t>(y) * copy.Width()];
        for (int x = 0; x < copy.Width(); ++x) row[x] = (row[x] & 0x00FFFFFFu) | (drawn[x] >> 16 & 0xFF) << 24;
    }
    data.Unlock();
}

void TDxDisplayHandler::MakeOpaque(const TTexture& texture) {
    uint32_t* pixels = nullptr;
    int pitch = 0;
    TTextureData& data = *texture.GetTextureData();
    if (!data.Lock(pixels, pitch)) return;
    size_t count = static_cast<size_t>(pitch) * data.GetSurfaceHeight();
    for (size_t i = 0; i < count; ++i) pixels[i] |= kOpaque;
    data.Unlock();
}

void TDxDisplayHandler::CalibratePixelOffset() {
    TDxDisplayState& state = *mState;
    TRenderer& renderer = *TRenderer::GetInstance();
    // The measure draws through the renderer, which must be idle on this display.
    if (state.calibrated || !state.hasDevice || state.broken || renderer.GetBackEnd() != this ||
        renderer.IsDrawing()) {
        return;
    }
    state.calibrated = true;
    std::shared_ptr<TTexture> probe = TTexture::Create(kProbeSide, kProbeSide, false);
    std::shared_ptr<TTexture> cells = TTexture::Create(kCellsWidth, kCellsHeight, true);
    if (probe && cells && DrawCalibrationCells(*probe, cells)) {
        state.pixelOffset = FirstPassingOffset(*cells);
    } else {
        DebugLog("CalibratePixelOffset: no measure; the pixel offset stays %f", static_cast<double>(state.pixelOffset));
    }
    TRect screen = GetScreenRect();
    renderer.PushViewRect(screen);
    renderer.FillRect(screen, TColor4f(0, 0, 0, 1));
    renderer.PopViewRect();
}

bool TDxDisplayHandler::DrawCalibrationCells(TTexture& probe, const std::shared_ptr<TTexture>& cells) {
    // White with black corners at (0, 0) and (15, 15).
    FillTexture(TRect(0, 0, kProbeSide, kProbeSide), TColor4f(1, 1, 1, 1), probe);
    uint32_t* pixels = nullptr;
    int pitch = 0;
    if (!probe.GetTextureData()->Lock(pixels, pitch)) return false;
    pixels[0] = kOpaque;
    pixels[(kProbeSide - 1) * pitch + kProbeSide - 1] = kOpaque;
    probe.GetTextureData()->Unlock();

    TRenderer& renderer = *TRenderer::GetInstance();
    std::shared_ptr<TTexture> previous = renderer.GetTexture();
    if (!renderer.BeginRenderTarget(cells, kOpaqueTarget)) return false;
    // Mode 0 starts from the back buffer: the red goes where the cells are drawn.
    renderer.FillRect(kCellsBackground, TColor4f(1, 0, 0, 1), cells);
    {
        TBegin2dScope block(renderer);
        renderer.SetFilterMode(0);
        const float half = kProbeSide / 2.0f;
        for (int i = 0; i < kCandidates; ++i) {
            mState->pixelOffset = Candidate(i);
            TPoint cell = Cell(i);
            probe.DrawAt(static_cast<float>(cell.x) + half, static_cast<float>(cell.y) + half, 1, 1, 0, 0);
        }
        renderer.SetFilterMode(1);
    }
    renderer.EndRenderTarget();
    renderer.SetTexture(previous);
    return true;
}

float TDxDisplayHandler::FirstPassingOffset(TTexture& cells) {
    uint32_t* pixels = nullptr;
    int pitch = 0;
    if (!cells.GetTextureData()->Lock(pixels, pitch)) return kFirstCandidate;
    auto black = [&](int x, int y) { return (pixels[static_cast<size_t>(y) * pitch + x] & 0x00FFFFFFu) == 0; };
    float offset = kFirstCandidate;
    for (int i = 0; i < kCandidates; ++i) {
        TPoint cell = Cell(i);
        if (black(cell.x, cell.y) && black(cell.x + kProbeSide - 1, cell.y + kProbeSide - 1)) {
            offset = Candidate(i);
            break;
        }
    }
    cells.GetTextureData()->Unlock();
    return offset;
}

bool TDxDisplayHandler::IsFrameDone() const {
    return mDevice.GetFlipStatus() != display::Result::StillDrawing;
}

void TDxDisplayHandler::Deactivated() {
    // An inactive OpenGL window keeps its surfaces: nothing is lost here.
}

// ---- Device states ----

void TDxDisplayHandler::ApplyStates(const std::function<void(display::DrawStates&)>& change) {
    display::DrawStates states = mDevice.GetStates();
    change(states);
    states.alphaSourceOver = mState->renderTarget != nullptr;
    mDevice.SetStates(states);
}

TBlendSetup TDxDisplayHandler::BlendSetup() const {
    const TDxDisplayState& state = *mState;
    return {state.renderTargetMode == kAlphaMaskTarget, state.textured, state.newSubtractive, state.newRenderBlend};
}

void TDxDisplayHandler::ResetWorldAndView() {
    mDevice.SetTransform(display::Transform::World, display::Matrix());
    mDevice.SetTransform(display::Transform::View, display::Matrix());
}

bool TDxDisplayHandler::Begin2d() {
    TDxDisplayState& state = *mState;
    state.blendMode = 0;
    state.zEnable = state.zWrite = false;
    ApplyStates([&](display::DrawStates& states) {
        Set2dStates(states);
        SetBlendStates(states, 0, BlendSetup());
    });
    ResetWorldAndView();
    state.in2d = true;
    return true;
}

void TDxDisplayHandler::End2d() {
    ResetWorldAndView();
    mState->in2d = false;
}

bool TDxDisplayHandler::Begin3d() {
    TDxDisplayState& state = *mState;
    state.blendMode = 0;
    state.zEnable = state.zWrite = true;
    state.in2d = false;
    ApplyStates([&](display::DrawStates& states) {
        Set3dStates(states, !state.noSpecularGouraud);
        SetBlendStates(states, 0, BlendSetup());
    });
    return true;
}

void TDxDisplayHandler::End3d() {
    // The next block installs its own states.
}

void TDxDisplayHandler::SetBlendMode(int mode) {
    mState->blendMode = mode;
    ApplyStates([&](display::DrawStates& states) { SetBlendStates(states, mode, BlendSetup()); });
}

void TDxDisplayHandler::SetFilterMode(int mode) {
    ApplyStates([&](display::DrawStates& states) { SetFilterStates(states, mode); });
}

void TDxDisplayHandler::SetAddressMode(int uKind, int vKind) {
    ApplyStates([&](display::DrawStates& states) {
        states.addressU = AddressOf(uKind);
        states.addressV = AddressOf(vKind);
    });
}

void TDxDisplayHandler::SetCullMode(int kind) {
    ApplyStates([&](display::DrawStates& states) { states.cull = CullOf(kind); });
}

void TDxDisplayHandler::SetZEnable(bool on) {
    mState->zEnable = on;
    ApplyStates([&](display::DrawStates& states) { states.zEnable = on; });
}

void TDxDisplayHandler::SetZWrite(bool on) {
    mState->zWrite = on;
    ApplyStates([&](display::DrawStates& states) { states.zWrite = on; });
}

void TDxDisplayHandler::SetShadeMode(int kind) {
    ApplyStates([&](display::DrawStates& states) { states.gouraud = kind == 2; });
}

void TDxDisplayHandler::SetTexture(const std::shared_ptr<TTexture>& texture) {
    if (!IsDeviceReady()) return;
    display::SurfaceId surface = texture && mTextureSurface ? mTextureSurface(*texture) : display::kNoSurface;
    mDevice.SetTexture(surface);
    mState->textured = surface != display::kNoSurface;
    int mode = mState->blendMode;
    ApplyStates([&](display::DrawStates& states) { SetStageStates(states, mode, BlendSetup()); });
}

void TDxDisplayHandler::DrawVertices(int primitiveType, const TVertexSet& vertices) {
    if (!PrepareDraw("DrawVertices", primitiveType)) return;
    display::Result result = mDevice.Draw(static_cast<display::Primitive>(primitiveType),
                                          VertexKindOf(vertices.GetKind()), DeviceVertices(vertices),
                                          vertices.GetCount());
    ReportDrawResult(result, true);
}

void TDxDisplayHandler::DrawIndexedVertices(int primitiveType, const TVertexSet& vertices, const uint16_t* indices,
                                            int indexCount) {
    if (!PrepareDraw("DrawIndexedVertices", primitiveType)) return;
    display::Result result =
        mDevice.DrawIndexed(static_cast<display::Primitive>(primitiveType), VertexKindOf(vertices.GetKind()),
                            DeviceVertices(vertices), vertices.GetCount(), indices, indexCount);
    ReportDrawResult(result, false);
}

bool TDxDisplayHandler::PrepareDraw(const char* caller, int primitiveType) {
    if (!IsPrimitive(primitiveType)) {
        DebugLog("%s: unknown primitive type %d", caller, primitiveType);
        return false;
    }
    // An empty view rectangle shows nothing; the device would refuse it and
    // keep drawing into the last viewport it took.
    if (IsViewEmpty()) return false;
    // Inside a 2D block the projection follows the viewport, view rectangle
    // and pixel offset as they are at each draw.
    const TDxDisplayState& state = *mState;
    display::Matrix projection;
    if (state.in2d && Projection2d(state.viewport, state.screen, state.view, state.pixelOffset, projection)) {
        ApplyProjection(projection);
    }
    return true;
}

void TDxDisplayHandler::ReportDrawResult(display::Result result, bool markBroken) {
    if (result == display::Result::Ok) return;
    if (result == display::Result::OutOfVideoMemory) {
        DebugLog("DrawVertices out of video memory");
        OnOutOfVideoMemory();
        return;
    }
    DxCheck(result, mHost, kUnit, __LINE__);
    if (markBroken) MarkBroken();
}

void TDxDisplayHandler::OnRenderHint(const TString& key, const TString& value) {
    bool on = value.ToInt() > 0;
    TDxDisplayState& state = *mState;
    if (key == "antialias") {
        state.antialias = on;
        if (state.hasDevice) ApplyStates([on](display::DrawStates& states) { states.antialias = on; });
    } else if (key == "hint_antialias") {
        state.hintAntialias = on;
    } else if (key == "new_subtractive") {
        state.newSubtractive = on;
    } else if (key == "new_render_blend") {
        state.newRenderBlend = on;
    }
}

// ---- Viewports and projections ----

TRect TDxDisplayHandler::GetScreenRect() const {
    TRect rect;
    rect.Intersect(mState->viewport, mState->screen);
    return rect;
}

display::Result TDxDisplayHandler::ApplyViewport(const TRect& rect) {
    const TDxDisplayState& state = *mState;
    return mDevice.SetViewport(
        DeviceViewport(rect, Width(state.screen), Height(state.screen), mHost.IsEmbedded(), mHost.GetViewScale()));
}

display::Result TDxDisplayHandler::ApplyViewportInView() {
    TRect inView;
    inView.Intersect(mState->viewport, mState->view);
    return ApplyViewport(inView);
}

void TDxDisplayHandler::SetViewport(const TRect& rect) {
    TDxDisplayState& state = *mState;
    if (!state.hasDevice) return;
    TRect previous = state.viewport;
    state.viewport = rect;
    display::Result result = ApplyViewportInView();
    if (!DxCheck(result, mHost, kUnit, __LINE__)) {
        DebugLog("Bad viewport: %d, %d, %d, %d", rect.left, rect.top, rect.right, rect.bottom);
        state.viewport = previous;
    }
}

void TDxDisplayHandler::PushViewport(const TRect& rect) {
    mState->viewportStack.push_back(mState->viewport);
    SetViewport(rect);
}

void TDxDisplayHandler::PopViewport() {
    TDxDisplayState& state = *mState;
    if (state.viewportStack.empty()) {
        DebugLog("PopViewport: no viewport was pushed");
        return;
    }
    state.viewport = state.viewportStack.back();
    state.viewportStack.pop_back();
    if (state.hasDevice) DxCheck(ApplyViewport(state.viewport), mHost, kUnit, __LINE__);
}

bool TDxDisplayHandler::IsViewEmpty() const {
    TRect inView;
    inView.Intersect(mState->viewport, mState->view);
    return Width(inView) <= 0 || Height(inView) <= 0;
}

void TDxDisplayHandler::SetViewRect(const TRect& rect) {
    mState->view = rect;
    if (mState->hasDevice && !IsViewEmpty()) DxCheck(ApplyViewportInView(), mHost, kUnit, __LINE__);
}

void TDxDisplayHandler::ApplyProjection(const display::Matrix& matrix) {
    // An unchanged matrix is not sent: the device would end its batch.
    if (matrix == mState->projection) return;
    mState->projection = matrix;
    mDevice.SetTransform(display::Transform::Projection, matrix);
}

void TDxDisplayHandler::SetPerspective(float nearPlane, float farPlane, float fov, float aspect) {
    TDxDisplayState& state = *mState;
    state.nearPlane = nearPlane;
    state.farPlane = farPlane;
    display::Matrix matrix;
    if (!ProjectionPerspective(state.viewport, state.screen, state.view, nearPlane, farPlane, fov, aspect, matrix)) {
        DebugLog("SetPerspective: nothing of the viewport is visible; the projection is kept");
        return;
    }
    ApplyProjection(matrix);
}

bool TDxDisplayHandler::FillRect(const TRect& rect, const TColor4f& color, const std::shared_ptr<TTexture>& target) {
    if (target && target == mState->renderTarget) return FillOpenTarget(rect, color);
    if (target) return FillTexture(rect, color, *target);
    if (TRenderer::GetInstance()->IsDrawing()) {
        FillThroughRenderer(rect, color);
    } else {
        FillOnScreen(rect, color);
    }
    return true;
}

bool TDxDisplayHandler::FillTexture(const TRect& rect, const TColor4f& color, const TTexture& texture) {
    TRect clipped;
    clipped.Intersect(rect, TRect(0, 0, texture.GetWidth(), texture.GetHeight()));
    if (Width(clipped) <= 0 || Height(clipped) <= 0) return true;
    display::SurfaceId surface = SurfaceOf(texture);
    if (surface == display::kNoSurface) return false;
    return DxCheck(mDevice.ColorFill(surface, ToDisplay(clipped), TColor(color).ARGB()), mHost, kUnit, __LINE__);
}

bool TDxDisplayHandler::FillOpenTarget(const TRect& rect, const TColor4f& color) {
    TRect inTarget;
    inTarget.Intersect(rect, mState->target);
    TRect clipped;
    clipped.Intersect(inTarget, mState->screen);
    if (Width(clipped) <= 0 || Height(clipped) <= 0) return true;
    // Replaces the pixels, alpha included.
    return DxCheck(mDevice.ColorFill(display::kBackBuffer, ToDisplay(clipped), TColor(color).ARGB()), mHost, kUnit,
                   __LINE__);
}

void TDxDisplayHandler::FillThroughRenderer(const TRect& rect, const TColor4f& color) {
    TRenderer& renderer = *TRenderer::GetInstance();
    bool was3d = renderer.InBegin3d();
    if (was3d) renderer.End3d();
    bool began2d = !renderer.InBegin2d() && renderer.Begin2d();
    std::shared_ptr<TTexture> texture = renderer.GetTexture();
    renderer.SetTexture(nullptr);
    renderer.SetBlendMode(0);

    // Drawing coordinates start at the viewport's corner.
    float left = static_cast<float>(rect.left - mState->viewport.left);
    float top = static_cast<float>(rect.top - mState->viewport.top);
    float right = static_cast<float>(rect.right - mState->viewport.left);
    float bottom = static_cast<float>(rect.bottom - mState->viewport.top);
    float alpha = mState->renderTargetMode == kAlphaMaskTarget ? color.a : 1.0f;
    uint32_t diffuse = TColor(TColor4f(color.r, color.g, color.b, alpha)).ARGB();
    TRenderVertex fan[4];
    const float corners[4][2] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    for (int i = 0; i < 4; ++i) {
        fan[i].x = corners[i][0];
        fan[i].y = corners[i][1];
        fan[i].diffuse = diffuse;
    }
    TVertexSet vertices;
    vertices.Init2d(fan, 4);
    renderer.DrawVertices(TRenderer::kTriangleFan, vertices);

    renderer.SetTexture(texture);
    if (began2d) renderer.End2d();
    if (was3d) renderer.Begin3d();
}

void TDxDisplayHandler::FillOnScreen(const TRect& rect, const TColor4f& color) {
    const TDxDisplayState& state = *mState;
    if (!state.hasDevice) return;
    TRect onScreen;
    onScreen.Intersect(state.screen, state.view);
    TRect clipped;
    clipped.Intersect(rect, onScreen);
    if (Width(clipped) <= 0 || Height(clipped) <= 0) return;
    display::Rect fill{clipped.left, clipped.top, clipped.right, clipped.bottom};
    float scale = mHost.GetViewScale();
    if (mHost.IsEmbedded() && state.renderTargetMode < 0 && scale > 0 && std::isfinite(scale)) {
        auto scaled = [scale](int value) { return static_cast<int>(std::lround(value * scale)); };
        fill = {scaled(fill.left), scaled(fill.top), std::min(scaled(fill.right), scaled(Width(state.screen))),
                std::min(scaled(fill.bottom), scaled(Height(state.screen)))};
    }
    DxCheck(mDevice.ColorFill(display::kBackBuffer, fill, TColor(color).ARGB()), mHost, kUnit, __LINE__);
}

// ---- Mouse cursor ----

bool TDxDisplayHandler::GetMousePosition(TPoint& position) const {
    position = mState->context.GetMousePosition();
    return mState->context.IsMouseInside();
}

void TDxDisplayHandler::MouseMoved() {
    mState->context.MouseMoved();
}

void TDxDisplayHandler::MouseLeft() {
    mState->context.MouseLeft();
}

void TDxDisplayHandler::ShowMouseCursor(bool show) {
    mState->context.ShowMouseCursor(show);
}

void TDxDisplayHandler::SetMouseImage(const std::shared_ptr<TTexture>& image, int hotX, int hotY, int flags) {
    mState->context.SetMouseImage(image, hotX, hotY, flags);
}

void TDxDisplayHandler::UpdateSystemCursor() {
    // The window system keeps the cursor it was last given; there is no
    // class cursor to set again.
}

void TDxDisplayHandler::UpdateWindowRect() {
    mState->context.GetDisplay().UpdateBounds();
}

TPoint TDxDisplayHandler::GetWindowOrigin() {
    return mState->context.GetDisplay().GetWindowOrigin();
}
