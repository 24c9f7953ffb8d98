#include "graphics/display/ddutil.h"

#include "foundation/debuglog.h"

namespace {

constexpr uint32_t kSixteenMegabytes = 0x1000000;
constexpr int kPresentTries = 100;

}  // namespace

bool DxCheck(display::Result result, TDisplayHost& host, const char* unit, int line) {
    if (result == display::Result::Ok) return true;
    if (result == display::Result::OutOfVideoMemory) host.OutOfVideoMemory();
    DebugLog("DX Error: %s (0x%x), File %s, Line %d", "", display::ResultCode(result), unit, line);
    return false;
}

CDisplay::~CDisplay() {
    DestroyObjects();
}

display::Result CDisplay::CreateFullScreenDisplay(SDL_Window* window, int width, int height, int bitsPerPixel,
                                                  uint32_t attempt) {
    // Each adapter in turn, from the one the attempt word names, until one works.
    for (int index = static_cast<int>(attempt >> 16);; ++index) {
        DestroyObjects();
        if (!mDevice.SelectAdapter(index)) {
            DebugLog("Failed to create a DirectDraw device after trying all GUIDs");
            if (!mCreatedOnce) {
                mHost.MessageBox("Sorry, but this product isn't compatible with your display. Try using a different "
                                 "display, if you have the option.",
                                 "Error", TMessageBoxIcon::kError);
            }
            return display::Result::Failed;
        }
        if (TryFullScreen(window, width, height, bitsPerPixel, attempt & 0xFFFF) == display::Result::Ok) {
            return display::Result::Ok;
        }
    }
}

display::Result CDisplay::TryFullScreen(SDL_Window* window, int width, int height, int bitsPerPixel,
                                        uint32_t flags) {
    if (mDevice.GetDisplayCaps().videoMemoryTotal < kSixteenMegabytes && bitsPerPixel > 16) bitsPerPixel = 16;
    display::Result result = mDevice.SetDisplayMode(width, height, ChooseDepth(width, height, bitsPerPixel));
    if (result != display::Result::Ok) {
        DebugLog("Failed to create screen at %d bpp.", bitsPerPixel);
        DxCheck(result, mHost, kDdutilUnit, __LINE__);
        return result;
    }
    DebugLog("Created screen at %d bpp.", bitsPerPixel);
    display::ScreenSetup setup{window, width, height, true, (flags & kDisplayFlagAntialias) != 0, false};
    result = CreateFrontBuffer(setup);
    if (!DxCheck(result, mHost, kDdutilUnit, __LINE__)) return result;
    Finish(window, false);
    return display::Result::Ok;
}

int CDisplay::ChooseDepth(int width, int height, int bitsPerPixel) {
    int found = 0;
    for (int depth : mDevice.GetModeDepths(width, height)) {
        if (depth <= 14) continue;
        if (depth == bitsPerPixel) return depth;
        if (found == 0 || depth == 16) found = depth;
    }
    return found ? found : bitsPerPixel;
}

display::Result CDisplay::CreateFrontBuffer(const display::ScreenSetup& setup) {
    display::Result result = mDevice.CreateScreen(setup);
    if (result == display::Result::Ok) return result;
    DebugLog("FAILED to create front buffer with DDSCAPS2_ENABLEALPHACHANNEL");
    display::ScreenSetup plain = setup;
    plain.antialias = false;
    return mDevice.CreateScreen(plain);
}

display::Result CDisplay::CreateWindowedDisplay(SDL_Window* window, int width, int height, uint32_t flags) {
    DestroyObjects();
    if (!mDevice.SelectAdapter(0)) return display::Result::Failed;
    display::ScreenSetup setup{window, width, height, false, (flags & kDisplayFlagAntialias) != 0,
                               (flags & kDisplayFlagPlaced) != 0};
    display::Result result = mDevice.CreateScreen(setup);
    if (!DxCheck(result, mHost, kDdutilUnit, __LINE__)) return result;
    Finish(window, true);
    return display::Result::Ok;
}

void CDisplay::Finish(SDL_Window* window, bool windowed) {
    mWindow = window;
    mWindowed = windowed;
    mHasScreen = true;
    mCreatedOnce = true;
    UpdateBounds();
}

display::Result CDisplay::Present() {
    if (!mHasScreen) return display::Result::NoObject;
    display::Result result = mDevice.Present();
    // A device that keeps answering "still drawing" is given up on.
    for (int tries = 1; result == display::Result::StillDrawing && tries < kPresentTries; ++tries) {
        mHost.Sleep(1);
        result = mDevice.Present();
    }
    if (result == display::Result::SurfaceLost) mDevice.RestoreSurface(display::kBackBuffer);
    return result;
}

void CDisplay::UpdateBounds() {
    if (mWindowed) {
        display::Rect bounds = mDevice.GetWindowBounds();
        mBounds = TRect(bounds.left, bounds.top, bounds.right, bounds.bottom);
    } else {
        display::DesktopMode desktop = mDevice.GetDesktopMode();
        mBounds = TRect(0, 0, desktop.width, desktop.height);
    }
}

TPoint CDisplay::GetWindowOrigin() {
    UpdateBounds();
    return TPoint(mBounds.left, mBounds.top);
}

display::Result CDisplay::CreateSurface(std::unique_ptr<CDisplaySurface>* surface, int width, int height,
                                        const display::Format* format, const display::SurfaceKind* kind) {
    if (!mHasScreen) return display::Result::NoObject;
    if (!surface) return display::Result::InvalidArgument;
    display::SurfaceDesc desc;
    mDevice.GetSurfaceDesc(display::kBackBuffer, desc);
    desc = {width, height, format ? *format : desc.format, kind ? *kind : display::SurfaceKind::Simple, false};
    display::SurfaceId id = display::kNoSurface;
    display::Result result = mDevice.CreateSurface(desc, id);
    if (result == display::Result::Ok) *surface = std::make_unique<CDisplaySurface>(mDevice, id, desc);
    return result;
}

int CDisplay::DestroyObjects() {
    if (mHasScreen) mDevice.DestroyScreen();
    mHasScreen = false;
    return 0;
}
