// Blanks (code 32 only) cut from both ends of a text.
#pragma once

#include "foundation/tstring.h"

// A text of blanks only becomes empty; tabs and inner blanks stay.
TString TrimSpaces(const TString& text);
