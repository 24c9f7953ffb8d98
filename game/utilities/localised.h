// A text of the game's string table by its label.
#pragma once

#include "foundation/tstring.h"

// The label itself while no string table stands.
TString Localised(const TString& label);
