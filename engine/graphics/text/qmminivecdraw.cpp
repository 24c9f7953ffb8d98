#include "graphics/text/qmminivecdraw.h"

#include <algorithm>
#include <cmath>

#include "foundation/debuglog.h"
#include "foundation/rect.h"
#include "graphics/render/renderer.h"
#include "graphics/text/shapestream.h"

namespace {

TQmMiniVecDraw* gInstance = nullptr;

const float kVertexZ = 0.1f;
const float kVertexRhw = 0.5f;
const uint32_t kOpaqueBlack = 0xFF000000u;
const int kFullCoverage = 16;
// Shape positions stay well inside int range in quarter pixels.
const float kPositionLimit = 1 << 26;
// Boxes are cut to this reach around the origin: beyond it nothing shows.
const int kRectReach = 4096;
// Box coordinates are stored as v x 128 in 16 bits.
const int kRectPiece = 255;

// Candidates: 4 start offsets, 8 end offsets and 4 row offsets, the row
// offset counting fastest.
const int kOffsetCounts[3] = {4, 8, 4};
const int kOffsetStrides[3] = {32, 4, 1};
const int kCandidates = 128;
const int kUnlitLimit = 75;
const TQmMiniVecDraw::TPixelOffsets kFallbackOffsets{-0.75f, -0.75f, 0.25f};
const uint32_t kSelfTestColour = 0xFFFFFFFFu;

int ToQuarters(float v) {
    float quarters = std::floor(std::clamp(v, -kPositionLimit, kPositionLimit) * 4);
    return std::isnan(quarters) ? 0 : static_cast<int>(quarters);
}

int Green(uint32_t argb) {
    return static_cast<int>((argb >> 8) & 0xFF);
}

bool IsLit(uint32_t argb) {
    return (argb & 0x00FFFFFFu) != 0;
}

// The brightness of the candidate's two pixels, or -1 when it lit any other
// of the nine pixels around them or missed one of them.
int ScoreCandidate(const std::vector<uint32_t>& pixels, int candidate, bool& lit) {
    int score = 0;
    bool exact = true;
    int column = candidate * 4;
    for (int y = 0; y < 3; ++y) {
        for (int x = column; x < column + 3; ++x) {
            uint32_t pixel = pixels[static_cast<size_t>(y) * TQmMiniVecDraw::kSelfTestWidth + x];
            bool expected = x == column + 1 && y >= 1;
            lit = lit || IsLit(pixel);
            exact = exact && IsLit(pixel) == expected;
            if (expected) score += Green(pixel);
        }
    }
    return exact ? score : -1;
}

// Passing candidates one step away along each of the three offsets.
int PassingNeighbours(const std::vector<int>& scores, int candidate) {
    int count = 0;
    for (int axis = 0; axis < 3; ++axis) {
        int stride = kOffsetStrides[axis];
        int position = candidate / stride % kOffsetCounts[axis];
        if (position > 0 && scores[candidate - stride] >= 0) ++count;
        if (position + 1 < kOffsetCounts[axis] && scores[candidate + stride] >= 0) ++count;
    }
    return count;
}

}  // namespace

TQmMiniVecDraw::TQmMiniVecDraw(TRenderer& renderer) : mRenderer(renderer), mVertices(kBatchVertices) {
    for (int slot = 0; slot < 256; ++slot) SetColour(slot, TColor4f(1, 1, 1, 1), 1);
}

TQmMiniVecDraw::~TQmMiniVecDraw() {
    End();
    if (gInstance == this) gInstance = nullptr;
}

TQmMiniVecDraw* TQmMiniVecDraw::GetInstance() {
    return gInstance;
}

void TQmMiniVecDraw::SetInstance(TQmMiniVecDraw* instance) {
    gInstance = instance;
}

bool TQmMiniVecDraw::Begin(float x, float y, TPixelTarget* target) {
    int quarterX = ToQuarters(x);
    int quarterY = ToQuarters(y);
    mOriginX = quarterX >> 2;
    mOriginY = quarterY >> 2;
    mPhaseX = quarterX & 3;
    mPhaseY = quarterY & 3;
    if (target != mTarget) SwitchTarget(target);
    return true;
}

void TQmMiniVecDraw::SwitchTarget(TPixelTarget* target) {
    Flush();
    if (mTarget && mLockedOk) mTarget->Unlock();
    mTarget = target;
    mLockedOk = target && target->Lock(mLocked);
    if (target && !mLockedOk) DebugLog("TQmMiniVecDraw: could not lock the target; its shapes are dropped");
}

void TQmMiniVecDraw::SetColour(int slot, const TColor4f& colour, float alpha) {
    if (slot < 0 || slot > 255) return;
    uint32_t rgb = TColor(colour).ARGB() & 0x00FFFFFFu;
    float alpha255 = std::clamp(colour.a * alpha, 0.0f, 1.0f) * 255;
    if (std::isnan(alpha255)) alpha255 = 0;
    for (int coverage = 0; coverage <= kFullCoverage; ++coverage) {
        uint32_t level = static_cast<uint32_t>(alpha255 * (16 * coverage) / 256);
        mRamps[slot][coverage] = level << 24 | rgb;
    }
}

void TQmMiniVecDraw::DefineColour(int slot, uint8_t red, uint8_t green, uint8_t blue) {
    SetColour(slot, TColor4f(red / 255.0f, green / 255.0f, blue / 255.0f, 1), 1);
}

void TQmMiniVecDraw::SetScale(float x, float y) {
    mStyle.scaleX = x;
    mStyle.scaleY = y;
}

void TQmMiniVecDraw::SetRotation(float cosine, float sine) {
    mStyle.rotCos = cosine;
    mStyle.rotSin = sine;
}

void TQmMiniVecDraw::SetLineWidth(int stroke, float width) {
    if (stroke == 0 || stroke == 1) mStyle.lineWidths[stroke] = width;
}

void TQmMiniVecDraw::SetItalic(bool italic) {
    mStyle.italic = italic;
}

void TQmMiniVecDraw::SetPixelModes(bool merge, bool copy) {
    mPixelMode = copy ? TPixelMode::kCopy : merge ? TPixelMode::kMerge : TPixelMode::kBlend;
}

void TQmMiniVecDraw::DrawShape(const uint8_t* stream, int x, int y) {
    if (stream) DrawAt(stream, x, y, true);
}

void TQmMiniVecDraw::DrawAt(const uint8_t* stream, int quarterX, int quarterY, bool cacheable) {
    int64_t x = int64_t(mOriginX) * 4 + mPhaseX + quarterX;
    int64_t y = int64_t(mOriginY) * 4 + mPhaseY + quarterY;
    mShapeX = static_cast<int>(x >> 2);
    mShapeY = static_cast<int>(y >> 2);
    mStyle.phaseX = static_cast<int>(x & 3);
    mStyle.phaseY = static_cast<int>(y & 3);
    if (cacheable) {
        TSpanKey key = KeyFor(stream);
        int64_t place = mCache.Find(key);
        if (place >= 0) {
            Replay(place);
            return;
        }
        mCache.BeginRecording(key);
        mRecording = true;
    }
    mScanner.Scan(stream, mStyle, *this);
    if (mRecording) mCache.EndRecording();
    mRecording = false;
}

TSpanKey TQmMiniVecDraw::KeyFor(const uint8_t* stream) const {
    TSpanKey key;
    key.stream = stream;
    key.phaseX = static_cast<uint8_t>(mStyle.phaseX);
    key.phaseY = static_cast<uint8_t>(mStyle.phaseY);
    key.scaleX = mStyle.scaleX;
    key.scaleY = mStyle.scaleY;
    key.lineWidths[0] = mStyle.lineWidths[0];
    key.lineWidths[1] = mStyle.lineWidths[1];
    key.italic = mStyle.italic;
    key.rotCos = mStyle.rotCos;
    key.rotSin = mStyle.rotSin;
    return key;
}

void TQmMiniVecDraw::Replay(int64_t place) {
    for (; !mCache.IsEnd(place); ++place) {
        const TSpan& span = mCache.At(place);
        Output(mShapeX + span.x0, mShapeX + span.x1, mShapeY + span.y,
               mRamps[mScanner.GetRowSlot(span.row)][span.level]);
    }
}

void TQmMiniVecDraw::AddSpan(const TSpan& span) {
    if (mRecording) mCache.Add(span);
    Output(mShapeX + span.x0, mShapeX + span.x1, mShapeY + span.y, mRamps[mScanner.GetRowSlot(span.row)][span.level]);
}

// A span is a pair of line-list vertices on the screen, or a run of pixels
// in the target.
void TQmMiniVecDraw::Output(int x0, int x1, int y, uint32_t argb) {
    if (mTarget) {
        if (!mLockedOk) return;
        mTargetSpans.push_back(TTargetSpan{x0, x1, y, argb});
        if (static_cast<int>(mTargetSpans.size()) * 2 >= mBatchVertices) Flush();
        return;
    }
    // Written in place: building a vertex aside and copying it was most of
    // the cost of replaying cached text.
    TRenderVertex* vertex = &mVertices[mVertexCount];
    for (int end = 0; end < 2; ++end, ++vertex) {
        vertex->x = end ? x1 + mOffsets.endX : x0 + mOffsets.startX;
        vertex->y = y + mOffsets.y;
        vertex->z = kVertexZ;
        vertex->rhw = kVertexRhw;
        vertex->diffuse = argb;
        vertex->specular = kOpaqueBlack;
        vertex->u = 0;
        vertex->v = 0;
    }
    mVertexCount += 2;
    if (mVertexCount >= mBatchVertices) Flush();
}

void TQmMiniVecDraw::Flush() {
    for (const TTargetSpan& span : mTargetSpans) WriteSpan(mLocked, span.x0, span.x1, span.y, span.argb, mPixelMode);
    mTargetSpans.clear();
    if (mVertexCount == 0) return;
    // Spans are plain colour: the texture of an earlier draw would tint them.
    if (mRenderer.GetTexture()) mRenderer.SetTexture(nullptr);
    mRenderer.DrawVertices(TRenderer::kLineList, TVertexSet(mVertices.data(), mVertexCount));
    mVertexCount = 0;
}

void TQmMiniVecDraw::End() {
    SwitchTarget(nullptr);
}

// Drawn in pieces, since a stream holds at most 255 pixels, each piece
// placed where the rotation puts its corner. The temporary streams share an
// address, so they are never cached.
void TQmMiniVecDraw::DrawRect(int x0, int y0, int x1, int y1) {
    int left = std::clamp(std::min(x0, x1), -kRectReach, kRectReach);
    int right = std::clamp(std::max(x0, x1), -kRectReach, kRectReach);
    int top = std::clamp(std::min(y0, y1), -kRectReach, kRectReach);
    int bottom = std::clamp(std::max(y0, y1), -kRectReach, kRectReach);
    TShapeStyle saved = mStyle;
    mStyle.scaleX = mStyle.scaleY = 4;
    mStyle.lineWidths[0] = mStyle.lineWidths[1] = 0;
    mStyle.italic = false;
    TShapeWriter writer;
    for (int y = top; y < bottom; y += kRectPiece) {
        for (int x = left; x < right; x += kRectPiece) {
            int16_t width = static_cast<int16_t>(std::min(kRectPiece, right - x) * 128);
            int16_t height = static_cast<int16_t>(std::min(kRectPiece, bottom - y) * 128);
            writer.Clear();
            writer.FillStyle(1);
            writer.MoveTo(0, 0);
            writer.LineTo(width, 0);
            writer.LineTo(width, height);
            writer.LineTo(0, height);
            writer.LineTo(0, 0);
            writer.End();
            float cornerX = x * 4.0f;
            float cornerY = y * 4.0f;
            if (mStyle.rotSin != 0) {
                cornerX = (x * mStyle.rotCos - y * mStyle.rotSin) * 4;
                cornerY = (x * mStyle.rotSin + y * mStyle.rotCos) * 4;
            }
            DrawAt(writer.GetBytes().data(), static_cast<int>(std::lround(cornerX)),
                   static_cast<int>(std::lround(cornerY)), false);
        }
    }
    mStyle = saved;
}

bool TQmMiniVecDraw::SelfTest(const std::shared_ptr<TTexture>& target, const TReadBack& readBack) {
    for (;;) {
        TSelfTestOutcome outcome = RunSelfTest(target, readBack);
        if (outcome.best >= 0) {
            mOffsets = CandidateOffsets(outcome.best);
            return true;
        }
        mOffsets = kFallbackOffsets;
        // Hardware that lit next to nothing may only take small batches.
        if (outcome.unlit <= kUnlitLimit || mBatchVertices == kSmallBatchVertices) return false;
        mBatchVertices = kSmallBatchVertices;
    }
}

TQmMiniVecDraw::TPixelOffsets TQmMiniVecDraw::CandidateOffsets(int candidate) {
    int a = candidate / kOffsetStrides[0];
    int b = candidate / kOffsetStrides[1] % kOffsetCounts[1];
    int c = candidate % kOffsetCounts[2];
    return TPixelOffsets{a * 0.25f - 1, b * 0.25f - 1, c * 0.25f};
}

// Each candidate has a column four pixels wide and lights one pixel in rows
// 1 and 2 of the column's second pixel.
void TQmMiniVecDraw::DrawSelfTestSpans(int candidate) {
    mOffsets = CandidateOffsets(candidate);
    int x = candidate * 4 + 1;
    Output(x, x + 1, 1, kSelfTestColour);
    Output(x, x + 1, 2, kSelfTestColour);
}

TQmMiniVecDraw::TSelfTestOutcome TQmMiniVecDraw::RunSelfTest(const std::shared_ptr<TTexture>& target,
                                                             const TReadBack& readBack) {
    TSelfTestOutcome outcome;
    outcome.unlit = kCandidates;
    End();
    if (!mRenderer.BeginRenderTarget(target)) {
        DebugLog("TQmMiniVecDraw::SelfTest: cannot draw into the test target");
        return outcome;
    }
    mRenderer.FillRect(TRect(0, 0, kSelfTestWidth, kSelfTestHeight), TColor4f(0, 0, 0, 1), target);
    bool in2d = mRenderer.Begin2d();
    TPixelOffsets saved = mOffsets;
    for (int candidate = 0; candidate < kCandidates; ++candidate) DrawSelfTestSpans(candidate);
    Flush();
    mOffsets = saved;
    if (in2d) mRenderer.End2d();
    mRenderer.EndRenderTarget();

    std::vector<uint32_t> pixels(static_cast<size_t>(kSelfTestWidth) * kSelfTestHeight);
    if (!readBack(pixels) || pixels.size() < static_cast<size_t>(kSelfTestWidth) * kSelfTestHeight) {
        DebugLog("TQmMiniVecDraw::SelfTest: could not read the test target back");
        return outcome;
    }
    return JudgeSelfTest(pixels);
}

// Among the brightest passing candidates, the one with the most passing
// neighbours wins (the later one on ties): offsets on the border of the
// passing region sit on the device's rounding ties, which test spans pass
// by chance and text spans elsewhere on the screen do not.
TQmMiniVecDraw::TSelfTestOutcome TQmMiniVecDraw::JudgeSelfTest(const std::vector<uint32_t>& pixels) {
    TSelfTestOutcome outcome;
    std::vector<int> scores(kCandidates);
    for (int candidate = 0; candidate < kCandidates; ++candidate) {
        bool lit = false;
        scores[candidate] = ScoreCandidate(pixels, candidate, lit);
        if (!lit) ++outcome.unlit;
    }
    int bestScore = -1;
    int bestNeighbours = -1;
    for (int candidate = 0; candidate < kCandidates; ++candidate) {
        if (scores[candidate] < 0) continue;
        int neighbours = PassingNeighbours(scores, candidate);
        if (scores[candidate] > bestScore || (scores[candidate] == bestScore && neighbours >= bestNeighbours)) {
            bestScore = scores[candidate];
            bestNeighbours = neighbours;
            outcome.best = candidate;
        }
    }
    return outcome;
}
