// The abstract gauge: a window showing a value from 0 to 1 that game code
// sets. Its class id creates nothing; scripts create its kinds.
#pragma once

#include <memory>
#include <vector>

#include "core/windows/window.h"
#include "foundation/tstring.h"
#include "graphics/render/vertexset.h"

class TTexture;

class KGauge : public TWindow {
public:
    // Abstract: answers null.
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;

    // Values are clamped to 0..1 (NaN reads 0).
    virtual void SetValue(float value) = 0;
    virtual float GetValue() const = 0;

protected:
    static float ClampUnit(float value);
    // The drawable texture of the name; null for an empty or missing name.
    static std::shared_ptr<TTexture> GetImage(const TString& name);
    // A position as a texture coordinate: its fraction of the window side,
    // scaled to the image's part of its surface; 0 for an empty side.
    static float TexCoord(float position, int side, int imageSide, int surfaceSide);
    // Sets x / W and y / H of the vertex as its texture coordinate on the image.
    void SetTexCoord(TRenderVertex& vertex, const std::shared_ptr<TTexture>& image) const;
    // Draws the vertices with the image inside 2D drawing.
    static void DrawIndexed(const std::shared_ptr<TTexture>& image, int primitiveType,
                            const std::vector<TRenderVertex>& vertices, const uint16_t* indices, int indexCount);
    static void InvalidateScreen();
};
