#include "graphics/recordingrenderbackend.h"

TRecordingRenderBackEnd::TRecordingRenderBackEnd(const TRect& screen)
    : mScreen(screen), mViewport(screen), mViewRect(screen) {}

void TRecordingRenderBackEnd::PushViewport(const TRect& rect) {
    mCalls.push_back({kPushViewport, rect, TColor4f()});
    mSavedViewports.push_back(mViewport);
    mViewport = rect;
}

void TRecordingRenderBackEnd::PopViewport() {
    mCalls.push_back({kPopViewport, TRect(), TColor4f()});
    if (mSavedViewports.empty()) return;
    mViewport = mSavedViewports.back();
    mSavedViewports.pop_back();
}

void TRecordingRenderBackEnd::SetViewRect(const TRect& rect) {
    mCalls.push_back({kSetViewRect, rect, TColor4f()});
    mViewRect = rect;
}

bool TRecordingRenderBackEnd::FillRect(const TRect& rect, const TColor4f& color) {
    mCalls.push_back({kFillRect, rect, color});
    return true;
}
