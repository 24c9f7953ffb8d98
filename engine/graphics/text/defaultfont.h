// The complete font the program carries in its own data, built from
// assets/fonts/default.mvec when the program is built.
#pragma once

#include <cstddef>
#include <cstdint>

extern const uint8_t kDefaultFontData[];
extern const size_t kDefaultFontSize;
