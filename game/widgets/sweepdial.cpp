#include "game/widgets/sweepdial.h"

#include <cmath>

#include "core/windows/windowstyle.h"
#include "foundation/color.h"
#include "foundation/debuglog.h"
#include "game/widgets/widgetclass.h"
#include "graphics/render/renderer.h"

namespace {

constexpr uint32_t kOpaqueWhite = 0xFFFFFFFF;

}  // namespace

TWindow* KSweepDial::Create() {
    return new KSweepDial();
}

const char* KSweepDial::GetClassName() const {
    return "KSweepDial";
}

bool KSweepDial::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), KDial::ClassId(), KGauge::ClassId(), TWindow::ClassId()});
}

void KSweepDial::PostInit(const TWindowStyle& style) {
    mWidth = GetWidth();
    mHeight = GetHeight();
    mSweep = GetImage(style.GetString("sweep", TString()));
    int segments = style.GetInt("numsegments", mSegments);
    if (segments < 2 || segments > kMaxSegments) {
        DebugLog("KSweepDial: numsegments %d is outside 2..%d; %d are kept", segments, kMaxSegments, mSegments);
    } else {
        mSegments = segments;
    }
    mAspect = mWidth > 0 ? static_cast<float>(mHeight) / static_cast<float>(mWidth) : 0;
    mStartAngle = mCurrentAngle = mAngle;
    AllocateFan();
    mBuilt = true;
    SetValue(GetValue());
    KDial::PostInit(style);
}

void KSweepDial::AllocateFan() {
    size_t count = static_cast<size_t>(mSegments) + 1;
    mVertices.assign(count, TRenderVertex());
    mIndices.assign(3 * count, 0);
    uint16_t centre = static_cast<uint16_t>(mSegments);
    for (size_t i = 0; i < count; ++i) {
        mVertices[i].diffuse = kOpaqueWhite;
        // Every triangle fans out from the centre.
        mIndices[3 * i] = centre;
        mIndices[3 * i + 1] = static_cast<uint16_t>(i);
        mIndices[3 * i + 2] = static_cast<uint16_t>(i + 1);
    }
    TRenderVertex& middle = mVertices[static_cast<size_t>(mSegments)];
    middle.x = static_cast<float>(mCenterX);
    middle.y = static_cast<float>(mCenterY);
    SetTexCoord(middle, mSweep);
}

void KSweepDial::SetValue(float value) {
    KDial::SetValue(value);
    mCurrentAngle = mAngle;
    if (mBuilt) BuildSweep();
}

void KSweepDial::BuildSweep() {
    bool backwards = mCurrentAngle < mStartAngle;
    float from = backwards ? mCurrentAngle : mStartAngle;
    float to = (backwards ? mStartAngle : mCurrentAngle) + kOvershoot;
    float step = kFullTurn / static_cast<float>(mSegments);
    int n = 0;
    // At most N - 1 steps; a wider sector ends in one long triangle.
    for (float angle = from; n < mSegments - 1 && (n == 0 || angle < to); angle += step) {
        SetEdgeVertex(n, angle);
        ++n;
    }
    SetEdgeVertex(n, to);
    mTriangles = n;
}

void KSweepDial::SetEdgeVertex(int index, float angle) {
    TRenderVertex& vertex = mVertices[static_cast<size_t>(index)];
    TVec2 point = EdgePoint(angle);
    vertex.x = point.x;
    vertex.y = point.y;
    SetTexCoord(vertex, mSweep);
}

TVec2 KSweepDial::EdgePoint(float angle) const {
    float s = std::sin(angle);
    float cx = static_cast<float>(mCenterX);
    float cy = static_cast<float>(mCenterY);
    float width = static_cast<float>(mWidth);
    float height = static_cast<float>(mHeight);
    if (s == 0) return TVec2(cx, 0);
    float k = -std::cos(angle) / s;
    float e = mAspect;
    if (s > 0) {
        if (k < -e) return TVec2(cx - cy / k, 0);
        if (k < e) return TVec2(width, cy + k * cx);
        return TVec2(cx + cy / k, height);
    }
    if (k > e) return TVec2(cx - cy / k, 0);
    if (k > -e) return TVec2(0, cy - k * cx);
    return TVec2(cx + cy / k, height);
}

void KSweepDial::PostDraw() {
    if (mSweep && mBuilt && GetValue() != 0) {
        uint32_t colour = TColor(TColor4f(1, 1, 1, mNeedleAlpha)).ARGB();
        for (TRenderVertex& vertex : mVertices) vertex.diffuse = colour;
        DrawIndexed(mSweep, TRenderer::kTriangleList, mVertices, mIndices.data(), 3 * mTriangles);
    }
    KDial::PostDraw();
}
