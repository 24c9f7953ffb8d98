// JPEG decoding through the file layer (so images may come from pack files)
// into a zero-filled square buffer of 32-bit pixels, blue, green, red, 255 in
// memory order, the image at its top-left.
#pragma once

#include <cstdint>

#include "foundation/tstring.h"

// A file cut short still decodes: the missing part is filled by the library
// and a warning is logged. False, with a log line and no pixels, for a
// missing, empty, malformed or oversized file, or one whose colours cannot be
// turned into RGB (CMYK).
bool LoadJpeg(const TString& name, uint32_t*& pixels, int& width, int& height, int& side);
// Frees a buffer that LoadJpeg returned; null is allowed.
void FreeJpegPixels(uint32_t* pixels);
