// The drawing front end every draw passes through. It keeps the drawing state
// (which frame, render target and 2D/3D block is open), refuses calls made in
// the wrong state, keeps the 2D view-rectangle stack and the current texture,
// measures the frame rate and forwards each operation to the display back end.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "foundation/color.h"
#include "foundation/matrix.h"
#include "foundation/rect.h"
#include "foundation/tstring.h"
#include "foundation/vector.h"
#include "graphics/render/statsoverlay.h"
#include "graphics/render/vertexset.h"

class TRenderBackEnd;
class TTexture;

class TRenderer {
public:
    // Primitive types of the draw calls.
    enum TPrimitiveType {
        kLineList = 2,
        kLineStrip = 3,
        kTriangleList = 4,
        kTriangleStrip = 5,
        kTriangleFan = 6,
    };

    // Created on first use, without a back end until the platform sets one.
    static TRenderer* GetInstance();
    // Destroys the back end, then the renderer.
    static void DestroyInstance();

    TRenderer() = default;
    ~TRenderer();
    TRenderer(const TRenderer&) = delete;
    TRenderer& operator=(const TRenderer&) = delete;

    // Replaces the back end; null leaves the renderer drawing nothing.
    void SetBackEnd(std::unique_ptr<TRenderBackEnd> backEnd);
    TRenderBackEnd* GetBackEnd() const { return mBackEnd.get(); }

    // Frames and render targets.
    bool BeginDraw(bool checkContext);
    // Counts the frame for the rate, then closes it.
    void EndDraw(bool present);
    // Refused, without a message, for no texture, a "simple" one, and while a
    // frame or render target is open.
    bool BeginRenderTarget(const std::shared_ptr<TTexture>& texture, int mode = 0);
    void EndRenderTarget();
    // Inside a frame or a render target.
    bool IsDrawing() const { return mDrawing || mRenderTarget; }
    bool InBegin2d() const { return mIn2d; }
    bool InBegin3d() const { return mIn3d; }

    // Blocks. A refused Begin logs why and returns false. End2d and End3d
    // return false, with a message, when their block is not open; after the
    // frame ended they log and still end it.
    bool Begin2d();
    bool End2d();
    bool Begin3d();
    bool End3d();

    // Drawn only inside a 2D or 3D block; otherwise logged and dropped.
    void DrawVertices(int primitiveType, const TVertexSet& vertices);
    void DrawIndexedVertices(int primitiveType, const TVertexSet& vertices, const uint16_t* indices, int indexCount);
    // Without a target the rectangle is moved by the screen's top-left and
    // clipped to the screen; a target's rectangle is passed unchanged. Needs
    // no open block.
    bool FillRect(const TRect& rect, const TColor4f& color, const std::shared_ptr<TTexture>& target = nullptr);

    // A "simple" texture binds none.
    void SetTexture(const std::shared_ptr<TTexture>& texture);
    std::shared_ptr<TTexture> GetTexture() const { return mTexture; }
    // 0 is normal alpha blending; the others are the back end's.
    void SetBlendMode(int mode);
    // 2 culls clockwise, 3 counter-clockwise, anything else nothing.
    void SetCullMode(int kind);
    // 1 is bilinear with linear mip filtering.
    void SetFilterMode(int mode);
    bool IsSquareTexturesOnly() const;

    // The texture the back end copies the next finished frame into; empty
    // clears it. A texture not of the root window's size leaves it as it was.
    void SetCaptureTexture(const std::shared_ptr<TTexture>& texture);
    // Tells the root window's size, which the window layer knows; without
    // one no capture is taken. Null removes it.
    void SetRootSizeSource(std::function<TPoint()> source) { mRootSize = std::move(source); }
    std::shared_ptr<TTexture> GetCaptureTexture() const { return mCaptureTexture; }

    // An all-zero rectangle without a back end.
    TRect GetScreenRect() const;

    // The device viewport, which clips all drawing; empty without a back end.
    TRect GetViewport() const;
    void PushViewport(const TRect& rect);
    void PopViewport();

    // The view-rectangle stack; each change is applied at once.
    void PushViewRect(const TRect& rect);
    // Replaces the top, or pushes onto an empty stack.
    void SetViewRect(const TRect& rect);
    // The bottom rectangle is never removed.
    void PopViewRect();
    // The top, or an all-zero rectangle when the stack is empty.
    TRect GetViewRect() const;
    bool HasViewRect() const { return !mViewRects.empty(); }
    // Empties the stack; the back end clips to the screen again.
    void ClearViewRects();

    // "fps" turns the frame-rate report on or off; every key then goes to
    // the back end's render hints.
    void OnSettingChanged(const TString& key, const TString& value);
    // Returns the previous state of the statistics overlay.
    bool ToggleStatsOverlay();
    // What draws the overlay; without one the overlay shows nothing.
    void SetStatsOverlay(std::unique_ptr<TStatsOverlay> overlay) { mOverlay = std::move(overlay); }
    const TStatsOverlay* GetStatsOverlay() const { return mOverlay.get(); }
    // Measured over the last 15 frames, each time the frame ring wraps.
    float GetFramesPerSecond() const { return mFramesPerSecond; }

    // Four screen vertices of a textured quad. Each corner is transformed by
    // the matrix and written back into corners, then moved by the offset. The
    // tint's red, green and blue and the alpha are clamped to 0..1 (NaN
    // reads as 0); the tint's own alpha is not used.
    static void BuildQuad(const TVec2& offset, TRenderVertex* quad, TVec2* corners, const TVec2& uvTopLeft,
                          const TVec2& uvBottomRight, const TMat3& matrix, float alpha, const TColor4f& tint);

private:
    static const int kFrameRingSize = 15;

    void CountFrame();
    void ApplyViewRect();

    int mFrameIndex = 0;
    float mFramesPerSecond = 0;
    uint32_t mFrameTimes[kFrameRingSize] = {};
    uint32_t mLastReportTime = 0;
    bool mStatsOverlay = false;
    std::unique_ptr<TStatsOverlay> mOverlay;
    std::shared_ptr<TTexture> mTexture;
    std::shared_ptr<TTexture> mCaptureTexture;
    std::function<TPoint()> mRootSize;
    std::vector<TRect> mViewRects;
    bool mIn2d = false;
    bool mIn3d = false;
    bool mDrawing = false;
    bool mRenderTarget = false;
    bool mReportFrameRate = true;
    // Declared last, so it goes before the state above.
    std::unique_ptr<TRenderBackEnd> mBackEnd;
};

// Begin2d for the life of the scope, or until End.
class TBegin2dScope {
public:
    explicit TBegin2dScope(TRenderer& renderer = *TRenderer::GetInstance());
    ~TBegin2dScope() { End(); }
    TBegin2dScope(const TBegin2dScope&) = delete;
    TBegin2dScope& operator=(const TBegin2dScope&) = delete;

    // End2d, only when Begin2d succeeded; false when nothing was begun.
    bool End();

private:
    TRenderer& mRenderer;
    bool mBegun;
};
