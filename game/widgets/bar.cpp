#include "game/widgets/bar.h"

#include "core/windows/windowstyle.h"
#include "game/utilities/draw2dscope.h"
#include "game/widgets/widgetclass.h"
#include "graphics/render/drawstate.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"

namespace {

constexpr uint16_t kFanIndices[4] = {0, 1, 2, 3};
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFF;

TVec2 ReadPosition(const TWindowStyle& style, const char* xKey, const char* yKey) {
    return TVec2(static_cast<float>(style.GetNumber(xKey, KBar::kUnsetPosition)),
                 static_cast<float>(style.GetNumber(yKey, KBar::kUnsetPosition)));
}

}  // namespace

TWindow* KBar::Create() {
    return new KBar();
}

KBar::KBar() : mVertices(4) {
    for (TRenderVertex& vertex : mVertices) vertex.diffuse = kOpaqueWhite;
}

const char* KBar::GetClassName() const {
    return "KBar";
}

bool KBar::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), KGauge::ClassId(), TWindow::ClassId()});
}

void KBar::Init(const TWindowStyle& style) {
    KGauge::Init(style);
    mBase = ReadPosition(style, "basepos_x", "basepos_y");
    mStart = ReadPosition(style, "startpos_x", "startpos_y");
    mEnd = ReadPosition(style, "endpos_x", "endpos_y");
    mBarImage = GetImage(style.GetString("bar", TString()));
    mOverlay = GetImage(style.GetString("overlay", TString()));
    // Kept as given until the first SetValue clamps it.
    mValue = static_cast<float>(style.GetNumber("startpos", 0));
    BuildQuad();
}

void KBar::SetValue(float value) {
    mValue = ClampUnit(value);
    BuildQuad();
    InvalidateScreen();
}

void KBar::BuildQuad() {
    TVec2 moving = mStart + (mEnd - mStart) * mValue;
    const TVec2 corners[4] = {mBase, TVec2(mBase.x, moving.y), moving, TVec2(moving.x, mBase.y)};
    for (int i = 0; i < 4; ++i) {
        TRenderVertex& vertex = mVertices[static_cast<size_t>(i)];
        vertex.x = corners[i].x;
        vertex.y = corners[i].y;
        vertex.z = 0;
        SetTexCoord(vertex, mBarImage);
    }
}

void KBar::PostDraw() {
    if (mBarImage) DrawIndexed(mBarImage, TRenderer::kTriangleFan, mVertices, kFanIndices, 4);
    if (!mOverlay) return;
    TDraw2dScope scope;
    if (!scope.IsOpen()) return;
    // Textures draw centred on their position: this puts the overlay's
    // top-left corner on the window's.
    mOverlay->Draw(TDrawState(
        TVec2(static_cast<float>(mOverlay->GetWidth()) / 2, static_cast<float>(mOverlay->GetHeight()) / 2), 1, 1, 0));
}
