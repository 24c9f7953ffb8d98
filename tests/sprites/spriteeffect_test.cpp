#include "game/sprites/spriteeffect.h"

#include <gtest/gtest.h>

#include "game/sprites/alphaeffect.h"
#include "game/sprites/hoverglow.h"
#include "game/sprites/spritemove.h"
#include "game/sprites/tinteffect.h"
#include "tests/sprites/spritetesting.h"

namespace {

using SpriteEffectTest = SpriteEffectFixture;

TEST_F(SpriteEffectTest, AlphaKeepsItsStartDuringTheDelay) {
    auto fade = VAlphaEffect::Create(true, 1.0f, 400, 0.25f, 500);
    Attach(fade);
    EXPECT_FLOAT_EQ(sprite->GetAlpha(), 0.25f);
    Run(496);
    EXPECT_FLOAT_EQ(fade->GetAlpha(), 0.25f);
    Run(16);
    EXPECT_GT(fade->GetAlpha(), 0.25f);
}

TEST_F(SpriteEffectTest, FadeInReachesItsTargetThenFinishesAtTheNextDrawing) {
    auto fade = VAlphaEffect::Create(true, 1.0f, 400, -1.0f, 0);
    Attach(fade);
    EXPECT_FLOAT_EQ(sprite->GetAlpha(), 0.0f);
    Run(200);
    EXPECT_NEAR(fade->GetAlpha(), 0.5f, 1e-5);
    Run(200);
    EXPECT_FLOAT_EQ(fade->GetAlpha(), 1.0f);
    EXPECT_FALSE(fade->IsActive());
    EXPECT_FALSE(fade->IsDone());
    Draw();
    EXPECT_FLOAT_EQ(sprite->GetAlpha(), 1.0f);
    EXPECT_TRUE(fade->IsDone());
    sprite->Update(false);
    EXPECT_FALSE(sprite->HasEffect(fade));
}

TEST_F(SpriteEffectTest, FadeOutFallsAtTheTargetsRate) {
    auto fade = VAlphaEffect::Create(false, 1.0f, 100, -1.0f, 0);
    Attach(fade);
    EXPECT_FLOAT_EQ(sprite->GetAlpha(), 1.0f);
    Run(50);
    EXPECT_NEAR(fade->GetAlpha(), 0.5f, 1e-5);
    Run(50);
    EXPECT_NEAR(fade->GetAlpha(), 0.0f, 1e-6);
    Run(16);
    EXPECT_FLOAT_EQ(fade->GetAlpha(), 0.0f);
    EXPECT_FALSE(fade->IsActive());
}

TEST_F(SpriteEffectTest, MoveProgressFollowsTheAcceleration) {
    struct Case {
        float acceleration;
        float halfwayProgress;
    };
    const Case cases[] = {{0, 0.5f}, {2, 0.25f}, {-2, 0.75f}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.acceleration);
        sprite->SetPosition(TVec2(0, 100));
        auto move = VSpriteMove::Create(200, 0, 1000, test.acceleration, 0);
        Attach(move);
        Run(500);
        Draw();
        EXPECT_NEAR(move->GetProgress(), test.halfwayProgress, 1e-5);
        EXPECT_NEAR(sprite->GetPosition().x, 200 * test.halfwayProgress, 1e-3);
        EXPECT_NEAR(sprite->GetPosition().y, 100 - 100 * test.halfwayProgress, 1e-3);
        Run(500);
        Draw();
        EXPECT_EQ(sprite->GetPosition(), TVec2(200, 0));
        EXPECT_TRUE(move->IsDone());
        sprite->Update(false);
    }
}

TEST_F(SpriteEffectTest, MoveWaitsOutItsDelayInPlace) {
    sprite->SetPosition(TVec2(10, 10));
    auto move = VSpriteMove::Create(110, 10, 100, 0, 300);
    Attach(move);
    Run(200);
    Draw();
    EXPECT_EQ(sprite->GetPosition(), TVec2(10, 10));
    EXPECT_FALSE(move->IsDone());
    Run(150);
    Draw();
    EXPECT_NEAR(sprite->GetPosition().x, 60, 1e-3);
}

TEST_F(SpriteEffectTest, ZeroDurationsEndOnceTheDelayHasPassed) {
    auto fade = VAlphaEffect::Create(true, 0.8f, 0, 0.0f, 32);
    auto tint = VTintEffect::Create(0.6f, 0, 1, 0, 0, 1, 0);
    sprite->SetPosition(TVec2(0, 0));
    auto move = VSpriteMove::Create(50, 50, 0, 0, 32);
    for (const auto& effect : std::initializer_list<std::shared_ptr<VSpriteEffect>>{fade, tint, move}) {
        sprite->AddEffect(effect);
    }
    Run(16);  // the effects' first step only starts their time
    Run(16);
    Draw();
    EXPECT_FLOAT_EQ(fade->GetAlpha(), 0.0f);
    EXPECT_EQ(sprite->GetPosition(), TVec2(0, 0));
    Run(16);
    Draw();
    EXPECT_FLOAT_EQ(fade->GetAlpha(), 0.8f);
    EXPECT_FLOAT_EQ(tint->GetLevel(), 0.6f);
    EXPECT_EQ(sprite->GetPosition(), TVec2(50, 50));
    EXPECT_TRUE(move->IsDone());
}

TEST_F(SpriteEffectTest, HoverGlowRisesAndFallsInAHundredMilliseconds) {
    auto glow = VHoverGlow::Create(false, 0.8f, true, true);
    Attach(glow);  // its listener joins at the sprite's update
    sprite->SendEvent(VSprite::kEventEnter, TPoint(), Identity(), 0);
    Run(48);
    EXPECT_NEAR(glow->GetGlow(), 0.8f * 48 / 100, 1e-5);
    Run(52);
    EXPECT_FLOAT_EQ(glow->GetGlow(), 0.8f);
    Run(100);
    EXPECT_FLOAT_EQ(glow->GetGlow(), 0.8f);
    sprite->SendEvent(VSprite::kEventLeave, TPoint(), Identity(), 0);
    Run(100);
    EXPECT_FLOAT_EQ(glow->GetGlow(), 0.0f);
}

TEST_F(SpriteEffectTest, GlowDrawsTheImageFourMoreTimesAdditively) {
    auto glow = VHoverGlow::Create(false, 1.0f, true, false);
    Attach(glow);
    size_t before = recorder->GetCalls().size();
    Draw();
    size_t plain = recorder->GetCalls().size() - before;
    sprite->SendEvent(VSprite::kEventEnter, TPoint(), Identity(), 0);
    Run(100);
    before = recorder->GetCalls().size();
    Draw();
    EXPECT_GT(recorder->GetCalls().size() - before, plain);
    glow->Deactivate();
    Run(100);
    Draw();
    EXPECT_TRUE(glow->IsDone());
}

TEST_F(SpriteEffectTest, TintWithTargetZeroNeverMovesWhileActive) {
    auto tint = VTintEffect::Create(0.0f, 300, 0, 0, 0, 0, 0.4f);
    Attach(tint);
    Run(500);
    EXPECT_FLOAT_EQ(tint->GetLevel(), 0.4f);
}

TEST_F(SpriteEffectTest, TintLevelMovesToItsTargetAndBackAfterDeactivation) {
    auto tint = VTintEffect::Create(0.5f, 300, 0, 0, 0, 0, 0);
    Attach(tint);
    Run(150);
    EXPECT_NEAR(tint->GetLevel(), 0.25f, 1e-5);
    Run(300);
    EXPECT_FLOAT_EQ(tint->GetLevel(), 0.5f);
    tint->Deactivate();
    Run(300);
    EXPECT_FLOAT_EQ(tint->GetLevel(), 0.0f);
    Run(16);
    EXPECT_TRUE(tint->IsDone());
}

TEST_F(SpriteEffectTest, NestedTintsRestoreTheUntintedColourExactly) {
    sprite->GetDrawState().color = TColor4f(0.3f, 0.6f, 0.9f, 0.7f);
    auto outer = VTintEffect::Create(0.5f, 0, 1, 0, 0, 1, 0.5f);
    auto inner = VTintEffect::Create(0.25f, 0, 0, 0, 1, 1, 0.25f);
    outer->BeginImage(sprite, Identity(), 0);
    TColor4f tinted = sprite->GetDrawState().color;
    EXPECT_FLOAT_EQ(tinted.r, 0.3f + (1 - 0.3f) * 0.5f);
    EXPECT_FLOAT_EQ(tinted.a, 1.0f);
    inner->BeginImage(sprite, Identity(), 0);
    EXPECT_EQ(VTintEffect::GetStackDepth(), 2);
    inner->EndImage(sprite, Identity(), 0);
    EXPECT_NEAR(sprite->GetDrawState().color.r, tinted.r, 1e-6);
    outer->EndImage(sprite, Identity(), 0);
    EXPECT_EQ(sprite->GetDrawState().color, TColor4f(0.3f, 0.6f, 0.9f, 0.7f));
    EXPECT_EQ(VTintEffect::GetStackDepth(), 0);
}

TEST_F(SpriteEffectTest, TintEndWithoutBeginLeavesStackAndColour) {
    sprite->GetDrawState().color = TColor4f(0.2f, 0.2f, 0.2f, 1);
    auto tint = VTintEffect::Create(1, 0, 1, 1, 1, 1, 1);
    tint->EndImage(sprite, Identity(), 0);
    EXPECT_EQ(VTintEffect::GetStackDepth(), 0);
    EXPECT_EQ(sprite->GetDrawState().color, TColor4f(0.2f, 0.2f, 0.2f, 1));
}

// Adds a tint to its sprite from inside the image bracket.
class AddingEffect : public VSpriteEffect {
public:
    static std::shared_ptr<AddingEffect> Create() { return Make<AddingEffect>(); }
    AddingEffect() : VSpriteEffect(false) {}
    void BeginImage(const std::shared_ptr<VSprite>& sprite, const TDrawState&, int) override {
        if (added) sprite->AddEffect(added);
        added.reset();
    }
    std::shared_ptr<VSpriteEffect> added;
};

TEST_F(SpriteEffectTest, EffectAddedInsideABracketGetsNoEndOfIt) {
    sprite->GetDrawState().color = TColor4f(0.5f, 0.5f, 0.5f, 1);
    auto adder = AddingEffect::Create();
    auto tint = VTintEffect::Create(1, 0, 0, 0, 0, 1, 1);
    adder->added = tint;
    sprite->AddEffect(adder);
    Draw();
    EXPECT_TRUE(sprite->HasEffect(tint));
    EXPECT_EQ(VTintEffect::GetStackDepth(), 0);
    EXPECT_EQ(sprite->GetDrawState().color, TColor4f(0.5f, 0.5f, 0.5f, 1));
    Draw();  // now bracketed both ways
    EXPECT_EQ(VTintEffect::GetStackDepth(), 0);
    EXPECT_EQ(sprite->GetDrawState().color, TColor4f(0.5f, 0.5f, 0.5f, 1));
}

TEST_F(SpriteEffectTest, EffectClockWithoutUpdateAnswersZeroFirst) {
    auto effect = VTintEffect::Create(1, 100, 1, 1, 1, 1, 0);
    Tick(500);
    EXPECT_EQ(effect->GetElapsed(), 0u);
    Tick(30);
    EXPECT_EQ(effect->GetElapsed(), 30u);
    EXPECT_TRUE(effect->IsDone());  // attached to nothing
    auto later = VAlphaEffect::Create(true, 1, 1, 0, 0);
    EXPECT_LT(effect->GetId(), later->GetId());
}

TEST_F(SpriteEffectTest, ManagerDropsDoneEffects) {
    auto fade = VAlphaEffect::Create(true, 1.0f, 32, 0, 0);
    sprite->AddEffect(fade);
    EXPECT_TRUE(manager->IsRunning(fade));
    Run(16);
    Run(16);
    EXPECT_TRUE(manager->IsRunning(fade));
    Run(16);
    EXPECT_FALSE(manager->IsRunning(fade));
}

}  // namespace
