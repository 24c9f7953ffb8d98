#include "game/machines/drink.h"

#include "game/level/upgrademanager.h"

namespace {

constexpr BottleRecipe kDrinkRecipe{"drink", "drink_cooldown", 28, 29, "DoDrinkFill", true, false};

}  // namespace

std::shared_ptr<VDrink> VDrink::Create() {
    return CreateGlowing<VDrink>();
}

VDrink::VDrink() : VBottleMachine(kDrinkRecipe) {}

bool VDrink::IsUnlocked() const {
    return VUpgradeManager::Get()->IsUpgradeOwned("kDrink1", "station");
}
