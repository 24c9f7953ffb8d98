#include "game/machines/machine.h"

#include <cmath>

#include "core/scripting/luaobject.h"
#include "game/chocolates/chocolate.h"
#include "game/floor/player.h"
#include "game/level/upgrademanager.h"
#include "game/machines/machinebutton.h"
#include "game/machines/delivery.h"
#include "game/machines/drink.h"
#include "game/machines/machineparts.h"
#include "game/machines/ingredient.h"
#include "game/machines/infuse.h"
#include "game/machines/mixer.h"
#include "game/machines/press.h"
#include "game/machines/sauce.h"
#include "game/machines/station.h"
#include "game/machines/stationkind.h"
#include "game/machines/topping.h"
#include "game/objects/objectdescription.h"
#include "game/shell/luastyle.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/hoverglow.h"

namespace {

constexpr int kMachineSpriteLayer = 7;
constexpr float kGlowStrength = 0.15f;
// The "kSteam1" upgrade speeds every animation step up by a tenth.
constexpr float kSteamFactor = 0.9f;
const char kPickupSound[] = "audio/sfx/pickup_drop.ogg";

bool StartsWith(const TString& text, const char* prefix) {
    return text.Find(prefix, 0, 0) == 0;
}

}  // namespace

std::shared_ptr<VMachine> VMachine::Create(int kind) {
    switch (kind) {
        // The kinds join here with their own classes.
        case kMixerStation: return VMixer::Create();
        case kIngredientStation: return VIngredient::Create();
        case kPressStation: return VPress::Create();
        case kToppingStation: return VTopping::Create();
        case kInfusionStation: return VInfuse::Create();
        case kSauceStation: return VSauce::Create();
        case kDrinkStation: return VDrink::Create();
        case kDeliveryStation: return VDelivery::Create();
        default: {
            auto machine = std::make_shared<VMachine>();
            Adopt(machine);
            return machine;
        }
    }
}

VMachine::VMachine() : VSuspendable(TString(), 0) {
    SetSpriteLayer(kMachineSpriteLayer);
    SetClickable(true);
}

VMachine::~VMachine() = default;

void VMachine::Reset() { ApplyUpgrades(); }

void VMachine::Resume() { GoIdle(); }

void VMachine::ApplyUpgrades() {
    if (mUpgradesApplied) return;
    mUpgradesApplied = true;
    VSuspendable::Reset();
    SetAsset("base", "default", "default");
    GoIdle();
    SetDelay(static_cast<int>(mAnimationDelay), true);
    PreloadAssets("all", "all", true);
}

void VMachine::Load(const std::shared_ptr<VLuaStyle>& description) {
    TakeItem(true);
    LoadSelections(description);
    Glow();
    VSuspendable::Load(description);
}

void VMachine::LoadSelections(const std::shared_ptr<VLuaStyle>& description) {
    std::map<TString, std::shared_ptr<VMachineButton>> old;
    old.swap(mSelections);
    mOptionCount = 0;
    std::unique_ptr<TLuaTable> selections = description ? GetOwnSubTable(*description, "selections") : nullptr;
    if (!selections) return;
    ForEachTableEntry(*selections, [&](const TString& key, const TLuaObjectWrapper& value) {
        if (!value.IsTable()) return;
        ++mOptionCount;
        TString name = LowerCase(key);
        std::shared_ptr<VMachineButton> button;
        if (auto found = old.find(name); found != old.end()) button = found->second;
        if (!button) {
            button = VMachineButton::Create(GetSharedAs<VMachine>());
            AddChild(button);
        }
        button->Load(VLuaStyle::CreateFromObject(description, value));
        button->ApplyUpgrades();
        button->SetVisible(false);
        mSelections[name] = button;
    });
}

void VMachine::Glow() {
    DetachEffects();
    std::shared_ptr<VHoverGlow> glow = VHoverGlow::Create(true, kGlowStrength, true, true);
    AddEffect(glow);
    for (const auto& [key, button] : mSelections) button->RemoveEffect(glow);
}

void VMachine::SetStation(const std::shared_ptr<VStation>& station) {
    mStation = station;
    SetLeaf(false);
    SetClickable(true);
}

void VMachine::OnClick() {
    if (std::shared_ptr<VStation> station = mStation.lock()) station->QueueMachine(GetName());
}

void VMachine::Update(bool paused) {
    if (mItem && mItem->IsExpired()) TakeItem(false);
    VSuspendable::Update(paused);
}

void VMachine::Select(int index) {
    if (!mBusy) mSelection = index;
    SendEvent(kEventClick, TPoint(), GetDrawState(), 0);
}

bool VMachine::PutItem(const std::shared_ptr<VCarriable>& item, int layer, bool playSound) {
    mProcessed = false;
    if (!item || (mItem && mItem != item)) return false;
    mItem = item;
    mItem->SetLayer(layer);
    AddChild(mItem);
    mItem->SetName("chocolate");
    if (playSound) PlayMachineSound(kPickupSound);
    return true;
}

std::shared_ptr<VCarriable> VMachine::TakeItem(bool playSound) {
    mProcessed = false;
    if (!mItem) return nullptr;
    std::shared_ptr<VCarriable> item = std::move(mItem);
    // A kind may park its item on one of its parts while it works.
    if (std::shared_ptr<VSprite> holder = item->GetOwner()) holder->RemoveChild(std::shared_ptr<VSprite>(item));
    if (playSound) PlayMachineSound(kPickupSound);
    return item;
}

void VMachine::Interact(const std::shared_ptr<VPlayer>& player) {
    if (!mItem || mBusy || !player) return;
    if (player->CountFreeHands() < HandsFor(*mItem)) return;
    player->PickUp(TakeItem(true));
}

void VMachine::StartWork() {
    for (const auto& [name, part] : GetChildObjects()) {
        if (StartsWith(name, "static_")) part->SetVisible(false);
    }
    double delay = mAnimationDelay;
    if (VUpgradeManager::Get()->IsUpgradeOwned("kSteam1", "gameplay")) {
        delay = static_cast<double>(mAnimationDelay) * static_cast<double>(kSteamFactor);
    }
    SetDelay(static_cast<int>(std::trunc(delay)), true);
    if (std::shared_ptr<VStation> station = mStation.lock()) station->Suspend(0);
    mPhase = 1;
    mBusy = true;
    mProcessed = true;
    mSelection = -1;
    mForwardAnimation = "DoAnim";
    mBackwardAnimation = "Reverse";
}

void VMachine::FinishWork() {
    if (!mBusy) return;
    mBusy = false;
    if (std::shared_ptr<VStation> station = mStation.lock()) station->Resume();
}

void VMachine::GoIdle() {
    mPhase = 0;
    FinishWork();
    // Ends the machine's own hold without continuing its work.
    mSuspended = false;
    VSuspendable::Resume();
    for (const auto& [name, part] : GetChildObjects()) {
        part->SetLeaf(true);
        if (StartsWith(name, "anim_")) {
            part->SetVisible(false);
            part->StopAnimation(true);
        } else if (StartsWith(name, "static_")) {
            part->SetVisible(true);
        }
    }
    if (mSelection >= 0 && !mProcessed) TryStartWork();
}

bool VMachine::ContinueWork() {
    GoIdle();
    return true;
}

void VMachine::SuspendUntilAsset(const TString& name) {
    std::shared_ptr<VObject> part = GetChildObject(name);
    // Waiting on nothing would hold the station all level.
    if (part) {
        SuspendUntil(part);
    } else {
        Suspend(1);
    }
}

int VMachine::FindHand(const std::shared_ptr<VPlayer>& player, int stage) {
    if (!player) return -1;
    int firstHand = -1;
    int secondHand = -1;
    std::shared_ptr<VCarriable> first = player->GetHeldItem(VPlayer::kCurrentHand, &firstHand);
    std::shared_ptr<VCarriable> second =
        player->GetHeldItem(firstHand == VPlayer::kRightHand ? VPlayer::kLeftHand : VPlayer::kRightHand, &secondHand);
    // An item carried in both hands is one item.
    if (second == first) second.reset();
    std::shared_ptr<VChocolate> firstChocolate = AcceptingStage(first, stage);
    std::shared_ptr<VChocolate> secondChocolate = AcceptingStage(second, stage);
    if (!firstChocolate) return secondChocolate ? secondHand : -1;
    if (!secondChocolate) return firstHand;
    ShopWindow* screen = ShopWindow::GetCurrent();
    if (!screen) return -1;
    std::shared_ptr<VChocolate> chosen = screen->PassItemToStation(firstChocolate, secondChocolate, mSelection, stage);
    if (chosen == firstChocolate) return firstHand;
    return chosen == secondChocolate ? secondHand : -1;
}
