// Colours: TColor is a packed 32-bit ARGB word, TColor4f its float form.
#pragma once

#include <cstdint>

struct TColor4f {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 0;

    TColor4f() = default;
    TColor4f(float red, float green, float blue, float alpha) : r(red), g(green), b(blue), a(alpha) {}
    bool operator==(const TColor4f& other) const = default;
};

class TColor {
public:
    TColor() = default;
    TColor(uint32_t argb) : mArgb(argb) {}
    // Takes the low byte of each argument.
    TColor(int red, int green, int blue, int alpha);
    // Each channel times 255, truncated; channels outside 0..1 are clamped.
    TColor(const TColor4f& color);

    uint32_t ARGB() const { return mArgb; }
    bool operator==(const TColor& other) const = default;

    int GetAlpha() const { return Channel(kAlphaShift); }
    int GetRed() const { return Channel(kRedShift); }
    int GetGreen() const { return Channel(kGreenShift); }
    int GetBlue() const { return Channel(kBlueShift); }
    void SetAlpha(int alpha) { SetChannel(kAlphaShift, alpha); }
    void SetRed(int red) { SetChannel(kRedShift, red); }
    void SetGreen(int green) { SetChannel(kGreenShift, green); }
    void SetBlue(int blue) { SetChannel(kBlueShift, blue); }

private:
    enum { kAlphaShift = 24, kRedShift = 16, kGreenShift = 8, kBlueShift = 0 };
    int Channel(int shift) const { return static_cast<int>((mArgb >> shift) & 0xFF); }
    void SetChannel(int shift, int value);

    uint32_t mArgb = 0;
};
