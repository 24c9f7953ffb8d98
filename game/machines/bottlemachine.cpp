#include "game/machines/bottlemachine.h"

#include <algorithm>
#include <cmath>

#include "game/floor/player.h"
#include "game/machines/machineparts.h"
#include "game/objects/carriable.h"
#include "game/shell/valuemanager.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/hoverglow.h"

namespace {

constexpr int kDefaultCooldown = 5000;
// Frames of "static_fill": the gauge full, and a bottle due or filling.
constexpr int kGaugeIdle = 12;
constexpr int kGaugeDue = 13;
// The dispenser's frame at which the bottle clinks into place.
constexpr int kClinkFrame = 23;

void ShowFrame(const VObject& machine, const char* part, int frame, bool visible) {
    std::shared_ptr<VObject> child = machine.GetChildObject(part);
    if (!child) return;
    child->SetFrame(frame);
    child->SetVisible(visible);
}

int CurrentFrame(const VObject& machine, const char* part) {
    std::shared_ptr<VObject> child = machine.GetChildObject(part);
    return child ? child->GetCurrentFrame() : -1;
}

}  // namespace

VBottleMachine::VBottleMachine(const BottleRecipe& recipe)
    : mRecipe(recipe), mRefillTime(Cooldown()) {}

VBottleMachine::~VBottleMachine() = default;

void VBottleMachine::Glow() {
    AddEffect(VHoverGlow::Create(true, 0.15f, true, true));
}

float VBottleMachine::Cooldown() const {
    // A gauge over no time at all would divide by zero.
    return std::max(1.0f, VValueManager::Get()->GetReal(mRecipe.cooldown, kDefaultCooldown));
}

bool VBottleMachine::MakeBottle() {
    std::shared_ptr<VObject> model = GetChildObject("bottle");
    if (mBottle || !model) return false;
    mBottle = VCarriable::Create(1);
    model->CopyObjectTo(mBottle);
    // The customers ask for the item by this name, not the part's.
    mBottle->SetName(mRecipe.item);
    mBottle->Reset();
    AddChild(mBottle);
    return true;
}

void VBottleMachine::ApplyUpgrades() {
    bool enabled = IsUnlocked();
    SetEnabled(enabled);
    ShopWindow* shop = ShopWindow::GetCurrent();
    if (enabled || (shop && shop->IsEndlessMode())) {
        if (!IsUpgradesApplied()) {
            mRefillLeft = 0;
            mBottleDue = false;
            if (MakeBottle()) mBottle->SetVisible(true);
        }
        VMachine::ApplyUpgrades();
    }
    SetVisible(enabled);
}

void VBottleMachine::Update(bool paused) {
    if (mRefillLeft > 0) CountRefill(GetFrameTime());
    if (mBottleDue) StartDueBottle();
    if (!mClinked && GetPhase() == kArmOut && CurrentFrame(*this, "anim_dispenser") >= kClinkFrame) {
        mClinked = true;
        PlayMachineSound("audio/sfx/sauce_clink.ogg");
    }
    VMachine::Update(paused);
}

void VBottleMachine::CountRefill(uint32_t elapsed) {
    mRefillLeft -= static_cast<int>(std::min<uint32_t>(elapsed, static_cast<uint32_t>(mRefillLeft)));
    if (mRefillLeft <= 0) {
        mRefillLeft = 0;
        mBottleDue = true;
        ShowFrame(*this, "static_fill", kGaugeDue, true);
        ShowPart(*this, "anim_fill", false);
        return;
    }
    float cooldown = Cooldown();
    if (cooldown != mRefillTime) {
        mRefillLeft = static_cast<int>(std::trunc(cooldown / mRefillTime * static_cast<float>(mRefillLeft)));
        mRefillTime = cooldown;
    }
    if (std::shared_ptr<VObject> gauge = GetChildObject("anim_fill")) {
        float done = 1.0f - static_cast<float>(mRefillLeft) / cooldown;
        gauge->SetFrame(static_cast<int>(std::trunc(static_cast<float>(gauge->GetFrameCount()) * done)));
    }
}

void VBottleMachine::StartDueBottle() {
    // A bottle taken as the arm comes back may fall due while the machine
    // still holds itself: it stays due until the machine is free.
    if (IsSuspended()) return;
    mBottleDue = false;
    if (!MakeBottle()) return;
    mBottle->SetVisible(false);
    StartWork();
}

void VBottleMachine::GoIdle() {
    VMachine::GoIdle();
    mClinked = false;
    if (std::shared_ptr<VObject> gauge = GetChildObject("static_fill")) {
        gauge->SetFrame(kGaugeIdle);
        gauge->SetVisible(mRefillLeft == 0);
    }
    if (std::shared_ptr<VObject> fill = GetChildObject("anim_fill")) {
        fill->SetVisible(mRefillLeft != 0);
        if (mRefillLeft == 0) fill->SetFrame(0);
    }
    ShowFrame(*this, "static_top", mRecipe.idleTop, true);
}

void VBottleMachine::StartWork() {
    VMachine::StartWork();
    ShowFrame(*this, "static_fill", kGaugeDue, true);
    PlayPart(*this, "anim_dispenser", GetForwardAnimation());
    PlayPart(*this, "anim_top", GetForwardAnimation());
    SuspendUntilAsset("anim_top");
    PlayMachineSound("audio/sfx/sauce_arm_extend.ogg");
}

bool VBottleMachine::ContinueWork() {
    int phase = GetPhase();
    if (phase <= 0) return true;
    switch (phase) {
    case kArmOut:
        SetPhase(kFilling);
        ShowPart(*this, "anim_dispenser", false);
        ShowPart(*this, "static_dispenser", true);
        ShowPart(*this, "static_fill", false);
        PlayPart(*this, "anim_fill", GetBackwardAnimation());
        ShowPart(*this, "anim_top", false);
        ShowFrame(*this, "static_top", mRecipe.fillTop, true);
        PlayPart(*this, "anim_spray", mRecipe.spray);
        if (mRecipe.steam) {
            if (std::shared_ptr<VObject> steam = GetChildObject("anim_fill_steam")) {
                steam->DoAnim("DoDrinkSteam", true, false, 0);
            }
        }
        SuspendUntilAsset("anim_fill");
        PlayMachineSound("audio/sfx/sauce_spray.ogg");
        return false;
    case kFilling:
        SetPhase(kArmBack);
        ShowFrame(*this, "static_fill", kGaugeIdle, true);
        for (const char* part : {"anim_fill", "anim_spray", "static_top"}) ShowPart(*this, part, false);
        PlayPart(*this, "anim_top", GetBackwardAnimation());
        if (mBottle) mBottle->SetVisible(true);
        FinishWork();
        SuspendUntilAsset("anim_top");
        PlayMachineSound("audio/sfx/sauce_arm_retract.ogg");
        return false;
    default:
        GoIdle();
        return true;
    }
}

void VBottleMachine::Interact(const std::shared_ptr<VPlayer>& player) {
    if (!player || IsBusy() || !mBottle) return;
    int hands = mRecipe.oneHand ? 1 : mBottle->GetKind();
    if (player->CountFreeHands() < hands) return;
    RemoveChild(std::shared_ptr<VSprite>(mBottle));
    player->PickUp(std::move(mBottle));
    mBottle.reset();
    mRefillLeft = std::max(1, VValueManager::Get()->GetInt(mRecipe.cooldown, kDefaultCooldown));
    mRefillTime = Cooldown();
    ShowPart(*this, "static_fill", false);
    ShowPart(*this, "anim_fill", true);
}
