// The screen object: the device's front and back buffer on the game window,
// made for full screen (walking the adapters) or for a window, presented once
// a frame, and the plain surfaces its users create on it.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/rect.h"
#include "graphics/display/displayhost.h"
#include "platform/display/device.h"

struct SDL_Window;

// Creation flag bits shared with the context and the display set-up.
inline constexpr uint32_t kDisplayFlagDefault = 0x1;
inline constexpr uint32_t kDisplayFlagPlaced = 0x2;  // the caller sized and placed the window
inline constexpr uint32_t kDisplayFlagAntialias = 0x4;

// Source unit named in the error lines of this file.
inline constexpr const char* kDdutilUnit = ".\\ddutil";

// Logs a failed device result as "DX Error: ..." with its classic code;
// out of video memory first tells the host. True when the result is Ok.
bool DxCheck(display::Result result, TDisplayHost& host, const char* unit, int line);

// A plain surface made by CDisplay::CreateSurface; released with the holder.
class CDisplaySurface {
public:
    CDisplaySurface(display::Device& device, display::SurfaceId surface, const display::SurfaceDesc& desc)
        : mDevice(device), mSurface(surface), mDesc(desc) {}
    ~CDisplaySurface() { mDevice.ReleaseSurface(mSurface); }
    CDisplaySurface(const CDisplaySurface&) = delete;
    CDisplaySurface& operator=(const CDisplaySurface&) = delete;

    display::SurfaceId GetSurface() const { return mSurface; }
    const display::SurfaceDesc& GetDesc() const { return mDesc; }

private:
    display::Device& mDevice;
    display::SurfaceId mSurface;
    display::SurfaceDesc mDesc;
};

class CDisplay {
public:
    CDisplay(display::Device& device, TDisplayHost& host) : mDevice(device), mHost(host) {}
    virtual ~CDisplay();
    CDisplay(const CDisplay&) = delete;
    CDisplay& operator=(const CDisplay&) = delete;

    // The attempt word's high 16 bits are the adapter index to start from, its
    // low 16 bits the creation flags.
    display::Result CreateFullScreenDisplay(SDL_Window* window, int width, int height, int bitsPerPixel,
                                            uint32_t attempt);
    display::Result CreateWindowedDisplay(SDL_Window* window, int width, int height, uint32_t flags);
    display::Result Present();
    void UpdateBounds();
    TPoint GetWindowOrigin();
    // A plain surface (CPU-only unless a kind is given) in the given format or
    // the screen's.
    display::Result CreateSurface(std::unique_ptr<CDisplaySurface>* surface, int width, int height,
                                  const display::Format* format, const display::SurfaceKind* kind);
    virtual int DestroyObjects();

    bool HasScreen() const { return mHasScreen; }
    bool IsWindowed() const { return mWindowed; }
    bool WasCreatedOnce() const { return mCreatedOnce; }
    const TRect& GetBounds() const { return mBounds; }
    SDL_Window* GetWindow() const { return mWindow; }

private:
    display::Result TryFullScreen(SDL_Window* window, int width, int height, int bitsPerPixel, uint32_t flags);
    int ChooseDepth(int width, int height, int bitsPerPixel);
    display::Result CreateFrontBuffer(const display::ScreenSetup& setup);
    void Finish(SDL_Window* window, bool windowed);

    display::Device& mDevice;
    TDisplayHost& mHost;
    SDL_Window* mWindow = nullptr;
    TRect mBounds;
    bool mHasScreen = false;
    bool mWindowed = false;
    bool mCreatedOnce = false;
};
