// The initial Blowfish tables: P-array and S-boxes taken from the digits of pi.
#pragma once

#include <cstdint>

extern const uint32_t kBlowfishInitialP[18];
extern const uint32_t kBlowfishInitialS[4][256];
