// The surface object behind every texture: names, sizes and options of the
// image it holds, the load that decodes an image file into it, and the
// surface operations a display back end fills in (TDxTextureData).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "foundation/rect.h"
#include "foundation/tstring.h"

class TTextureData {
public:
    // Option bits.
    enum : uint8_t {
        kRenderTarget = 0x01,
        kAlpha = 0x02,
        kAlphaFromImage = 0x04,  // a PNG with an alpha channel sets kAlpha, any other image clears it
        kMipmap = 0x08,
        kSimple = 0x10,          // pixel access only: never drawn, bound or drawn into
        kSlow = 0x20,            // no 1024-pixel limit; with kSimple, kept in system memory
    };
    // Images larger than this on either side load only with kSlow.
    static constexpr uint32_t kMaxFastSide = 1024;

    virtual ~TTextureData() = default;

    // Frees the device memory; names, sizes and options stay.
    virtual void Release() = 0;
    // Rebuilds the surface after the device lost it, re-reading the image file.
    virtual bool Restore() = 0;
    // Rows of pitch 32-bit pixels (blue, green, red, alpha in memory order).
    virtual bool Upload(int pitch, int rows, const uint32_t* pixels) = 0;
    // Makes the surface of that size for the options, releasing any earlier
    // one; with clear it starts transparent black.
    virtual bool CreateSurface(uint32_t width, uint32_t height, bool clear) = 0;
    // Copies the source rectangle (all of the image when null) to (x, y) of
    // the target's surface, or of the screen without a target.
    virtual bool Blit(int x, int y, const TRect* source, TTextureData* target) = 0;
    virtual void Clear() = 0;
    // The whole surface, top row first; pitch in pixels. Unlock writes changes back.
    virtual bool Lock(uint32_t*& pixels, int& pitch) = 0;
    virtual void Unlock() = 0;
    // A surface exists now.
    virtual bool HasSurface() const = 0;

    // Decodes the image (a name may end in "?" and option words: "slow",
    // "simple", "alpha", "mipmap"), applies the mask's brightness as alpha,
    // and makes and fills the surface. Logs why when it fails.
    bool Load(const TString& name, const TString& maskName);

    const TString& GetFileName() const { return mFileName; }
    const TString& GetMaskName() const { return mMaskName; }
    uint32_t GetWidth() const { return mWidth; }
    uint32_t GetHeight() const { return mHeight; }
    uint32_t GetSurfaceWidth() const { return mSurfaceWidth; }
    uint32_t GetSurfaceHeight() const { return mSurfaceHeight; }
    uint32_t GetBorderX() const { return mBorderX; }
    uint32_t GetBorderY() const { return mBorderY; }
    uint8_t GetOptions() const { return mOptions; }
    void SetOptions(uint8_t options) { mOptions = options; }
    bool HasOption(uint8_t option) const { return (mOptions & option) != 0; }

protected:
    TString mFileName;  // empty for created textures
    TString mMaskName;
    uint32_t mWidth = 0;  // the image, or the size a created texture asked for
    uint32_t mHeight = 0;
    uint32_t mSurfaceWidth = 0;  // what the device gave
    uint32_t mSurfaceHeight = 0;
    uint32_t mBorderX = 0;  // half of the surface's margin around the image
    uint32_t mBorderY = 0;
    uint8_t mOptions = 0;
};

// The display back end makes the surface objects; it installs its factory
// while it exists. Without one, NewTextureData gives null.
using TTextureDataFactory = std::function<std::unique_ptr<TTextureData>()>;
void SetTextureDataFactory(TTextureDataFactory factory);
std::unique_ptr<TTextureData> NewTextureData();
