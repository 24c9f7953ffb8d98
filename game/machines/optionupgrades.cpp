#include "game/machines/optionupgrades.h"

#include "game/level/upgrademanager.h"
#include "game/machines/machine.h"
#include "game/machines/machinebutton.h"
#include "game/shop/shopwindow.h"

namespace {

bool Owned(const char* format, int option) {
    return format && VUpgradeManager::Get()->IsUpgradeOwned(TString::Format(format, option), "station");
}

}  // namespace

void ApplyOptionUpgrades(VMachine& machine, const VOptionUpgrades& upgrades) {
    bool enabled = false;
    for (int option = 1; option <= machine.GetOptionCount(); ++option) {
        bool owned = Owned(upgrades.owned, option);
        enabled = enabled || owned;
        if (upgrades.tank) {
            if (std::shared_ptr<VObject> tank = machine.GetChildObject(TString::Format(upgrades.tank, option))) {
                tank->SetVisible(owned);
            }
        }
        auto button = machine.GetSelections().find(TString::Format("button%i", option));
        if (button == machine.GetSelections().end() || !button->second) continue;
        button->second->SetVisible(owned);
        button->second->SetAvailable(Owned(upgrades.quality, option));
        if (owned) button->second->ApplyUpgrades();
    }
    machine.SetEnabled(enabled);
    ShopWindow* shop = ShopWindow::GetCurrent();
    if (enabled || (shop && shop->IsEndlessMode())) machine.VMachine::ApplyUpgrades();
    machine.SetVisible(enabled);
}

int HighestOwnedOption(const VMachine& machine, const char* owned) {
    int highest = 0;
    for (int option = 1; option <= machine.GetOptionCount(); ++option) {
        if (Owned(owned, option)) highest = option;
    }
    return highest;
}
