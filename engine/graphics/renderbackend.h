// The display back end behind the renderer: the device viewport with its
// stack, the view rectangle the 2D projection maps onto, the screen rectangle
// and the rectangle fill.
#pragma once

#include "foundation/color.h"
#include "foundation/rect.h"

class TRenderBackEnd {
public:
    virtual ~TRenderBackEnd() = default;

    virtual TRect GetScreenRect() const = 0;
    // The current device viewport: where drawing may land.
    virtual TRect GetViewport() const = 0;
    // Saves the current viewport and makes the rectangle the viewport.
    virtual void PushViewport(const TRect& rect) = 0;
    // Returns to the most recently saved viewport.
    virtual void PopViewport() = 0;
    virtual void SetViewRect(const TRect& rect) = 0;
    // Fills the rectangle, given in screen coordinates, with the colour.
    virtual bool FillRect(const TRect& rect, const TColor4f& color) = 0;
};
