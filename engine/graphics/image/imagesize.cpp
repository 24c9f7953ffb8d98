#include "graphics/image/imagesize.h"

#include <algorithm>

#include "foundation/debuglog.h"

uint32_t NextPowerOfTwo(uint32_t value) {
    uint32_t side = 1;
    while (side < value) {
        if (side > UINT32_MAX / 2) return 0;
        side *= 2;
    }
    return side;
}

uint32_t SquareSideFor(const char* decoder, const TString& name, uint32_t width, uint32_t height) {
    if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide) {
        DebugLog("%s: %s is %ux%u pixels; images must be 1 to %u pixels a side", decoder, name.c_str(), width,
                 height, kMaxImageSide);
        return 0;
    }
    return NextPowerOfTwo(std::max(width, height));
}
