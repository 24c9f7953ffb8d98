#include "tools/makeimages/canvas.h"

#include <algorithm>
#include <cmath>

namespace makeimages {

Rgba Mix(const Rgba& a, const Rgba& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba Colour(int r, int g, int b, float a) {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f, a};
}

Brush Solid(const Rgba& colour) {
    return [colour](float, float) { return colour; };
}

Brush Vertical(const Rgba& top, const Rgba& bottom, float from, float to) {
    return [=](float, float y) { return Mix(top, bottom, std::clamp((y - from) / (to - from), 0.0f, 1.0f)); };
}

Canvas::Canvas(int width, int height)
    : mWidth(width), mHeight(height), mPixels(static_cast<size_t>(width * height), Rgba{0, 0, 0, 0}) {}

void Canvas::Paint(const std::function<float(float, float)>& distance,
                   const std::function<Rgba(float, float)>& paint) {
    for (int y = 0; y < mHeight; ++y) {
        for (int x = 0; x < mWidth; ++x) {
            float px = static_cast<float>(x) + 0.5f;
            float py = static_cast<float>(y) + 0.5f;
            // One pixel of soft edge around the outline.
            float coverage = std::clamp(0.5f - distance(px, py), 0.0f, 1.0f);
            if (coverage <= 0.0f) continue;
            Rgba source = paint(px, py);
            float alpha = source.a * coverage;
            Rgba& target = mPixels[static_cast<size_t>(y * mWidth + x)];
            float outAlpha = alpha + target.a * (1.0f - alpha);
            if (outAlpha <= 0.0f) continue;
            auto blend = [&](float s, float t) { return (s * alpha + t * target.a * (1.0f - alpha)) / outAlpha; };
            target = {blend(source.r, target.r), blend(source.g, target.g), blend(source.b, target.b), outAlpha};
        }
    }
}

void Canvas::FillVertical(const Rgba& top, const Rgba& bottom) {
    for (int y = 0; y < mHeight; ++y) {
        float t = mHeight > 1 ? static_cast<float>(y) / static_cast<float>(mHeight - 1) : 0.0f;
        std::fill_n(mPixels.begin() + y * mWidth, mWidth, Mix(top, bottom, t));
    }
}

std::vector<unsigned char> Canvas::ToBytes() const {
    std::vector<unsigned char> bytes;
    bytes.reserve(mPixels.size() * 4);
    auto channel = [](float v) { return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    for (const Rgba& pixel : mPixels) {
        for (float v : {pixel.r, pixel.g, pixel.b, pixel.a}) bytes.push_back(channel(v));
    }
    return bytes;
}

float RoundedBoxDistance(float x, float y, float left, float top, float right, float bottom, float radius) {
    float cx = (left + right) * 0.5f;
    float cy = (top + bottom) * 0.5f;
    float qx = std::fabs(x - cx) - ((right - left) * 0.5f - radius);
    float qy = std::fabs(y - cy) - ((bottom - top) * 0.5f - radius);
    float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float CircleDistance(float x, float y, float cx, float cy, float radius) {
    return std::hypot(x - cx, y - cy) - radius;
}

float SegmentDistance(float x, float y, float ax, float ay, float bx, float by) {
    float dx = bx - ax;
    float dy = by - ay;
    float t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(x - (ax + dx * t), y - (ay + dy * t));
}

float HeartDistance(float x, float y, float cx, float cy, float size) {
    // A square turned 45 degrees with its point down, and a round lobe on
    // each of its upper sides; half is the square's half side, so the lobes
    // span the width.
    const float root = 0.70710678f;
    const float half = size * 0.5f / (1.0f + root);
    const float squareY = cy + half * 0.146f;
    float dx = x - cx;
    float dy = y - squareY;
    float square = RoundedBoxDistance((dx + dy) * root, (dy - dx) * root, -half, -half, half, half, half * 0.1f);
    float lobeOffset = half * root;
    float left = CircleDistance(x, y, cx - lobeOffset, squareY - lobeOffset, half);
    float right = CircleDistance(x, y, cx + lobeOffset, squareY - lobeOffset, half);
    return std::min(square, std::min(left, right));
}

float ArrowDistance(float x, float y, float tipX, float tipY, float size) {
    // The outline, clockwise from the tip.
    const Point shape[] = {{0.0f, 0.0f},   {0.0f, 0.8f},  {0.2f, 0.62f}, {0.33f, 0.92f},
                           {0.45f, 0.87f}, {0.32f, 0.58f}, {0.57f, 0.58f}};
    std::vector<Point> points;
    for (const Point& p : shape) points.push_back({tipX + p.x * size, tipY + p.y * size});
    return PolygonDistance(x, y, points);
}

float PolygonDistance(float x, float y, const std::vector<Point>& points) {
    float nearest = 1e9f;
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const Point& a = points[i];
        const Point& b = points[j];
        nearest = std::min(nearest, SegmentDistance(x, y, a.x, a.y, b.x, b.y));
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    return inside ? -nearest : nearest;
}

}  // namespace makeimages
