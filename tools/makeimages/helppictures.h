// The pictures of the ten help pages, one scene a page on a cream card: the
// counter and a customer, the order bubble and patience, picking from the
// tray, the kitchen, the register, tips, a row of happy customers,
// upgrades, the day's goal and a gift box to close.
#pragma once

#include <vector>

#include "tools/makeimages/canvas.h"

namespace makeimages {

constexpr int kHelpPictureWidth = 520;
constexpr int kHelpPictureHeight = 140;
constexpr int kHelpPages = 10;

// Page 0 to 9; the chocolates shown are taken from the given pictures in
// turn (64 by 64, as Chocolate draws them).
Canvas HelpPicture(int page, const std::vector<Canvas>& chocolates);

}  // namespace makeimages
