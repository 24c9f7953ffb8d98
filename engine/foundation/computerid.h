// The machine identifier stored as the setting "computerid".
#pragma once

#include "foundation/tstring.h"

#include <cstdint>

// 16 characters derived from the first network adapter's hardware address;
// without one, from a new GUID (then it changes at every start).
TString MakeComputerId();

// The identifier of eight source bytes (bytes 6 and 7 are replaced by copies
// of bytes 3 and 4 first).
TString MakeComputerIdFrom(const uint8_t source[8]);
