// The machines that serve by themselves and the delivery: the drink and
// sauce machines' cabinets, gauges, dispensing arms, tops, sprays, steam
// and bottles; the delivery station's body, its boxing animations and the
// airship's three looks.
#pragma once

#include <string>

namespace makeimages {

// Writes below FOLDER/shop/machines/ and FOLDER/anim/machines/delivery/.
bool WriteServingMachineArt(const std::string& folder);

}  // namespace makeimages
