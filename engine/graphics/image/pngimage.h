// PNG decoding through the file layer (so images may come from pack files)
// into a zero-filled square buffer of 32-bit pixels, blue, green, red, alpha
// in memory order, the image at its top-left.
#pragma once

#include <cstdint>

#include "foundation/tstring.h"

// False, with a log line and no pixels, for a missing, malformed, truncated
// or oversized file. hasAlpha tells whether the image carries transparency
// (an alpha channel or a tRNS chunk).
bool LoadPng(const TString& name, uint32_t*& pixels, int& width, int& height, int& side, bool& hasAlpha);
// Frees a buffer that LoadPng returned; null is allowed.
void FreePngPixels(uint32_t* pixels);
