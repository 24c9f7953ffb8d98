// The world map's pictures: the sea with the six locations' islands, the
// pin's badge (which lights up as the pin opens) and head, the level
// globes in their four looks and the path's dots.
#pragma once

#include <string>

namespace makeimages {

// Writes them under FOLDER/ui/map; false (with a message on standard
// error) when one cannot be written.
bool WriteWorldMapArt(const std::string& folder);

}  // namespace makeimages
