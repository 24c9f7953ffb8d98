// The drawing front end every draw passes through. It keeps the 2D
// view-rectangle stack and forwards each operation to the display back end.
#pragma once

#include <memory>
#include <vector>

#include "foundation/color.h"
#include "foundation/rect.h"

class TRenderBackEnd;

class TRenderer {
public:
    // Created on first use, without a back end until one is set.
    static TRenderer* GetInstance();
    static void DestroyInstance();

    TRenderer() = default;
    ~TRenderer();
    TRenderer(const TRenderer&) = delete;
    TRenderer& operator=(const TRenderer&) = delete;

    // Replaces the back end; null leaves the renderer drawing nothing.
    void SetBackEnd(std::unique_ptr<TRenderBackEnd> backEnd);
    TRenderBackEnd* GetBackEnd() const { return mBackEnd.get(); }

    // An all-zero rectangle without a back end.
    TRect GetScreenRect() const;
    // The rectangle is moved by the screen's top-left and clipped to the
    // screen before the back end fills it.
    bool FillRect(const TRect& rect, const TColor4f& color);

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

private:
    void ApplyViewRect();

    std::vector<TRect> mViewRects;
    std::unique_ptr<TRenderBackEnd> mBackEnd;
};
