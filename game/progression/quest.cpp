#include "game/progression/quest.h"

#include "game/level/upgrade.h"
#include "game/level/upgrademanager.h"
#include "game/objects/objectdescription.h"
#include "game/progression/compare.h"
#include "game/shell/block.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "game/utilities/localised.h"
#include "lua/numbercast.h"

namespace {

const char kWorthValue[] = "current_worth";

}  // namespace

std::shared_ptr<VQuest> VQuest::Create(const TString& name, int slot) {
    return std::make_shared<VQuest>(name, slot);
}

void VQuest::Load(VLuaStyle& style) {
    mName = style.GetString("name", mName);
    mUnits = style.GetString("units", TString());
    if (mUnits.Length() > 0) mUnits = Localised(mUnits);
    mMinLevel = style.GetInt("minlevel", 0);
    mMaxLevel = style.GetInt("maxlevel", 0);
    mThreshold = static_cast<float>(style.GetNumber("threshold", 0));
    mCompare = ParseCompareFlags(style.GetString("compare", TString()));
    mCompValue = style.GetString("compvalue", TString());
    mRewardCategory = LowerCase(style.GetString("rewardcategory", TString()));
    mReward = LowerCase(style.GetString("reward", TString()));
    mRewardType = LowerCase(style.GetString("rewardtype", "activate"));
    mDisplay = style.GetInt("display", 0);
    mFormat = LowerCase(style.GetString("format", TString()));
}

void VQuest::LoadState(const VBinaryBlock& block) {
    if (!block.Holds(mSlot)) return;
    int state = block.ReadByte(mSlot);
    mState = state <= kFailed ? state : kPending;
}

void VQuest::SaveState(VBinaryBlock& block) const {
    if (!block.Holds(mSlot)) return;
    // In place: the block's own writer would grow a short stored block.
    block.GetData()[mSlot] = static_cast<uint8_t>(mState);
}

float VQuest::Measure() const {
    return VValueManager::Get()->GetReal(mCompValue, 0);
}

int VQuest::Evaluate() const {
    float value = Measure();
    // Written so that NaN counts as below the goal.
    if (!(value >= mThreshold)) return kPending;
    return EvaluateCompare(value, mThreshold, mCompare) ? kComplete : kFailed;
}

bool VQuest::IsAvailable(int level) const {
    return mMinLevel <= level && level <= mMaxLevel && !IsComplete();
}

void VQuest::Check() {
    if (IsComplete()) return;
    mState = EvaluateCompare(Measure(), mThreshold, mCompare) ? kComplete : kFailed;
    if (mState == kComplete && mReward.Length() > 0) GiveReward();
}

void VQuest::GiveReward() const {
    if (mRewardType == "reveal") {
        VUpgradeManager::Get()->RevealUpgrade(mReward, mRewardCategory);
    } else if (mRewardType == "activate") {
        VUpgradeManager::Get()->GrantUpgrade(mReward, mRewardCategory, true, nullptr);
    } else if (mRewardType == "money") {
        float amount = mReward.ToFloat();
        // Saved at once, like the completed state that pays it.
        if (amount > 0) VValueManager::Get()->AddToValue(kWorthValue, amount, 0, true);
    }
}

TString VQuest::GetResultText() const {
    if (!IsComplete()) return Localised("quest_failed_info", GetDisplayName());
    if (mRewardType == "money") {
        return Localised("quest_complete_info", GetDisplayName(), TString::Format("$%s", mReward.c_str()));
    }
    std::shared_ptr<VUpgrade> upgrade = VUpgradeManager::Get()->GetUpgrade(mReward, mRewardCategory);
    if (!upgrade) return TString();
    return Localised("quest_complete_info", GetDisplayName(), Localised(upgrade->GetProperty("header")),
                     Localised(upgrade->GetProperty("content")));
}

TString VQuest::GetProgressText() const {
    switch (Evaluate()) {
        case kComplete:
            return Localised("quest_complete");
        case kFailed:
            return Localised("quest_failed");
        default:
            break;
    }
    int goal = script::truncateNumber<int>(mThreshold);
    if (mDisplay == 0) {
        return TString::Format("%i/%i %s", VValueManager::Get()->GetInt(mCompValue, 0), goal, mUnits.c_str());
    }
    if (mDisplay == 1) {
        return TString::Format(mFormat == "currency" ? "$%i %s" : "%i %s", goal, mUnits.c_str());
    }
    return Localised("quest_pending");
}

TString VQuest::GetDisplayName() const {
    return mName.Length() > 0 ? Localised(mName) : TString();
}
