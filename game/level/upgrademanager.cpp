#include "game/level/upgrademanager.h"

#include "game/objects/objectdescription.h"

bool VUpgradeManager::IsUpgradeOwned(const TString& name, const TString& category) const {
    return mGranted.count({LowerCase(category), LowerCase(name)}) > 0;
}

bool VUpgradeManager::GrantUpgrade(const TString& name, const TString& category, bool /*save*/,
                                   const std::shared_ptr<VSpriteSpider>& /*spider*/) {
    mGranted.insert({LowerCase(category), LowerCase(name)});
    return true;
}
