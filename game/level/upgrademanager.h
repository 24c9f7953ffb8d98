// The upgrade catalogue of the current location and the owned upgrades.
// This stand-in holds none: the shop floor's upgrade manager replaces it.
#pragma once

#include "game/shell/managersingleton.h"

class VUpgradeManager : public VManagerSingleton<VUpgradeManager> {
public:
    virtual ~VUpgradeManager() = default;

private:
    friend class VManagerSingleton<VUpgradeManager>;
    VUpgradeManager() = default;
};
