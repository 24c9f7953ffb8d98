// The display back end, one per process: it brings the display up in a
// window or full screen with its fallbacks, opens and presents frames,
// repairs a lost device, keeps the device states the renderer asks for, and
// decides where drawing lands (viewports, view rectangle, projections).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "foundation/rect.h"
#include "graphics/display/directx.h"
#include "graphics/display/displayhost.h"
#include "graphics/display/displaylink.h"
#include "graphics/display/dxdevicestates.h"
#include "graphics/display/dxtexturedata.h"
#include "graphics/render/renderbackend.h"
#include "platform/display/device.h"

// The handler's state record.
struct TDxDisplayState {
    explicit TDxDisplayState(display::Device& device, TDisplayHost& host) : context(device, host) {}

    TDXContext context;
    // The screen and the device exist.
    bool hasDevice = false;
    // Saved viewports, the last pushed at the back.
    std::vector<TRect> viewportStack;
    TRect viewport;
    TRect screen;
    TRect view;
    bool fullScreen = false;
    int32_t blendMode = -1;
    // Must not be used until restored.
    bool broken = false;
    // Show the "Reconfiguring" box at the next creation.
    bool reconfigureNotice = false;
    bool zWrite = false;
    bool zEnable = false;
    // The open render target's mode; -1 while none is open.
    int32_t renderTargetMode = -1;
    // The texture drawn into between BeginRenderTarget and EndRenderTarget.
    std::shared_ptr<TTexture> renderTarget;
    // The open render target's rectangle, else the screen's.
    TRect target;
    bool textured = false;
    bool fallbackInProgress = false;
    // A fatal display error ended the run.
    bool fatal = false;
    bool separateTextureMemories = false;
    bool noSpecularGouraud = false;
    bool squareTexturesOnly = false;
    // Frames begun since the last (re)creation.
    uint32_t workingCount = 0;
    // Platform time of the last broken mark; none before the first.
    std::optional<uint32_t> brokenTime;
    bool wasFullScreen = false;
    // 16 bits per pixel and full screen only.
    bool lowMemoryVideo = false;
    bool inSetDisplay = false;
    bool inRestore = false;
    bool frameOpen = false;
    bool in2d = false;
    // The projection last given to the device.
    display::Matrix projection;
    float nearPlane = 0.1f;
    float farPlane = 1000.0f;
    bool antialias = false;
    bool hintAntialias = false;
    bool newSubtractive = false;
    bool newRenderBlend = false;
    float pixelOffset = -0.5f;
    // The pixel offset was measured, or the measure was tried.
    bool calibrated = false;
    // The built-in cursor was handed to the platform once.
    bool defaultCursorSet = false;
};

class TDxDisplayHandler : public TRenderBackEnd, public TDisplayLink, public TDxTextureOwner {
public:
    // Finds the device surface of a texture; the texture layer provides it.
    using TTextureSurfaceSource = std::function<display::SurfaceId(const TTexture&)>;

    // Reads "common:display.xml" unless the run is hosted, and makes the
    // surface objects of textures while it lives. Device and host must
    // outlive the handler.
    TDxDisplayHandler(display::Device& device, TDisplayHost& host);
    ~TDxDisplayHandler() override;
    TDxDisplayHandler(const TDxDisplayHandler&) = delete;
    TDxDisplayHandler& operator=(const TDxDisplayHandler&) = delete;

    // The live handler, or null.
    static TDxDisplayHandler* GetInstance();

    // Display set-up. Force runs even when nothing changed or the application
    // is inactive; quiet drops the informational boxes; placed means the
    // caller sized and showed the window.
    void SetDisplay(int width, int height, bool fullScreen, bool force, bool quiet, bool placed);
    void SetDisplay(int width, int height, bool fullScreen) override;
    bool SetFullScreen(bool on) override;
    bool IsFullScreen() const override;
    void GetDisplaySize(int& width, int& height, bool& fullScreen) const;
    void UpdateDesktopMode();
    void SetVSync(bool on);
    // Switches to low-memory video for this and later runs.
    void OnOutOfVideoMemory();
    void MarkBroken();
    // Marks broken at most once per 250 ms.
    void MarkBrokenThrottled() override;
    bool IsDeviceReady() const override;
    void ResetWorkingCount();
    // Assets, restore tasks and the whole screen come back on a ready device.
    void RestoreAssets();
    void Restore() override;
    bool IsBroken() const { return mState->broken; }
    bool IsLowMemoryVideo() const override { return mState->lowMemoryVideo; }
    std::unique_ptr<TTextureData> CreateTextureData();
    display::Device& GetDevice() override { return mDevice; }
    TDisplayHost& GetHost() override { return mHost; }
    const TDxDisplayState& GetState() const { return *mState; }

    // Frames.
    bool BeginDraw(bool checkContext) override;
    void EndDraw(bool present) override;
    // Drawing goes to the back buffer until EndRenderTarget copies it into
    // the texture. Modes: 0, 2 and 3 leave the texture opaque, 1 keeps the
    // drawn alpha, 4 turns the drawn red into alpha and keeps the texture's
    // colours; 2 and 3 draw over the texture's old content, 4 over
    // transparent black.
    bool BeginRenderTarget(const std::shared_ptr<TTexture>& texture, int mode) override;
    void EndRenderTarget() override;
    // Finds the pixel offset at which a texture lands on whole pixels; once,
    // after the first display set-up, through the renderer.
    void CalibratePixelOffset();
    bool IsFrameDone() const override;
    void Deactivated() override;
    // Nothing to do: the game window is always drawn by the device.
    void FlipToGdiSurface() {}

    // Device states.
    bool Begin2d() override;
    void End2d() override;
    bool Begin3d() override;
    void End3d() override;
    void SetBlendMode(int mode) override;
    void SetFilterMode(int mode) override;
    void SetAddressMode(int uKind, int vKind);
    void SetCullMode(int kind) override;
    void SetZEnable(bool on);
    void SetZWrite(bool on);
    // 2 Gouraud, anything else flat.
    void SetShadeMode(int kind);
    void SetTexture(const std::shared_ptr<TTexture>& texture) override;
    void SetTextureSurfaceSource(TTextureSurfaceSource source) { mTextureSurface = std::move(source); }
    void DrawVertices(int primitiveType, const TVertexSet& vertices) override;
    void DrawIndexedVertices(int primitiveType, const TVertexSet& vertices, const uint16_t* indices,
                             int indexCount) override;
    void OnRenderHint(const TString& key, const TString& value) override;
    bool IsSquareTexturesOnly() const override { return mState->squareTexturesOnly; }

    // Viewports and projections.
    TRect GetScreenRect() const override;
    TRect GetViewport() const override { return mState->viewport; }
    void SetViewport(const TRect& rect);
    void PushViewport(const TRect& rect) override;
    void PopViewport() override;
    void SetViewRect(const TRect& rect) override;
    // Aspect 0 takes the visible area's.
    void SetPerspective(float nearPlane, float farPlane, float fov, float aspect);
    // A target texture that is the open render target is filled where its
    // content is being drawn, so that EndRenderTarget keeps the fill.
    bool FillRect(const TRect& rect, const TColor4f& color, const std::shared_ptr<TTexture>& target) override;

    // The mouse cursor.
    bool GetMousePosition(TPoint& position) const override;
    void MouseMoved() override;
    void MouseLeft() override;
    void ShowMouseCursor(bool show) override;
    void SetMouseImage(const std::shared_ptr<TTexture>& image, int hotX, int hotY, int flags) override;
    void UpdateSystemCursor() override;
    void UpdateWindowRect();
    TPoint GetWindowOrigin();

private:
    struct TRequest {
        int width, height;
        bool fullScreen, force, quiet, placed;
    };
    // A second SetDisplay to run once the first has left.
    struct TFallback {
        bool fullScreen;
        const char* boxAfter;
    };

    void ReadDisplaySettings();
    bool WriteDisplaySettings();
    // SetDisplay's steps; each false or fallback ends the set-up.
    std::optional<TFallback> SetUp(TRequest& request);
    bool PassesGates(TRequest& request);
    bool Attach(TRequest& request);
    bool ChecksWindow(TRequest& request);
    void TearDown(const TRequest& request);
    bool CreateDevice(const TRequest& request, uint32_t flags);
    std::optional<TFallback> FailCreation(TRequest& request, uint32_t& flags, bool& retry);
    const char* WindowObstacle(const TRequest& request) const;
    void FinishSetUp(const TRequest& request);
    void ReadCapabilities();
    // Shows a box and ends the process.
    void Fatal(const char* text);
    void Box(const char* text, TMessageBoxIcon icon = TMessageBoxIcon::kWarning);
    bool IsExternallyParented() const;
    void RestoreDevice();
    void RebuildDisplay(bool quiet);
    void RestoreSurfaces();
    void RetryCooperativeLevel(display::Result result);

    bool OpenScene();
    // Serves the renderer's capture texture with the finished frame.
    void CaptureFrame();
    display::SurfaceId SurfaceOf(const TTexture& texture) const;
    void EndTarget(const TTexture& texture, int mode, const display::Rect& copy);
    // The screen's red becomes the texture's alpha.
    void MaskAlpha(const TTexture& texture, const display::Rect& copy);
    void MakeOpaque(const TTexture& texture);
    bool FillTexture(const TRect& rect, const TColor4f& color, const TTexture& texture);
    bool FillOpenTarget(const TRect& rect, const TColor4f& color);
    bool DrawCalibrationCells(TTexture& probe, const std::shared_ptr<TTexture>& cells);
    float FirstPassingOffset(TTexture& cells);
    void ApplyStates(const std::function<void(display::DrawStates&)>& change);
    TBlendSetup BlendSetup() const;
    void ResetWorldAndView();
    // False, logged, for an unknown primitive type; else the 2D projection
    // is brought up to date.
    bool PrepareDraw(const char* caller, int primitiveType);
    void ReportDrawResult(display::Result result, bool markBroken);

    display::Result ApplyViewport(const TRect& rect);
    // The viewport within the view rectangle.
    display::Result ApplyViewportInView();
    // The viewport and the view rectangle have no pixel in common.
    bool IsViewEmpty() const;
    void ApplyProjection(const display::Matrix& matrix);
    void FillOnScreen(const TRect& rect, const TColor4f& color);
    void FillThroughRenderer(const TRect& rect, const TColor4f& color);

    display::Device& mDevice;
    TDisplayHost& mHost;
    std::unique_ptr<TDxDisplayState> mState;
    TTextureSurfaceSource mTextureSurface;
};
