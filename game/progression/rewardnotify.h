// The pop-up that lists achievements just earned: it slides in from the
// right on the clock of its modal window, holds for its duration (or while
// its hold flag is down), slides out, and then removes itself. Up to six
// items, each a copy of the "item" template with a "header", a
// "description" and an "icon", stand on the "background" panel.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "game/sprites/spritewindow.h"

class TClock;
class VAchievement;
class VTiledObject;

class VRewardNotify : public VSpriteWindow {
public:
    enum Phase { kSlideIn = 0, kHold = 1, kSlideOut = 2 };

    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    VRewardNotify();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Tells the achievement manager it is gone.
    ~VRewardNotify() override;
    // Takes the clock of the modal it now lives in; the phase starts now.
    bool OnAttach() override;
    // "transition", "duration", "spacing", "background" and "item".
    void PostInit(const TWindowStyle& style) override;
    bool Animate() override;

    void ShowRewards(const std::vector<std::shared_ptr<VAchievement>>& achievements);
    // Holds for the duration, and on while the flag (when given) is down.
    void SetHold(int duration, const std::shared_ptr<bool>& flag);

    int GetPhase() const { return mPhase; }
    int GetDuration() const { return mDuration; }
    const std::shared_ptr<VTiledObject>& GetBackground() const { return mBackground; }

private:
    // The item for one achievement at the height y; its height comes back.
    int AddItem(const VAchievement& achievement, int y);
    void StartPhase(int phase);
    // Moves the background toward x by the phase's time; true once there.
    bool SlideTo(float x, float elapsed);
    void RemoveSelf();

    std::shared_ptr<VTiledObject> mBackground;
    std::shared_ptr<VTiledObject> mItemTemplate;
    float mTransition = 300;
    int mDuration = 500;
    float mSpacing = 0;
    int mPhase = kSlideIn;
    int32_t mPhaseStart = 0;
    TClock* mClock = nullptr;
    std::shared_ptr<bool> mHoldFlag;
};
