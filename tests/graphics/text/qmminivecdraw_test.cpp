#include "graphics/text/qmminivecdraw.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "graphics/text/pixeltarget.h"
#include "tests/graphics/renderertesting.h"
#include "tests/graphics/text/vecdrawtesting.h"

namespace {

const uint32_t kWhite = 0x00FFFFFF;

TEST_F(VecDrawFixture, ABoxGetsExactSubSampleCoverageAtAnyPhase) {
    const double x0 = 1.25, y0 = 0.5, x1 = 3.75, y1 = 2.0;
    std::vector<uint8_t> box = BoxShape(x0, y0, x1, y1);
    struct Case {
        float x;
        float y;
    } origins[] = {{10, 20}, {10.5f, 20.25f}, {10.75f, 20.5f}, {-0.5f, -3.25f}};
    for (const Case& origin : origins) {
        recorder->ClearCalls();
        DrawStream(box, origin.x, origin.y);
        PixelMap pixels = DrawnPixels();
        int checked = 0;
        for (int py = static_cast<int>(origin.y) - 3; py < origin.y + 6; ++py) {
            for (int px = static_cast<int>(origin.x) - 3; px < origin.x + 8; ++px) {
                int coverage = ExpectedCoverage(px, py, origin.x + x0, origin.y + y0, origin.x + x1, origin.y + y1);
                uint32_t drawn = At(pixels, px, py);
                uint32_t expected = coverage ? CoverageAlpha(coverage) << 24 | kWhite : 0;
                EXPECT_EQ(drawn, expected) << px << "," << py << " at " << origin.x << "," << origin.y;
                if (coverage) ++checked;
            }
        }
        EXPECT_EQ(checked, static_cast<int>(pixels.size()));
    }
}

TEST_F(VecDrawFixture, ASecondDrawWithTheSameKeyIsReplayedFromTheCache) {
    std::vector<uint8_t> shape = BoxShape(0.3, 0.3, 5.6, 3.1);
    DrawStream(shape, 40.25f, 30);
    std::vector<DrawnSpan> first = DrawnSpans();
    ASSERT_FALSE(first.empty());

    // Changing the bytes behind the same address shows where the spans came from.
    std::vector<uint8_t> wider = BoxShape(0.3, 0.3, 9.6, 3.1);
    std::copy(wider.begin(), wider.end(), shape.begin());
    recorder->ClearCalls();
    DrawStream(shape, 40.25f, 30);
    EXPECT_EQ(DrawnSpans(), first);

    recorder->ClearCalls();
    DrawStream(shape, 60.25f, 30);
    std::vector<DrawnSpan> moved = DrawnSpans();
    ASSERT_EQ(moved.size(), first.size()) << "a whole-pixel move replays too";
    for (size_t i = 0; i < moved.size(); ++i) {
        EXPECT_EQ(moved[i].x0, first[i].x0 + 20);
        EXPECT_EQ(moved[i].x1, first[i].x1 + 20);
    }

    // Another phase or scale is another key.
    recorder->ClearCalls();
    DrawStream(shape, 40.5f, 30);
    EXPECT_EQ(DrawnPixels().count({49, 31}), 1u);
    recorder->ClearCalls();
    draw.SetScale(4, 8);
    DrawStream(shape, 40.25f, 30);
    EXPECT_EQ(DrawnPixels().count({49, 35}), 1u);
}

TEST_F(VecDrawFixture, BoxesAreNeverTakenFromTheCache) {
    draw.Begin(10, 10);
    draw.DrawRect(0, 0, 10, 2);
    draw.DrawRect(0, 4, 20, 6);
    PixelMap pixels = DrawnPixels();
    EXPECT_EQ(pixels.size(), 20u + 40u);
    EXPECT_EQ(pixels.count({29, 15}), 1u);
}

TEST_F(VecDrawFixture, AShapeWithThousandsOfEdgesDrawsLikeItsFourEdgeTwin) {
    DrawStream(BoxShape(0.5, 0.25, 30.5, 6.75), 3, 4);
    std::vector<DrawnSpan> plain = DrawnSpans();

    TShapeWriter writer;
    writer.FillStyle(1);
    writer.MoveTo(Units(0.5), Units(0.25));
    const int pieces = 2000;
    auto side = [&](double ax, double ay, double bx, double by) {
        for (int i = 1; i <= pieces; ++i) {
            writer.LineTo(Units(ax + (bx - ax) * i / pieces), Units(ay + (by - ay) * i / pieces));
        }
    };
    side(0.5, 0.25, 30.5, 0.25);
    side(30.5, 0.25, 30.5, 6.75);
    side(30.5, 6.75, 0.5, 6.75);
    side(0.5, 6.75, 0.5, 0.25);
    writer.End();
    recorder->ClearCalls();
    DrawStream(writer.GetBytes(), 3, 4);
    EXPECT_EQ(DrawnSpans(), plain);
}

TEST_F(VecDrawFixture, HorizontalEdgesAddNothing) {
    DrawStream(BoxShape(1, 1, 9, 5), 0, 0);
    std::vector<DrawnSpan> plain = DrawnSpans();

    TShapeWriter writer;
    writer.FillStyle(1);
    AddBox(writer, 1, 1, 9, 5);
    writer.MoveTo(Units(0), Units(3));
    writer.LineTo(Units(12), Units(3));
    writer.LineTo(Units(0), Units(3));
    writer.End();
    recorder->ClearCalls();
    DrawStream(writer.GetBytes(), 0, 0);
    EXPECT_EQ(DrawnSpans(), plain);

    recorder->ClearCalls();
    DrawStream(BoxShape(1, 2, 9, 2), 0, 0);
    draw.Flush();
    EXPECT_TRUE(recorder->GetCalls().empty()) << "a shape of no height draws nothing";
}

TEST_F(VecDrawFixture, SpansAreClampedToTheWindowAroundTheOrigin) {
    // Ten pixels to the font unit: the box reaches 2000 pixels to either side.
    draw.SetScale(40, 40);
    DrawStream(BoxShape(-200, 0, 200, 0.2), 100, 50);
    std::vector<DrawnSpan> spans = DrawnSpans();
    ASSERT_EQ(spans.size(), 2u);
    for (const DrawnSpan& span : spans) {
        EXPECT_EQ(span.x0, 100 - 1600);
        EXPECT_EQ(span.x1, 100 + 1600);
    }
}

TEST_F(VecDrawFixture, InkAboveTheBaselineLandsAboveTheOrigin) {
    DrawStream(BoxShape(0, -30, 2, -2), 5, 100);
    PixelMap pixels = DrawnPixels();
    EXPECT_EQ(pixels.size(), 2u * 28u);
    EXPECT_EQ(pixels.begin()->first, std::make_pair(5, 70));
    EXPECT_EQ(pixels.rbegin()->first, std::make_pair(6, 97));
}

TEST_F(VecDrawFixture, BoxesWiderThanAStreamHoldsAreDrawnInPieces) {
    draw.Begin(1000, 10);
    draw.DrawRect(-300, 0, 400, 2);
    PixelMap pixels = DrawnPixels();
    EXPECT_EQ(pixels.size(), 2u * 700u);
    for (int x = 700; x < 1400; ++x) {
        for (int y : {10, 11}) EXPECT_EQ(At(pixels, x, y), 0xFFFFFFFFu) << x << "," << y;
    }
}

TEST_F(VecDrawFixture, AGroupFillsEvenOddAndGroupsUnite) {
    TShapeWriter oneGroup;
    oneGroup.FillStyle(1);
    AddBox(oneGroup, 0, 0, 6, 2);
    AddBox(oneGroup, 3, 0, 9, 2);
    oneGroup.End();
    DrawStream(oneGroup.GetBytes(), 0, 0);
    PixelMap pixels = DrawnPixels();
    EXPECT_EQ(pixels.count({1, 0}), 1u);
    EXPECT_EQ(pixels.count({4, 0}), 0u) << "the overlap of one group is a hole";
    EXPECT_EQ(pixels.count({7, 0}), 1u);

    TShapeWriter twoGroups;
    twoGroups.FillStyle(1);
    AddBox(twoGroups, 0, 0, 6, 2);
    twoGroups.NewGroup();
    twoGroups.FillStyle(1);
    AddBox(twoGroups, 3, 0, 9, 2);
    twoGroups.End();
    recorder->ClearCalls();
    DrawStream(twoGroups.GetBytes(), 0, 0);
    pixels = DrawnPixels();
    EXPECT_EQ(pixels.size(), 18u) << "groups unite";
}

TEST_F(VecDrawFixture, StrokesSurroundTheFillAndTheSecondCoversTheFirst) {
    const uint32_t red = 0xFFFF0000, green = 0xFF00FF00, blue = 0xFF0000FF;
    draw.SetColour(255, TColor4f(1, 0, 0, 1), 1);
    draw.SetColour(254, TColor4f(0, 0, 1, 1), 1);
    draw.SetColour(1, TColor4f(0, 1, 0, 1), 1);
    std::vector<uint8_t> box = BoxShape(4, 4, 12, 12);

    draw.SetLineWidth(0, 1);
    DrawStream(box, 0, 0);
    PixelMap pixels = DrawnPixels();
    EXPECT_EQ(At(pixels, 8, 8), green) << "the fill covers the stroke";
    EXPECT_EQ(At(pixels, 3, 8), red);
    EXPECT_EQ(At(pixels, 12, 8), red);
    EXPECT_EQ(pixels.count({2, 8}), 0u);
    EXPECT_EQ(pixels.count({13, 8}), 0u);

    draw.SetLineWidth(1, 2);
    recorder->ClearCalls();
    DrawStream(box, 0, 0);
    pixels = DrawnPixels();
    EXPECT_EQ(At(pixels, 8, 8), green);
    EXPECT_EQ(At(pixels, 3, 8), blue) << "the second stroke covers the first";
    EXPECT_EQ(At(pixels, 2, 8), blue);
    EXPECT_EQ(pixels.count({1, 8}), 0u);
}

// The curve from (0, 0) through (4, 8) to (8, 0) peaks at y = 4; its three
// straight pieces run flat at y = 32 / 9 between x = 8 / 3 and 16 / 3.
TEST_F(VecDrawFixture, CurvesAreDrawnAsThreeStraightPieces) {
    TShapeWriter writer;
    writer.FillStyle(1);
    writer.MoveTo(0, 0);
    writer.CurveTo(Units(4), Units(8), Units(8), 0);
    writer.LineTo(0, 0);
    writer.End();
    DrawStream(writer.GetBytes(), 0, 0);
    PixelMap pixels = DrawnPixels();
    EXPECT_EQ(At(pixels, 4, 3), CoverageAlpha(8) << 24 | kWhite);
    EXPECT_EQ(At(pixels, 4, 2), 0xFFFFFFFFu);
    EXPECT_EQ(pixels.count({4, 4}), 0u);
}

TEST_F(VecDrawFixture, ItalicLeansInkAboveTheBaselineToTheRight) {
    draw.SetItalic(true);
    DrawStream(BoxShape(0, -6, 3, 0), 10, 10);
    PixelMap pixels = DrawnPixels();
    // x moves by -y / 3: about two pixels at the top, nothing at the baseline.
    EXPECT_EQ(pixels.count({10, 4}), 0u);
    EXPECT_EQ(At(pixels, 12, 4), 0xFFFFFFFFu);
    EXPECT_EQ(At(pixels, 13, 4), 0xFFFFFFFFu);
    EXPECT_EQ(pixels.count({15, 4}), 0u);
    EXPECT_EQ(At(pixels, 11, 9), 0xFFFFFFFFu);
    EXPECT_EQ(pixels.count({14, 9}), 0u);
}

TEST_F(VecDrawFixture, RotationTurnsTheShapeAboutItsOrigin) {
    draw.SetRotation(0, 1);
    DrawStream(BoxShape(0, 0, 4, 2), 50, 50);
    PixelMap pixels = DrawnPixels();
    EXPECT_EQ(pixels.size(), 8u);
    EXPECT_EQ(pixels.begin()->first, std::make_pair(48, 50));
    EXPECT_EQ(pixels.rbegin()->first, std::make_pair(49, 53));
}

TEST_F(VecDrawFixture, SpansGoOutInLineListsOfAtMostABatch) {
    // Three hundred rows of one span each.
    draw.SetScale(4, 8);
    DrawStream(BoxShape(0, 0, 5, 150), 0, 0);
    draw.Flush();
    int vertices = 0;
    int calls = 0;
    for (const TRecordingRenderBackEnd::TCall& call : recorder->GetCalls()) {
        ASSERT_EQ(call.kind, TRecordingRenderBackEnd::kDrawVertices);
        EXPECT_EQ(call.value, TRenderer::kLineList);
        EXPECT_EQ(call.vertexKind, TVertexSet::kTransformed);
        EXPECT_LE(call.vertices.size(), 256u);
        for (const TRenderVertex& vertex : call.vertices) {
            EXPECT_FLOAT_EQ(vertex.z, 0.1f);
            EXPECT_FLOAT_EQ(vertex.rhw, 0.5f);
        }
        vertices += static_cast<int>(call.vertices.size());
        ++calls;
    }
    EXPECT_EQ(vertices, 600);
    EXPECT_EQ(calls, 3);
}

TEST_F(VecDrawFixture, SpansAreDrawnWithoutTheTextureOfAnEarlierDraw) {
    renderer.SetTexture(StandInTexture(16, 16));
    recorder->ClearCalls();
    DrawStream(BoxShape(0, 0, 2, 1), 10, 10);
    draw.Flush();
    std::vector<TRecordingRenderBackEnd::TCallKind> expected = {TRecordingRenderBackEnd::kSetTexture,
                                                                TRecordingRenderBackEnd::kDrawVertices};
    ASSERT_EQ(recorder->GetCallKinds(), expected);
    EXPECT_EQ(recorder->GetCalls()[0].texture, nullptr);
    EXPECT_EQ(renderer.GetTexture(), nullptr);
}

TEST_F(VecDrawFixture, ColourRampsFollowCoverageAndAlpha) {
    draw.SetColour(1, TColor4f(0.5f, 0.25f, 1, 0.5f), 0.5f);
    DrawStream(BoxShape(0, 0, 0.5, 1), 0, 0);
    std::vector<DrawnSpan> spans = DrawnSpans();
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(spans[0].argb, uint32_t(63.75f * 8 * 16 / 256) << 24 | 0x7F3FFF);
}

// The two paths are fed by the same spans: copying them into a buffer
// gives what drawing them as lines covers.
TEST_F(VecDrawFixture, TheScreenAndTheTargetGetTheSamePixels) {
    draw.SetColour(255, TColor4f(1, 0, 0, 1), 1);
    draw.SetLineWidth(0, 0.5f);
    std::vector<uint8_t> shape = BoxShape(2.3, 1.6, 17.2, 9.9);
    DrawStream(shape, 5.25f, 3.5f);
    PixelMap screen = DrawnPixels();

    TPixelBuffer buffer(40, 20);
    draw.SetPixelModes(false, true);
    draw.Begin(5.25f, 3.5f, &buffer);
    draw.DrawShape(shape.data(), 0, 0);
    draw.End();
    PixelMap target;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (buffer.GetPixel(x, y)) target[{x, y}] = buffer.GetPixel(x, y);
        }
    }
    EXPECT_EQ(target, screen);
}

class CountingTarget : public TPixelBuffer {
public:
    CountingTarget() : TPixelBuffer(8, 8) {}
    bool Lock(TLockedPixels& locked) override {
        ++locks;
        return refuse ? false : TPixelBuffer::Lock(locked);
    }
    void Unlock() override { ++unlocks; }

    bool refuse = false;
    int locks = 0;
    int unlocks = 0;
};

TEST_F(VecDrawFixture, ChangingTheTargetFinishesTheOldOne) {
    CountingTarget first;
    CountingTarget second;
    std::vector<uint8_t> box = BoxShape(0, 0, 2, 2);
    draw.Begin(1, 1, &first);
    draw.DrawShape(box.data(), 0, 0);
    draw.Begin(3, 3, &first);
    EXPECT_EQ(first.locks, 1);
    EXPECT_EQ(first.GetPixel(1, 1), 0u) << "spans wait for the flush";
    draw.Begin(1, 1, &second);
    EXPECT_EQ(first.unlocks, 1);
    EXPECT_EQ(first.GetPixel(1, 1), 0x00FFFFFFu) << "blended over, the alpha kept";
    EXPECT_EQ(second.locks, 1);
    draw.End();
    EXPECT_EQ(second.unlocks, 1);
    EXPECT_TRUE(recorder->GetCalls().empty());
}

TEST_F(VecDrawFixture, ATargetThatCannotBeLockedDrawsNothing) {
    CountingTarget target;
    target.refuse = true;
    std::vector<uint8_t> box = BoxShape(0, 0, 2, 2);
    draw.Begin(1, 1, &target);
    draw.DrawShape(box.data(), 0, 0);
    draw.End();
    EXPECT_EQ(target.unlocks, 0);
    EXPECT_TRUE(recorder->GetCalls().empty());
    EXPECT_TRUE(log.Contains("could not lock the target"));
}

TEST_F(VecDrawFixture, TheProcessWideInstanceIsWhatThePlatformSets) {
    EXPECT_EQ(TQmMiniVecDraw::GetInstance(), nullptr);
    {
        TQmMiniVecDraw display(renderer);
        TQmMiniVecDraw::SetInstance(&display);
        EXPECT_EQ(TQmMiniVecDraw::GetInstance(), &display);
    }
    EXPECT_EQ(TQmMiniVecDraw::GetInstance(), nullptr) << "gone with its display";
}

}  // namespace
