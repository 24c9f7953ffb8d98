#include "game/machines/topping.h"

#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatelayer.h"
#include "game/machines/machineparts.h"
#include "game/machines/optionupgrades.h"
#include "game/sprites/alphaeffect.h"

namespace {

constexpr int kFadeTime = 300;

}  // namespace

std::shared_ptr<VTopping> VTopping::Create() {
    auto machine = std::make_shared<VTopping>();
    Adopt(machine);
    return machine;
}

VTopping::VTopping() : VHandFedMachine(kStage) {}

VTopping::~VTopping() = default;

bool VTopping::TryStartWork() {
    std::shared_ptr<VChocolate> chocolate = AcceptingStage(GetItem(), kStage);
    if (!chocolate || GetSelection() < 0) return false;
    mToppingLayer = chocolate->MakeLayer(chocolate->GetShape(), kStage, GetSelection());
    StartWork();
    return true;
}

void VTopping::StartWork() {
    VMachine::StartWork();
    PlayPart(*this, "anim_funnel", GetForwardAnimation());
    if (PlayPart(*this, "anim_particles", "DoParticles")) GetChildObject("anim_particles")->SetAlpha(1.0f);
    SuspendUntilAsset("anim_particles");
    PlayMachineSound("audio/sfx/topping_machine.ogg");
    PlayMachineSound("audio/sfx/topping.ogg");
}

bool VTopping::ContinueWork() {
    int phase = GetPhase();
    if (phase < kFalling) return true;
    if (phase == kFalling) {
        SetPhase(kFading);
        if (std::shared_ptr<VObject> particles = GetChildObject("anim_particles")) {
            particles->AddEffect(VAlphaEffect::Create(false, 1.0f, kFadeTime, 1.0f, 0));
        }
        Suspend(kFadeTime);
        return false;
    }
    GoIdle();
    return !IsSuspended();
}

void VTopping::GoIdle() {
    if (std::shared_ptr<VObject> particles = GetChildObject("anim_particles")) particles->DetachEffects();
    mToppingLayer.reset();
    VMachine::GoIdle();
}

void VTopping::ApplyUpgrades() {
    ApplyOptionUpgrades(*this, {"kTopping%i", "kToppingQ%i", nullptr});
}
