#include "game/shell/valueconditions.h"

#include "game/level/upgrademanager.h"

namespace {

const VValueConditions kDefaultConditions;
const VValueConditions* gConditions = &kDefaultConditions;

}  // namespace

bool VValueConditions::IsUpgradeOwned(const TString& upgrade, const TString& category) const {
    // Without a manager (none yet, or released at shutdown) nothing is owned.
    std::shared_ptr<VUpgradeManager> manager = VUpgradeManager::GetIfCreated();
    return manager && manager->IsUpgradeOwned(upgrade, category);
}

bool VValueConditions::IsStepQueued(const TString&) const {
    return false;
}

const VValueConditions& GetValueConditions() {
    return *gConditions;
}

void SetValueConditions(const VValueConditions* conditions) {
    gConditions = conditions ? conditions : &kDefaultConditions;
}
