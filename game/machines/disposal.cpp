#include "game/machines/disposal.h"

#include "core/app/gamestate.h"
#include "game/chocolates/chocolate.h"
#include "game/floor/player.h"
#include "game/machines/machineparts.h"
#include "game/progression/tutorialmanager.h"
#include "game/shell/valuemanager.h"

namespace {

const char kTrashedItems[] = "TrashUsedItemID";

}  // namespace

std::shared_ptr<VDisposal> VDisposal::Create(int number) {
    auto disposal = std::make_shared<VDisposal>(number);
    Adopt(disposal);
    return disposal;
}

VDisposal::VDisposal(int number) : VStation(number, kDisposalStation) {}

VDisposal::~VDisposal() = default;

void VDisposal::ApplyUpgrades() {
    ShowIfOwned("kDisposal", true);
}

void VDisposal::Interact(const std::shared_ptr<VPlayer>& player, const std::shared_ptr<ZonePoint>& /*point*/) {
    if (!player) return;
    TGameState* state = TGameState::Get();
    TString ids = state ? state->GetState(kTrashedItems) : TString();
    if (ids == "-1") ids = TString();
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    // Practice in a tutorial does not count towards the player's totals.
    bool counts = !VTutorialManager::Get()->IsInputAllowed();
    for (int hand : {VPlayer::kRightHand, VPlayer::kLeftHand}) {
        std::shared_ptr<VCarriable> item = player->TakeItemFromHand(hand);
        if (!item) continue;
        if (counts) values->AddToValue("num_disposed", 1.0f, 0.0f, true);
        values->AddToValue("disposed_this_level", 1.0f, 0.0f, false);
        if (ids.Length() > 0) ids += ",";
        ids += item->GetType();
        if (auto chocolate = std::dynamic_pointer_cast<VChocolate>(item)) ids += chocolate->Describe();
    }
    Activate();
    if (state) {
        state->SetState("++TrashUsed", "");
        state->SetState(kTrashedItems, ids);
    }
}

void VDisposal::Activate() {
    PlayPart(*this, "active", "DoAnim");
    PlayMachineSound("audio/sfx/disposal.ogg");
}
