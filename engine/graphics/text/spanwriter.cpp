#include "graphics/text/spanwriter.h"

#include <algorithm>
#include <cstddef>

namespace {

void MergePixel(uint8_t* pixel, const uint8_t source[3], int alpha) {
    int destinationAlpha = pixel[3];
    int weight = alpha + destinationAlpha;
    // Both transparent: nothing to weigh, and nothing to add.
    if (weight == 0) return;
    for (int channel = 0; channel < 3; ++channel) {
        pixel[channel] = static_cast<uint8_t>((source[channel] * alpha + pixel[channel] * destinationAlpha) / weight);
    }
    pixel[3] = static_cast<uint8_t>(std::min(255, weight));
}

void BlendPixel(uint8_t* pixel, const uint8_t source[3], int alpha) {
    for (int channel = 0; channel < 3; ++channel) {
        pixel[channel] = static_cast<uint8_t>((source[channel] * alpha + pixel[channel] * (255 - alpha)) / 255);
    }
}

}  // namespace

void WriteSpan(const TLockedPixels& target, int x0, int x1, int y, uint32_t argb, TPixelMode mode) {
    if (!target.pixels || y < 0 || y >= target.height) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, target.width);
    const uint8_t source[3] = {static_cast<uint8_t>(argb), static_cast<uint8_t>(argb >> 8),
                               static_cast<uint8_t>(argb >> 16)};
    int alpha = static_cast<int>(argb >> 24);
    uint8_t* pixel = target.pixels + static_cast<ptrdiff_t>(y) * target.pitch + static_cast<ptrdiff_t>(x0) * 4;
    for (int x = x0; x < x1; ++x, pixel += 4) {
        switch (mode) {
        case TPixelMode::kCopy:
            std::copy(source, source + 3, pixel);
            pixel[3] = static_cast<uint8_t>(alpha);
            break;
        case TPixelMode::kMerge:
            MergePixel(pixel, source, alpha);
            break;
        case TPixelMode::kBlend:
            BlendPixel(pixel, source, alpha);
            break;
        }
    }
}
