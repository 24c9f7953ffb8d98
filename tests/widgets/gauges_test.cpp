// Bars, dials, sweep dials and the slider cursor: their description keys,
// the geometry they build and what they draw on the recording renderer.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "game/widgets/bar.h"
#include "game/widgets/cursor.h"
#include "game/widgets/dial.h"
#include "game/widgets/sweepdial.h"
#include "graphics/sprite.h"
#include "tests/widgets/widgetstesting.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
using TCall = TRecordingRenderBackEnd::TCall;

// A bar growing rightwards along the window's top from its bottom-left corner.
const char kBar[] = "{ w = 100, h = 20, basepos_x = 0, basepos_y = 20, startpos_x = 0, startpos_y = 0, "
                    "endpos_x = 100, endpos_y = 0, bar = 'bar.png'";

void ExpectCorner(const TRenderVertex& vertex, float x, float y, float u, float v) {
    EXPECT_FLOAT_EQ(vertex.x, x);
    EXPECT_FLOAT_EQ(vertex.y, y);
    EXPECT_FLOAT_EQ(vertex.u, u);
    EXPECT_FLOAT_EQ(vertex.v, v);
}

TEST_F(WidgetsTest, ABarShowsThePartOfItsImageUpToTheMovingCorner) {
    AddImage("bar.png", 100, 20);
    KBar* bar = Make<KBar>(std::string(kBar) + " }");
    const auto& quad = bar->GetVertices();
    // At 0 the quad runs from the base corner to the start position.
    ExpectCorner(quad[0], 0, 20, 0, 1);
    ExpectCorner(quad[1], 0, 0, 0, 0);
    ExpectCorner(quad[2], 0, 0, 0, 0);
    ExpectCorner(quad[3], 0, 20, 0, 1);

    bar->SetValue(0.5f);
    EXPECT_TRUE(manager->IsInvalid());
    ExpectCorner(quad[0], 0, 20, 0, 1);
    ExpectCorner(quad[1], 0, 0, 0, 0);
    ExpectCorner(quad[2], 50, 0, 0.5f, 0);
    ExpectCorner(quad[3], 50, 20, 0.5f, 1);
    for (const TRenderVertex& vertex : quad) EXPECT_EQ(vertex.diffuse, 0xFFFFFFFFu);
}

TEST_F(WidgetsTest, ABarsStartValueStaysUnclampedUntilTheFirstSetValue) {
    AddImage("bar.png", 100, 20);
    KBar* bar = Make<KBar>(std::string(kBar) + ", startpos = 1.5 }");
    EXPECT_FLOAT_EQ(bar->GetValue(), 1.5f);
    EXPECT_FLOAT_EQ(bar->GetVertices()[2].x, 150);
    const float values[][2] = {{1.5f, 1}, {-2, 0}, {std::numeric_limits<float>::quiet_NaN(), 0}, {0.25f, 0.25f}};
    for (const auto& [given, kept] : values) {
        bar->SetValue(given);
        EXPECT_FLOAT_EQ(bar->GetValue(), kept) << given;
    }
}

TEST_F(WidgetsTest, ABarImageInALargerSurfaceIsMappedOverItsOwnPart) {
    AddImage("bar.png", 100, 20, 128, 32);
    KBar* bar = Make<KBar>(std::string(kBar) + ", startpos = 1 }");
    ExpectCorner(bar->GetVertices()[2], 100, 0, 100.0f / 128, 0);
    ExpectCorner(bar->GetVertices()[0], 0, 20, 0, 20.0f / 32);
}

TEST_F(WidgetsTest, ABarDrawsItsFanAfterItsChildrenAndTheOverlayFromTheCorner) {
    std::shared_ptr<TTexture> image = AddImage("bar.png", 100, 20);
    std::shared_ptr<TTexture> frame = AddImage("frame.png", 110, 30);
    KBar* bar = Make<KBar>(std::string(kBar) + ", overlay = 'frame.png', startpos = 0.5 }");
    Child(bar, "inside", TRect(0, 0, 10, 10));
    journal.entries.clear();
    DrawWindow(bar);
    EXPECT_EQ(journal.Draws(), "inside:draw");

    auto indexed = Calls(TRecordingRenderBackEnd::kDrawIndexedVertices);
    ASSERT_EQ(indexed.size(), 1u);
    EXPECT_EQ(indexed[0].value, TRenderer::kTriangleFan);
    EXPECT_EQ(indexed[0].indices, (std::vector<uint16_t>{0, 1, 2, 3}));
    EXPECT_FLOAT_EQ(indexed[0].vertices[2].x, 50);
    auto textures = Calls(TRecordingRenderBackEnd::kSetTexture);
    ASSERT_EQ(textures.size(), 2u);
    EXPECT_EQ(textures[0].texture, image.get());
    EXPECT_EQ(textures[1].texture, frame.get());
    auto overlay = Calls(TRecordingRenderBackEnd::kDrawVertices);
    ASSERT_EQ(overlay.size(), 1u);
    EXPECT_FLOAT_EQ(overlay[0].vertices[0].x, 0);
    EXPECT_FLOAT_EQ(overlay[0].vertices[0].y, 0);
    EXPECT_FLOAT_EQ(overlay[0].vertices[2].x, 110);
    EXPECT_FLOAT_EQ(overlay[0].vertices[2].y, 30);
}

TEST_F(WidgetsTest, AGaugeWithoutImagesDrawsNothing) {
    TWindow* gauges[] = {Make<KBar>("{ w = 10, h = 10, bar = 'missing.png' }"),
                         Make<KDial>("{ w = 10, h = 10 }"), Make<KSweepDial>("{ w = 10, h = 10, startpos = 1 }"),
                         Make<RCursor>("{ w = 10, h = 10 }")};
    for (TWindow* gauge : gauges) {
        DrawWindow(gauge);
        EXPECT_TRUE(Calls(TRecordingRenderBackEnd::kDrawVertices).empty()) << gauge->GetClassName();
        EXPECT_TRUE(Calls(TRecordingRenderBackEnd::kDrawIndexedVertices).empty()) << gauge->GetClassName();
    }
}

TEST(DialAngleTest, AnglesAreDrawnWithinOneTurn) {
    const float inf = std::numeric_limits<float>::infinity();
    const float cases[][2] = {
        {7, 7 - KDial::kFullTurn},
        {KDial::kFullTurn, KDial::kFullTurn},
        {2 * KDial::kFullTurn, KDial::kFullTurn},
        {1, 1},
        {0, 0},
        {-1, KDial::kFullTurn - 1},
        {-KDial::kFullTurn, 0},
        {inf, 0},
        {-inf, 0},
        {std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const auto& [angle, drawn] : cases) EXPECT_FLOAT_EQ(KDial::NormalizeAngle(angle), drawn) << angle;
    for (float huge : {1e30f, -1e30f, 123456.75f}) {
        float drawn = KDial::NormalizeAngle(huge);
        EXPECT_GE(drawn, 0) << huge;
        EXPECT_LE(drawn, KDial::kFullTurn) << huge;
    }
}

// A needle 10 x 40 whose registration point is the middle of its bottom edge.
const char kDial[] = "{ w = 100, h = 100, center_x = 50, center_y = 50, needle = 'needle.png', "
                     "needle_regx = 5, needle_regy = 40";

TEST_F(WidgetsTest, ADialTurnsItsNeedleAboutTheRegistrationPointOnTheCentre) {
    AddImage("needle.png", 10, 40);
    KDial* dial = Make<KDial>(std::string(kDial) + ", startpos = 0.25 }");
    EXPECT_EQ(dial->GetRegistration(), TPoint(0, 20));
    EXPECT_FLOAT_EQ(dial->GetAngle(), KDial::kFullTurn / 4);
    EXPECT_FLOAT_EQ(dial->GetValue(), 0.25f);
    dial->SetNeedleAlpha(0.5f);
    DrawWindow(dial);
    auto draws = Calls(TRecordingRenderBackEnd::kDrawVertices);
    ASSERT_EQ(draws.size(), 1u);
    const auto& v = draws[0].vertices;
    // A quarter turn clockwise: the tip points right, the foot sits on the centre.
    EXPECT_NEAR((v[0].x + v[1].x) / 2, 90, 1e-3);
    EXPECT_NEAR((v[0].y + v[1].y) / 2, 50, 1e-3);
    EXPECT_NEAR((v[2].x + v[3].x) / 2, 50, 1e-3);
    EXPECT_NEAR((v[2].y + v[3].y) / 2, 50, 1e-3);
    EXPECT_EQ(v[0].diffuse >> 24, 127u);
}

TEST_F(WidgetsTest, ADialsValueStaysDefinedForAnyRange) {
    AddImage("needle.png", 10, 40);
    KDial* flat = Make<KDial>(std::string(kDial) + ", minrot = 1, maxrot = 1, startpos = 0.5 }");
    EXPECT_EQ(flat->GetValue(), 0);
    KDial* dial = Make<KDial>(std::string(kDial) + " }");
    dial->SetValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(dial->GetAngle(), 0);
    EXPECT_EQ(dial->GetValue(), 0);
    dial->SetValue(3);
    EXPECT_FLOAT_EQ(dial->GetValue(), 1);

    // A huge or infinite turn is drawn at once, not turned back step by step.
    for (const char* maxrot : {"1e30", "1/0"}) {
        KDial* wild = Make<KDial>(std::string(kDial) + ", maxrot = " + maxrot + ", startpos = 1 }");
        DrawWindow(wild);
        EXPECT_EQ(Calls(TRecordingRenderBackEnd::kDrawVertices).size(), 1u) << maxrot;
    }
}

const char kSweep[] = "{ w = 100, h = 100, center_x = 50, center_y = 50, sweep = 'sweep.png'";

TEST_F(WidgetsTest, TheEdgePointOfACentredDialLiesWhereTheRayLeavesTheWindow) {
    AddImage("sweep.png", 100, 100);
    KSweepDial* dial = Make<KSweepDial>(std::string(kSweep) + " }");
    const float cases[][3] = {
        {0, 50, 0}, {kPi / 4, 100, 0}, {kPi / 2, 100, 50}, {kPi, 50, 100}, {3 * kPi / 2, 0, 50}, {7 * kPi / 4, 0, 0},
    };
    for (const auto& [angle, x, y] : cases) {
        TVec2 point = dial->EdgePoint(angle);
        EXPECT_NEAR(point.x, x, 1e-3) << angle;
        EXPECT_NEAR(point.y, y, 1e-3) << angle;
    }
}

TEST_F(WidgetsTest, ASweepBackwardsCoversFromTheCurrentAngleToTheStartPastItsEnd) {
    AddImage("sweep.png", 100, 100);
    KSweepDial* dial = Make<KSweepDial>(std::string(kSweep) + ", startpos = 0.5 }");
    dial->SetValue(0.2f);
    float from = 0.2f * KDial::kFullTurn;
    float to = 0.5f * KDial::kFullTurn + KSweepDial::kOvershoot;
    // 0.3 of a turn and the overshoot take 10.1 steps of 1/32 turn.
    ASSERT_EQ(dial->GetTriangleCount(), 11);
    const auto& v = dial->GetVertices();
    EXPECT_NEAR(v[0].x, dial->EdgePoint(from).x, 1e-4);
    EXPECT_NEAR(v[0].y, dial->EdgePoint(from).y, 1e-4);
    EXPECT_NEAR(v[11].x, dial->EdgePoint(to).x, 1e-4);
    EXPECT_NEAR(v[11].y, dial->EdgePoint(to).y, 1e-4);
    // Texture coordinates follow the positions over the whole window.
    EXPECT_FLOAT_EQ(v[11].u, v[11].x / 100);
    EXPECT_FLOAT_EQ(v[11].v, v[11].y / 100);
    // The centre closes every triangle.
    EXPECT_FLOAT_EQ(v[32].x, 50);
    EXPECT_FLOAT_EQ(v[32].u, 0.5f);
    const auto& indices = dial->GetIndices();
    EXPECT_EQ(indices[0], 32);
    EXPECT_EQ(indices[30], 32);
    EXPECT_EQ(indices[31], 10);
    EXPECT_EQ(indices[32], 11);
}

TEST_F(WidgetsTest, AFullSweepTakesAtMostOneTriangleFewerThanItsSegments) {
    AddImage("sweep.png", 100, 100);
    AddImage("needle.png", 10, 40);
    KSweepDial* dial = Make<KSweepDial>(std::string(kSweep) + ", needle = 'needle.png' }");
    dial->SetValue(1);
    EXPECT_EQ(dial->GetTriangleCount(), 31);
    EXPECT_NEAR(dial->GetVertices()[31].x, dial->EdgePoint(KDial::kFullTurn + KSweepDial::kOvershoot).x, 1e-4);
    dial->SetNeedleAlpha(0.5f);
    DrawWindow(dial);
    auto kinds = recorder->GetCallKinds();
    auto sweep = Calls(TRecordingRenderBackEnd::kDrawIndexedVertices);
    ASSERT_EQ(sweep.size(), 1u);
    EXPECT_EQ(sweep[0].value, TRenderer::kTriangleList);
    EXPECT_EQ(sweep[0].vertices.size(), 33u);
    EXPECT_EQ(sweep[0].indices.size(), 93u);
    EXPECT_EQ(sweep[0].vertices[5].diffuse, 0x7FFFFFFFu);
    // The needle comes after the sweep.
    auto sweepAt = std::find(kinds.begin(), kinds.end(), TRecordingRenderBackEnd::kDrawIndexedVertices);
    EXPECT_NE(std::find(sweepAt, kinds.end(), TRecordingRenderBackEnd::kDrawVertices), kinds.end());
}

TEST_F(WidgetsTest, ASweepDialAtZeroDrawsItsNeedleButNoSweep) {
    AddImage("sweep.png", 100, 100);
    AddImage("needle.png", 10, 40);
    KSweepDial* dial = Make<KSweepDial>(std::string(kSweep) + ", needle = 'needle.png' }");
    DrawWindow(dial);
    EXPECT_TRUE(Calls(TRecordingRenderBackEnd::kDrawIndexedVertices).empty());
    EXPECT_EQ(Calls(TRecordingRenderBackEnd::kDrawVertices).size(), 1u);
}

TEST_F(WidgetsTest, SegmentCountsOutsideTheIndexRangeKeepThirtyTwo) {
    AddImage("sweep.png", 100, 100);
    const std::pair<const char*, int> cases[] = {{"1", 32}, {"-5", 32}, {"70000", 32}, {"2", 2}, {"64", 64}};
    for (const auto& [count, kept] : cases) {
        KSweepDial* dial = Make<KSweepDial>(std::string(kSweep) + ", numsegments = " + count + " }");
        EXPECT_EQ(dial->GetSegmentCount(), kept) << count;
        EXPECT_EQ(dial->GetVertices().size(), static_cast<size_t>(kept) + 1) << count;
        dial->SetValue(1);
        EXPECT_LE(dial->GetTriangleCount(), kept - 1) << count;
    }
    EXPECT_EQ(log.Count("KSweepDial: numsegments"), 3u);
}

TEST_F(WidgetsTest, ASweepDialWithoutWidthOrHeightMapsTheTextureAtZero) {
    AddImage("sweep.png", 100, 100);
    KSweepDial* dial = Make<KSweepDial>("{ w = 0, h = 0, center_x = 0, center_y = 0, sweep = 'sweep.png' }");
    dial->SetValue(0.5f);
    for (const TRenderVertex& vertex : dial->GetVertices()) {
        EXPECT_EQ(vertex.u, 0);
        EXPECT_EQ(vertex.v, 0);
    }
}

TEST_F(WidgetsTest, ACursorWindowGrowsToHoldItsImages) {
    AddImage("rail.png", 200, 30);
    AddImage("knob.png", 20, 40);
    RCursor* cursor = Make<RCursor>("{ w = 100, h = 10, background = 'rail.png', cursor = 'knob.png' }");
    EXPECT_EQ(cursor->GetWidth(), 240);
    EXPECT_EQ(cursor->GetHeight(), 40);
    RCursor* narrow = Make<RCursor>("{ w = 10, h = 50, cursor = 'knob.png' }");
    EXPECT_EQ(narrow->GetWidth(), 20);
    EXPECT_EQ(narrow->GetHeight(), 50);
    RCursor* wide = Make<RCursor>("{ w = 300, h = 50, cursor = 'knob.png' }");
    EXPECT_EQ(wide->GetWidth(), 300);
}

TEST_F(WidgetsTest, ACursorIsPlacedAlongItsBackgroundByTheValue) {
    AddImage("rail.png", 200, 30);
    AddImage("knob.png", 20, 40);
    RCursor* cursor = Make<RCursor>("{ w = 100, h = 10, background = 'rail.png', cursor = 'knob.png' }");
    cursor->SetValue(0.5f);
    DrawWindow(cursor);
    auto draws = Calls(TRecordingRenderBackEnd::kDrawVertices);
    ASSERT_EQ(draws.size(), 2u);
    // The background centred in the 240 x 40 window, then the cursor.
    EXPECT_FLOAT_EQ(draws[0].vertices[0].x, 20);
    EXPECT_FLOAT_EQ(draws[0].vertices[0].y, 5);
    EXPECT_FLOAT_EQ(draws[1].vertices[0].x, 20 + 100 - 10);
    EXPECT_FLOAT_EQ(draws[1].vertices[0].y, 0);
    cursor->SetValue(7);
    EXPECT_EQ(cursor->GetValue(), 1);
}

}  // namespace
