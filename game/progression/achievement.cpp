#include "game/progression/achievement.h"

#include "foundation/xmlnode.h"
#include "game/objects/objectdescription.h"
#include "game/progression/compare.h"
#include "game/shell/block.h"
#include "game/shell/game.h"
#include "game/shell/value.h"

namespace {

constexpr uint8_t kEarnedByte = 1;

// The player's block when it has a byte for the index.
std::shared_ptr<VBinaryBlock> BlockHolding(int index) {
    std::shared_ptr<VBinaryBlock> block = GetPlayerBinaryBlock("achievements");
    if (!block || !block->Holds(index)) return nullptr;
    return block;
}

}  // namespace

std::shared_ptr<VAchievement> VAchievement::Create(const TString& name, const TString& category, int index) {
    return std::make_shared<VAchievement>(name, category, index);
}

VAchievement::VAchievement(const TString& name, const TString& category, int index)
    : mName(LowerCase(name)), mCategory(category), mIndex(index) {}

void VAchievement::Load(TXmlNode& element) {
    TString tag;
    TXmlNode* child = nullptr;
    for (element.ResetChildIterator(); element.NextChild(tag, child);) {
        TString key = LowerCase(tag);
        if (key == "title") {
            mTitle = child->GetText();
        } else if (key == "description") {
            mDescription = child->GetText();
        } else if (key == "compare") {
            mCompareFlags = ParseCompareFlags(child->GetText());
        } else if (key == "threshold") {
            mThreshold = TextToFloat(child->GetText());
        } else if (key == "value") {
            mValueName = child->GetText();
        } else if (key == "medal") {
            mMedal = child->GetText();
        }
    }
}

bool VAchievement::Evaluate(float value) const {
    return EvaluateCompare(value, mThreshold, mCompareFlags);
}

void VAchievement::LoadEarned() {
    std::shared_ptr<VBinaryBlock> block = BlockHolding(mIndex);
    mEarned = block && block->ReadByte(mIndex) == kEarnedByte;
}

void VAchievement::SaveEarned() {
    std::shared_ptr<VBinaryBlock> block = BlockHolding(mIndex);
    if (!block) return;
    block->WriteByte(mIndex, mEarned ? kEarnedByte : 0);
    block->Save();
}

void VAchievement::SetEarned(bool earned) {
    mEarned = earned;
    SaveEarned();
}
