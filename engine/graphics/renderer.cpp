#include "graphics/renderer.h"

#include "graphics/renderbackend.h"

namespace {

std::unique_ptr<TRenderer>& Instance() {
    static std::unique_ptr<TRenderer> instance;
    return instance;
}

}  // namespace

TRenderer* TRenderer::GetInstance() {
    if (!Instance()) Instance() = std::make_unique<TRenderer>();
    return Instance().get();
}

void TRenderer::DestroyInstance() {
    Instance().reset();
}

TRenderer::~TRenderer() = default;

void TRenderer::SetBackEnd(std::unique_ptr<TRenderBackEnd> backEnd) {
    mBackEnd = std::move(backEnd);
}

TRect TRenderer::GetScreenRect() const {
    return mBackEnd ? mBackEnd->GetScreenRect() : TRect();
}

bool TRenderer::FillRect(const TRect& rect, const TColor4f& color) {
    if (!mBackEnd) return false;
    TRect screen = mBackEnd->GetScreenRect();
    TRect moved(rect.left + screen.left, rect.top + screen.top, rect.right + screen.left, rect.bottom + screen.top);
    TRect clipped;
    clipped.Intersect(moved, screen);
    return mBackEnd->FillRect(clipped, color);
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

void TRenderer::ApplyViewRect() {
    if (mBackEnd) mBackEnd->SetViewRect(mViewRects.back());
}
