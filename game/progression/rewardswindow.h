// The rewards screen: one reward per "reward_" entry of its "rewards" table
// and a top box that flies off once the screen has come up ("box_top",
// moved by the script function "RewardWindowReady").
#pragma once

#include <map>
#include <memory>

#include "foundation/tstring.h"
#include "game/shell/screenfunctions.h"
#include "game/sprites/spritewindow.h"

class VObject;
class VReward;

class VRewardsWindow : public VSpriteWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    VRewardsWindow();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~VRewardsWindow() override;
    void PostInit(const TWindowStyle& style) override;

    void RewardWindowReady();

    // By lower-cased key.
    const std::map<TString, std::shared_ptr<VReward>>& GetRewards() const { return mRewards; }
    const std::shared_ptr<VObject>& GetTopBox() const { return mTopBox; }

private:
    void LoadTopBox(const TWindowStyle& style);
    void LoadRewards(const TWindowStyle& style);

    std::map<TString, std::shared_ptr<VReward>> mRewards;
    std::shared_ptr<VObject> mTopBox;
    VScreenFunctions mFunctions;
};
