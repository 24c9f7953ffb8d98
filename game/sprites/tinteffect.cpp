#include "game/sprites/tinteffect.h"

#include <algorithm>
#include <cmath>

#include "game/sprites/sprite.h"

namespace {

// The open tint brackets and the colour of the image before the first.
int gTintDepth = 0;
TColor4f gBaseColor;

float Blend(float base, float tint, float level) {
    return base + (tint - base) * level;
}

// Undoes one multiplication; a zero factor falls back to the untinted value.
float Unmultiply(float value, float factor, float base) {
    return factor != 0 ? value / factor : base;
}

}  // namespace

std::shared_ptr<VTintEffect> VTintEffect::Create(float targetLevel, int duration, float r, float g, float b, float a,
                                                 float startLevel) {
    return Make<VTintEffect>(targetLevel, duration, TColor4f(r, g, b, a), startLevel);
}

VTintEffect::VTintEffect(float targetLevel, int duration, const TColor4f& tint, float startLevel)
    : VSpriteEffect(true), mCurrentLevel(startLevel), mTargetLevel(targetLevel), mDuration(duration), mTint(tint) {}

int VTintEffect::GetStackDepth() {
    return gTintDepth;
}

void VTintEffect::MoveLevel(float goal, uint32_t elapsed) {
    // Without a duration the level reaches the goal at once.
    if (mDuration <= 0) {
        mCurrentLevel = goal;
        return;
    }
    float step = std::fabs(mTargetLevel) / static_cast<float>(mDuration) * static_cast<float>(elapsed);
    mCurrentLevel = mCurrentLevel < goal ? std::min(goal, mCurrentLevel + step) : std::max(goal, mCurrentLevel - step);
}

bool VTintEffect::Update(bool paused) {
    uint32_t elapsed = GetElapsed();
    if (mActive) {
        MoveLevel(mTargetLevel, elapsed);
    } else if (mCurrentLevel <= 0) {
        Finish();
        return false;
    } else {
        MoveLevel(0.0f, elapsed);
    }
    return VSpriteEffect::Update(paused);
}

void VTintEffect::BeginImage(const std::shared_ptr<VSprite>& sprite, const TDrawState&, int) {
    if (!sprite) return;
    TColor4f& color = sprite->GetDrawState().color;
    if (gTintDepth == 0) gBaseColor = color;
    mTinted = TColor4f(Blend(gBaseColor.r, mTint.r, mCurrentLevel), Blend(gBaseColor.g, mTint.g, mCurrentLevel),
                       Blend(gBaseColor.b, mTint.b, mCurrentLevel), 1.0f);
    if (gTintDepth == 0) {
        color = mTinted;
    } else {
        color = TColor4f(color.r * mTinted.r, color.g * mTinted.g, color.b * mTinted.b, 1.0f);
    }
    ++gTintDepth;
}

void VTintEffect::EndImage(const std::shared_ptr<VSprite>& sprite, const TDrawState&, int) {
    // An end without its begin must not unbalance the stack.
    if (!sprite || gTintDepth <= 0) return;
    TColor4f& color = sprite->GetDrawState().color;
    if (--gTintDepth == 0) {
        color = gBaseColor;
        return;
    }
    color = TColor4f(Unmultiply(color.r, mTinted.r, gBaseColor.r), Unmultiply(color.g, mTinted.g, gBaseColor.g),
                     Unmultiply(color.b, mTinted.b, gBaseColor.b), 1.0f);
}
