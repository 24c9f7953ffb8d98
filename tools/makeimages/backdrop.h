// The level's backdrop: the shop's back wall in its plain look and in the
// looks of its two decoration upgrades, the decorations that come with them
// (a hanging lamp, a framed picture), and two animations on the wall (a
// clock's pendulum, steam over a chocolate pot).
#pragma once

#include <string>

namespace makeimages {

// Writes the pictures and sequences of "shop/background/" below FOLDER;
// false (with a message on standard error) when one cannot be written.
bool WriteBackdropArt(const std::string& folder);

}  // namespace makeimages
