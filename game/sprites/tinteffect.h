// Blends a sprite's colour toward a tint colour by a level that moves toward
// a target. Tints nest: a process-wide stack keeps the untinted colour while
// several tints bracket one image.
#pragma once

#include "foundation/color.h"
#include "game/sprites/spriteeffect.h"

class VTintEffect : public VSpriteEffect {
public:
    static std::shared_ptr<VTintEffect> Create(float targetLevel, int duration, float r, float g, float b, float a,
                                               float startLevel);

    bool Update(bool paused) override;
    void BeginImage(const std::shared_ptr<VSprite>& sprite, const TDrawState& state, int depth) override;
    void EndImage(const std::shared_ptr<VSprite>& sprite, const TDrawState& state, int depth) override;

    void SetLevel(float level) { mTargetLevel = level; }
    float GetLevel() const { return mCurrentLevel; }
    // How many tint brackets are open.
    static int GetStackDepth();

private:
    friend class VSpriteEffect;
    VTintEffect(float targetLevel, int duration, const TColor4f& tint, float startLevel);
    // Moves the level toward the goal at the target's rate, stopping on it.
    void MoveLevel(float goal, uint32_t elapsed);

    float mCurrentLevel;
    float mTargetLevel;
    int mDuration;
    TColor4f mTint;
    TColor4f mTinted;  // what the last BeginImage applied
};
