#include "game/utilities/rectdraw.h"

#include "game/utilities/draw2dscope.h"
#include "graphics/render/renderer.h"
#include "graphics/render/vertexset.h"

namespace {

TRenderVertex Corner(int x, int y, uint32_t argb) {
    TRenderVertex vertex;
    vertex.x = static_cast<float>(x);
    vertex.y = static_cast<float>(y);
    vertex.diffuse = argb;
    return vertex;
}

void DrawLit2d(int primitiveType, const TRenderVertex* vertices, int count) {
    TDraw2dScope scope;
    if (!scope.IsOpen()) return;
    TVertexSet set;
    set.Init2d(vertices, count);
    TRenderer* renderer = TRenderer::GetInstance();
    // Untextured: an earlier draw's texture would tint the colour.
    renderer->SetTexture(nullptr);
    renderer->DrawVertices(primitiveType, set);
}

}  // namespace

void FillRectColor(const TRect& rect, const TColor4f& colour) {
    uint32_t argb = TColor(colour).ARGB();
    const TRenderVertex quad[4] = {Corner(rect.left, rect.top, argb), Corner(rect.right, rect.top, argb),
                                   Corner(rect.left, rect.bottom, argb), Corner(rect.right, rect.bottom, argb)};
    DrawLit2d(TRenderer::kTriangleStrip, quad, 4);
}

void DrawRectOutline(const TRect& rect, const TColor4f& colour) {
    uint32_t argb = TColor(colour).ARGB();
    const TRenderVertex outline[5] = {Corner(rect.left, rect.top, argb), Corner(rect.right, rect.top, argb),
                                      Corner(rect.right, rect.bottom, argb), Corner(rect.left, rect.bottom, argb),
                                      Corner(rect.left, rect.top, argb)};
    DrawLit2d(TRenderer::kLineStrip, outline, 5);
}

void DrawLineColor(const TPoint& from, const TPoint& to, const TColor4f& colour) {
    uint32_t argb = TColor(colour).ARGB();
    const TRenderVertex line[2] = {Corner(from.x, from.y, argb), Corner(to.x, to.y, argb)};
    DrawLit2d(TRenderer::kLineList, line, 2);
}
