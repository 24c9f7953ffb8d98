#include "game/machines/infuse.h"

#include "game/chocolates/chocolate.h"
#include "game/machines/machineparts.h"
#include "game/machines/optionupgrades.h"
#include "game/shell/valuemanager.h"

namespace {

constexpr int kBucketLayer = 2;
constexpr int kInfusionShape = 3;
// The product rides in the top while it works.
const char kTop[] = "anim_top_working";
const char* const kStillParts[] = {"static_base", "static_top"};

}  // namespace

std::shared_ptr<VInfuse> VInfuse::Create() {
    auto machine = std::make_shared<VInfuse>();
    Adopt(machine);
    return machine;
}

VInfuse::VInfuse() : VBucketMachine(kStage, kBucketLayer) {}

VInfuse::~VInfuse() = default;

bool VInfuse::TryStartWork() {
    std::shared_ptr<VChocolate> chocolate = ReadyChocolate();
    if (!chocolate) return false;
    CopyBucket(*chocolate);
    chocolate->MakeLayer(kInfusionShape, kStage, GetSelection());
    chocolate->SetVisible(false);
    if (std::shared_ptr<VObject> top = GetChildObject(kTop)) top->AddChild(chocolate);
    chocolate->SetName("chocolate");
    StartWork();
    VValueManager::Get()->AddToValue("chocolates_made_this_level", 1, 0, false);
    return true;
}

void VInfuse::StartWork() {
    VMachine::StartWork();
    for (const char* part : kStillParts) ShowPart(*this, part, true);
    Pour();
    PlayMachineSound("audio/sfx/infusion_machine.ogg");
}

bool VInfuse::ContinueWork() {
    int phase = GetPhase();
    if (phase < kPouring) return true;
    if (phase == kPouring) {
        mUserValue = 0;
        SetPhase(kWorking);
        for (const char* part : kStillParts) ShowPart(*this, part, false);
        PlayPart(*this, kTop, GetForwardAnimation());
        PlayPart(*this, "anim_base", GetForwardAnimation());
        PlayPart(*this, "anim_door", "DoDoor");
        SuspendUntilAsset("anim_base");
        return false;
    }
    // Art that never unlocks still leaves the infusion in sight.
    if (GetItem()) GetItem()->SetVisible(true);
    VValueManager::Get()->AddToValue("num_infusions", 1, 0, true);
    GoIdle();
    return !IsSuspended();
}

void VInfuse::Unlock() {
    FinishWork();
    if (GetItem()) GetItem()->SetVisible(true);
}

void VInfuse::GoIdle() {
    // Hidden parts would hide the product for good.
    if (GetItem() && GetItem()->GetOwner().get() != this) {
        AddChild(GetItem());
        GetItem()->SetName("chocolate");
    }
    mUserValue = 1;
    VBucketMachine::GoIdle();
}

void VInfuse::ApplyUpgrades() {
    ApplyOptionUpgrades(*this, {"kInfusion%i", "kInfusionQ%i", nullptr});
    BindScriptFunctions(kTop);
}
