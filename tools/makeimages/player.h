// The shop's chocolatier, the player's figure: a walk of four frames seen
// from the side, the front and the back, each arm on a sheet of its own
// hanging or carrying, and two idle animations.
#pragma once

#include <string>

namespace makeimages {

// Writes the sheets under FOLDER/shop/player/.
bool WritePlayer(const std::string& folder);

}  // namespace makeimages
