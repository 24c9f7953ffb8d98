// A back end that draws nothing and records every call, for tests of the
// code that draws.
#pragma once

#include <vector>

#include "graphics/renderbackend.h"

class TRecordingRenderBackEnd : public TRenderBackEnd {
public:
    enum TCallKind { kPushViewport, kPopViewport, kSetViewRect, kFillRect };

    struct TCall {
        TCallKind kind;
        TRect rect;         // the rectangle given; empty for pops
        TColor4f color;     // FillRect only
    };

    // The viewport starts as the whole screen.
    explicit TRecordingRenderBackEnd(const TRect& screen);

    TRect GetScreenRect() const override { return mScreen; }
    TRect GetViewport() const override { return mViewport; }
    void PushViewport(const TRect& rect) override;
    // A pop without a matching push keeps the viewport.
    void PopViewport() override;
    void SetViewRect(const TRect& rect) override;
    bool FillRect(const TRect& rect, const TColor4f& color) override;

    TRect GetViewRect() const { return mViewRect; }
    int GetViewportDepth() const { return static_cast<int>(mSavedViewports.size()); }
    const std::vector<TCall>& GetCalls() const { return mCalls; }
    void ClearCalls() { mCalls.clear(); }

private:
    TRect mScreen;
    TRect mViewport;
    TRect mViewRect;
    std::vector<TRect> mSavedViewports;
    std::vector<TCall> mCalls;
};
