// Moves each sprite it is attached to from where it was to one target
// position, after a delay, with an acceleration: 0 moves linearly, 2 starts
// at rest and speeds up, -2 starts fast and stops smoothly.
#pragma once

#include <map>

#include "foundation/vector.h"
#include "game/sprites/spriteeffect.h"

class VSpriteMove : public VSpriteEffect {
public:
    static std::shared_ptr<VSpriteMove> Create(float x, float y, uint32_t duration, float acceleration,
                                               uint32_t delay);

    // Records the sprite's position as its start.
    void OnAdded(const std::shared_ptr<VSprite>& sprite) override;
    bool Update(bool paused) override;
    void BeginRender(const std::shared_ptr<VSprite>& sprite, const TDrawState& state, int depth) override;

    float GetProgress() const { return mProgress; }

private:
    friend class VSpriteEffect;
    VSpriteMove(float x, float y, uint32_t duration, float acceleration, uint32_t delay);
    // The time past the delay as a part of the duration, 0..1.
    float GetTimePart() const;

    TVec2 mTarget;
    std::map<const VSprite*, TVec2> mStarts;
    uint32_t mDuration;
    uint32_t mDelay;
    float mAcceleration;
    uint64_t mElapsedTotal = 0;
    float mProgress = 0;
};
