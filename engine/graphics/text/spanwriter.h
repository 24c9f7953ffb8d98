// Writing spans straight into locked pixels.
#pragma once

#include <cstdint>

#include "graphics/text/pixeltarget.h"

enum class TPixelMode {
    kBlend,  // source over destination; destination alpha kept
    kCopy,   // the span's colour and alpha replace the pixel
    kMerge,  // colours weighted by both alphas; alphas added
};

// Pixels x0 up to x1 (exclusive) of row y, in packed ARGB; the parts
// outside the pixels are left out.
void WriteSpan(const TLockedPixels& target, int x0, int x1, int y, uint32_t argb, TPixelMode mode);
