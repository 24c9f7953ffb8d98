#include "game/machines/machineparts.h"

#include <algorithm>

#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatelayer.h"
#include "game/floor/player.h"
#include "game/objects/object.h"
#include "game/shell/gamesoundmanager.h"

void ShowPart(const VObject& machine, const char* part, bool visible) {
    if (std::shared_ptr<VObject> child = machine.GetChildObject(part)) child->SetVisible(visible);
}

bool PlayPart(const VObject& machine, const char* part, const TString& animation, bool repeat) {
    std::shared_ptr<VObject> child = machine.GetChildObject(part);
    if (!child) return false;
    child->SetVisible(true);
    child->DoAnim(animation, repeat, false, 0);
    return true;
}

std::shared_ptr<TSoundInstance> PlayMachineSound(const char* name) {
    VSoundManager* sounds = VSoundManager::Get();
    return sounds ? sounds->PlaySFX(name) : nullptr;
}

std::shared_ptr<VChocolate> AcceptingStage(const std::shared_ptr<VCarriable>& item, int stage) {
    auto chocolate = std::dynamic_pointer_cast<VChocolate>(item);
    return chocolate && chocolate->CanAddLayer(stage) ? chocolate : nullptr;
}

int HandsFor(const VCarriable& item) {
    return std::max(1, item.GetKind());
}

bool CanSwap(const VPlayer& player, const VCarriable& given, const std::shared_ptr<VCarriable>& back) {
    // Handing what comes back to full hands would lose it.
    return !back || player.CountFreeHands() + HandsFor(given) >= HandsFor(*back);
}

std::shared_ptr<VChocolateLayer> LowestLayer(const VChocolate& chocolate) {
    for (int slot = 0; slot < VChocolate::kSlots; ++slot) {
        if (std::shared_ptr<VChocolateLayer> layer = chocolate.GetSlot(slot)) return layer;
    }
    return nullptr;
}
