// The shop's pulsing glow: its triangle wave, its end, and its extra draw.
#include "game/progression/gloweffect.h"

#include <gtest/gtest.h>

#include <cmath>

#include "graphics/render/recordingrenderbackend.h"
#include "tests/sprites/spritetesting.h"

namespace {

class GlowEffectTest : public SpriteEffectFixture {
protected:
    // The back end's calls of one frame that draws the sprite.
    std::vector<TRecordingRenderBackEnd::TCall> DrawnCalls() {
        recorder->ClearCalls();
        Draw();
        return recorder->GetCalls();
    }
    static int Count(const std::vector<TRecordingRenderBackEnd::TCall>& calls, TRecordingRenderBackEnd::TCallKind kind) {
        int count = 0;
        for (const auto& call : calls) count += call.kind == kind ? 1 : 0;
        return count;
    }

};

TEST_F(GlowEffectTest, AlphaRisesAndFallsInATriangleWave) {
    struct Case {
        uint32_t at;
        float alpha;
    };
    const Case cases[] = {{0, 0.0f}, {250, 0.5f}, {500, 1.0f}, {750, 0.5f}, {1000, 0.0f}, {1125, 0.25f}};
    auto glow = VGlowEffect::Create(1.0f, 500, -1.0f, 0.0f);
    Attach(glow);
    uint32_t now = 0;
    for (const Case& c : cases) {
        Run(c.at - now);
        now = c.at;
        EXPECT_NEAR(glow->GetAlpha(), c.alpha, 1e-5) << c.at << " ms";
        EXPECT_TRUE(glow->IsActive());
    }
}

TEST_F(GlowEffectTest, ShownAlphaFollowsOnlyStepsAboveATenth) {
    auto glow = VGlowEffect::Create(1.0f, 1000, -1.0f, 0.0f);
    Attach(glow);
    Run(96);
    EXPECT_NEAR(glow->GetAlpha(), 0.096f, 1e-5);
    EXPECT_FLOAT_EQ(glow->GetShownAlpha(), 0.0f);
    Run(16);
    EXPECT_NEAR(glow->GetShownAlpha(), 0.112f, 1e-5);
}

TEST_F(GlowEffectTest, CycleLimitEndsThePulseThenTheGlowFadesAndIsDone) {
    auto glow = VGlowEffect::Create(0.8f, 100, 1.5f, 0.0f);
    Attach(glow);
    Run(144);
    EXPECT_TRUE(glow->IsActive());
    EXPECT_NEAR(glow->GetAlpha(), 0.8f - 0.8f * 44 / 100, 1e-5);
    Run(16);  // 160 ms: past one and a half cycles
    EXPECT_FALSE(glow->IsActive());
    Run(16);
    EXPECT_NEAR(glow->GetAlpha(), 0.448f - 0.8f * 16 / 100, 1e-5);
    Run(48);
    EXPECT_FLOAT_EQ(glow->GetAlpha(), 0.0f);
    EXPECT_FLOAT_EQ(glow->GetShownAlpha(), 0.0f);
    // Done at the step after the alpha reached 0.
    Run(16);
    EXPECT_TRUE(glow->IsDone());
}

TEST_F(GlowEffectTest, DeactivatedGlowFadesAtItsOwnRate) {
    auto glow = VGlowEffect::Create(1.0f, 500, -1.0f, 0.0f);
    Attach(glow);
    Run(400);
    glow->Deactivate();
    Run(160);
    EXPECT_NEAR(glow->GetAlpha(), 0.8f - 160.0f / 500, 1e-5);
}

TEST_F(GlowEffectTest, AZeroPeriodCountsAsOneMillisecond) {
    auto glow = VGlowEffect::Create(1.0f, 0, -1.0f, 0.0f);
    EXPECT_EQ(glow->GetPeriod(), 1u);
    Attach(glow);
    Run(33);
    EXPECT_TRUE(std::isfinite(glow->GetAlpha()));
    EXPECT_GE(glow->GetAlpha(), 0.0f);
    EXPECT_LE(glow->GetAlpha(), 1.0f);
}

TEST_F(GlowEffectTest, AccelerationLengthensEachStep) {
    auto glow = VGlowEffect::Create(1.0f, 1000, -1.0f, 0.01f);
    Attach(glow);
    Run(16);
    // 16 ms plus round(0.5 x 0.01 x 16 x 16) = 17 ms of pulse.
    EXPECT_NEAR(glow->GetAlpha(), 0.017f, 1e-5);
}

TEST_F(GlowEffectTest, TheSpriteIsDrawnOnceMoreAdditivelyWithTheGlowsAlpha) {
    auto glow = VGlowEffect::Create(1.0f, 500, -1.0f, 0.0f);
    Attach(glow);
    auto dark = DrawnCalls();  // alpha 0: no extra draw
    Run(250);
    auto bright = DrawnCalls();
    EXPECT_EQ(Count(bright, TRecordingRenderBackEnd::kDrawVertices) + Count(bright, TRecordingRenderBackEnd::kDrawIndexedVertices),
              Count(dark, TRecordingRenderBackEnd::kDrawVertices) + Count(dark, TRecordingRenderBackEnd::kDrawIndexedVertices) + 1);
    bool additive = false;
    for (const auto& call : bright) {
        if (call.kind == TRecordingRenderBackEnd::kSetBlendMode && call.value == 2) additive = true;
    }
    EXPECT_TRUE(additive);
    // The glow's pass carries its alpha in the vertices' colour.
    const auto& last = [&]() -> const TRecordingRenderBackEnd::TCall& {
        for (auto it = bright.rbegin(); it != bright.rend(); ++it) {
            if (it->kind == TRecordingRenderBackEnd::kDrawVertices || it->kind == TRecordingRenderBackEnd::kDrawIndexedVertices) return *it;
        }
        return bright.front();
    }();
    ASSERT_FALSE(last.vertices.empty());
    EXPECT_EQ(last.vertices.front().diffuse >> 24, 0x7Fu);
}

}  // namespace
