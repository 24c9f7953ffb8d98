// The surface object on the display device: an ordinary texture, a render
// target with its own depth buffer, or a "simple" surface in CPU memory.
// Pixels are exchanged as 32 bits whatever the surface keeps; the device
// converts.
#pragma once

#include "graphics/display/displayhost.h"
#include "graphics/texturedata.h"
#include "platform/display/device.h"

// Source unit named in the error lines of this file.
inline constexpr const char* kDxTextureDataUnit = ".\\dxtexturedata";

// What a surface object asks of the display back end that made it.
class TDxTextureOwner {
public:
    virtual ~TDxTextureOwner() = default;

    virtual display::Device& GetDevice() = 0;
    virtual TDisplayHost& GetHost() = 0;
    // The device can draw; false while it is lost or broken.
    virtual bool IsDeviceReady() const = 0;
    virtual bool IsSquareTexturesOnly() const = 0;
    // The display runs at 16 bits to save video memory.
    virtual bool IsLowMemoryVideo() const = 0;
    // Marks the device broken, at most once per 250 ms.
    virtual void MarkBrokenThrottled() = 0;
};

class TDxTextureData : public TTextureData {
public:
    explicit TDxTextureData(TDxTextureOwner& owner);
    ~TDxTextureData() override;
    // The owner is going away: its surface objects forget it and their
    // surfaces, and make no new ones. Textures may outlive the display.
    static void ForgetOwner(TDxTextureOwner& owner);
    TDxTextureData(const TDxTextureData&) = delete;
    TDxTextureData& operator=(const TDxTextureData&) = delete;

    void Release() override;
    bool Restore() override;
    bool Upload(int pitch, int rows, const uint32_t* pixels) override;
    // A device that is not ready counts as success: Restore makes the
    // surface once the device is back.
    bool CreateSurface(uint32_t width, uint32_t height, bool clear) override;
    bool Blit(int x, int y, const TRect* source, TTextureData* target) override;
    void Clear() override;
    bool Lock(uint32_t*& pixels, int& pitch) override;
    void Unlock() override;
    bool HasSurface() const override { return mSurface != display::kNoSurface; }

    // What the back end binds when the texture draws.
    display::SurfaceId GetSurface() const { return mSurface; }

private:
    display::SurfaceDesc Describe(uint32_t width, uint32_t height) const;
    display::Result Create(const display::SurfaceDesc& desc);
    void CheckVideoMemory(const display::SurfaceDesc& desc);
    bool Check(display::Result result, int line);
    bool RestoreFromFile();
    display::Rect BlitTarget(int x, int y, const TRect& source, bool onScreen) const;

    TDxTextureOwner* mOwner;
    display::SurfaceId mSurface = display::kNoSurface;
};
