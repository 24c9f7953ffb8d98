#include "game/machines/press.h"

#include <algorithm>

#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatelayer.h"
#include "game/floor/player.h"
#include "game/machines/machineparts.h"
#include "game/machines/optionupgrades.h"
#include "game/machines/wipeeffect.h"
#include "game/shell/valuemanager.h"
#include "game/sprites/spritelink.h"
#include "game/sprites/spritemove.h"
#include "lua/lua.h"

namespace {

constexpr int kBucketLayer = 1;
constexpr uint32_t kPourTime = 300;
// The empty bucket sinks this far through the trap door, in this time.
constexpr float kDropDistance = 46.0f;
constexpr uint32_t kDropTime = 200;
constexpr int kBar = 0;
constexpr int kTruffle = 1;

const char* const kStillParts[] = {"static_door", "static_largeweight", "static_wheel"};

int HandsFor(const VCarriable& item) {
    return std::max(1, item.GetKind());
}

// The script functions reach the press through a weak link: the part's
// script may outlive it.
template <void (VPress::*kCall)()>
int CallPress(lua_State* L) {
    if (auto press = std::dynamic_pointer_cast<VPress>(ReadSpriteLink(L, lua_upvalueindex(1)))) ((*press).*kCall)();
    return 0;
}

void Register(VPress& press, const char* part, const char* name, lua_CFunction function) {
    std::shared_ptr<VObject> child = press.GetChildObject(part);
    TScript* script = child ? child->GetScript() : nullptr;
    std::shared_ptr<VSprite> self = press.GetShared();
    if (!script || !self) return;
    lua_State* L = script->GetState();
    LuaPopState guard(L);
    lua_pushstring(L, name);
    PushSpriteLink(L, self);
    lua_pushcclosure(L, function, 1);
    lua_rawset(L, LUA_GLOBALSINDEX);
}

}  // namespace

std::shared_ptr<VPress> VPress::Create() {
    auto press = std::make_shared<VPress>();
    Adopt(press);
    return press;
}

VPress::VPress() = default;

VPress::~VPress() = default;

void VPress::Interact(const std::shared_ptr<VPlayer>& player) {
    if (player && !IsBusy()) {
        if (TryStartWork() || SwapIn(*player)) return;
    }
    ClearSelection();
    VMachine::Interact(player);
}

bool VPress::SwapIn(VPlayer& player) {
    int hand = 0;
    std::shared_ptr<VCarriable> item = player.GetHeldItem(VPlayer::kCurrentHand, &hand);
    if (!AcceptingStage(item, kStage)) {
        item = player.GetHeldItem(hand == VPlayer::kRightHand ? VPlayer::kLeftHand : VPlayer::kRightHand, &hand);
    }
    if (!AcceptingStage(item, kStage) || (GetItem() && !IsProcessed())) return false;
    // The finished chocolate must fit the hands the bucket leaves free:
    // handing it back to full hands would lose it.
    if (GetItem() && player.CountFreeHands() + HandsFor(*item) < HandsFor(*GetItem())) return false;
    std::shared_ptr<VCarriable> finished = TakeItem(true);
    player.TakeItemFromHand(hand);
    PutItem(item, kBucketLayer, true);
    item->SetName("bucket");
    if (finished) player.PickUp(finished);
    TryStartWork();
    return true;
}

bool VPress::TryStartWork() {
    std::shared_ptr<VChocolate> chocolate = AcceptingStage(GetItem(), kStage);
    if (IsSuspended() || !chocolate || GetSelection() < 0) return false;
    mShape = GetSelection();
    mBucketSprite = VChocolateLayer::Create(0, -1, -1);
    if (std::shared_ptr<VChocolateLayer> lowest = LowestLayer(*chocolate)) lowest->CopyTo(mBucketSprite);
    mBucketSprite->SetLayer(kBucketLayer);
    AddChild(mBucketSprite);
    mBucketSprite->SetName("bucket");
    mBucketIcon = mBucketSprite->GetChildObject("icon");
    int type = chocolate->GetChocolateType();
    mFillAnimation = TString::Format("DoAnim_%i", type);
    chocolate->MakeLayer(mShape, kStage, type);
    chocolate->SetVisible(false);
    chocolate->SetName("chocolate");
    StartWork();
    VValueManager::Get()->AddToValue("chocolates_made_this_level", 1, 0, false);
    return true;
}

void VPress::StartWork() {
    VMachine::StartWork();
    for (const char* part : kStillParts) ShowPart(*this, part, true);
    if (mBucketIcon) mBucketIcon->AddEffect(VWipeEffect::Create(VWipeEffect::kFromTop, false, kPourTime));
    PlayPart(*this, "anim_fill", mFillAnimation);
    Suspend(kPourTime);
}

bool VPress::ContinueWork() {
    int phase = GetPhase();
    if (phase < kPouring) return true;
    if (phase == kPouring) {
        SetPhase(kStamping);
        for (const char* part : kStillParts) ShowPart(*this, part, false);
        PlayPart(*this, "anim_door", "DoDoor");
        PlayPart(*this, "anim_largeweight", GetForwardAnimation());
        PlayPart(*this, "anim_wheel", GetForwardAnimation());
        SuspendUntilAsset("anim_largeweight");
        return false;
    }
    if (mShape == kBar || mShape == kTruffle) {
        VValueManager::Get()->AddToValue(mShape == kBar ? "num_bars" : "num_truffles", 1, 0, true);
    }
    // Art that never stamps still leaves the chocolate in sight.
    if (GetItem()) GetItem()->SetVisible(true);
    GoIdle();
    return !IsSuspended();
}

void VPress::Stamp() {
    FinishWork();
    if (GetItem()) GetItem()->SetVisible(true);
    ShowPart(*this, "anim_fill", false);
    PlayMachineSound("audio/sfx/stamp.ogg");
}

void VPress::DropBucket() {
    if (mBucketSprite) {
        TVec2 from = mBucketSprite->GetPosition();
        mBucketSprite->AddEffect(VSpriteMove::Create(from.x, from.y + kDropDistance, kDropTime, 0.0f, 0));
        mBucketSprite->AddEffect(VWipeEffect::Create(VWipeEffect::kFromBottom, false, kDropTime));
    }
    PlayMachineSound("audio/sfx/barrel_trap_door.ogg");
}

void VPress::Update(bool paused) {
    VMachine::Update(paused);
    if (GetPhase() != kStamping) return;
    std::shared_ptr<VObject> weight = GetChildObject("anim_largeweight");
    SetFrame(weight && weight->GetCurrentFrame() == kStampFrame ? kPressedFrame : kRestFrame);
}

void VPress::GoIdle() {
    mFillAnimation = "DoAnim_0";
    mShape = -1;
    if (mBucketSprite) RemoveChild(std::shared_ptr<VSprite>(mBucketSprite));
    mBucketSprite.reset();
    mBucketIcon.reset();
    SetFrame(kRestFrame);
    VMachine::GoIdle();
}

void VPress::ApplyUpgrades() {
    ApplyOptionUpgrades(*this, {"kPress%i", nullptr, nullptr});
    RegisterScriptFunctions();
}

void VPress::RegisterScriptFunctions() {
    Register(*this, "anim_largeweight", "unlock", CallPress<&VPress::Stamp>);
    Register(*this, "anim_door", "drop", CallPress<&VPress::DropBucket>);
}
