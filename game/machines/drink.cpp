#include "game/machines/drink.h"

#include "game/level/upgrademanager.h"
#include "game/sprites/hoverglow.h"

namespace {

constexpr BottleRecipe kDrinkRecipe{"drink", "drink_cooldown", 28, 29, "DoDrinkFill", true, false};

}  // namespace

std::shared_ptr<VDrink> VDrink::Create() {
    auto drink = std::make_shared<VDrink>();
    Adopt(drink);
    drink->AddEffect(VHoverGlow::Create(true, 0.15f, true, true));
    return drink;
}

VDrink::VDrink() : VBottleMachine(kDrinkRecipe) {}

bool VDrink::IsUnlocked() const {
    return VUpgradeManager::Get()->IsUpgradeOwned("kDrink1", "station");
}
