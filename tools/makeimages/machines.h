// The moving parts of the shop's mixer and press, and their option buttons:
// the mixer's arm, feeding tube, spray and tanks, the press's door, weight,
// wheel and pouring stream, in frame sheets whose scripts play them forward
// ("DoAnim") and back ("Reverse"); the door's and the weight's scripts call
// the press back at the drop and at the stamp.
#pragma once

#include <string>

namespace makeimages {

// Writes below FOLDER/shop/machines/.
bool WriteMachineArt(const std::string& folder);

}  // namespace makeimages
