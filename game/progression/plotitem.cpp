#include "game/progression/plotitem.h"

#include "game/objects/objectdescription.h"
#include "game/progression/plotstep.h"
#include "game/shell/block.h"
#include "game/shell/game.h"
#include "game/shell/luastyle.h"

namespace {

constexpr uint8_t kDoneByte = 1;
constexpr int kValueSize = 4;

TString DoneBlock(const TString& location) {
    return TString("plot_") + location;
}

TString ValueBlock(const TString& location) {
    return TString("plot_value_") + location;
}

// The block when it holds the bytes from offset on.
std::shared_ptr<VBinaryBlock> BlockHolding(const TString& name, int offset, int size) {
    std::shared_ptr<VBinaryBlock> block = GetPlayerBinaryBlock(name);
    if (!block || !block->Holds(offset, size)) return nullptr;
    return block;
}

}  // namespace

std::shared_ptr<VPlotItem> VPlotItem::Create(const TString& name, int index) {
    auto item = std::make_shared<VPlotItem>(name, index);
    Adopt(item);
    return item;
}

VPlotItem::VPlotItem(const TString& name, int index) : VObject(name, "plot item", 0), mIndex(index) {
    SetClickable(true);
}

VPlotItem::~VPlotItem() = default;

void VPlotItem::Load(const std::shared_ptr<VLuaStyle>& description) {
    if (description && description->IsValid()) {
        mType = description->GetString("type", TString());
        if (std::shared_ptr<VLuaStyle> first = OwnSubStyle(*description, "nextStep")) {
            mFirst = VPlotStep::Create(GetShared());
            mFirst->LoadPage(first, 0);
        }
    }
    VObject::Load(description);
    mPending = mFirst;
}

void VPlotItem::Reset() {
    VObject::Reset();
    if (mFirst) mFirst->Reset();
    mValue = 0;
}

bool VPlotItem::Advance() {
    mPrevious = mCurrent;
    mCurrent = mPending;
    mPending.reset();
    if (!mCurrent) return true;
    mCurrent->Show(mListener);
    if (mPrevious && !mPrevious->IsGone()) return false;
    AddChild(mCurrent);
    return Check();
}

bool VPlotItem::Check() {
    if (mDone) return false;
    bool ready = mCurrent ? mCurrent->Poll() : mPending != nullptr;
    if (ready) mDone = Advance();
    return mDone;
}

bool VPlotItem::Respond(const TString& response) {
    if (mDone || !mCurrent) {
        mDone = true;
        return true;
    }
    mValue += mCurrent->Select(response, mPending);
    if (mCurrent->Poll()) mDone = Advance();
    return mDone;
}

void VPlotItem::Update(bool paused) {
    VObject::Update(paused);
    if (!mPrevious || !mPrevious->IsGone()) return;
    RemoveChild(std::shared_ptr<VSprite>(mPrevious));
    if (mCurrent) AddChild(mCurrent);
    mPrevious.reset();
    if (!mDone) Check();
}

void VPlotItem::LoadState(const TString& location) {
    if (std::shared_ptr<VBinaryBlock> done = BlockHolding(DoneBlock(location), mIndex, 1)) {
        mDone = done->ReadByte(mIndex) == kDoneByte;
    }
    if (std::shared_ptr<VBinaryBlock> values = BlockHolding(ValueBlock(location), mIndex * kValueSize, kValueSize)) {
        mValue = values->ReadInt(mIndex);
    }
}

void VPlotItem::SaveState(const TString& location) {
    if (std::shared_ptr<VBinaryBlock> done = BlockHolding(DoneBlock(location), mIndex, 1)) {
        done->WriteByte(mIndex, mDone ? kDoneByte : 0);
        done->Save();
    }
    if (std::shared_ptr<VBinaryBlock> values = BlockHolding(ValueBlock(location), mIndex * kValueSize, kValueSize)) {
        values->WriteInt(mIndex, mValue);
        values->Save();
    }
}

void VPlotItem::SetListener(const std::shared_ptr<VSpriteListener>& listener) {
    mListener = listener;
}

void VPlotItem::Hide() {
    UnloadAssets("all", "all", true);
    if (mFirst) mFirst->Hide();
}
