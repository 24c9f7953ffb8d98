// Escaping of request parameter values.
#pragma once

#include "foundation/tstring.h"

// The text with each of the 24 characters " \"#$%&+,/:;<=>?@[\\]^`{|}"
// written as "%XX" in upper-case hexadecimal; every other byte, control
// characters and bytes above 127 included, passes unchanged. Null gives "".
TString UrlEscape(const char* text);
