#include "graphics/render/renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "foundation/settings.h"
#include "graphics/render/recordingrenderbackend.h"
#include "tests/graphics/renderertesting.h"

namespace {

using Kind = TRecordingRenderBackEnd::TCallKind;
using Kinds = std::vector<Kind>;

class RendererTest : public RendererFixture {};

TEST_F(RendererTest, ViewRectStackKeepsItsBottomAndAppliesEveryChange) {
    EXPECT_EQ(renderer.GetViewRect(), TRect());
    renderer.PopViewRect();
    EXPECT_TRUE(recorder->GetCalls().empty());

    renderer.SetViewRect(TRect(0, 0, 800, 600));
    renderer.PushViewRect(TRect(10, 20, 110, 220));
    EXPECT_EQ(renderer.GetViewRect(), TRect(10, 20, 110, 220));
    EXPECT_EQ(recorder->GetViewRect(), TRect(10, 20, 110, 220));

    renderer.SetViewRect(TRect(1, 2, 3, 4));
    renderer.PopViewRect();
    EXPECT_EQ(recorder->GetViewRect(), TRect(0, 0, 800, 600));
    renderer.PopViewRect();
    EXPECT_EQ(renderer.GetViewRect(), TRect(0, 0, 800, 600));
    // SetViewRect, PushViewRect, SetViewRect and one PopViewRect reached the back end.
    EXPECT_EQ(recorder->GetCalls().size(), 4u);
}

TEST_F(RendererTest, ClearingTheViewRectsEmptiesTheStackAndClipsToTheScreen) {
    renderer.SetViewRect(TRect(0, 0, 400, 300));
    renderer.PushViewRect(TRect(10, 20, 110, 220));
    ASSERT_TRUE(renderer.HasViewRect());
    renderer.ClearViewRects();
    EXPECT_FALSE(renderer.HasViewRect());
    EXPECT_EQ(renderer.GetViewRect(), TRect());
    EXPECT_EQ(recorder->GetViewRect(), TRect(0, 0, 800, 600));
}

TEST_F(RendererTest, ViewportsNestAndUnwind) {
    EXPECT_EQ(renderer.GetViewport(), TRect(0, 0, 800, 600));
    renderer.PushViewport(TRect(10, 10, 100, 100));
    renderer.PushViewport(TRect(20, 20, 50, 50));
    EXPECT_EQ(renderer.GetViewport(), TRect(20, 20, 50, 50));
    renderer.PopViewport();
    EXPECT_EQ(renderer.GetViewport(), TRect(10, 10, 100, 100));
    renderer.PopViewport();
    renderer.PopViewport();
    EXPECT_EQ(renderer.GetViewport(), TRect(0, 0, 800, 600));
}

TEST(RendererScreenTest, FillRectIsMovedByTheScreenOriginAndClippedToIt) {
    TRenderer renderer;
    auto backEnd = std::make_unique<TRecordingRenderBackEnd>(TRect(100, 50, 900, 650));
    TRecordingRenderBackEnd* recorder = backEnd.get();
    renderer.SetBackEnd(std::move(backEnd));

    TColor4f yellow(1, 1, 0, 1);
    EXPECT_TRUE(renderer.FillRect(TRect(-20, 10, 30, 700), yellow));
    std::shared_ptr<TTexture> target = StandInTexture();
    recorder->Results().fillRect = false;
    EXPECT_FALSE(renderer.FillRect(TRect(-20, 10, 30, 700), yellow, target));

    ASSERT_EQ(recorder->GetCalls().size(), 2u);
    const TRecordingRenderBackEnd::TCall& screen = recorder->GetCalls()[0];
    EXPECT_EQ(screen.kind, TRecordingRenderBackEnd::kFillRect);
    EXPECT_EQ(screen.rect, TRect(100, 60, 130, 650));
    EXPECT_EQ(screen.color, yellow);
    EXPECT_EQ(screen.texture, nullptr);
    // A target's rectangle is its own: neither moved nor clipped.
    const TRecordingRenderBackEnd::TCall& texture = recorder->GetCalls()[1];
    EXPECT_EQ(texture.rect, TRect(-20, 10, 30, 700));
    EXPECT_EQ(texture.texture, target.get());
}

TEST(RendererScreenTest, WithoutABackEndNothingIsDrawn) {
    TRenderer renderer;
    EXPECT_FALSE(renderer.FillRect(TRect(0, 0, 10, 10), TColor4f(1, 1, 1, 1)));
    EXPECT_EQ(renderer.GetScreenRect(), TRect());
    EXPECT_EQ(renderer.GetViewport(), TRect());
    renderer.PushViewRect(TRect(1, 1, 2, 2));
    renderer.PopViewport();
    EXPECT_EQ(renderer.GetViewRect(), TRect(1, 1, 2, 2));
    EXPECT_FALSE(renderer.BeginDraw(true));
    EXPECT_FALSE(renderer.BeginRenderTarget(StandInTexture()));
    EXPECT_FALSE(renderer.IsDrawing());
    EXPECT_FALSE(renderer.IsSquareTexturesOnly());
    renderer.EndDraw(true);
}

TEST(RendererInstanceTest, IsCreatedOnFirstUseAndDestroyedWithItsBackEnd) {
    class WatchedBackEnd : public TRecordingRenderBackEnd {
    public:
        explicit WatchedBackEnd(bool* destroyed) : TRecordingRenderBackEnd(TRect()), mDestroyed(destroyed) {}
        ~WatchedBackEnd() override { *mDestroyed = true; }

    private:
        bool* mDestroyed;
    };

    TRenderer* first = TRenderer::GetInstance();
    EXPECT_EQ(TRenderer::GetInstance(), first);
    bool destroyed = false;
    first->SetBackEnd(std::make_unique<WatchedBackEnd>(&destroyed));
    TRenderer::DestroyInstance();
    EXPECT_TRUE(destroyed);
    TRenderer* second = TRenderer::GetInstance();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetBackEnd(), nullptr);
    TRenderer::DestroyInstance();
}

// The state checks: a call made after a few set-up calls, its message, its
// result, whether the back end heard of it, and the state it leaves.
enum Op { kBeginDraw, kEndDraw, kBeginTarget, kEndTarget, kBegin2d, kEnd2d, kBegin3d, kEnd3d, kDraw, kDrawIndexed };

struct StateCase {
    const char* name;
    std::vector<Op> setUp;
    Op call;
    const char* message;  // empty when none is logged
    bool result;          // draws: whether they reached the back end
    bool in2d;
    bool in3d;
    bool drawing;
};

// A fresh renderer on a recording back end, with its own log.
struct StateRig {
    StateRig() {
        auto backEnd = std::make_unique<TRecordingRenderBackEnd>(TRect(0, 0, 800, 600));
        recorder = backEnd.get();
        renderer.SetBackEnd(std::move(backEnd));
    }

    bool Perform(Op op) {
        static const TRenderVertex kVertices[3] = {};
        static const uint16_t kIndices[3] = {0, 1, 2};
        TVertexSet vertices;
        vertices.Init2d(kVertices, 3);
        size_t before = recorder->GetCalls().size();
        switch (op) {
            case kBeginDraw: return renderer.BeginDraw(false);
            case kEndDraw: renderer.EndDraw(true); return true;
            case kBeginTarget: return renderer.BeginRenderTarget(target, 0);
            case kEndTarget: renderer.EndRenderTarget(); return true;
            case kBegin2d: return renderer.Begin2d();
            case kEnd2d: return renderer.End2d();
            case kBegin3d: return renderer.Begin3d();
            case kEnd3d: return renderer.End3d();
            case kDraw: renderer.DrawVertices(TRenderer::kTriangleList, vertices); break;
            case kDrawIndexed: renderer.DrawIndexedVertices(TRenderer::kTriangleList, vertices, kIndices, 3); break;
        }
        return recorder->GetCalls().size() > before;
    }

    TestLog log;
    TRenderer renderer;
    TRecordingRenderBackEnd* recorder = nullptr;
    std::shared_ptr<TTexture> target = StandInTexture();
};

TEST(RendererStateTest, WrongStateCallsAreLoggedAndIgnored) {
    const char* kBegin2dIn2d = "Begin2d called when already in Begin2d state";
    const char* kBegin2dIn3d = "Begin2d called when already in Begin3d state";
    const char* kBegin2dOutside = "ERROR: Calling Begin2d outside of a BeginDraw or BeginRenderTarget block!";
    const char* kBegin3dIn2d = "Begin3d called when already in Begin2d state";
    const char* kBegin3dIn3d = "Begin3d called when already in Begin3d state";
    const char* kBegin3dOutside = "ERROR: Calling Begin3d outside of a BeginDraw or BeginRenderTarget block!";
    const char* kEnd2dNotIn = "End2d called when not in Begin2d state";
    const char* kEnd2dLate = "ERROR: Calling End2d after EndDraw or EndRenderTarget!";
    const char* kEnd3dNotIn = "End3d called when not in Begin3d state";
    const char* kEnd3dLate = "Calling End3d after EndDraw or EndRenderTarget!";
    const char* kDrawOutside = "DrawVertices called when not in Begin2d or Begin3d state";
    const char* kIndexedOutside = "DrawIndexedVertices called when not in Begin2d or Begin3d state";

    const StateCase cases[] = {
        {"Begin2d in a frame", {kBeginDraw}, kBegin2d, "", true, true, false, true},
        {"Begin2d in a render target", {kBeginTarget}, kBegin2d, "", true, true, false, true},
        {"Begin2d twice", {kBeginDraw, kBegin2d}, kBegin2d, kBegin2dIn2d, false, true, false, true},
        {"Begin2d inside Begin3d keeps 3D open", {kBeginDraw, kBegin3d}, kBegin2d, kBegin2dIn3d, false, false, true,
         true},
        {"Begin2d outside a frame", {}, kBegin2d, kBegin2dOutside, false, false, false, false},
        {"Begin2d after EndDraw", {kBeginDraw, kEndDraw}, kBegin2d, kBegin2dOutside, false, false, false, false},
        {"Begin2d checks 3D before the frame", {kBeginDraw, kBegin3d, kEndDraw}, kBegin2d, kBegin2dIn3d, false,
         false, true, false},
        {"Begin3d in a frame", {kBeginDraw}, kBegin3d, "", true, false, true, true},
        {"Begin3d inside Begin2d", {kBeginDraw, kBegin2d}, kBegin3d, kBegin3dIn2d, false, true, false, true},
        {"Begin3d twice", {kBeginDraw, kBegin3d}, kBegin3d, kBegin3dIn3d, false, false, true, true},
        {"Begin3d outside a frame", {}, kBegin3d, kBegin3dOutside, false, false, false, false},
        {"End2d closes the block", {kBeginDraw, kBegin2d}, kEnd2d, "", true, false, false, true},
        {"End2d without Begin2d", {kBeginDraw}, kEnd2d, kEnd2dNotIn, false, false, false, true},
        {"End2d after EndDraw still ends", {kBeginDraw, kBegin2d, kEndDraw}, kEnd2d, kEnd2dLate, true, false, false,
         false},
        {"End2d after EndRenderTarget still ends", {kBeginTarget, kBegin2d, kEndTarget}, kEnd2d, kEnd2dLate, true,
         false, false, false},
        {"End3d closes the block", {kBeginDraw, kBegin3d}, kEnd3d, "", true, false, false, true},
        {"End3d without Begin3d", {kBeginDraw, kBegin2d}, kEnd3d, kEnd3dNotIn, false, true, false, true},
        {"End3d after EndDraw still ends", {kBeginDraw, kBegin3d, kEndDraw}, kEnd3d, kEnd3dLate, true, false, false,
         false},
        {"draw in 2D", {kBeginDraw, kBegin2d}, kDraw, "", true, true, false, true},
        {"draw in 3D", {kBeginDraw, kBegin3d}, kDraw, "", true, false, true, true},
        {"draw in a frame outside a block", {kBeginDraw}, kDraw, kDrawOutside, false, false, false, true},
        {"draw after End2d", {kBeginDraw, kBegin2d, kEnd2d}, kDraw, kDrawOutside, false, false, false, true},
        {"indexed draw in 2D", {kBeginDraw, kBegin2d}, kDrawIndexed, "", true, true, false, true},
        {"indexed draw outside a block", {}, kDrawIndexed, kIndexedOutside, false, false, false, false},
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(c.name);
        StateRig rig;
        for (Op op : c.setUp) rig.Perform(op);
        std::string before = rig.log.Text();
        size_t callsBefore = rig.recorder->GetCalls().size();

        EXPECT_EQ(rig.Perform(c.call), c.result);
        std::string logged = rig.log.Text().substr(before.size());
        if (*c.message) {
            // One line, ending in the message.
            EXPECT_EQ(logged.find('\n'), logged.size() - 1) << logged;
            EXPECT_EQ(logged.find(std::string(": ") + c.message + "\n"), logged.size() - strlen(c.message) - 3)
                << logged;
        } else {
            EXPECT_EQ(logged, "");
        }
        // A refused call never reaches the back end; an End after the frame does.
        EXPECT_EQ(rig.recorder->GetCalls().size() > callsBefore, c.result);
        EXPECT_EQ(rig.renderer.InBegin2d(), c.in2d);
        EXPECT_EQ(rig.renderer.InBegin3d(), c.in3d);
        EXPECT_EQ(rig.renderer.IsDrawing(), c.drawing);
    }
}

TEST_F(RendererTest, FrameRateIsMeasuredOnEveryFifteenthFrame) {
    auto frames = [&](int count, uint32_t step) {
        for (int i = 0; i < count; ++i) {
            renderer.EndDraw(true);
            timer.Advance(step);
        }
    };
    frames(14, 100);
    EXPECT_EQ(renderer.GetFramesPerSecond(), 0.0f);
    frames(1, 100);
    // Slot 0 holds the first of the fifteen frames: 1400 ms earlier.
    EXPECT_FLOAT_EQ(renderer.GetFramesPerSecond(), 15000.0f / 1400.0f);
    frames(14, 20);
    EXPECT_FLOAT_EQ(renderer.GetFramesPerSecond(), 15000.0f / 1400.0f);
    frames(1, 20);
    // From 5000 + 1500 to 5000 + 1500 + 14 * 20.
    EXPECT_FLOAT_EQ(renderer.GetFramesPerSecond(), 15000.0f / 280.0f);
}

TEST_F(RendererTest, FifteenFramesWithinOneMillisecondKeepTheLastRate) {
    for (int i = 0; i < 15; ++i) {
        renderer.EndDraw(true);
        timer.Advance(10);
    }
    float rate = renderer.GetFramesPerSecond();
    EXPECT_FLOAT_EQ(rate, 15000.0f / 140.0f);
    for (int i = 0; i < 15; ++i) renderer.EndDraw(true);
    EXPECT_EQ(renderer.GetFramesPerSecond(), rate);
}

TEST_F(RendererTest, FrameRateReportGoesToStandardErrorAtMostOnceASecond) {
    auto reportOfFifteenFrames = [&](uint32_t step) {
        ::testing::internal::CaptureStderr();
        for (int i = 0; i < 15; ++i) {
            timer.Advance(step);
            renderer.EndDraw(true);
        }
        return ::testing::internal::GetCapturedStderr();
    };
    EXPECT_EQ(reportOfFifteenFrames(100), "") << "quiet without verbosedebug";
    SetSetting("verbosedebug", "1");
    EXPECT_EQ(reportOfFifteenFrames(100), "fps: 10.714286\n");
    EXPECT_EQ(reportOfFifteenFrames(50), "") << "within a second of the last report";
    EXPECT_EQ(reportOfFifteenFrames(50), "fps: 21.428572\n");
    renderer.OnSettingChanged("fps", "0");
    EXPECT_EQ(reportOfFifteenFrames(100), "");
    renderer.OnSettingChanged("fps", "2");
    EXPECT_EQ(reportOfFifteenFrames(100), "fps: 10.714286\n");
    EXPECT_EQ(log.Text(), "") << "never in the log";
}

TEST_F(RendererTest, EverySettingReachesTheBackEndsRenderHints) {
    renderer.OnSettingChanged("fps", "abc");
    renderer.OnSettingChanged("new_subtractive", "1");
    ASSERT_EQ(recorder->GetCalls().size(), 2u);
    EXPECT_EQ(recorder->GetCalls()[0].kind, TRecordingRenderBackEnd::kRenderHint);
    EXPECT_EQ(recorder->GetCalls()[0].key, TString("fps"));
    EXPECT_EQ(recorder->GetCalls()[0].text, TString("abc"));
    EXPECT_EQ(recorder->GetCalls()[1].key, TString("new_subtractive"));
    EXPECT_EQ(recorder->GetCalls()[1].text, TString("1"));
}

TEST_F(RendererTest, FramesAndRenderTargetsSetTheDrawingFlag) {
    recorder->Results().beginDraw = false;
    EXPECT_FALSE(renderer.BeginDraw(true));
    EXPECT_FALSE(renderer.IsDrawing());
    recorder->Results().beginDraw = true;
    EXPECT_TRUE(renderer.BeginDraw(false));
    EXPECT_TRUE(renderer.IsDrawing());
    renderer.EndDraw(false);
    EXPECT_FALSE(renderer.IsDrawing());

    const auto& calls = recorder->GetCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].value, 1) << "the context check";
    EXPECT_EQ(calls[1].value, 0);
    EXPECT_EQ(calls[2].kind, TRecordingRenderBackEnd::kEndDraw);
    EXPECT_EQ(calls[2].value, 0) << "present";
}

TEST_F(RendererTest, RenderTargetsAreRefusedWithoutATextureOrWhileDrawing) {
    std::shared_ptr<TTexture> target = StandInTexture();
    // What a failed texture creation hands on.
    EXPECT_FALSE(renderer.BeginRenderTarget(nullptr, 0));
    renderer.BeginDraw(true);
    EXPECT_FALSE(renderer.BeginRenderTarget(target, 0));
    renderer.EndDraw(true);
    recorder->Results().beginRenderTarget = false;
    EXPECT_FALSE(renderer.BeginRenderTarget(target, 1));
    EXPECT_FALSE(renderer.IsDrawing());
    recorder->Results().beginRenderTarget = true;
    EXPECT_TRUE(renderer.BeginRenderTarget(target, 4));
    EXPECT_TRUE(renderer.IsDrawing());
    EXPECT_FALSE(renderer.BeginRenderTarget(target, 0));
    renderer.EndRenderTarget();
    EXPECT_FALSE(renderer.IsDrawing());

    EXPECT_EQ(recorder->GetCallKinds(),
              (Kinds{Kind::kBeginDraw, Kind::kEndDraw, Kind::kBeginRenderTarget, Kind::kBeginRenderTarget,
                     Kind::kEndRenderTarget}));
    EXPECT_EQ(recorder->GetCalls()[3].texture, target.get());
    EXPECT_EQ(recorder->GetCalls()[3].value, 4);
    EXPECT_EQ(log.Text(), "") << "refused without a message";
}

TEST_F(RendererTest, DeviceStateIsForwardedUnchanged) {
    std::shared_ptr<TTexture> texture = StandInTexture();
    renderer.SetTexture(texture);
    EXPECT_EQ(renderer.GetTexture(), texture);
    renderer.SetBlendMode(3);
    renderer.SetCullMode(7);
    renderer.SetFilterMode(1);
    renderer.SetTexture(nullptr);
    EXPECT_EQ(renderer.GetTexture(), nullptr);

    const auto& calls = recorder->GetCalls();
    EXPECT_EQ(recorder->GetCallKinds(), (Kinds{Kind::kSetTexture, Kind::kSetBlendMode, Kind::kSetCullMode,
                                               Kind::kSetFilterMode, Kind::kSetTexture}));
    EXPECT_EQ(calls[0].texture, texture.get());
    EXPECT_EQ(calls[1].value, 3);
    EXPECT_EQ(calls[2].value, 7);
    EXPECT_EQ(calls[3].value, 1);
    EXPECT_EQ(calls[4].texture, nullptr);

    EXPECT_FALSE(renderer.IsSquareTexturesOnly());
    recorder->Results().squareTexturesOnly = true;
    EXPECT_TRUE(renderer.IsSquareTexturesOnly());

    renderer.SetRootSizeSource([] { return TPoint(800, 600); });
    renderer.SetCaptureTexture(texture);
    EXPECT_EQ(renderer.GetCaptureTexture(), texture);
    renderer.SetCaptureTexture(nullptr);
    EXPECT_EQ(renderer.GetCaptureTexture(), nullptr);
}

TEST_F(RendererTest, DrawsHandTheVerticesAndIndicesOn) {
    TRenderVertex vertices[4];
    for (int i = 0; i < 4; ++i) vertices[i].x = static_cast<float>(i);
    const uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
    TVertexSet set(vertices, 4);
    renderer.BeginDraw(true);
    renderer.Begin3d();
    renderer.DrawIndexedVertices(TRenderer::kTriangleList, set, indices, 6);
    set.SetCount(3);
    renderer.DrawVertices(TRenderer::kTriangleFan, set);

    const auto& calls = recorder->GetCalls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[2].kind, TRecordingRenderBackEnd::kDrawIndexedVertices);
    EXPECT_EQ(calls[2].value, TRenderer::kTriangleList);
    EXPECT_EQ(calls[2].vertexKind, TVertexSet::kTransformed);
    EXPECT_EQ(calls[2].vertices.size(), 4u);
    EXPECT_EQ(calls[2].indices, std::vector<uint16_t>(indices, indices + 6));
    EXPECT_EQ(calls[3].value, TRenderer::kTriangleFan);
    ASSERT_EQ(calls[3].vertices.size(), 3u);
    EXPECT_EQ(calls[3].vertices[2].x, 2.0f);
}

TEST_F(RendererTest, Begin2dScopeEndsOnlyWhatItBegan) {
    {
        TBegin2dScope refused(renderer);
        EXPECT_FALSE(refused.End());
    }
    // Only Begin2d's own message: no End2d reached the renderer or the back end.
    std::string logged = log.Text();
    EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 1) << logged;
    EXPECT_TRUE(recorder->GetCalls().empty());

    renderer.BeginDraw(true);
    {
        TBegin2dScope scope(renderer);
        EXPECT_TRUE(renderer.InBegin2d());
        EXPECT_TRUE(scope.End());
        EXPECT_FALSE(renderer.InBegin2d());
        EXPECT_FALSE(scope.End());
    }
    {
        TBegin2dScope scope(renderer);
    }
    EXPECT_FALSE(renderer.InBegin2d());
    EXPECT_EQ(recorder->GetCallKinds(),
              (Kinds{Kind::kBeginDraw, Kind::kBegin2d, Kind::kEnd2d, Kind::kBegin2d, Kind::kEnd2d}));
}

TEST_F(RendererTest, StatsOverlayToggleReturnsThePreviousState) {
    EXPECT_FALSE(renderer.ToggleStatsOverlay());
    EXPECT_TRUE(renderer.ToggleStatsOverlay());
    EXPECT_FALSE(renderer.ToggleStatsOverlay());
}

struct QuadCase {
    const char* name;
    TMat3 matrix;
    TVec2 offset;
    float alpha;
    TColor4f tint;
    TVec2 expected[4];  // transformed corners, before the offset
    uint32_t diffuse;
};

TEST(RendererQuadTest, CornersAreTransformedWrittenBackAndMoved) {
    const float kNaN = std::nanf("");
    const TMat3 identity;
    const TMat3 moved(1, 0, 0, 0, 1, 0, 100, 50, 1);
    TMat3 turned(1, 0, 0, 0, 1, 0, 10, 20, 1);
    turned.Rotate(1.57079632679f);
    const QuadCase cases[] = {
        {"identity", identity, TVec2(0, 0), 1, TColor4f(1, 1, 1, 1),
         {TVec2(-8, -4), TVec2(8, -4), TVec2(8, 4), TVec2(-8, 4)}, 0xFFFFFFFF},
        {"translated and offset", moved, TVec2(0.5f, -0.5f), 0.5f, TColor4f(1, 0.5f, 0, 1),
         {TVec2(92, 46), TVec2(108, 46), TVec2(108, 54), TVec2(92, 54)}, 0x7FFF7F00},
        // (x, y) becomes (-y, x), then moves by the translation.
        {"rotated a quarter turn", turned, TVec2(0, 0), 1, TColor4f(0, 0, 1, 1),
         {TVec2(14, 12), TVec2(14, 28), TVec2(6, 28), TVec2(6, 12)}, 0xFF0000FF},
        {"a tint above 1 stays bright", identity, TVec2(0, 0), 1, TColor4f(1.01f, 1.01f, 1.01f, 1),
         {TVec2(-8, -4), TVec2(8, -4), TVec2(8, 4), TVec2(-8, 4)}, 0xFFFFFFFF},
        {"a negative tint is black", identity, TVec2(0, 0), 1, TColor4f(-0.2f, 0.2f, -0.2f, 1),
         {TVec2(-8, -4), TVec2(8, -4), TVec2(8, 4), TVec2(-8, 4)}, 0xFF003300},
        {"NaN tint and alpha read as 0", identity, TVec2(0, 0), kNaN, TColor4f(kNaN, 1, kNaN, 1),
         {TVec2(-8, -4), TVec2(8, -4), TVec2(8, 4), TVec2(-8, 4)}, 0x0000FF00},
        {"alpha is clamped; the tint's own alpha is unused", identity, TVec2(0, 0), 1.5f, TColor4f(0, 0, 0, 0),
         {TVec2(-8, -4), TVec2(8, -4), TVec2(8, 4), TVec2(-8, 4)}, 0xFF000000},
    };
    for (const QuadCase& c : cases) {
        SCOPED_TRACE(c.name);
        TVec2 corners[4] = {TVec2(-8, -4), TVec2(8, -4), TVec2(8, 4), TVec2(-8, 4)};
        TRenderVertex quad[4];
        TRenderer::BuildQuad(c.offset, quad, corners, TVec2(0.25f, 0.125f), TVec2(0.75f, 0.875f), c.matrix, c.alpha,
                             c.tint);
        const TVec2 uvs[4] = {TVec2(0.25f, 0.125f), TVec2(0.75f, 0.125f), TVec2(0.75f, 0.875f),
                              TVec2(0.25f, 0.875f)};
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            EXPECT_NEAR(corners[i].x, c.expected[i].x, 1e-4f);
            EXPECT_NEAR(corners[i].y, c.expected[i].y, 1e-4f);
            EXPECT_NEAR(quad[i].x, c.expected[i].x + c.offset.x, 1e-4f);
            EXPECT_NEAR(quad[i].y, c.expected[i].y + c.offset.y, 1e-4f);
            EXPECT_EQ(quad[i].z, 0.1f);
            EXPECT_EQ(quad[i].rhw, 0.5f);
            EXPECT_EQ(quad[i].diffuse, c.diffuse);
            EXPECT_EQ(quad[i].specular, 0xFF000000u);
            EXPECT_EQ(quad[i].u, uvs[i].x);
            EXPECT_EQ(quad[i].v, uvs[i].y);
        }
    }
}

}  // namespace
