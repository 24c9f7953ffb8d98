// The story pages' pictures: the dimmed screen behind them, the
// speakers' portraits, and the answer and continue buttons in their looks.
#pragma once

#include <string>

namespace makeimages {

// Writes them under FOLDER/ui/plot; false (with a message on standard
// error) when one cannot be written.
bool WritePlotArt(const std::string& folder);

}  // namespace makeimages
