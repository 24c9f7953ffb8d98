// The display device: screen set-up and presentation, the scene and its draw
// states, and the surfaces (textures, render targets, CPU-only surfaces).
// Pixels exchanged with callers are 32-bit words in memory order blue, green,
// red, alpha, rows from the top.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/display/types.h"

namespace display {

class Device {
public:
    virtual ~Device() = default;

    // Screen set-up.
    virtual DesktopMode GetDesktopMode() = 0;
    // Picks the adapter to build the screen on; 0 is the default one. False
    // when there is no adapter of that index.
    virtual bool SelectAdapter(int index) = 0;
    // Colour depths the screen can take at this size.
    virtual std::vector<int> GetModeDepths(int width, int height) = 0;
    virtual Result SetDisplayMode(int width, int height, int bitsPerPixel) = 0;
    // Front and back buffer on the window; the back buffer is cleared.
    virtual Result CreateScreen(const ScreenSetup& setup) = 0;
    virtual void DestroyScreen() = 0;
    // Client area of the window in desktop coordinates.
    virtual Rect GetWindowBounds() = 0;
    // Where Present shows the back buffer in the window's client area (full
    // screen letterboxes it); empty when it is shown as it is.
    virtual Rect GetPresentRect() = 0;
    virtual Result Present() = 0;
    // StillDrawing while the last present has not finished.
    virtual Result GetFlipStatus() = 0;
    virtual void SetVSync(bool on) = 0;
    virtual Result TestCooperativeLevel() = 0;
    virtual Result RestoreAllSurfaces() = 0;
    virtual DisplayCaps GetDisplayCaps() = 0;
    virtual DeviceDesc GetDeviceDesc() = 0;
    virtual Identifier GetIdentifier() = 0;

    // Scene and draw states.
    virtual Result BeginScene() = 0;
    virtual Result EndScene() = 0;
    virtual Result SetViewport(const Viewport& viewport) = 0;
    virtual void SetTransform(Transform which, const Matrix& matrix) = 0;
    virtual void SetMaterial(const Material& material) = 0;
    virtual const DrawStates& GetStates() const = 0;
    virtual void SetStates(const DrawStates& states) = 0;
    // kNoSurface draws untextured (the texture reads as opaque white).
    virtual void SetTexture(SurfaceId texture) = 0;
    // kBackBuffer, or a render-target surface.
    virtual Result SetRenderTarget(SurfaceId target) = 0;
    virtual Result Draw(Primitive type, VertexKind kind, const Vertex* vertices, int count) = 0;
    virtual Result DrawIndexed(Primitive type, VertexKind kind, const Vertex* vertices, int count,
                               const uint16_t* indices, int indexCount) = 0;

    // Surfaces.
    virtual Result CreateSurface(const SurfaceDesc& desc, SurfaceId& surface) = 0;
    virtual void ReleaseSurface(SurfaceId surface) = 0;
    virtual bool GetSurfaceDesc(SurfaceId surface, SurfaceDesc& desc) = 0;
    // Writes rows of pitch pixels from the top-left, at most the surface's size.
    virtual Result Upload(SurfaceId surface, const uint32_t* pixels, int pitch, int rows) = 0;
    // The whole surface as 32-bit pixels; Unlock writes changes back.
    virtual Result Lock(SurfaceId surface, uint32_t*& pixels, int& pitch) = 0;
    virtual Result Unlock(SurfaceId surface) = 0;
    virtual Result ColorFill(SurfaceId surface, const Rect& rect, uint32_t argb) = 0;
    // Copies the source rectangle onto the target rectangle, scaling when
    // their sizes differ (not for CPU-only surfaces).
    virtual Result Copy(SurfaceId source, const Rect& sourceRect, SurfaceId target, const Rect& targetRect) = 0;
    // Rows of rect's width into pixels.
    virtual Result ReadPixels(SurfaceId surface, const Rect& rect, uint32_t* pixels) = 0;
    virtual bool IsSurfaceLost(SurfaceId surface) = 0;
    virtual Result RestoreSurface(SurfaceId surface) = 0;
};

}  // namespace display
