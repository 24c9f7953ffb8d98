#include "graphics/display/directx.h"

#include <cmath>
#include <string>
#include <vector>

#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "graphics/texture.h"

namespace {

constexpr uint32_t kMinimumTextureSide = 1024;
constexpr int kLowColorLimit = 16;
constexpr uint32_t kOpaque = 0xFF000000u;

// Magenta within a tolerance is left out; every other pixel is opaque.
uint32_t ColorKeyRule(uint32_t argb) {
    uint32_t red = argb >> 16 & 255, green = argb >> 8 & 255, blue = argb & 255;
    return red >= 248 && blue >= 248 && green == 0 ? 0 : argb | kOpaque;
}

uint32_t AlphaRule(uint32_t argb) {
    return argb >> 24 ? argb | kOpaque : 0;
}

uint32_t AsItIs(uint32_t argb) {
    return argb;
}

// Set while the images are being restored, across contexts.
bool gRestoringMouseImage = false;

// Bytes as two upper-case hexadecimal digits each.
template <typename Record>
TString HexDump(const Record& record) {
    static const char digits[] = "0123456789ABCDEF";
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&record);
    TString text;
    for (size_t i = 0; i < sizeof(Record); ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

}  // namespace

TDXContext::TDXContext(display::Device& device, TDisplayHost& host)
    : mDevice(device), mHost(host), mDisplay(device, host) {
    UpdateDesktopMode();
}

TDXContext::~TDXContext() {
    // A list that let the task go has deleted it.
    if (mListener && mHost.RemoveRestoreTask(mListener)) delete mListener;
    Release();
}

bool MouseTextureListener::DoTask() {
    mContext.RestoreMouseImage();
    return true;
}

void TDXContext::UpdateDesktopMode() {
    mDesktop = mDevice.GetDesktopMode();
}

float TDXContext::ViewScale() const {
    float scale = mHost.GetViewScale();
    return scale > 0 && std::isfinite(scale) ? scale : 1.0f;
}

bool TDXContext::Create(SDL_Window* window, bool fullScreen, int width, int height, int depth, uint32_t flags) {
    if (mHost.IsEmbedded()) fullScreen = false;
    Release();
    UpdateDesktopMode();
    if (!PassesDesktopGate(fullScreen, width, height)) return false;
    if (!CreateScreen(window, fullScreen, width, height, depth, flags)) return false;

    display::DisplayCaps displayCaps = mDevice.GetDisplayCaps();
    display::DeviceDesc desc = mDevice.GetDeviceDesc();
    if (!CheckDevice(desc)) {
        Release();
        return false;
    }
    mCanWaitForVerticalBlank = displayCaps.canWaitVerticalBlank != 0;
    mDevice.SetVSync(mVSync);
    mHasDevice = true;
    RecordIdentifier();
    DebugLog("DDCAPS: %s\n", HexDump(displayCaps).c_str());
    DebugLog("D3DDESC: %s\n", HexDump(desc).c_str());
    return true;
}

bool TDXContext::PassesDesktopGate(bool fullScreen, int width, int height) {
    bool fits = width < mDesktop.width && height < mDesktop.height;
    if (!mHost.IsEmbedded() && !fullScreen && !fits) return false;
    if (IsPaletteDesktop()) {
        if (mDesktop.colorCount <= kLowColorLimit) {
            mTooFewColors = true;
            return false;
        }
        if (!fullScreen) return false;
    }
    return true;
}

bool TDXContext::CreateScreen(SDL_Window* window, bool fullScreen, int width, int height, int depth,
                              uint32_t flags) {
    display::Result result;
    if (fullScreen) {
        result = mDisplay.CreateFullScreenDisplay(window, width, height, depth, flags & 0xFFFF);
    } else if (mWindowShortOfVideoMemory) {
        return false;
    } else {
        if (mHost.IsEmbedded()) {
            width = static_cast<int>(width * ViewScale());
            height = static_cast<int>(height * ViewScale());
        }
        result = mDisplay.CreateWindowedDisplay(window, width, height, flags);
        if (result == display::Result::OutOfVideoMemory) mWindowShortOfVideoMemory = true;
    }
    return DxCheck(result, mHost, kDirectxUnit, __LINE__);
}

bool TDXContext::CheckDevice(const display::DeviceDesc& desc) {
    if (!desc.hardwareRasterization && !mHost.IsEmbedded()) {
        DebugLog("TDXContext::Create failed! Could not find a hardware renderer.");
        return false;
    }
    if (desc.maxTextureWidth < kMinimumTextureSide || desc.maxTextureHeight < kMinimumTextureSide) {
        DebugLog("TDXContext::Create - context does not support 1024x1024 textures! Failing!");
        return false;
    }
    return true;
}

void TDXContext::RecordIdentifier() {
    display::Identifier id = mDevice.GetIdentifier();
    // Driver texts are arguments only, never part of the format.
    TString text = TString::Format(
        "Device identifier:  \n  Driver: '%s'\n  Description: '%s'\n  Version: %x:%x\n  Vendor ID: %x (%d)\n"
        "  Device ID: %x (%d)\n  SubSys:  : %x (%d)\n  Revision:  %x (%d)\n  GUID:      %x:%x:%x:%x\n",
        id.driver.c_str(), id.description.c_str(), id.versionHigh, id.versionLow, id.vendorId, id.vendorId,
        id.deviceId, id.deviceId, id.subSysId, id.subSysId, id.revision, id.revision, id.guid[0], id.guid[1],
        id.guid[2], id.guid[3]);
    DebugLog("%s", text.c_str());
    mDescription += text;

    const std::string& description = id.description;
    bool brokenIntel = description.find("Intel") != std::string::npos &&
                       (description.find("82810E") != std::string::npos ||
                        description.find("82845") != std::string::npos ||
                        description.find(" 965 ") != std::string::npos);
    if (brokenIntel) SetSetting("brokenindexedverts", "1");
}

void TDXContext::Release() {
    mDisplay.DestroyObjects();
    mHasDevice = false;
}

display::Result TDXContext::Present() {
    return mDisplay.Present();
}

void TDXContext::SetVSync(bool on) {
    mVSync = on;
    if (mHasDevice) mDevice.SetVSync(on);
}

TPoint TDXContext::DisplayToScreen(const TPoint& point) const {
    float scale = ViewScale();
    return TPoint(static_cast<int>(std::lround(point.x * scale)), static_cast<int>(std::lround(point.y * scale)));
}

TPoint TDXContext::ScreenToDisplay(const TPoint& point) const {
    float scale = ViewScale();
    return TPoint(static_cast<int>(point.x / scale), static_cast<int>(point.y / scale));
}

void TDXContext::SetMouseImage(const std::shared_ptr<TTexture>& image, int hotX, int hotY, int flags) {
    if (!mHasDevice) return;
    bool system = flags != 0;
    TCursorImage cursor{image, TPoint(hotX, hotY)};
    if (system && GetSetting("activex", "") == "1") {
        mHardwareCursor = image != nullptr;
        ShowCursor(cursor, AsItIs);
        return;
    }
    (system ? mSystemCursor : mCustomCursor) = cursor;
    if (image && !mListener) {
        mListener = new MouseTextureListener(*this);
        mHost.AddRestoreTask(mListener);
    }
    ShowCursor(cursor, system ? AlphaRule : ColorKeyRule);
}

void TDXContext::ShowCursor(const TCursorImage& cursor, uint32_t (*rule)(uint32_t)) {
    uint32_t* pixels = nullptr;
    int pitch = 0;
    TTextureData* data = cursor.image ? cursor.image->GetTextureData() : nullptr;
    if (!data || !data->Lock(pixels, pitch)) {
        mHost.SetColorCursor(nullptr, 0, 0, 0, 0);
        return;
    }
    // The image's own size, whatever the surface around it.
    int width = cursor.image->GetWidth(), height = cursor.image->GetHeight();
    std::vector<uint32_t> converted(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            converted[static_cast<size_t>(y) * width + x] = rule(pixels[static_cast<size_t>(y) * pitch + x]);
        }
    }
    data->Unlock();
    mHost.SetColorCursor(converted.data(), width, height, cursor.hotSpot.x, cursor.hotSpot.y);
}

void TDXContext::RestoreMouseImage() {
    if (gRestoringMouseImage) {
        DebugLog("Second concurrent call to RestoreMouseImage");
        return;
    }
    // Nothing is drawn over a movie.
    if (mHost.IsFrozen()) return;
    gRestoringMouseImage = true;
    // Copies: setting an image replaces the one kept.
    TCursorImage custom = mCustomCursor, system = mSystemCursor;
    if (!mHardwareCursor) {
        if (custom.image) SetMouseImage(custom.image, custom.hotSpot.x, custom.hotSpot.y, 0);
        if (system.image) SetMouseImage(system.image, system.hotSpot.x, system.hotSpot.y, 1);
    }
    gRestoringMouseImage = false;
}

TPoint TDXContext::GetMousePosition() {
    TPoint cursor = mHost.GetCursorPosition();
    TPoint origin = mDisplay.GetWindowOrigin();
    return ScreenToDisplay(ShownToBackBuffer(TPoint(cursor.x - origin.x, cursor.y - origin.y)));
}

TPoint TDXContext::ShownToBackBuffer(const TPoint& point) const {
    display::Rect shown = mDevice.GetPresentRect();
    display::SurfaceDesc back;
    if (shown.Width() <= 0 || shown.Height() <= 0 || !mDevice.GetSurfaceDesc(display::kBackBuffer, back)) return point;
    return TPoint(static_cast<int>(int64_t(point.x - shown.left) * back.width / shown.Width()),
                  static_cast<int>(int64_t(point.y - shown.top) * back.height / shown.Height()));
}
