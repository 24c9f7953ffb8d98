// Player-visible texts by their label in the platform's string table.
#pragma once

#include "foundation/tstring.h"

// The label's text; the label itself while no string table stands.
TString Localised(const TString& label);
