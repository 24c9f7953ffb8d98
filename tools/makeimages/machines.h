// The moving parts of the shop's machines, and their option buttons: the
// mixer's arm, feeding tube, spray and tanks, the press's door, weight,
// wheel and pouring stream, the ingredient machine's lid, pump and dials,
// the topping machine's funnel and sprinkles, the infuser's vessel and
// head, in frame sheets whose scripts play them forward ("DoAnim") and back
// ("Reverse"); the door's, the weight's and the head's scripts call their
// machine back at the drop and when the product is ready. The bodies of
// the three machines that add layers and the icons of their options.
#pragma once

#include <string>

namespace makeimages {

// Writes below FOLDER/shop/machines/.
bool WriteMachineArt(const std::string& folder);

}  // namespace makeimages
