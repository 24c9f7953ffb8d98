#include "graphics/renderer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "foundation/settings.h"
#include "graphics/recordingrenderbackend.h"
#include "renderertesting.h"

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

}  // namespace
