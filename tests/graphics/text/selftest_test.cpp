#include <gtest/gtest.h>

#include <cmath>

#include "graphics/text/qmminivecdraw.h"
#include "tests/graphics/renderertesting.h"
#include "tests/graphics/text/vecdrawtesting.h"

namespace {

using TOffsets = TQmMiniVecDraw::TPixelOffsets;
const int kWidth = TQmMiniVecDraw::kSelfTestWidth;
const int kHeight = TQmMiniVecDraw::kSelfTestHeight;

class SelfTestFixture : public VecDrawFixture {
protected:
    SelfTestFixture() {
        renderer.End2d();
        renderer.EndDraw(false);
        recorder->ClearCalls();
    }

    // A device that lights the pixels whose centres (at +0.5) a line
    // covers from its start up to its end, in the row its y falls in, and
    // draws nothing of a call with more vertices than it takes.
    TQmMiniVecDraw::TReadBack SimulatedDevice(size_t mostVertices) {
        return [this, mostVertices](std::vector<uint32_t>& pixels) {
            pixels.assign(size_t(kWidth) * kHeight, 0);
            for (const TRecordingRenderBackEnd::TCall& call : CallsOfLastRun()) {
                if (call.kind != TRecordingRenderBackEnd::kDrawVertices || call.vertices.size() > mostVertices) continue;
                for (size_t i = 0; i + 1 < call.vertices.size(); i += 2) {
                    int y = static_cast<int>(std::floor(call.vertices[i].y));
                    for (int x = 0; x < kWidth; ++x) {
                        if (x + 0.5f >= call.vertices[i].x && x + 0.5f < call.vertices[i + 1].x && y >= 0 && y < kHeight) {
                            pixels[size_t(y) * kWidth + x] = call.vertices[i].diffuse;
                        }
                    }
                }
            }
            return true;
        };
    }

    std::vector<TRecordingRenderBackEnd::TCall> CallsOfLastRun() const {
        std::vector<TRecordingRenderBackEnd::TCall> calls;
        for (const TRecordingRenderBackEnd::TCall& call : recorder->GetCalls()) {
            if (call.kind == TRecordingRenderBackEnd::kBeginRenderTarget) calls.clear();
            calls.push_back(call);
        }
        return calls;
    }

    int Runs() const {
        int runs = 0;
        for (auto kind : recorder->GetCallKinds()) runs += kind == TRecordingRenderBackEnd::kBeginRenderTarget;
        return runs;
    }

    std::shared_ptr<TTexture> target = StandInTexture();
};

TEST_F(SelfTestFixture, TheBestCandidateThatLightsExactlyTheSpanPixelsIsKept) {
    EXPECT_TRUE(draw.SelfTest(target, SimulatedDevice(256)));
    // Starts from a * 0.25 - 1 with a = 3, ends at b * 0.25 - 1 with b = 3..6,
    // any row offset c * 0.25: equal scores, so the last of those with passing
    // neighbours on every side (b = 4, 5 and c = 1, 2), away from the ties at
    // the borders.
    EXPECT_EQ(draw.GetPixelOffsets(), (TOffsets{-0.25f, 0.25f, 0.5f}));
    EXPECT_EQ(draw.GetBatchVertices(), 256);
    EXPECT_EQ(Runs(), 1);

    std::vector<TRecordingRenderBackEnd::TCallKind> expected = {
        TRecordingRenderBackEnd::kBeginRenderTarget, TRecordingRenderBackEnd::kFillRect,
        TRecordingRenderBackEnd::kBegin2d,           TRecordingRenderBackEnd::kDrawVertices,
        TRecordingRenderBackEnd::kDrawVertices,      TRecordingRenderBackEnd::kEnd2d,
        TRecordingRenderBackEnd::kEndRenderTarget,
    };
    EXPECT_EQ(recorder->GetCallKinds(), expected) << "128 candidates of four vertices in batches of 256";
    const TRecordingRenderBackEnd::TCall& fill = recorder->GetCalls()[1];
    EXPECT_EQ(fill.rect, TRect(0, 0, kWidth, kHeight));
    EXPECT_EQ(fill.texture, target.get());
}

TEST_F(SelfTestFixture, WhenNothingLightsItRetriesWithSmallBatchesThenFallsBack) {
    EXPECT_FALSE(draw.SelfTest(target, [](std::vector<uint32_t>& pixels) {
        pixels.assign(size_t(kWidth) * kHeight, 0);
        return true;
    }));
    EXPECT_EQ(draw.GetPixelOffsets(), (TOffsets{-0.75f, -0.75f, 0.25f}));
    EXPECT_EQ(draw.GetBatchVertices(), 64);
    EXPECT_EQ(Runs(), 2);
    for (const TRecordingRenderBackEnd::TCall& call : CallsOfLastRun()) {
        if (call.kind == TRecordingRenderBackEnd::kDrawVertices) {
            EXPECT_LE(call.vertices.size(), 64u);
        }
    }
}

TEST_F(SelfTestFixture, HardwareThatTakesOnlySmallBatchesPassesOnTheSecondRun) {
    EXPECT_TRUE(draw.SelfTest(target, SimulatedDevice(64)));
    EXPECT_EQ(draw.GetBatchVertices(), 64);
    EXPECT_EQ(draw.GetPixelOffsets(), (TOffsets{-0.25f, 0.25f, 0.5f}));
    EXPECT_EQ(Runs(), 2);
}

TEST_F(SelfTestFixture, ATargetThatCannotBeDrawnIntoFallsBack) {
    int reads = 0;
    EXPECT_FALSE(draw.SelfTest(nullptr, [&](std::vector<uint32_t>&) { return ++reads > 0; }));
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(draw.GetPixelOffsets(), (TOffsets{-0.75f, -0.75f, 0.25f}));
    EXPECT_TRUE(log.Contains("TQmMiniVecDraw::SelfTest: cannot draw into the test target"));
}

TEST_F(SelfTestFixture, AFailedReadBackFallsBack) {
    EXPECT_FALSE(draw.SelfTest(target, [](std::vector<uint32_t>&) { return false; }));
    EXPECT_EQ(draw.GetPixelOffsets(), (TOffsets{-0.75f, -0.75f, 0.25f}));
    EXPECT_TRUE(log.Contains("could not read the test target back"));
}

// Spans drawn after the test use the offsets it found.
TEST_F(SelfTestFixture, LaterSpansUseTheOffsetsFound) {
    ASSERT_TRUE(draw.SelfTest(target, SimulatedDevice(256)));
    renderer.BeginDraw(false);
    renderer.Begin2d();
    recorder->ClearCalls();
    std::vector<uint8_t> box = BoxShape(0, 0, 2, 1);
    DrawStream(box, 10, 10);
    draw.Flush();
    ASSERT_EQ(recorder->GetCalls().size(), 1u);
    const std::vector<TRenderVertex>& vertices = recorder->GetCalls()[0].vertices;
    ASSERT_EQ(vertices.size(), 2u);
    EXPECT_FLOAT_EQ(vertices[0].x, 10 - 0.25f);
    EXPECT_FLOAT_EQ(vertices[1].x, 12 + 0.25f);
    EXPECT_FLOAT_EQ(vertices[0].y, 10 + 0.5f);
}

}  // namespace
