#include "game/machines/sauce.h"

#include "game/level/upgrademanager.h"
#include "game/sprites/hoverglow.h"

namespace {

constexpr BottleRecipe kSauceRecipe{"sauce", "sauce_cooldown", 1, 2, "DoSauceFill", false, true};

}  // namespace

std::shared_ptr<VSauce> VSauce::Create() {
    auto sauce = std::make_shared<VSauce>();
    Adopt(sauce);
    sauce->AddEffect(VHoverGlow::Create(true, 0.15f, true, true));
    return sauce;
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
