// New globally unique identifiers, as four 32-bit words and as text.
#pragma once

#include <cstdint>

#include "foundation/tstring.h"

struct TGuid {
    uint32_t words[4] = {0, 0, 0, 0};
};

// Fills the GUID from the system's random generator (a version 4 GUID); false,
// with a log line and an all-zero GUID, when the generator cannot be read.
bool NewGuid(TGuid& guid);

// A new GUID as 32 lower-case hexadecimal digits ("%08x" of each word).
TString NewGuidString();
