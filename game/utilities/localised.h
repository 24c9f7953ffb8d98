// The text of a label in the current string table.
#pragma once

#include "foundation/tstring.h"

// The label itself while no string table stands.
TString Localised(const TString& label);
