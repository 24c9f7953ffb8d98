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

uint8_t VBinaryBlock::ByteAt(size_t offset) const {
    return offset < mData.size() ? mData[offset] : 0;
}

uint8_t VBinaryBlock::ReadByte(int index) const {
    return index >= 0 ? ByteAt(static_cast<size_t>(index)) : 0;
}

int32_t VBinaryBlock::ReadInt(int index) const {
    if (index < 0) return 0;
    size_t offset = static_cast<size_t>(index) * 4;
    uint32_t value = 0;
    for (size_t i = 4; i-- > 0;) value = value << 8 | ByteAt(offset + i);
    return static_cast<int32_t>(value);
}

void VBinaryBlock::Reach(size_t end) {
    size_t size = std::max(end, static_cast<size_t>(mDefaultSize));
    if (size > mData.size()) mData.resize(size, static_cast<uint8_t>(mFill));
}

void VBinaryBlock::WriteByte(int index, uint8_t value) {
    if (index < 0) return;
    Reach(static_cast<size_t>(index) + 1);
    mData[static_cast<size_t>(index)] = value;
}

void VBinaryBlock::WriteInt(int index, int32_t value) {
    if (index < 0) return;
    size_t offset = static_cast<size_t>(index) * 4;
    Reach(offset + 4);
    uint32_t bits = static_cast<uint32_t>(value);
    for (size_t i = 0; i < 4; ++i) mData[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
}
