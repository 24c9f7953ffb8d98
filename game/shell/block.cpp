#include "game/shell/block.h"

#include <algorithm>

#include "foundation/prefs.h"
#include "game/shell/game.h"

// Each class is told by the address of its own identifier.
const RBlockClassId RBlock::ClassId = &RBlock::ClassId;
const RBlockClassId RIntBlock::ClassId = &RIntBlock::ClassId;
const RBlockClassId VBinaryBlock::ClassId = &VBinaryBlock::ClassId;

int RBlock::GetCurrentUser() {
    return GetCurrentUserNumber();
}

TPrefs* RBlock::GetStore(int& scope) const {
    TPrefs* prefs = GetGamePrefs();
    if (!prefs) {
        return nullptr;
    }
    scope = GetCurrentUser();
    if (scope < 0 && !mAllowWithoutUser) {
        return nullptr;
    }
    return prefs;
}

std::shared_ptr<RIntBlock> RIntBlock::Create(const TString& name, int defaultValue, bool allowWithoutUser) {
    return std::make_shared<RIntBlock>(name, defaultValue, allowWithoutUser);
}

RIntBlock::RIntBlock(const TString& name, int defaultValue, bool allowWithoutUser)
    : RBlock(name, allowWithoutUser), mDefault(defaultValue), mValue(defaultValue) {}

void RIntBlock::Load() {
    int scope = -1;
    if (TPrefs* prefs = GetStore(scope)) {
        mValue = prefs->GetInt(scope, GetName(), mDefault);
    }
}

void RIntBlock::Save() {
    int scope = -1;
    if (TPrefs* prefs = GetStore(scope)) {
        prefs->SetInt(scope, GetName(), mValue, true);
    }
}

std::shared_ptr<VBinaryBlock> VBinaryBlock::Create(const TString& name, int size, char fill, bool allowWithoutUser) {
    return std::make_shared<VBinaryBlock>(name, size, fill, allowWithoutUser);
}

VBinaryBlock::VBinaryBlock(const TString& name, int size, char fill, bool allowWithoutUser)
    : RBlock(name, allowWithoutUser),
      mDefaultSize(std::max(size, 0)),
      mFill(fill),
      mData(static_cast<size_t>(mDefaultSize), static_cast<uint8_t>(fill)) {}

void VBinaryBlock::Reset() {
    mData.assign(static_cast<size_t>(mDefaultSize), static_cast<uint8_t>(mFill));
}

void VBinaryBlock::Load() {
    int scope = -1;
    TPrefs* prefs = GetStore(scope);
    if (!prefs) {
        return;
    }
    int length = prefs->GetData(scope, GetName(), nullptr, 0);
    if (length < 1) {
        Reset();
        return;
    }
    mData.assign(static_cast<size_t>(length), 0);
    prefs->GetData(scope, GetName(), mData.data(), length);
}

void VBinaryBlock::Save() {
    int scope = -1;
    if (TPrefs* prefs = GetStore(scope)) {
        prefs->SetData(scope, GetName(), mData.data(), GetSize(), true);
    }
}

void VBinaryBlock::Resize(int size) {
    mData.resize(static_cast<size_t>(std::max(size, 0)));
}
