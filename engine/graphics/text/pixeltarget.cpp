#include "graphics/text/pixeltarget.h"

#include <algorithm>

TPixelBuffer::TPixelBuffer(int width, int height)
    : mWidth(std::max(width, 0)), mHeight(std::max(height, 0)), mPixels(static_cast<size_t>(mWidth) * mHeight) {}

bool TPixelBuffer::Lock(TLockedPixels& locked) {
    locked.pixels = reinterpret_cast<uint8_t*>(mPixels.data());
    locked.width = mWidth;
    locked.height = mHeight;
    locked.pitch = mWidth * 4;
    return true;
}

uint32_t TPixelBuffer::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight) return 0;
    return mPixels[static_cast<size_t>(y) * mWidth + x];
}

void TPixelBuffer::SetPixel(int x, int y, uint32_t argb) {
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight) return;
    mPixels[static_cast<size_t>(y) * mWidth + x] = argb;
}
