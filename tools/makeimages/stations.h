// The shop's stations and the bodies of its machines: the counter top in
// its plain look and the two looks of the station upgrades, and the still
// bodies of the mixer and the press.
#pragma once

#include <string>

namespace makeimages {

// Writes the counter tops under FOLDER/shop/stations and the machine bodies
// under FOLDER/shop/machines; false (with a message on standard error) when
// one cannot be written.
bool WriteStationArt(const std::string& folder);

}  // namespace makeimages
