// Sizes of decoded images: both decoders deliver the image at the top-left of
// a square buffer of 32-bit pixels whose side is a power of two.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/tstring.h"

// Larger images are refused before any buffer is allocated: the largest
// surface the game ever draws is far smaller, and a forged header must not
// ask for gigabytes.
inline constexpr uint32_t kMaxImageSide = 4096;

// The smallest power of two not below value, at least 1; values above
// 2^31 give 0.
uint32_t NextPowerOfTwo(uint32_t value);

// The buffer side for an image, or 0 (logged with the decoder's name and the
// file name) when either dimension is 0 or above kMaxImageSide.
uint32_t SquareSideFor(const char* decoder, const TString& name, uint32_t width, uint32_t height);

// Bytes of a square buffer of 32-bit pixels.
inline size_t SquareBufferBytes(uint32_t side) {
    return static_cast<size_t>(side) * side * 4;
}
