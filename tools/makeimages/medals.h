// The rewards' pictures: a medal for each medal key of the achievements (and
// a plain one for achievements without a medal), and the lid of the box
// the rewards screen opens with.
#pragma once

#include <string>

namespace makeimages {

// Writes them under FOLDER/ui/rewards; false (with a message on standard
// error) when one cannot be written.
bool WriteMedals(const std::string& folder);

}  // namespace makeimages
