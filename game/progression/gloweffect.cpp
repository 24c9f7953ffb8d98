#include "game/progression/gloweffect.h"

#include <algorithm>
#include <cmath>

#include "game/sprites/sprite.h"
#include "graphics/render/drawstate.h"

namespace {

// The renderer's additive mode.
constexpr int kGlowBlendMode = 2;
// The shown alpha ignores smaller changes.
constexpr float kShownStep = 0.1f;

}  // namespace

std::shared_ptr<VGlowEffect> VGlowEffect::Create(float maxAlpha, uint32_t period, float cycleLimit,
                                                 float acceleration) {
    return Make<VGlowEffect>(maxAlpha, period, cycleLimit, acceleration);
}

VGlowEffect::VGlowEffect(float maxAlpha, uint32_t period, float cycleLimit, float acceleration)
    : VSpriteEffect(true),
      mMaxAlpha(maxAlpha),
      mPeriod(std::max<uint32_t>(period, 1)),
      mCycleLimit(cycleLimit),
      mAcceleration(acceleration) {}

bool VGlowEffect::Update(bool paused) {
    uint32_t dt = GetElapsed();
    if (mActive) {
        Pulse(dt);
    } else {
        FadeOut(dt);
    }
    VSpriteEffect::Update(paused);
    return !mDone;
}

void VGlowEffect::Pulse(uint32_t dt) {
    double step = static_cast<double>(dt) + std::round(0.5 * mAcceleration * dt * dt);
    mElapsed = static_cast<uint32_t>(std::max(0.0, static_cast<double>(mElapsed) + step));
    if (mCycleLimit > 0 && static_cast<float>(mElapsed) / static_cast<float>(mPeriod) > mCycleLimit) {
        mActive = false;
        return;
    }
    float rise = static_cast<float>(mElapsed % mPeriod) * mMaxAlpha / static_cast<float>(mPeriod);
    mAlpha = (mElapsed / mPeriod) % 2 == 0 ? rise : mMaxAlpha - rise;
    if (std::fabs(mShownAlpha - mAlpha) > kShownStep) mShownAlpha = mAlpha;
}

void VGlowEffect::FadeOut(uint32_t dt) {
    if (mAlpha <= 0) {
        mDone = true;
        return;
    }
    mAlpha = std::max(0.0f, mAlpha - static_cast<float>(dt) * mMaxAlpha / static_cast<float>(mPeriod));
    if (std::fabs(mShownAlpha - mAlpha) > kShownStep || mAlpha <= 0) mShownAlpha = mAlpha;
}

void VGlowEffect::EndImage(const std::shared_ptr<VSprite>& sprite, const TDrawState& state, int) {
    if (mAlpha <= 0 || !sprite) return;
    TDrawState glow(TVec2(0, 0), mShownAlpha, 1.0f, 0);
    glow.blendMode = kGlowBlendMode;
    sprite->Draw(TDrawState::Compose(glow, state), 0);
}
