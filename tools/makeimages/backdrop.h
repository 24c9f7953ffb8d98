// The level's backdrop: each location's back wall, in its plain look and in
// the looks of its two decoration upgrades, with its own colours and the
// view from its windows, and its counter; the decorations that come with
// the upgrades (a hanging lamp, a framed picture), and two animations on
// the wall (a clock's pendulum, steam over a chocolate pot).
#pragma once

#include <string>

namespace makeimages {

// Writes the pictures and sequences of "shop/background/" below FOLDER,
// each location's in its own folder;
// false (with a message on standard error) when one cannot be written.
bool WriteBackdropArt(const std::string& folder);

}  // namespace makeimages
