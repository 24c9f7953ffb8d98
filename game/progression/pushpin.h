// One location on the world map: a pin that opens to reveal the location's
// level globes one after the other, each showing the player's result for
// its level, with a panel ("box") of the hovered level's scores. Only one
// pin of a map is open at a time.
#pragma once

#include <map>
#include <memory>

#include "foundation/vector.h"
#include "game/objects/object.h"
#include "game/sprites/spritelistener.h"

class VAlphaEffect;
class VButton;
class VHoverGlow;
class VTiledObject;

class VPushPin : public VObject {
public:
    enum State { kClosed = 0, kOpening = 1, kRevealing = 2, kOpen = 3, kClosing = 4 };

    // Shows the hovered globe's level in the pin's box.
    class VPinListener : public VSpriteListener {
    public:
        explicit VPinListener(const std::shared_ptr<VPushPin>& pin) : mPin(pin) {}
        void OnMouseEnter(const std::shared_ptr<VSprite>& sprite) override;
        void OnMouseLeave(const std::shared_ptr<VSprite>& sprite) override;

    private:
        std::weak_ptr<VPushPin> mPin;
    };

    // Closes every other pin it visits.
    class VPinSpider : public VSpriteSpider {
    public:
        explicit VPinSpider(const VPushPin* pin) : mPin(pin) {}
        bool Visit(const std::shared_ptr<VSprite>& sprite) override;

    private:
        const VPushPin* mPin;
    };

    static std::shared_ptr<VPushPin> Create();
    VPushPin();
    ~VPushPin() override;

    // Follows the current player's progress: the pin, its globes and their looks.
    void Reset() override;
    // Toggles the pin; in endless mode starts the location's first level.
    void OnClick() override;
    // Runs the open and close animations and the globes' reveal.
    void Update(bool paused) override;
    // "baseLevel", "movex", "movey", "globes" ("globe_" entries), "box".
    void Load(const std::shared_ptr<VLuaStyle>& description) override;

    void SetOpen(bool open);
    void SetGlobesVisible(bool visible);
    void SetGlobesClickable(bool clickable);
    void ShowLevelInfo(int level, bool show);

    int GetBaseLevel() const { return mBaseLevel; }
    bool IsOpen() const { return mOpen; }
    int GetPinState() const { return mPinState; }
    // By level number.
    const std::map<int, std::shared_ptr<VButton>>& GetGlobes() const { return mGlobes; }
    std::shared_ptr<VButton> GetGlobe(int level) const;
    const std::shared_ptr<VButton>& GetCurrentGlobe() const { return mCurrentGlobe; }
    const std::shared_ptr<VTiledObject>& GetBox() const { return mBox; }
    const std::shared_ptr<VHoverGlow>& GetHoverGlow() const { return mHoverGlow; }
    // Where each child object of the pin sits while the pin is closed.
    const std::map<TString, TVec2>& GetHomePositions() const { return mHomePositions; }

private:
    void LoadGlobes(VLuaStyle& description);
    void RemoveGlobes();
    void ResetGlobe(int level, const std::shared_ptr<VButton>& globe, int next);
    // Opens on the globe's own look and listener, with a hover glow.
    void MakeHoverable(const std::shared_ptr<VButton>& globe);
    void MoveArt(bool open);
    void RevealStep();
    // The pin's own animation script is not running.
    bool IsAnimationStopped();
    // 0 for a sprite that is none of the globes.
    int LevelOf(const std::shared_ptr<VSprite>& sprite) const;
    void FadeBox(bool show);

    int mBaseLevel = 0;
    std::map<int, std::shared_ptr<VButton>> mGlobes;
    bool mOpen = false;
    std::shared_ptr<VButton> mCurrentGlobe;
    std::shared_ptr<VTiledObject> mBox;
    std::shared_ptr<VAlphaEffect> mBoxFade;
    std::shared_ptr<VPinListener> mListener;
    std::shared_ptr<VHoverGlow> mHoverGlow;
    TVec2 mMove;
    std::map<TString, TVec2> mHomePositions;
    int mPinState = kClosed;
    int mRevealTimer = 0;
    int mRevealIndex = 0;
};
