// Feeds arbitrary bytes to both image decoders as a memory file and checks
// that a decoded buffer is whole: every pixel of the square can be read.
#include "foundation/virtualfiles.h"
#include "graphics/image/jpegimage.h"
#include "graphics/image/pngimage.h"

#include <cstdint>
#include <cstdlib>

namespace {

// Reads every pixel, so that the address checker sees a short buffer.
uint32_t Touch(const uint32_t* pixels, int side) {
    uint32_t sum = 0;
    for (size_t i = 0; i < static_cast<size_t>(side) * side; ++i) sum += pixels[i];
    return sum;
}

void CheckShape(int width, int height, int side) {
    if (width < 1 || height < 1 || width > side || height > side || side > 4096 || (side & (side - 1)) != 0) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RegisterMemoryFile("fuzz.img", data, size);
    uint32_t* pixels = nullptr;
    int width = 0, height = 0, side = 0;
    bool hasAlpha = false;
    volatile uint32_t sink = 0;
    if (LoadPng("fuzz.img", pixels, width, height, side, hasAlpha)) {
        CheckShape(width, height, side);
        sink = sink + Touch(pixels, side);
        FreePngPixels(pixels);
    }
    if (LoadJpeg("fuzz.img", pixels, width, height, side)) {
        CheckShape(width, height, side);
        sink = sink + Touch(pixels, side);
        FreeJpegPixels(pixels);
    }
    RegisterMemoryFile("fuzz.img", nullptr, 0);
    return 0;
}
