// The upgrade shop's pictures: the four looks of an upgrade's tab, its buy
// button, the category toggles, the list's scroll bar and a thumbnail for
// each kind of upgrade.
#pragma once

#include <string>

namespace makeimages {

// Writes them under FOLDER/ui/upgrades; false (with a message on standard
// error) when one cannot be written.
bool WriteUpgradeShopArt(const std::string& folder);

}  // namespace makeimages
