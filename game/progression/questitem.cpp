#include "game/progression/questitem.h"

#include "game/level/upgrade.h"
#include "game/level/upgrademanager.h"
#include "game/objects/objectdescription.h"
#include "game/progression/compare.h"
#include "game/progression/plotmanager.h"
#include "game/shell/block.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "game/utilities/localised.h"

std::shared_ptr<VQuestItem> VQuestItem::Create(const TString& name, int index) {
    auto item = std::make_shared<VQuestItem>(name, index);
    Adopt(item);
    return item;
}

VQuestItem::VQuestItem(const TString& name, int index) : VPlotItem(name, index) {}

VQuestItem::~VQuestItem() = default;

void VQuestItem::Load(const std::shared_ptr<VLuaStyle>& description) {
    if (description && description->IsValid()) {
        mThreshold = static_cast<float>(description->GetNumber("threshold", 0));
        mCompare = ParseCompareFlags(description->GetString("compare", TString()));
        mCompValue = description->GetString("compValue", TString());
        mRewardCategory = LowerCase(description->GetString("rewardCategory", TString()));
        mReward = LowerCase(description->GetString("reward", TString()));
        mRewardType = LowerCase(description->GetString("rewardType", TString()));
    }
    VPlotItem::Load(description);
}

std::shared_ptr<VBinaryBlock> VQuestItem::StateBlock(const TString& location) const {
    std::shared_ptr<VBinaryBlock> block = VPlotManager::Get()->GetQuestBlock(location);
    if (!block || !block->Holds(GetIndex())) return nullptr;
    return block;
}

void VQuestItem::LoadState(const TString& location) {
    if (std::shared_ptr<VBinaryBlock> block = StateBlock(location)) {
        SetState(static_cast<int8_t>(block->ReadByte(GetIndex())));
    }
    VPlotItem::LoadState(location);
}

void VQuestItem::SaveState(const TString& location) {
    SaveGoal(location);
    VPlotItem::SaveState(location);
}

void VQuestItem::SaveGoal(const TString& location) {
    if (std::shared_ptr<VBinaryBlock> block = StateBlock(location)) {
        // In place: the block's writer would grow a short stored record.
        block->GetData()[GetIndex()] = static_cast<uint8_t>(GetState());
        block->Save();
    }
}

void VQuestItem::Evaluate() {
    if (IsFinished()) return;
    float value = VValueManager::Get()->GetReal(mCompValue, 0);
    bool met = EvaluateCompare(value, mThreshold, mCompare);
    SetState(met ? 0 : 1);
    if (!met || mReward.Length() == 0) return;
    if (mRewardType == "reveal") {
        VUpgradeManager::Get()->RevealUpgrade(mReward, mRewardCategory);
    } else if (mRewardType == "activate") {
        VUpgradeManager::Get()->GrantUpgrade(mReward, mRewardCategory, true, nullptr);
    }
}

void VQuestItem::RevealReward() const {
    if (IsFinished() && mRewardType == "reveal" && mReward.Length() > 0) {
        VUpgradeManager::Get()->RevealUpgrade(mReward, mRewardCategory);
    }
}

TString VQuestItem::GetMessage() const {
    std::shared_ptr<VUpgrade> upgrade = VUpgradeManager::Get()->GetUpgrade(mReward, mRewardCategory);
    if (!upgrade) return TString();
    if (!IsFinished()) return Localised("quest_failed");
    return Localised("quest_complete", Localised(upgrade->GetProperty("header")),
                     Localised(upgrade->GetProperty("content")));
}
