#include "game/sprites/alphaeffect.h"

#include <algorithm>

#include "game/sprites/sprite.h"

std::shared_ptr<VAlphaEffect> VAlphaEffect::Create(bool fadeIn, float targetAlpha, int duration, float startAlpha,
                                                   int delay) {
    return Make<VAlphaEffect>(fadeIn, targetAlpha, duration, startAlpha, delay);
}

VAlphaEffect::VAlphaEffect(bool fadeIn, float targetAlpha, int duration, float startAlpha, int delay)
    : VSpriteEffect(false),
      mFadeIn(fadeIn),
      mTargetAlpha(targetAlpha),
      mDuration(duration),
      mCurrentAlpha(startAlpha >= 0 ? startAlpha : (fadeIn ? 0.0f : 1.0f)),
      mRemainingDelay(delay) {}

void VAlphaEffect::OnAdded(const std::shared_ptr<VSprite>& sprite) {
    if (sprite) sprite->SetAlpha(mCurrentAlpha);
    VSpriteEffect::OnAdded(sprite);
}

bool VAlphaEffect::Update(bool paused) {
    if (mActive) {
        uint32_t elapsed = GetElapsed();
        mRemainingDelay -= static_cast<int>(std::min<uint32_t>(elapsed, 0x7FFFFFFF));
        if (mRemainingDelay < 1) Step(elapsed);
    }
    VSpriteEffect::Update(paused);
    return mActive;
}

void VAlphaEffect::Step(uint32_t elapsed) {
    // A fade without a duration reaches its end at once instead of dividing by zero.
    bool instant = mDuration <= 0;
    float change = instant ? 0.0f : mTargetAlpha * static_cast<float>(elapsed) / static_cast<float>(mDuration);
    if (mFadeIn) {
        mCurrentAlpha = instant ? mTargetAlpha : std::min(mTargetAlpha, mCurrentAlpha + change);
        mActive = mCurrentAlpha < mTargetAlpha;
    } else {
        mCurrentAlpha = instant ? 0.0f : std::max(0.0f, mCurrentAlpha - change);
        mActive = mCurrentAlpha > 0;
    }
}

void VAlphaEffect::BeginImage(const std::shared_ptr<VSprite>& sprite, const TDrawState&, int) {
    if (sprite) sprite->GetDrawState().alpha = mCurrentAlpha;
}

void VAlphaEffect::EndImage(const std::shared_ptr<VSprite>&, const TDrawState&, int) {
    if (!mActive) Finish();
}
