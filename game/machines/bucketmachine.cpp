#include "game/machines/bucketmachine.h"

#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatelayer.h"
#include "game/floor/player.h"
#include "game/machines/machineparts.h"
#include "game/machines/wipeeffect.h"
#include "game/sprites/spritelink.h"
#include "game/sprites/spritemove.h"
#include "lua/lua.h"

namespace {

constexpr uint32_t kPourTime = 300;
// The empty bucket sinks this far through the trap door, in this time.
constexpr float kDropDistance = 46.0f;
constexpr uint32_t kDropTime = 200;

// The script functions reach the machine through a weak link: the part's
// script may outlive it.
template <void (VBucketMachine::*kCall)()>
int CallMachine(lua_State* L) {
    if (auto machine = std::dynamic_pointer_cast<VBucketMachine>(ReadSpriteLink(L, lua_upvalueindex(1)))) {
        ((*machine).*kCall)();
    }
    return 0;
}

void Register(VBucketMachine& machine, const char* part, const char* name, lua_CFunction function) {
    std::shared_ptr<VObject> child = machine.GetChildObject(part);
    TScript* script = child ? child->GetScript() : nullptr;
    std::shared_ptr<VSprite> self = machine.GetShared();
    if (!script || !self) return;
    lua_State* L = script->GetState();
    LuaPopState guard(L);
    lua_pushstring(L, name);
    PushSpriteLink(L, self);
    lua_pushcclosure(L, function, 1);
    lua_rawset(L, LUA_GLOBALSINDEX);
}

}  // namespace

VBucketMachine::VBucketMachine(int stage, int bucketLayer) : mStage(stage), mBucketLayer(bucketLayer) {}

VBucketMachine::~VBucketMachine() = default;

void VBucketMachine::Interact(const std::shared_ptr<VPlayer>& player) {
    if (player && !IsBusy()) {
        if (TryStartWork() || SwapIn(*player)) return;
    }
    ClearSelection();
    VMachine::Interact(player);
}

bool VBucketMachine::SwapIn(VPlayer& player) {
    int hand = 0;
    std::shared_ptr<VCarriable> item = player.GetHeldItem(VPlayer::kCurrentHand, &hand);
    if (!AcceptingStage(item, mStage)) {
        item = player.GetHeldItem(hand == VPlayer::kRightHand ? VPlayer::kLeftHand : VPlayer::kRightHand, &hand);
    }
    if (!AcceptingStage(item, mStage) || (GetItem() && !IsProcessed())) return false;
    if (!CanSwap(player, *item, GetItem())) return false;
    std::shared_ptr<VCarriable> finished = TakeItem(true);
    player.TakeItemFromHand(hand);
    PutItem(item, mBucketLayer, true);
    item->SetName("bucket");
    if (finished) player.PickUp(finished);
    TryStartWork();
    return true;
}

std::shared_ptr<VChocolate> VBucketMachine::ReadyChocolate() const {
    std::shared_ptr<VChocolate> chocolate = AcceptingStage(GetItem(), mStage);
    return !IsSuspended() && GetSelection() >= 0 ? chocolate : nullptr;
}

void VBucketMachine::CopyBucket(const VChocolate& chocolate) {
    mBucketSprite = VChocolateLayer::Create(0, -1, -1);
    if (std::shared_ptr<VChocolateLayer> lowest = LowestLayer(chocolate)) lowest->CopyTo(mBucketSprite);
    mBucketSprite->SetLayer(mBucketLayer);
    AddChild(mBucketSprite);
    mBucketSprite->SetName("bucket");
    mBucketIcon = mBucketSprite->GetChildObject("icon");
}

void VBucketMachine::Pour() {
    if (mBucketIcon) mBucketIcon->AddEffect(VWipeEffect::Create(VWipeEffect::kFromTop, false, kPourTime));
    Suspend(kPourTime);
}

void VBucketMachine::DropBucket() {
    if (mBucketSprite) {
        TVec2 from = mBucketSprite->GetPosition();
        mBucketSprite->AddEffect(VSpriteMove::Create(from.x, from.y + kDropDistance, kDropTime, 0.0f, 0));
        mBucketSprite->AddEffect(VWipeEffect::Create(VWipeEffect::kFromBottom, false, kDropTime));
    }
    PlayMachineSound("audio/sfx/barrel_trap_door.ogg");
}

void VBucketMachine::GoIdle() {
    if (mBucketSprite) RemoveChild(std::shared_ptr<VSprite>(mBucketSprite));
    mBucketSprite.reset();
    mBucketIcon.reset();
    VMachine::GoIdle();
}

void VBucketMachine::BindScriptFunctions(const char* unlockPart) {
    Register(*this, unlockPart, "unlock", CallMachine<&VBucketMachine::Unlock>);
    Register(*this, "anim_door", "drop", CallMachine<&VBucketMachine::DropBucket>);
}
