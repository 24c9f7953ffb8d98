#include "tools/makeimages/chocolates.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace makeimages {

namespace {

using Outline = std::function<float(float x, float y)>;

constexpr int kSize = 64;
constexpr float kCentreX = 32.0f;
constexpr float kTopY = 23.0f;
constexpr float kHalfWidth = 25.0f;
// The top face is seen at a slant: this much of its depth shows.
constexpr float kTilt = 0.72f;
constexpr float kThickness = 13.0f;
// Towards the light, on the picture: up and to the left.
constexpr float kLightX = -0.5f;
constexpr float kLightY = -0.866f;

const Rgba kWhite = {1.0f, 1.0f, 1.0f, 1.0f};
// Shadows are a very dark brown, seen through.
const Rgba kShadow = {0.05f, 0.02f, 0.0f, 1.0f};

// Lighter towards white above 1, darker towards black below.
Rgba Shade(const Rgba& colour, float amount) {
    if (amount >= 1.0f) return Mix(colour, kWhite, std::fmin(amount - 1.0f, 1.0f));
    float f = std::fmax(amount, 0.0f);
    return {colour.r * f, colour.g * f, colour.b * f, colour.a};
}

Rgba WithAlpha(Rgba colour, float alpha) {
    colour.a = alpha;
    return colour;
}

float Smooth(float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// The outward slope of an outline at a point, by central differences.
void Gradient(const Outline& outline, float x, float y, float& gx, float& gy) {
    const float h = 0.5f;
    gx = (outline(x + h, y) - outline(x - h, y)) / (2 * h);
    gy = (outline(x, y + h) - outline(x, y - h)) / (2 * h);
}

// An outline squashed vertically keeps its sign but not its scale; dividing
// by the slope gives pixel distances again, so edges stay one pixel soft.
Outline InPixels(Outline outline) {
    return [outline](float x, float y) {
        float gx, gy;
        Gradient(outline, x, y, gx, gy);
        return outline(x, y) / std::fmax(std::hypot(gx, gy), 0.1f);
    };
}

Outline TopFace(ChocolateShape shape) {
    Outline upright = [shape](float x, float y) {
        switch (shape) {
            case ChocolateShape::kSquare:
                return RoundedBoxDistance(x, y, kCentreX - kHalfWidth, kTopY - kHalfWidth, kCentreX + kHalfWidth,
                                          kTopY + kHalfWidth, 8.0f);
            case ChocolateShape::kHeart:
                return HeartDistance(x, y, kCentreX, kTopY, kHalfWidth * 2.0f);
            case ChocolateShape::kRound:
                break;
        }
        return CircleDistance(x, y, kCentreX, kTopY, kHalfWidth);
    };
    return InPixels([upright](float x, float y) { return upright(x, kTopY + (y - kTopY) / kTilt); });
}

// How far the top face must sink to cover the point: 0 at its edge, the
// thickness at the bottom of the side; more than that outside the side.
float SinkDepth(const Outline& top, float x, float y) {
    const float step = 0.5f;
    float previous = top(x, y);
    if (previous <= 0.0f) return 0.0f;
    for (float k = step; k <= kThickness; k += step) {
        float distance = top(x, y - k);
        if (distance <= 0.0f) return k - step + step * previous / (previous - distance);
        previous = distance;
    }
    return kThickness + 1.0f;
}

// The top face swept down through the thickness.
Outline Side(const Outline& top) {
    return [top](float x, float y) {
        float nearest = top(x, y);
        for (float k = 0.5f; k <= kThickness; k += 0.5f) nearest = std::fmin(nearest, top(x, y - k));
        return nearest;
    };
}

Rgba LayerColour(const std::vector<ChocolateLayer>& layers, float depth) {
    Rgba colour = layers.front().colour;
    for (size_t i = 0; i + 1 < layers.size(); ++i) {
        // A soft pixel between layers.
        float t = Smooth((depth - layers[i].end * kThickness) / 0.9f + 0.5f);
        colour = Mix(colour, layers[i + 1].colour, t);
    }
    return colour;
}

void PaintShadow(Canvas& canvas) {
    const float cy = kTopY + kHalfWidth * kTilt + kThickness - 1.0f;
    const float rx = kHalfWidth * 1.08f, ry = 6.0f;
    auto reach = [=](float x, float y) { return std::hypot((x - kCentreX) / rx, (y - cy) / ry); };
    canvas.Paint([=](float x, float y) { return (reach(x, y) - 1.0f) * ry; },
                 [=](float x, float y) { return WithAlpha(kShadow, 0.55f * Smooth(1.0f - reach(x, y))); });
}

void PaintSide(Canvas& canvas, const Outline& top, const ChocolateLook& look) {
    canvas.Paint(Side(top), [&](float x, float y) {
        float depth = SinkDepth(top, x, y);
        float across = (x - kCentreX) / kHalfWidth;
        // Rounder towards the middle, lit from the left, darker near the bottom.
        float light = 0.78f + 0.3f * (1.0f - across * across) - 0.18f * across - 0.12f * depth / kThickness;
        return Shade(LayerColour(look.layers, depth), light);
    });
}

void PaintTop(Canvas& canvas, const Outline& top, const ChocolateLook& look) {
    canvas.Paint(top, [&](float x, float y) {
        float along = ((x - kCentreX) * 0.5f + (y - kTopY)) / kHalfWidth;
        float light = 1.06f - 0.14f * along;
        // A rounded rim: lit where it faces the light, dark where it turns away.
        float gx, gy;
        Gradient(top, x, y, gx, gy);
        float length = std::fmax(std::hypot(gx, gy), 0.001f);
        float rim = Smooth(1.0f + top(x, y) / 4.0f);
        light += rim * 0.42f * (gx * kLightX + gy * kLightY) / length;
        return Shade(look.coating, light);
    });
}

void PaintGloss(Canvas& canvas, const Outline& top) {
    const float gx = kCentreX - kHalfWidth * 0.38f, gy = kTopY - kHalfWidth * 0.32f * kTilt;
    const float rx = kHalfWidth * 0.42f, ry = kHalfWidth * 0.22f;
    auto reach = [=](float x, float y) { return std::hypot((x - gx) / rx, (y - gy) / ry); };
    canvas.Paint([=](float x, float y) { return std::fmax(top(x, y) + 2.5f, (reach(x, y) - 1.0f) * ry); },
                 [=](float x, float y) { return WithAlpha(kWhite, 0.38f * Smooth(1.0f - reach(x, y))); });
}

// Lines piped across the top, wavy when amplitude is not 0, each with a
// shadow under it and a light along its crest.
void PaintPiping(Canvas& canvas, const Outline& top, const Rgba& colour, float amplitude) {
    const float width = 1.5f;
    const float gap = 11.0f;
    auto line = [=](float x, float y) {
        // Across the face at a slant, in the face's own flattened frame.
        float u = (x - kCentreX) * 0.8f + (y - kTopY) / kTilt * 0.6f;
        float v = -(x - kCentreX) * 0.6f + (y - kTopY) / kTilt * 0.8f;
        float wave = v - amplitude * std::sin(u * 0.45f);
        // Three lines: the middle one and one on each side.
        float nearest = wave - gap * std::clamp(std::round(wave / gap), -1.0f, 1.0f);
        return std::fabs(nearest) * kTilt - width;
    };
    auto inset = [=](float x, float y) { return top(x, y) + 6.0f; };
    auto piped = [=](float x, float y) { return std::fmax(line(x, y), inset(x, y)); };
    canvas.Paint([=](float x, float y) { return piped(x - 0.6f, y - 1.2f); }, Solid(WithAlpha(kShadow, 0.35f)));
    canvas.Paint(piped, [=](float x, float y) {
        // The crest catches the light a little above the middle of the line.
        float crest = Smooth(-line(x, y + 0.7f) / width);
        return Shade(colour, 0.9f + 0.28f * crest);
    });
}

// A round sweet set in the middle of the top.
void PaintPearl(Canvas& canvas, const Rgba& colour) {
    const float cx = kCentreX, cy = kTopY - 1.0f, r = 6.5f;
    canvas.Paint([=](float x, float y) { return std::hypot(x - cx - 1.0f, (y - cy - 2.5f) / kTilt) - r; },
                 Solid(WithAlpha(kShadow, 0.35f)));
    canvas.Paint([=](float x, float y) { return CircleDistance(x, y, cx, cy, r); }, [=](float x, float y) {
        float facing = ((x - cx) * kLightX + (y - cy) * kLightY) / r;
        return Shade(colour, 0.88f + 0.3f * facing);
    });
    canvas.Paint([=](float x, float y) { return CircleDistance(x, y, cx - r * 0.35f, cy - r * 0.4f, r * 0.3f); },
                 Solid(WithAlpha(kWhite, 0.7f)));
}

// The well of a round piece, and the filling that fills it.
constexpr float kWellRadius = kHalfWidth * 0.52f;

float WellDistance(float x, float y) {
    return std::hypot(x - kCentreX, (y - kTopY) / kTilt) - kWellRadius;
}

// A hollow in the top: dark at its far side, lit at its near rim.
void PaintWell(Canvas& canvas, const Rgba& coating) {
    canvas.Paint(WellDistance, [=](float, float y) {
        float across = (y - kTopY) / (kWellRadius * kTilt);
        return Shade(coating, 0.45f + 0.25f * Smooth(across * 0.5f + 0.5f));
    });
}

void PaintTopping(Canvas& canvas, const Outline& top, Topping topping, const Rgba& colour) {
    switch (topping) {
        case Topping::kDrizzle:
            PaintPiping(canvas, top, colour, 2.2f);
            break;
        case Topping::kStripes:
            PaintPiping(canvas, top, colour, 0.0f);
            break;
        case Topping::kPearl:
            PaintPearl(canvas, colour);
            break;
        case Topping::kWell:
            PaintWell(canvas, colour);
            break;
        case Topping::kNone:
            break;
    }
}

// Flecks across a surface: a value between 0 and 1 that changes every few pixels.
float Flecks(float x, float y) {
    float wave = std::sin(x * 1.7f + std::sin(y * 2.3f) * 2.0f) * std::sin(y * 1.9f - x * 0.6f);
    return Smooth(wave * 1.5f + 0.5f);
}

// The mixer's bowl, seen from the front and a little above.
constexpr float kBowlX = 32.0f;
constexpr float kBowlRimY = 24.0f;
constexpr float kBowlHalfWidth = 27.0f;
constexpr float kBowlRimDepth = 9.0f;
constexpr float kBowlBottom = 56.0f;
const Rgba kSteel = {0.72f, 0.74f, 0.78f, 1.0f};

float Ellipse(float x, float y, float cx, float cy, float rx, float ry) {
    return (std::hypot((x - cx) / rx, (y - cy) / ry) - 1.0f) * std::fmin(rx, ry);
}

// The surface of what lies in the bowl.
float BowlContentsDistance(float x, float y) {
    return Ellipse(x, y, kBowlX, kBowlRimY + 1.5f, kBowlHalfWidth - 5.0f, kBowlRimDepth - 3.0f);
}

}  // namespace

Canvas Chocolate(const ChocolateLook& look) {
    Canvas canvas(kSize, kSize);
    Outline top = TopFace(look.shape);
    PaintShadow(canvas);
    PaintSide(canvas, top, look);
    PaintTop(canvas, top, look);
    PaintTopping(canvas, top, look.topping, look.toppingColour);
    PaintGloss(canvas, top);
    return canvas;
}

Canvas ChocolateTopping(ChocolateShape shape, Topping topping, const Rgba& colour) {
    Canvas canvas(kSize, kSize);
    PaintTopping(canvas, TopFace(shape), topping, colour);
    return canvas;
}

Canvas ChocolateBand(ChocolateShape shape, const Rgba& colour, float from, float to) {
    Canvas canvas(kSize, kSize);
    Outline top = TopFace(shape);
    Outline side = Side(top);
    canvas.Paint(
        [=](float x, float y) {
            float depth = SinkDepth(top, x, y);
            return std::fmax(side(x, y), std::fmax(from * kThickness - depth, depth - to * kThickness));
        },
        [=](float x, float y) {
            float across = (x - kCentreX) / kHalfWidth;
            float light = 0.8f + 0.25f * (1.0f - across * across) - 0.18f * across;
            return Shade(colour, light * (0.75f + 0.4f * Flecks(x, y)));
        });
    return canvas;
}

Canvas ChocolateFilling(const Rgba& colour) {
    Canvas canvas(kSize, kSize);
    const float inset = 1.5f;
    canvas.Paint([=](float x, float y) { return WellDistance(x, y) + inset; }, [=](float x, float y) {
        float along = ((x - kCentreX) * 0.5f + (y - kTopY)) / kWellRadius;
        return Shade(colour, 1.05f - 0.2f * along);
    });
    // A shine on the filling, towards the light.
    const float sx = kCentreX - kWellRadius * 0.35f, sy = kTopY - kWellRadius * 0.3f * kTilt;
    canvas.Paint([=](float x, float y) { return Ellipse(x, y, sx, sy, kWellRadius * 0.35f, kWellRadius * 0.14f); },
                 Solid(WithAlpha(kWhite, 0.45f)));
    return canvas;
}

Canvas Bowl() {
    Canvas canvas(kSize, kSize);
    canvas.Paint([](float x, float y) { return Ellipse(x, y, kBowlX, kBowlBottom + 2.0f, 20.0f, 4.5f); },
                 Solid(WithAlpha(kShadow, 0.4f)));
    // The outside: the lower half of a squat ellipse below the rim.
    canvas.Paint(
        [](float x, float y) {
            float body = Ellipse(x, y, kBowlX, kBowlRimY, kBowlHalfWidth, kBowlBottom - kBowlRimY);
            return std::fmax(body, kBowlRimY - y);
        },
        [](float x, float) {
            float across = (x - kBowlX) / kBowlHalfWidth;
            return Shade(kSteel, 0.8f + 0.35f * (1.0f - across * across) - 0.25f * across);
        });
    // The rim, and the inside seen over it.
    canvas.Paint([](float x, float y) { return Ellipse(x, y, kBowlX, kBowlRimY, kBowlHalfWidth, kBowlRimDepth); },
                 Solid(Shade(kSteel, 1.15f)));
    canvas.Paint(
        [](float x, float y) {
            return Ellipse(x, y, kBowlX, kBowlRimY, kBowlHalfWidth - 2.5f, kBowlRimDepth - 2.0f);
        },
        [](float, float y) { return Shade(kSteel, 0.55f + 0.3f * Smooth((y - kBowlRimY) / kBowlRimDepth + 0.5f)); });
    return canvas;
}

Canvas BowlChocolate(const Rgba& colour) {
    Canvas canvas(kSize, kSize);
    canvas.Paint(BowlContentsDistance, [=](float x, float y) {
        // A stirred swirl: light and dark rings around the middle.
        float r = std::hypot((x - kBowlX) / (kBowlHalfWidth - 5.0f), (y - kBowlRimY - 1.5f) / (kBowlRimDepth - 3.0f));
        float angle = std::atan2(y - kBowlRimY - 1.5f, (x - kBowlX) * 0.3f);
        float swirl = std::sin(r * 9.0f + angle * 2.0f);
        return Shade(colour, 0.95f + 0.12f * swirl);
    });
    return canvas;
}

Canvas BowlPieces(const Rgba& colour) {
    Canvas canvas(kSize, kSize);
    const float spots[][2] = {{-12, 0}, {-5, -3}, {3, 2}, {10, -2}, {15, 1}, {-1, -5}, {7, 4}, {-9, 3}};
    for (const auto& spot : spots) {
        const float cx = kBowlX + spot[0], cy = kBowlRimY + 1.5f + spot[1] * 0.8f;
        canvas.Paint([=](float x, float y) { return Ellipse(x, y, cx, cy, 2.4f, 1.7f); },
                     [=](float x, float y) {
                         float facing = ((x - cx) * kLightX + (y - cy) * kLightY) / 2.4f;
                         return Shade(colour, 0.9f + 0.3f * facing);
                     });
    }
    return canvas;
}

}  // namespace makeimages
