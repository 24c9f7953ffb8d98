#include "game/machines/sauce.h"

#include "game/level/upgrademanager.h"

namespace {

constexpr BottleRecipe kSauceRecipe{"sauce", "sauce_cooldown", 1, 2, "DoSauceFill", false, true};

}  // namespace

std::shared_ptr<VSauce> VSauce::Create() {
    return CreateGlowing<VSauce>();
}

VSauce::VSauce() : VBottleMachine(kSauceRecipe) {}

bool VSauce::IsUnlocked() const {
    std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
    // The second sauce machine gives its place to the drink machine.
    if (GetName() == "machine_sauce_2") {
        return upgrades->IsUpgradeOwned("kSauce3", "station") && !upgrades->IsUpgradeOwned("kDrink1", "station");
    }
    return upgrades->IsUpgradeOwned("kSauce1", "station");
}
