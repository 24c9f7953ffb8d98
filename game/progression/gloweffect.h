// A pulsing glow: the sprite's image drawn once more over itself, additively,
// with an alpha that rises and falls in a triangle wave. It may stop after a
// number of cycles; once deactivated it fades out and is done.
#pragma once

#include <cstdint>
#include <memory>

#include "game/sprites/spriteeffect.h"

class VGlowEffect : public VSpriteEffect {
public:
    // A cycle limit not above 0 means none; a period of 0 counts as 1 ms.
    static std::shared_ptr<VGlowEffect> Create(float maxAlpha, uint32_t period, float cycleLimit,
                                               float acceleration);

    bool Update(bool paused) override;
    // The extra, additive draw of the sprite's image.
    void EndImage(const std::shared_ptr<VSprite>& sprite, const TDrawState& state, int depth) override;

    float GetAlpha() const { return mAlpha; }
    // Follows the alpha in steps of more than 0.1, so small changes redraw nothing.
    float GetShownAlpha() const { return mShownAlpha; }
    uint32_t GetPeriod() const { return mPeriod; }

private:
    friend class VSpriteEffect;
    VGlowEffect(float maxAlpha, uint32_t period, float cycleLimit, float acceleration);

    void Pulse(uint32_t dt);
    void FadeOut(uint32_t dt);

    float mMaxAlpha;
    uint32_t mPeriod;
    float mCycleLimit;
    float mAcceleration;
    uint32_t mElapsed = 0;
    float mAlpha = 0;
    float mShownAlpha = 0;
};
