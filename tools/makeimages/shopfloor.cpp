#include "tools/makeimages/shopfloor.h"

#include <cmath>

#include "tools/makeimages/canvas.h"
#include "tools/makeimages/pngwriter.h"

namespace makeimages {
namespace {

constexpr float kPi = 3.14159265f;
// The front of the counters, where the floor begins.
constexpr float kCounterFront = 262.0f;
constexpr float kBenchTop = 528.0f;
constexpr int kHudDial = 32;
// The middle of a dial and the radius of its face.
constexpr float kDialMiddle = kHudDial / 2.0f;
constexpr float kDialRadius = kDialMiddle - 2.0f;
constexpr int kGaugeIcon = 28;

// A cream wall with a wainscot, a tiled floor, the round island mid-floor
// and the machines' bench along the bottom.
Canvas Floor() {
    Canvas canvas(800, 600);
    canvas.FillVertical(Colour(244, 228, 204), Colour(226, 202, 170));
    canvas.Paint([](float, float y) { return 120.0f - y; }, Vertical(Colour(196, 150, 110), Colour(170, 120, 84), 120, 190));
    canvas.Paint([](float, float y) { return kCounterFront - y; },
                 [](float x, float y) {
                     bool dark = (static_cast<int>(x / 40.0f) + static_cast<int>(y / 40.0f)) % 2 == 0;
                     return dark ? Colour(188, 150, 118) : Colour(214, 182, 150);
                 });
    canvas.Paint([](float x, float y) { return CircleDistance(x, (y - 420.0f) * 1.8f + 420.0f, 400, 420, 70); },
                 Vertical(Colour(176, 112, 66), Colour(112, 66, 34), 380, 460));
    auto bench = [](float x, float y) { return RoundedBoxDistance(x, y, 40, kBenchTop, 760, 640, 10); };
    canvas.Paint([&](float x, float y) { return bench(x, y) - 2.0f; }, Solid(Colour(66, 36, 18)));
    canvas.Paint(bench, Vertical(Colour(190, 190, 196), Colour(130, 130, 138), kBenchTop, 600));
    return canvas;
}

// The clock's face, which the sweep reveals as the time runs.
Canvas ClockSweep() {
    Canvas canvas(kHudDial, kHudDial);
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, kDialMiddle, kDialMiddle, kDialRadius); },
                 Vertical(Colour(255, 236, 180), Colour(240, 196, 110), 2, kHudDial - 2));
    return canvas;
}

// The clock's rim with twelve ticks, over the sweep.
Canvas ClockRing() {
    Canvas canvas(kHudDial, kHudDial);
    canvas.Paint([](float x, float y) { return std::fabs(CircleDistance(x, y, kDialMiddle, kDialMiddle, kDialRadius)) - 1.5f; },
                 Solid(Colour(74, 40, 20)));
    for (int tick = 0; tick < 12; ++tick) {
        float angle = static_cast<float>(tick) * kPi / 6.0f;
        float dx = std::sin(angle);
        float dy = -std::cos(angle);
        const float inner = kDialRadius - 4.0f;
        const float outer = kDialRadius - 1.5f;
        canvas.Paint([=](float x, float y) {
            return SegmentDistance(x, y, kDialMiddle + inner * dx, kDialMiddle + inner * dy, kDialMiddle + outer * dx,
                                   kDialMiddle + outer * dy) - 0.8f;
        },
                     Solid(Colour(74, 40, 20)));
    }
    return canvas;
}

// The takings dial: a half disc from red through gold to green.
Canvas DialFace() {
    Canvas canvas(kHudDial, kHudDial);
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, kDialMiddle, kDialMiddle, kDialRadius + 1); },
                 Solid(Colour(74, 40, 20)));
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, kDialMiddle, kDialMiddle, kDialRadius - 1); },
                 [](float x, float) {
                     float t = x / static_cast<float>(kHudDial);
                     return t < 0.5f ? Mix(Colour(214, 80, 60), Colour(246, 200, 80), t * 2) : Mix(Colour(246, 200, 80), Colour(90, 170, 80), t * 2 - 1);
                 });
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, kDialMiddle, kDialMiddle, 3); }, Solid(Colour(74, 40, 20)));
    return canvas;
}

// The dial's needle, pointing up from its foot.
Canvas DialNeedle() {
    Canvas canvas(4, 15);
    canvas.Paint([](float x, float y) { return SegmentDistance(x, y, 2, 1.5f, 2, 13.5f) - 1.5f; }, Solid(Colour(40, 20, 8)));
    return canvas;
}

// The progress signs: a coin short of the goal, a gold coin past it, and a
// red cross face for the angry customers of endless mode.
Canvas GaugeIcon(const Rgba& rim, const Rgba& face, bool cross) {
    Canvas canvas(kGaugeIcon, kGaugeIcon);
    const float middle = kGaugeIcon / 2.0f;
    canvas.Paint([=](float x, float y) { return CircleDistance(x, y, middle, middle, middle - 1); }, Solid(rim));
    canvas.Paint([=](float x, float y) { return CircleDistance(x, y, middle, middle, middle - 4); }, Solid(face));
    const float arm = middle / 2.5f;
    if (cross) {
        canvas.Paint([=](float x, float y) { return SegmentDistance(x, y, middle - arm, middle - arm, middle + arm, middle + arm) - 2.0f; },
                     Solid(rim));
        canvas.Paint([=](float x, float y) { return SegmentDistance(x, y, middle + arm, middle - arm, middle - arm, middle + arm) - 2.0f; },
                     Solid(rim));
    } else {
        canvas.Paint([=](float x, float y) { return SegmentDistance(x, y, middle, middle - arm - 1, middle, middle + arm + 1) - 1.5f; },
                     Solid(rim));
    }
    return canvas;
}

bool Write(const std::string& folder, const char* name, const Canvas& canvas) {
    return WritePng(folder + "/" + name, canvas.Width(), canvas.Height(), canvas.ToBytes());
}

}  // namespace

bool WriteShopFloorArt(const std::string& folder) {
    bool written = Write(folder, "shop/floor.png", Floor());
    written = Write(folder, "shop/hud/clock_sweep.png", ClockSweep()) && written;
    written = Write(folder, "shop/hud/clock_ring.png", ClockRing()) && written;
    written = Write(folder, "shop/hud/dial_face.png", DialFace()) && written;
    written = Write(folder, "shop/hud/dial_needle.png", DialNeedle()) && written;
    written = Write(folder, "shop/hud/gauge_below.png", GaugeIcon(Colour(110, 80, 50), Colour(196, 170, 130), false)) && written;
    written = Write(folder, "shop/hud/gauge_past.png", GaugeIcon(Colour(150, 100, 20), Colour(250, 210, 80), false)) && written;
    written = Write(folder, "shop/hud/gauge_anger.png", GaugeIcon(Colour(150, 30, 20), Colour(236, 110, 90), true)) && written;
    return written;
}

}  // namespace makeimages
