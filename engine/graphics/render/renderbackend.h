// The display back end behind the renderer. The renderer guards the state
// (which frame, target and block is open) and forwards each operation here.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/color.h"
#include "foundation/rect.h"
#include "foundation/tstring.h"

class TTexture;
class TVertexSet;

class TRenderBackEnd {
public:
    virtual ~TRenderBackEnd() = default;

    // Opens a frame on the screen; false when none can be drawn now. With
    // checkContext the display context is asked first whether it can begin.
    virtual bool BeginDraw(bool checkContext) = 0;
    // Closes the frame, and shows it when present is set.
    virtual void EndDraw(bool present) = 0;
    // Draws into the texture until EndRenderTarget; the mode says how the
    // texture's old content and the result combine.
    virtual bool BeginRenderTarget(const std::shared_ptr<TTexture>& texture, int mode) = 0;
    virtual void EndRenderTarget() = 0;

    // Device-state presets of the 2D and 3D blocks.
    virtual bool Begin2d() = 0;
    virtual void End2d() = 0;
    virtual bool Begin3d() = 0;
    virtual void End3d() = 0;

    virtual void DrawVertices(int primitiveType, const TVertexSet& vertices) = 0;
    virtual void DrawIndexedVertices(int primitiveType, const TVertexSet& vertices, const uint16_t* indices,
                                     int indexCount) = 0;
    // Fills the rectangle of the target texture, or of the screen when there
    // is none (screen coordinates), with the colour.
    virtual bool FillRect(const TRect& rect, const TColor4f& color, const std::shared_ptr<TTexture>& target) = 0;

    // The texture of the following draws; empty for none.
    virtual void SetTexture(const std::shared_ptr<TTexture>& texture) = 0;
    virtual void SetBlendMode(int mode) = 0;
    virtual void SetCullMode(int kind) = 0;
    virtual void SetFilterMode(int mode) = 0;
    // Hears of every changed setting; takes the ones that tune the device.
    virtual void OnRenderHint(const TString& key, const TString& value) = 0;
    // The device accepts only square textures.
    virtual bool IsSquareTexturesOnly() const = 0;

    virtual TRect GetScreenRect() const = 0;
    // The current device viewport: where drawing may land.
    virtual TRect GetViewport() const = 0;
    // Saves the current viewport and makes the rectangle the viewport.
    virtual void PushViewport(const TRect& rect) = 0;
    // Returns to the most recently saved viewport.
    virtual void PopViewport() = 0;
    // The rectangle the 2D projection maps onto.
    virtual void SetViewRect(const TRect& rect) = 0;
};
