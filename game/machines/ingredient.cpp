#include "game/machines/ingredient.h"

#include "game/chocolates/chocolate.h"
#include "game/machines/machineparts.h"
#include "game/machines/optionupgrades.h"
#include "game/sprites/alphaeffect.h"

namespace {

// The ingredient fades in on the bucket while the pump runs.
constexpr int kPumpTime = 1000;
const char kOwned[] = "kIngredient%i";
const char* const kTops[] = {"static_top1", "static_top2", "anim_top1", "anim_top2"};
const char* const kMovingTops[] = {"anim_top1", "anim_top2"};

}  // namespace

std::shared_ptr<VIngredient> VIngredient::Create() {
    auto machine = std::make_shared<VIngredient>();
    Adopt(machine);
    return machine;
}

VIngredient::VIngredient() : VHandFedMachine(kStage) {}

VIngredient::~VIngredient() = default;

bool VIngredient::TryStartWork() {
    std::shared_ptr<VChocolate> chocolate = AcceptingStage(GetItem(), kStage);
    if (IsSuspended() || !chocolate || GetSelection() < 0) return false;
    // Looked up where the chocolate filed it, under a name of its own.
    mOverlay = chocolate->SetIngredient(GetSelection());
    StartWork();
    return true;
}

void VIngredient::StartWork() {
    VMachine::StartWork();
    PlayPart(*this, "anim_intro", GetForwardAnimation());
    for (const char* top : kMovingTops) PlayPart(*this, top, GetForwardAnimation());
    if (mOverlay) mOverlay->SetVisible(false);
    SuspendUntilAsset("anim_intro");
    PlayMachineSound("audio/sfx/machine_noise.ogg");
}

bool VIngredient::ContinueWork() {
    int phase = GetPhase();
    if (phase < kOpening) return true;
    if (phase == kOpening) {
        SetPhase(kPumping);
        if (mOverlay) {
            mOverlay->SetVisible(true);
            mOverlay->AddEffect(VAlphaEffect::Create(true, 1.0f, kPumpTime, 0.0f, 0));
        }
        ShowPart(*this, "anim_intro", false);
        PlayPart(*this, "anim_pump", GetForwardAnimation(), true);
        PlayMachineSound("audio/sfx/glug_machine.ogg");
        Suspend(kPumpTime);
        return false;
    }
    if (phase == kPumping) {
        SetPhase(kClosing);
        ShowPart(*this, "anim_pump", false);
        PlayPart(*this, "anim_intro", GetBackwardAnimation());
        for (const char* top : kMovingTops) PlayPart(*this, top, GetBackwardAnimation());
        SuspendUntilAsset("anim_intro");
        FinishWork();
        return false;
    }
    GoIdle();
    // Going idle may have started on a bucket loaded while it closed.
    return !IsSuspended();
}

void VIngredient::GoIdle() {
    mOverlay.reset();
    VMachine::GoIdle();
}

void VIngredient::ApplyUpgrades() {
    if (int option = HighestOwnedOption(*this, kOwned)) {
        TString art = TString::Format("upgrade%i", option);
        for (const char* top : kTops) {
            if (std::shared_ptr<VObject> part = GetChildObject(top)) part->SetAsset("anim", art, "default");
        }
    }
    ApplyOptionUpgrades(*this, {kOwned, "kIngredientQ%i", nullptr});
}
