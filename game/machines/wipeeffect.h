// Reveals or hides a sprite, its children too, behind an edge that crosses
// the sprite's bounds over a fixed time.
#pragma once

#include "foundation/rect.h"
#include "game/sprites/spriteeffect.h"

class VWipeEffect : public VSpriteEffect {
public:
    // The edge that moves: from the top down, the bottom up, the left
    // rightwards, the right leftwards.
    enum { kFromTop = 0, kFromBottom = 1, kFromLeft = 2, kFromRight = 3 };

    // A wipe without a duration completes at once.
    static std::shared_ptr<VWipeEffect> Create(int direction, bool reveal, uint32_t duration);

    bool Update(bool paused) override;
    // Clips the sprite's drawing to the part the edge has uncovered (or not
    // yet covered, when hiding).
    void BeginRender(const std::shared_ptr<VSprite>& sprite, const TDrawState& state, int depth) override;
    // Puts the clip back; a finished hiding wipe leaves the sprite invisible.
    void EndRender(const std::shared_ptr<VSprite>& sprite, const TDrawState& state, int depth) override;

    float GetProgress() const { return mProgress; }

private:
    friend class VSpriteEffect;
    VWipeEffect(int direction, bool reveal, uint32_t duration);
    TRect Clip(const TRect& bounds) const;

    int mDirection;
    bool mReveal;
    uint32_t mDuration;
    float mProgress = 0;
    TRect mSavedClip;
    // The stack was empty before the sprite drew, and is emptied again after.
    bool mStackWasEmpty = false;
};
