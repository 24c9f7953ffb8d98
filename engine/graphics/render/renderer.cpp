#include "graphics/render/renderer.h"

#include <cstdio>

#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "graphics/render/renderbackend.h"
#include "graphics/texture.h"
#include "platform/os/timer.h"

namespace {

const uint32_t kReportInterval = 1000;

// Never destroyed: a library may call exit() in the middle of a frame, and
// the display back end must not be torn down by exit-time destructors then.
// The platform's teardown destroys the renderer (DestroyInstance).
std::unique_ptr<TRenderer>& Instance() {
    static auto* instance = new std::unique_ptr<TRenderer>();
    return *instance;
}

}  // namespace

TRenderer* TRenderer::GetInstance() {
    if (!Instance()) Instance() = std::make_unique<TRenderer>();
    return Instance().get();
}

void TRenderer::DestroyInstance() {
    if (Instance()) Instance()->SetBackEnd(nullptr);
    Instance().reset();
}

TRenderer::~TRenderer() = default;

void TRenderer::SetBackEnd(std::unique_ptr<TRenderBackEnd> backEnd) {
    mBackEnd = std::move(backEnd);
}

bool TRenderer::BeginDraw(bool checkContext) {
    mDrawing = mBackEnd && mBackEnd->BeginDraw(checkContext);
    return mDrawing;
}

void TRenderer::EndDraw(bool present) {
    CountFrame();
    if (mStatsOverlay && mOverlay) mOverlay->Draw(*this);
    mDrawing = false;
    if (mBackEnd) mBackEnd->EndDraw(present);
}

void TRenderer::CountFrame() {
    uint32_t now = os::TimeMilliseconds();
    mFrameTimes[mFrameIndex] = now;
    mFrameIndex = (mFrameIndex + 1) % kFrameRingSize;
    if (mFrameIndex != 0) return;
    uint32_t elapsed = now - mFrameTimes[0];
    // Fifteen frames within one millisecond keep the last rate.
    if (elapsed == 0) return;
    mFramesPerSecond = kFrameRingSize * 1000.0f / static_cast<float>(elapsed);
    if (!mReportFrameRate || now - mLastReportTime <= kReportInterval) return;
    mLastReportTime = now;
    // Never to the log: once a second would wrap it within the hour.
    if (GetSettingBool(kSettingVerboseDebug)) std::fprintf(stderr, "fps: %f\n", mFramesPerSecond);
}

bool TRenderer::BeginRenderTarget(const std::shared_ptr<TTexture>& texture, int mode) {
    // An empty texture is what a failed texture creation hands on.
    if (!texture || texture->IsSimple() || IsDrawing() || !mBackEnd) return false;
    bool begun = mBackEnd->BeginRenderTarget(texture, mode);
    mRenderTarget = begun;
    mDrawing = begun;
    return begun;
}

void TRenderer::EndRenderTarget() {
    if (mBackEnd) mBackEnd->EndRenderTarget();
    mRenderTarget = false;
    mDrawing = false;
}

bool TRenderer::Begin2d() {
    if (mIn2d) {
        DebugLog("Begin2d called when already in Begin2d state");
        return false;
    }
    if (mIn3d) {
        DebugLog("Begin2d called when already in Begin3d state");
        return false;
    }
    if (!IsDrawing()) {
        DebugLog("ERROR: Calling Begin2d outside of a BeginDraw or BeginRenderTarget block!");
        return false;
    }
    mIn2d = mBackEnd && mBackEnd->Begin2d();
    return mIn2d;
}

bool TRenderer::End2d() {
    if (!mIn2d) {
        DebugLog("End2d called when not in Begin2d state");
        return false;
    }
    if (!IsDrawing()) DebugLog("ERROR: Calling End2d after EndDraw or EndRenderTarget!");
    if (mBackEnd) mBackEnd->End2d();
    mIn2d = false;
    return true;
}

bool TRenderer::Begin3d() {
    if (mIn2d) {
        DebugLog("Begin3d called when already in Begin2d state");
        return false;
    }
    if (mIn3d) {
        DebugLog("Begin3d called when already in Begin3d state");
        return false;
    }
    if (!IsDrawing()) {
        DebugLog("ERROR: Calling Begin3d outside of a BeginDraw or BeginRenderTarget block!");
        return false;
    }
    mIn3d = mBackEnd && mBackEnd->Begin3d();
    return mIn3d;
}

bool TRenderer::End3d() {
    if (!mIn3d) {
        DebugLog("End3d called when not in Begin3d state");
        return false;
    }
    if (!IsDrawing()) DebugLog("Calling End3d after EndDraw or EndRenderTarget!");
    if (mBackEnd) mBackEnd->End3d();
    mIn3d = false;
    return true;
}

void TRenderer::DrawVertices(int primitiveType, const TVertexSet& vertices) {
    if (!mIn2d && !mIn3d) {
        DebugLog("DrawVertices called when not in Begin2d or Begin3d state");
        return;
    }
    if (mBackEnd) mBackEnd->DrawVertices(primitiveType, vertices);
}

void TRenderer::DrawIndexedVertices(int primitiveType, const TVertexSet& vertices, const uint16_t* indices,
                                    int indexCount) {
    if (!mIn2d && !mIn3d) {
        DebugLog("DrawIndexedVertices called when not in Begin2d or Begin3d state");
        return;
    }
    if (mBackEnd) mBackEnd->DrawIndexedVertices(primitiveType, vertices, indices, indexCount);
}

bool TRenderer::FillRect(const TRect& rect, const TColor4f& color, const std::shared_ptr<TTexture>& target) {
    if (!mBackEnd) return false;
    if (target) return mBackEnd->FillRect(rect, color, target);
    TRect screen = mBackEnd->GetScreenRect();
    TRect moved(rect.left + screen.left, rect.top + screen.top, rect.right + screen.left, rect.bottom + screen.top);
    TRect clipped;
    clipped.Intersect(moved, screen);
    return mBackEnd->FillRect(clipped, color, nullptr);
}

void TRenderer::SetTexture(const std::shared_ptr<TTexture>& texture) {
    // Pixel-access textures are never bound.
    mTexture = texture && !texture->IsSimple() ? texture : nullptr;
    if (mBackEnd) mBackEnd->SetTexture(mTexture);
}

void TRenderer::SetBlendMode(int mode) {
    if (mBackEnd) mBackEnd->SetBlendMode(mode);
}

void TRenderer::SetCullMode(int kind) {
    if (mBackEnd) mBackEnd->SetCullMode(kind);
}

void TRenderer::SetFilterMode(int mode) {
    if (mBackEnd) mBackEnd->SetFilterMode(mode);
}

bool TRenderer::IsSquareTexturesOnly() const {
    return mBackEnd && mBackEnd->IsSquareTexturesOnly();
}

void TRenderer::SetCaptureTexture(const std::shared_ptr<TTexture>& texture) {
    if (!texture) {
        mCaptureTexture = nullptr;
        return;
    }
    // The frame is copied unscaled: only a texture of the root window's size
    // takes it, whatever viewport is pushed at the time.
    if (!mRootSize) return;
    TPoint root = mRootSize();
    if (texture->GetWidth() == root.x && texture->GetHeight() == root.y) mCaptureTexture = texture;
}

TRect TRenderer::GetScreenRect() const {
    return mBackEnd ? mBackEnd->GetScreenRect() : TRect();
}

TRect TRenderer::GetViewport() const {
    return mBackEnd ? mBackEnd->GetViewport() : TRect();
}

void TRenderer::PushViewport(const TRect& rect) {
    if (mBackEnd) mBackEnd->PushViewport(rect);
}

void TRenderer::PopViewport() {
    if (mBackEnd) mBackEnd->PopViewport();
}

void TRenderer::PushViewRect(const TRect& rect) {
    mViewRects.push_back(rect);
    ApplyViewRect();
}

void TRenderer::SetViewRect(const TRect& rect) {
    if (mViewRects.empty()) {
        mViewRects.push_back(rect);
    } else {
        mViewRects.back() = rect;
    }
    ApplyViewRect();
}

void TRenderer::PopViewRect() {
    if (mViewRects.size() < 2) return;
    mViewRects.pop_back();
    ApplyViewRect();
}

TRect TRenderer::GetViewRect() const {
    return mViewRects.empty() ? TRect() : mViewRects.back();
}

void TRenderer::ClearViewRects() {
    mViewRects.clear();
    if (mBackEnd) mBackEnd->SetViewRect(mBackEnd->GetScreenRect());
}

void TRenderer::ApplyViewRect() {
    if (mBackEnd) mBackEnd->SetViewRect(mViewRects.back());
}

void TRenderer::OnSettingChanged(const TString& key, const TString& value) {
    if (key == "fps") mReportFrameRate = value.ToInt() != 0;
    if (mBackEnd) mBackEnd->OnRenderHint(key, value);
}

bool TRenderer::ToggleStatsOverlay() {
    bool previous = mStatsOverlay;
    mStatsOverlay = !mStatsOverlay;
    return previous;
}

void TRenderer::BuildQuad(const TVec2& offset, TRenderVertex* quad, TVec2* corners, const TVec2& uvTopLeft,
                          const TVec2& uvBottomRight, const TMat3& matrix, float alpha, const TColor4f& tint) {
    const TVec2 uvs[4] = {uvTopLeft, TVec2(uvBottomRight.x, uvTopLeft.y), uvBottomRight,
                          TVec2(uvTopLeft.x, uvBottomRight.y)};
    // Clamped, NaN as 0: an out-of-range tint must not wrap into another colour.
    const TColor diffuse(TColor4f(tint.r, tint.g, tint.b, alpha));
    const TColor specular(0, 0, 0, 255);
    for (int i = 0; i < 4; ++i) {
        corners[i] = matrix.TransformPoint(corners[i]);
        TRenderVertex& vertex = quad[i];
        vertex = TRenderVertex();
        vertex.x = corners[i].x + offset.x;
        vertex.y = corners[i].y + offset.y;
        vertex.z = 0.1f;
        vertex.rhw = 0.5f;
        vertex.diffuse = diffuse.ARGB();
        vertex.specular = specular.ARGB();
        vertex.u = uvs[i].x;
        vertex.v = uvs[i].y;
    }
}

TBegin2dScope::TBegin2dScope(TRenderer& renderer) : mRenderer(renderer), mBegun(renderer.Begin2d()) {}

bool TBegin2dScope::End() {
    if (!mBegun) return false;
    mBegun = false;
    return mRenderer.End2d();
}
