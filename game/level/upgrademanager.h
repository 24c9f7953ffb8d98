// The upgrade catalogue of the current location and the owned upgrades.
// This stand-in keeps no catalogue: every granted name counts as owned
// until the process ends or the manager is released. The shop floor's
// upgrade manager replaces it.
#pragma once

#include <memory>
#include <set>
#include <utility>

#include "foundation/tstring.h"
#include "game/shell/managersingleton.h"

class VSpriteSpider;

class VUpgradeManager : public VManagerSingleton<VUpgradeManager> {
public:
    virtual ~VUpgradeManager() = default;

    // Names and categories compare without case.
    bool IsUpgradeOwned(const TString& name, const TString& category) const;
    // Owned from now on; nothing is saved and no sprite is visited here.
    // Every name exists in the stand-in: true.
    bool GrantUpgrade(const TString& name, const TString& category, bool save,
                      const std::shared_ptr<VSpriteSpider>& spider);

private:
    friend class VManagerSingleton<VUpgradeManager>;
    VUpgradeManager() = default;

    // (category, name), lower-cased.
    std::set<std::pair<TString, TString>> mGranted;
};
