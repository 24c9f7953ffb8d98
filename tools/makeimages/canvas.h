// An RGBA image in floats that shapes are painted onto with soft edges: a
// pixel is covered by how far its centre lies inside the shape's outline.
#pragma once

#include <functional>
#include <vector>

namespace makeimages {

struct Rgba {
    float r, g, b, a;
};

// Mixes a and b: t = 0 gives a, t = 1 gives b.
Rgba Mix(const Rgba& a, const Rgba& b, float t);
// A colour from 8-bit channels.
Rgba Colour(int r, int g, int b, float a = 1.0f);

// What a pixel is painted with, by its position.
using Brush = std::function<Rgba(float x, float y)>;
Brush Solid(const Rgba& colour);
// A top-to-bottom blend between two rows.
Brush Vertical(const Rgba& top, const Rgba& bottom, float from, float to);

class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    const Rgba& At(int x, int y) const { return mPixels[static_cast<size_t>(y * mWidth + x)]; }

    // Paints over every pixel where the distance (negative inside) puts it
    // inside, in the colour the paint gives for that pixel.
    void Paint(const std::function<float(float x, float y)>& distance,
               const std::function<Rgba(float x, float y)>& paint);

    // The top colour at the top row, the bottom colour at the last.
    void FillVertical(const Rgba& top, const Rgba& bottom);

    // 8-bit RGBA rows, straight alpha.
    std::vector<unsigned char> ToBytes() const;

private:
    int mWidth;
    int mHeight;
    std::vector<Rgba> mPixels;
};

// Signed distances to outlines (negative inside).
float RoundedBoxDistance(float x, float y, float left, float top, float right, float bottom, float radius);
float CircleDistance(float x, float y, float cx, float cy, float radius);
// Unsigned, to the segment from a to b: less half a width gives a stroke.
float SegmentDistance(float x, float y, float ax, float ay, float bx, float by);
// A heart standing on its tip, centred on (cx, cy), size pixels wide.
float HeartDistance(float x, float y, float cx, float cy, float size);
// The arrow of a mouse pointer with its tip at (tipX, tipY), size pixels tall.
float ArrowDistance(float x, float y, float tipX, float tipY, float size);
// A closed polygon through the points, in either turning direction.
struct Point {
    float x, y;
};
float PolygonDistance(float x, float y, const std::vector<Point>& points);

}  // namespace makeimages
