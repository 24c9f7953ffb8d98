// A back end that draws nothing and records every call, for tests of the
// code that draws. Tests choose what its queries and Begin calls answer.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/render/renderbackend.h"
#include "graphics/render/vertexset.h"

class TRecordingRenderBackEnd : public TRenderBackEnd {
public:
    enum TCallKind {
        kBeginDraw,
        kEndDraw,
        kBeginRenderTarget,
        kEndRenderTarget,
        kBegin2d,
        kEnd2d,
        kBegin3d,
        kEnd3d,
        kDrawVertices,
        kDrawIndexedVertices,
        kFillRect,
        kSetTexture,
        kSetBlendMode,
        kSetCullMode,
        kSetFilterMode,
        kRenderHint,
        kPushViewport,
        kPopViewport,
        kSetViewRect,
    };

    struct TCall {
        explicit TCall(TCallKind callKind) : kind(callKind) {}

        TCallKind kind;
        TRect rect;                          // viewports, view rectangles and fills
        TColor4f color;                      // FillRect
        int value = 0;                       // the flag, mode, kind or primitive type
        const TTexture* texture = nullptr;   // SetTexture, BeginRenderTarget, FillRect's target
        TString key;                         // render hints: the key
        TString text;                        // and its value
        int vertexKind = 0;                  // draws: the vertex set's kind
        std::vector<TRenderVertex> vertices; // and a copy of its vertices
        std::vector<uint16_t> indices;       // DrawIndexedVertices
    };

    // What the Begin calls, FillRect and the device query answer.
    struct TResults {
        bool beginDraw = true;
        bool beginRenderTarget = true;
        bool begin2d = true;
        bool begin3d = true;
        bool fillRect = true;
        bool squareTexturesOnly = false;
    };

    // The viewport starts as the whole screen.
    explicit TRecordingRenderBackEnd(const TRect& screen);

    bool BeginDraw(bool checkContext) override;
    void EndDraw(bool present) override;
    bool BeginRenderTarget(const std::shared_ptr<TTexture>& texture, int mode) override;
    void EndRenderTarget() override;

    bool Begin2d() override;
    void End2d() override;
    bool Begin3d() override;
    void End3d() override;

    void DrawVertices(int primitiveType, const TVertexSet& vertices) override;
    void DrawIndexedVertices(int primitiveType, const TVertexSet& vertices, const uint16_t* indices,
                             int indexCount) override;
    bool FillRect(const TRect& rect, const TColor4f& color, const std::shared_ptr<TTexture>& target) override;

    void SetTexture(const std::shared_ptr<TTexture>& texture) override;
    void SetBlendMode(int mode) override;
    void SetCullMode(int kind) override;
    void SetFilterMode(int mode) override;
    void OnRenderHint(const TString& key, const TString& value) override;
    bool IsSquareTexturesOnly() const override { return mResults.squareTexturesOnly; }

    TRect GetScreenRect() const override { return mScreen; }
    TRect GetViewport() const override { return mViewport; }
    void PushViewport(const TRect& rect) override;
    // A pop without a matching push keeps the viewport.
    void PopViewport() override;
    void SetViewRect(const TRect& rect) override;

    TResults& Results() { return mResults; }
    TRect GetViewRect() const { return mViewRect; }
    int GetViewportDepth() const { return static_cast<int>(mSavedViewports.size()); }
    const std::vector<TCall>& GetCalls() const { return mCalls; }
    // The kinds of the recorded calls, in order.
    std::vector<TCallKind> GetCallKinds() const;
    void ClearCalls() { mCalls.clear(); }

private:
    TCall& Record(TCallKind kind);
    TCall& RecordDraw(TCallKind kind, int primitiveType, const TVertexSet& vertices);

    TRect mScreen;
    TRect mViewport;
    TRect mViewRect;
    std::vector<TRect> mSavedViewports;
    TResults mResults;
    std::vector<TCall> mCalls;
};
