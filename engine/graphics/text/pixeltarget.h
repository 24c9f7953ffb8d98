// Pixels that shapes can be drawn into directly: a locked texture, or a
// buffer in memory. Pixels are 32-bit, bytes blue, green, red, alpha.
#pragma once

#include <cstdint>
#include <vector>

struct TLockedPixels {
    uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;  // bytes from one row to the next
};

class TPixelTarget {
public:
    virtual ~TPixelTarget() = default;
    // False when the pixels cannot be reached now.
    virtual bool Lock(TLockedPixels& locked) = 0;
    virtual void Unlock() = 0;
};

// Pixels in memory, all zero at first.
class TPixelBuffer : public TPixelTarget {
public:
    TPixelBuffer(int width, int height);

    bool Lock(TLockedPixels& locked) override;
    void Unlock() override {}

    int GetWidth() const { return mWidth; }
    int GetHeight() const { return mHeight; }
    // Packed ARGB; 0 outside the buffer.
    uint32_t GetPixel(int x, int y) const;
    void SetPixel(int x, int y, uint32_t argb);
    const std::vector<uint32_t>& GetPixels() const { return mPixels; }

private:
    int mWidth;
    int mHeight;
    std::vector<uint32_t> mPixels;
};
