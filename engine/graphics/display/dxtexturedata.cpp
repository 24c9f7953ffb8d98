#include "graphics/display/dxtexturedata.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "foundation/debuglog.h"
#include "foundation/file.h"
#include "graphics/display/ddutil.h"
#include "graphics/image/imagesize.h"

namespace {

// Every live surface object, so that a departing owner can be forgotten.
// Never destroyed: an owner may depart during exit(), after every static
// made later than the first surface object is gone.
std::set<TDxTextureData*>& LiveTextureData() {
    static auto* live = new std::set<TDxTextureData*>();
    return *live;
}

// Far above any surface the game asks for, and within the device's int sizes.
constexpr uint32_t kMaxSurfaceSide = 16384;

display::Rect ToDisplay(const TRect& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// The name less anything from its first "?", as it is, or with ".png" or
// ".jpg" added, names an existing file.
bool ImageFileExists(const TString& name) {
    int mark = name.FindChar('?');
    TString file = mark >= 0 ? name.SubString(0, mark) : name;
    return FileExists(file) || FileExists(file + ".png") || FileExists(file + ".jpg");
}

}  // namespace

TDxTextureData::TDxTextureData(TDxTextureOwner& owner) : mOwner(&owner) {
    LiveTextureData().insert(this);
}

TDxTextureData::~TDxTextureData() {
    Release();
    LiveTextureData().erase(this);
}

void TDxTextureData::ForgetOwner(TDxTextureOwner& owner) {
    for (TDxTextureData* data : LiveTextureData()) {
        if (data->mOwner != &owner) continue;
        data->mOwner = nullptr;
        data->mSurface = display::kNoSurface;
    }
}

void TDxTextureData::Release() {
    if (!HasSurface()) return;
    mOwner->GetDevice().ReleaseSurface(mSurface);
    mSurface = display::kNoSurface;
}

bool TDxTextureData::Check(display::Result result, int line) {
    return DxCheck(result, mOwner->GetHost(), kDxTextureDataUnit, line);
}

bool TDxTextureData::CreateSurface(uint32_t width, uint32_t height, bool clear) {
    Release();
    if (!mOwner) {
        DebugLog("TDxTextureData::CreateSurface: the display is gone");
        return false;
    }
    if (width == 0 || height == 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) {
        DebugLog("TDxTextureData::CreateSurface: no surface of %ux%u pixels", width, height);
        return false;
    }
    mWidth = width;
    mHeight = height;
    mBorderX = mBorderY = 0;
    mSurfaceWidth = width;
    mSurfaceHeight = height;
    if (!HasOption(kSimple) && mOwner->IsSquareTexturesOnly() && width != height) {
        uint32_t side = std::max({NextPowerOfTwo(width), NextPowerOfTwo(height), 2u});
        mBorderX = (side - width) / 2;
        mBorderY = (side - height) / 2;
        mSurfaceWidth = mSurfaceHeight = side;
    }
    display::Result result = Create(Describe(mSurfaceWidth, mSurfaceHeight));
    if (result == display::Result::Ok) {
        if (clear) Clear();
        return true;
    }
    // Restore makes the surface once the device is back.
    if (result == display::Result::UnsupportedMode || !mOwner->IsDeviceReady()) return true;
    Check(result, __LINE__);
    return false;
}

display::SurfaceDesc TDxTextureData::Describe(uint32_t width, uint32_t height) const {
    display::SurfaceDesc desc;
    desc.width = static_cast<int>(width);
    desc.height = static_cast<int>(height);
    bool alpha = HasOption(kAlpha);
    if (mOwner->IsLowMemoryVideo()) {
        desc.format = alpha ? display::Format::A4R4G4B4 : display::Format::R5G6B5;
    } else {
        desc.format = alpha ? display::Format::A8R8G8B8 : display::Format::X8R8G8B8;
    }
    if (HasOption(kRenderTarget)) {
        desc.kind = display::SurfaceKind::RenderTarget;
    } else if (HasOption(kSimple)) {
        desc.kind = display::SurfaceKind::Simple;
    } else {
        desc.kind = display::SurfaceKind::Texture;
        desc.mipmaps = HasOption(kMipmap);
    }
    return desc;
}

display::Result TDxTextureData::Create(const display::SurfaceDesc& desc) {
    if (desc.kind == display::SurfaceKind::RenderTarget) CheckVideoMemory(desc);
    display::Device& device = mOwner->GetDevice();
    display::Result result = device.CreateSurface(desc, mSurface);
    if (result != display::Result::Ok) return result;
    display::SurfaceDesc made;
    if (device.GetSurfaceDesc(mSurface, made)) {
        mSurfaceWidth = static_cast<uint32_t>(made.width);
        mSurfaceHeight = static_cast<uint32_t>(made.height);
    }
    return result;
}

// A 32-bit display that cannot hold the surface switches to low-memory video.
void TDxTextureData::CheckVideoMemory(const display::SurfaceDesc& desc) {
    uint32_t free = mOwner->GetDevice().GetDisplayCaps().videoMemoryFree;
    uint64_t needed = 32ull * static_cast<uint32_t>(desc.width) * static_cast<uint32_t>(desc.height) / 8;
    if (free == 0xFFFFFFFFu || free > needed || mOwner->IsLowMemoryVideo()) return;
    DebugLog("TDxTextureData::CreateSurface: Out of Memory in 32 bit mode. Tagging to restart.");
    mOwner->GetHost().OutOfVideoMemory();
}

bool TDxTextureData::Upload(int pitch, int rows, const uint32_t* pixels) {
    if (!HasSurface()) return false;
    return Check(mOwner->GetDevice().Upload(mSurface, pixels, pitch, rows), __LINE__);
}

bool TDxTextureData::Lock(uint32_t*& pixels, int& pitch) {
    if (!HasSurface()) return false;
    return Check(mOwner->GetDevice().Lock(mSurface, pixels, pitch), __LINE__);
}

void TDxTextureData::Unlock() {
    if (HasSurface()) Check(mOwner->GetDevice().Unlock(mSurface), __LINE__);
}

void TDxTextureData::Clear() {
    if (!HasSurface()) return;
    display::Device& device = mOwner->GetDevice();
    display::Rect all{0, 0, static_cast<int>(mSurfaceWidth), static_cast<int>(mSurfaceHeight)};
    display::Result result = device.ColorFill(mSurface, all, 0);
    if (result == display::Result::SurfaceLost && device.RestoreSurface(mSurface) == display::Result::Ok) {
        result = device.ColorFill(mSurface, all, 0);
    }
    Check(result, __LINE__);
}

bool TDxTextureData::Blit(int x, int y, const TRect* source, TTextureData* target) {
    auto* surfaceTarget = dynamic_cast<TDxTextureData*>(target);
    if (!HasSurface() || (target && (!surfaceTarget || !surfaceTarget->HasSurface()))) return false;
    TRect from = source ? *source : TRect(0, 0, static_cast<int>(mWidth), static_cast<int>(mHeight));
    display::SurfaceId to = surfaceTarget ? surfaceTarget->mSurface : display::kBackBuffer;
    bool scaled = !surfaceTarget && mOwner->GetHost().IsEmbedded();
    display::Result result =
        mOwner->GetDevice().Copy(mSurface, ToDisplay(from), to, BlitTarget(x, y, from, scaled));
    if (result == display::Result::SurfaceLost) {
        mOwner->MarkBrokenThrottled();
        return false;
    }
    if (result != display::Result::Ok) {
        static bool reported = false;
        if (!reported) Check(result, __LINE__);
        reported = true;
        return false;
    }
    return true;
}

// At (x, y); on an embedded screen the rectangle is scaled to window pixels.
display::Rect TDxTextureData::BlitTarget(int x, int y, const TRect& source, bool scaled) const {
    display::Rect rect{x, y, x + source.right - source.left, y + source.bottom - source.top};
    float scale = mOwner->GetHost().GetViewScale();
    if (!scaled || !(scale > 0) || !std::isfinite(scale)) return rect;
    auto times = [scale](int value) { return static_cast<int>(std::lround(value * scale)); };
    return {times(rect.left), times(rect.top), times(rect.right), times(rect.bottom)};
}

bool TDxTextureData::Restore() {
    if (mFileName.Length() > 0) return RestoreFromFile();
    if (CreateSurface(mWidth, mHeight, true)) return true;
    DebugLog("TDxTextureData::Restore: Failed to restore %dx%d texture (%d,%d)", static_cast<int>(mWidth),
             static_cast<int>(mHeight), static_cast<int>(mSurfaceWidth), static_cast<int>(mSurfaceHeight));
    if (mOwner) mOwner->MarkBrokenThrottled();
    return false;
}

bool TDxTextureData::RestoreFromFile() {
    TString name = mFileName;
    TString mask = mMaskName;
    if (Load(name, mask)) return true;
    if (mask.Length() > 0) {
        DebugLog("TDxTextureData::Restore: Failed to restore from file %s and %s.", name.c_str(), mask.c_str());
    } else {
        DebugLog("TDxTextureData::Restore: Failed to restore from file %s.", name.c_str());
    }
    // A file that is gone will not come back by rebuilding the device.
    if (!ImageFileExists(name) || (mask.Length() > 0 && !ImageFileExists(mask)) || !mOwner) return false;
    mOwner->MarkBrokenThrottled();
    return false;
}
