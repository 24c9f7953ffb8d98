#include "game/progression/rewardswindow.h"

#include "core/scripting/luaobject.h"
#include "core/windows/windowstyle.h"
#include "game/objects/objectdescription.h"
#include "game/progression/reward.h"
#include "game/shell/luastyle.h"
#include "game/sprites/spritemove.h"
#include "game/widgets/widgetclass.h"

namespace {

const char kRewardPrefix[] = "reward_";

// Off the top right of the screen, a second after the call, speeding up.
constexpr float kTopBoxX = 600;
constexpr float kTopBoxY = -600;
constexpr uint32_t kTopBoxTime = 400;
constexpr float kTopBoxAcceleration = 1.9f;
constexpr uint32_t kTopBoxDelay = 1000;

bool IsRewardKey(const TString& key) {
    return key.Find(kRewardPrefix) == 0;
}

}  // namespace

TWindow* VRewardsWindow::Create() {
    return new VRewardsWindow();
}

VRewardsWindow::VRewardsWindow() {
    mFunctions.Publish("RewardWindowReady", this, &VRewardsWindow::RewardWindowReady);
}

VRewardsWindow::~VRewardsWindow() = default;

const char* VRewardsWindow::GetClassName() const {
    return "VRewardsWindow";
}

bool VRewardsWindow::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), VSpriteWindow::ClassId(), RWindow::ClassId(), TImage::ClassId(),
                            TWindow::ClassId()});
}

void VRewardsWindow::PostInit(const TWindowStyle& style) {
    LoadTopBox(style);
    LoadRewards(style);
    VSpriteWindow::PostInit(style);
}

void VRewardsWindow::LoadTopBox(const TWindowStyle& style) {
    std::shared_ptr<VLuaStyle> description = VLuaStyle::Create(style.GetTable("box_top"), nullptr);
    if (!description->IsValid()) return;
    mTopBox = VObject::Create(TString(), TString(), 0);
    mTopBox->Load(description);
    mTopBox->Reset();
    AddSprite(mTopBox);
}

void VRewardsWindow::LoadRewards(const TWindowStyle& style) {
    std::shared_ptr<VLuaStyle> rewards = VLuaStyle::Create(style.GetTable("rewards"), nullptr);
    if (!rewards->IsValid()) return;
    ForEachTableEntry(*rewards->GetLuaTable(), [&](const TString& key, const TLuaObjectWrapper& value) {
        TString lowered = LowerCase(key);
        if (!value.IsTable() || !IsRewardKey(lowered)) return;
        std::shared_ptr<VReward>& reward = mRewards[lowered];
        if (!reward) {
            reward = VReward::Create();
            AddSprite(reward);
        }
        reward->Load(rewards->GetSubStyle(key.c_str()));
        reward->Reset();
    });
}

void VRewardsWindow::RewardWindowReady() {
    if (!mTopBox) return;
    mTopBox->AddEffect(VSpriteMove::Create(kTopBoxX, kTopBoxY, kTopBoxTime, kTopBoxAcceleration, kTopBoxDelay));
}
