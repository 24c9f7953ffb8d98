// The vector shape renderer: rasterises shape streams (glyphs, text cursors,
// underlines) into spans and draws them, either as a line list through the
// renderer or straight into locked pixels. Rasterised shapes are cached and
// replayed. One instance per display, reached through GetInstance.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "foundation/color.h"
#include "graphics/render/vertexset.h"
#include "graphics/text/pixeltarget.h"
#include "graphics/text/shapescanner.h"
#include "graphics/text/spancache.h"
#include "graphics/text/spanwriter.h"

class TRenderer;
class TTexture;

class TQmMiniVecDraw final : private TSpanSink {
public:
    static constexpr int kBatchVertices = 256;
    // For hardware on which the pixel-offset self-test lit nothing.
    static constexpr int kSmallBatchVertices = 64;
    static constexpr int kSelfTestWidth = 800;
    static constexpr int kSelfTestHeight = 512;

    // Where span vertices are put relative to their pixels.
    struct TPixelOffsets {
        float startX = 0.25f;
        float endX = 0.25f;
        float y = 0.25f;
        bool operator==(const TPixelOffsets& other) const = default;
    };

    // Reads the self-test's render target back: kSelfTestWidth x
    // kSelfTestHeight packed ARGB pixels, rows from the top.
    using TReadBack = std::function<bool(std::vector<uint32_t>& pixels)>;

    explicit TQmMiniVecDraw(TRenderer& renderer);
    ~TQmMiniVecDraw();
    TQmMiniVecDraw(const TQmMiniVecDraw&) = delete;
    TQmMiniVecDraw& operator=(const TQmMiniVecDraw&) = delete;

    // The display's instance, set by the platform; null before.
    static TQmMiniVecDraw* GetInstance();
    static void SetInstance(TQmMiniVecDraw* instance);

    // Places the following shapes at pixel (x, y), to a quarter pixel. A
    // different target finishes the current one first; no target draws
    // through the renderer.
    bool Begin(float x, float y, TPixelTarget* target = nullptr);
    // The colour of a slot: 1 is the text, 255 and 254 the two strokes.
    void SetColour(int slot, const TColor4f& colour, float alpha);

    // Font units to quarter pixels.
    void SetScale(float x, float y);
    void SetRotation(float cosine, float sine);
    // Stroke 0 is the outline, 1 synthetic bold; 0 turns a stroke off.
    void SetLineWidth(int stroke, float width);
    void SetItalic(bool italic);
    // How spans are written into a target.
    void SetPixelModes(bool merge, bool copy);

    // Draws a shape stream at the origin moved by (x, y) quarter pixels.
    void DrawShape(const uint8_t* stream, int x, int y);
    // Fills a box given in pixels relative to the origin (text cursors,
    // underlines), at one pixel per unit whatever the scale, unstroked.
    void DrawRect(int x0, int y0, int x1, int y1);

    // Sends the batched spans on.
    void Flush();
    // Flushes and lets go of the target.
    void End();

    // Finds the pixel offsets that make spans land on exact pixels: draws
    // test spans for every candidate into the target, reads it back and
    // keeps the best: the brightest, and of those the one deepest inside the
    // range that works. False, with fallback offsets, when none lands exactly.
    bool SelfTest(const std::shared_ptr<TTexture>& target, const TReadBack& readBack);
    TPixelOffsets GetPixelOffsets() const { return mOffsets; }
    int GetBatchVertices() const { return mBatchVertices; }

private:
    struct TSelfTestOutcome {
        int best = -1;  // the winning candidate
        int unlit = 0;  // candidates that lit nothing
    };

    void DefineColour(int slot, uint8_t red, uint8_t green, uint8_t blue) override;
    void AddSpan(const TSpan& span) override;

    void DrawAt(const uint8_t* stream, int quarterX, int quarterY, bool cacheable);
    void Replay(int64_t place);
    void Output(int x0, int x1, int y, uint32_t argb);
    void SwitchTarget(TPixelTarget* target);
    TSpanKey KeyFor(const uint8_t* stream) const;

    TSelfTestOutcome RunSelfTest(const std::shared_ptr<TTexture>& target, const TReadBack& readBack);
    static TSelfTestOutcome JudgeSelfTest(const std::vector<uint32_t>& pixels);
    static TPixelOffsets CandidateOffsets(int candidate);
    void DrawSelfTestSpans(int candidate);

    TRenderer& mRenderer;
    TShapeScanner mScanner;
    TSpanCache mCache;
    TShapeStyle mStyle;
    bool mRecording = false;

    // The current origin, and the shape being drawn, in pixels.
    int mOriginX = 0;
    int mOriginY = 0;
    int mPhaseX = 0;
    int mPhaseY = 0;
    int mShapeX = 0;
    int mShapeY = 0;

    // Packed ARGB by colour slot and coverage 0..16.
    uint32_t mRamps[256][17];

    TPixelOffsets mOffsets;
    int mBatchVertices = kBatchVertices;
    // The batch: mVertexCount of them are in use.
    std::vector<TRenderVertex> mVertices;
    int mVertexCount = 0;

    struct TTargetSpan {
        int x0;
        int x1;
        int y;
        uint32_t argb;
    };
    TPixelTarget* mTarget = nullptr;
    TLockedPixels mLocked;
    bool mLockedOk = false;
    TPixelMode mPixelMode = TPixelMode::kBlend;
    std::vector<TTargetSpan> mTargetSpans;
};
