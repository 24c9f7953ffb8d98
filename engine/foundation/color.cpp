#include "foundation/color.h"

namespace {

uint32_t Pack(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha) {
    return (alpha & 0xFF) << 24 | (red & 0xFF) << 16 | (green & 0xFF) << 8 | (blue & 0xFF);
}

// Clamped so that a channel can never spill into its neighbours.
uint32_t FloatToByte(float value) {
    if (!(value > 0.0f)) {
        return 0;  // also NaN
    }
    if (value >= 1.0f) {
        return 255;
    }
    return static_cast<uint32_t>(value * 255.0);
}

}  // namespace

TColor::TColor(int red, int green, int blue, int alpha)
    : mArgb(Pack(static_cast<uint32_t>(red), static_cast<uint32_t>(green), static_cast<uint32_t>(blue),
                 static_cast<uint32_t>(alpha))) {}

TColor::TColor(const TColor4f& color)
    : mArgb(Pack(FloatToByte(color.r), FloatToByte(color.g), FloatToByte(color.b), FloatToByte(color.a))) {}

void TColor::SetChannel(int shift, int value) {
    mArgb = (mArgb & ~(0xFFu << shift)) | (static_cast<uint32_t>(value) & 0xFF) << shift;
}
