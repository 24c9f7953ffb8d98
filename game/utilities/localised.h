// A text of the game's string table by its label.
#pragma once

#include "foundation/tstring.h"

// With its arguments in place of "%1%" to "%3%"; the label itself while no
// string table stands.
TString Localised(const TString& label, const TString& first = TString(), const TString& second = TString(),
                  const TString& third = TString());
