#include "game/widgets/gauge.h"

#include "core/windows/windowmanager.h"
#include "game/utilities/draw2dscope.h"
#include "game/widgets/widgetclass.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"

TWindow* KGauge::Create() {
    return nullptr;
}

const char* KGauge::GetClassName() const {
    return "KGauge";
}

bool KGauge::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TWindow::ClassId()});
}

float KGauge::ClampUnit(float value) {
    if (!(value > 0)) return 0;
    return value > 1 ? 1 : value;
}

std::shared_ptr<TTexture> KGauge::GetImage(const TString& name) {
    return name.Length() > 0 ? TTexture::GetWithOptions(name, 0) : nullptr;
}

float KGauge::TexCoord(float position, int side, int imageSide, int surfaceSide) {
    if (side <= 0 || surfaceSide <= 0) return 0;
    return position / static_cast<float>(side) * static_cast<float>(imageSide) / static_cast<float>(surfaceSide);
}

void KGauge::SetTexCoord(TRenderVertex& vertex, const std::shared_ptr<TTexture>& image) const {
    int imageWidth = 1;
    int imageHeight = 1;
    int surfaceWidth = 1;
    int surfaceHeight = 1;
    if (image) {
        imageWidth = image->GetWidth();
        imageHeight = image->GetHeight();
        surfaceWidth = static_cast<int>(image->GetTextureData()->GetSurfaceWidth());
        surfaceHeight = static_cast<int>(image->GetTextureData()->GetSurfaceHeight());
    }
    vertex.u = TexCoord(vertex.x, GetWidth(), imageWidth, surfaceWidth);
    vertex.v = TexCoord(vertex.y, GetHeight(), imageHeight, surfaceHeight);
}

void KGauge::DrawIndexed(const std::shared_ptr<TTexture>& image, int primitiveType,
                         const std::vector<TRenderVertex>& vertices, const uint16_t* indices, int indexCount) {
    TDraw2dScope scope;
    if (!scope.IsOpen()) return;
    TRenderer* renderer = TRenderer::GetInstance();
    renderer->SetTexture(image);
    TVertexSet set;
    set.Init2d(vertices.data(), static_cast<int>(vertices.size()));
    renderer->DrawIndexedVertices(primitiveType, set, indices, indexCount);
}

void KGauge::InvalidateScreen() {
    if (TWindowManager* manager = TWindowManager::GetInstance()) manager->Invalidate();
}
