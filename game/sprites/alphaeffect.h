// Fades a sprite's alpha in toward a target or out toward 0 after a delay.
#pragma once

#include "game/sprites/spriteeffect.h"

class VAlphaEffect : public VSpriteEffect {
public:
    // A start alpha below 0 starts fully out when fading in, fully in when
    // fading out. The target alpha also sets the rate of a fade-out.
    static std::shared_ptr<VAlphaEffect> Create(bool fadeIn, float targetAlpha, int duration, float startAlpha,
                                                int delay);

    void OnAdded(const std::shared_ptr<VSprite>& sprite) override;
    bool Update(bool paused) override;
    void BeginImage(const std::shared_ptr<VSprite>& sprite, const TDrawState& state, int depth) override;
    void EndImage(const std::shared_ptr<VSprite>& sprite, const TDrawState& state, int depth) override;

    float GetAlpha() const { return mCurrentAlpha; }
    bool IsFadeIn() const { return mFadeIn; }

private:
    friend class VSpriteEffect;
    VAlphaEffect(bool fadeIn, float targetAlpha, int duration, float startAlpha, int delay);
    void Step(uint32_t elapsed);

    bool mFadeIn;
    float mTargetAlpha;
    int mDuration;
    float mCurrentAlpha;
    int mRemainingDelay;
};
