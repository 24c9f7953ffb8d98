// Glows a sprite while the mouse is over it: its image drawn four more times,
// additively and slightly shifted. A listener on the sprite tells the glow
// about the mouse.
#pragma once

#include "game/sprites/spriteeffect.h"
#include "game/sprites/spritelistener.h"

class VHoverGlow : public VSpriteEffect {
public:
    class VHoverListener : public VSpriteListener {
    public:
        explicit VHoverListener(const std::weak_ptr<VHoverGlow>& glow) : mGlow(glow) {}
        void OnMouseEnter(const std::shared_ptr<VSprite>& sprite) override;
        void OnMouseLeave(const std::shared_ptr<VSprite>& sprite) override;

    private:
        std::weak_ptr<VHoverGlow> mGlow;
    };

    static std::shared_ptr<VHoverGlow> Create(bool propagate, float strength, bool spreadHorizontally,
                                              bool spreadVertically);

    // Only the first sprite gets the listener.
    void OnAdded(const std::shared_ptr<VSprite>& sprite) override;
    void OnRemoved(const std::shared_ptr<VSprite>& sprite) override;
    bool Update(bool paused) override;
    void EndImage(const std::shared_ptr<VSprite>& sprite, const TDrawState& state, int depth) override;

    float GetGlow() const { return mGlow; }

private:
    friend class VSpriteEffect;
    VHoverGlow(bool propagate, float strength, bool spreadHorizontally, bool spreadVertically);

    bool mHovered = false;
    bool mSpreadHorizontally;
    bool mSpreadVertically;
    float mGlow = 0;
    float mStrength;
    std::shared_ptr<VHoverListener> mListener;
};
