// The level screen's pictures: the shop floor behind the stations (the wall,
// the island and the machines' bench) and the HUD's clock, dial and
// progress signs.
#pragma once

#include <string>

namespace makeimages {

// Writes "shop/floor.png" and the pictures of "shop/hud/" below FOLDER;
// false (with a message on standard error) when one cannot be written.
bool WriteShopFloorArt(const std::string& folder);

}  // namespace makeimages
