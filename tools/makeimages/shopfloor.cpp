#include "tools/makeimages/shopfloor.h"

#include <cmath>

#include "tools/makeimages/canvas.h"
#include "tools/makeimages/pngwriter.h"

namespace makeimages {
namespace {

constexpr float kPi = 3.14159265f;
// The counters' top, where the customers' busts stand, and their front.
constexpr float kCounterTop = 188.0f;
constexpr float kCounterFront = 262.0f;
constexpr float kBenchTop = 528.0f;
constexpr int kHudDial = 48;
constexpr int kGaugeIcon = 40;

// A cream wall with a wainscot, the long counter with its top edge, a tiled
// floor, the round island mid-floor and the machines' bench along the
// bottom.
Canvas Floor() {
    Canvas canvas(800, 600);
    canvas.FillVertical(Colour(244, 228, 204), Colour(226, 202, 170));
    canvas.Paint([](float, float y) { return 120.0f - y; }, Vertical(Colour(196, 150, 110), Colour(170, 120, 84), 120, 190));
    canvas.Paint([](float, float y) { return kCounterFront - y; },
                 [](float x, float y) {
                     bool dark = (static_cast<int>(x / 40.0f) + static_cast<int>(y / 40.0f)) % 2 == 0;
                     return dark ? Colour(188, 150, 118) : Colour(214, 182, 150);
                 });
    auto counter = [](float x, float y) { return RoundedBoxDistance(x, y, 52, kCounterTop, 748, kCounterFront, 8); };
    canvas.Paint([&](float x, float y) { return counter(x, y) - 2.0f; }, Solid(Colour(66, 36, 18)));
    canvas.Paint(counter, Vertical(Colour(150, 92, 52), Colour(104, 60, 30), kCounterTop, kCounterFront));
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 52, kCounterTop, 748, kCounterTop + 12, 6); },
                 Vertical(Colour(226, 186, 140), Colour(190, 140, 96), kCounterTop, kCounterTop + 12));
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
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, 24, 24, 21); },
                 Vertical(Colour(255, 236, 180), Colour(240, 196, 110), 3, 45));
    return canvas;
}

// The clock's rim with twelve ticks, over the sweep.
Canvas ClockRing() {
    Canvas canvas(kHudDial, kHudDial);
    canvas.Paint([](float x, float y) { return std::fabs(CircleDistance(x, y, 24, 24, 21.5f)) - 2.0f; },
                 Solid(Colour(74, 40, 20)));
    for (int tick = 0; tick < 12; ++tick) {
        float angle = static_cast<float>(tick) * kPi / 6.0f;
        float dx = std::sin(angle);
        float dy = -std::cos(angle);
        canvas.Paint([=](float x, float y) { return SegmentDistance(x, y, 24 + 15 * dx, 24 + 15 * dy, 24 + 19 * dx, 24 + 19 * dy) - 1.0f; },
                     Solid(Colour(74, 40, 20)));
    }
    return canvas;
}

// The takings dial: a half disc from red through gold to green.
Canvas DialFace() {
    Canvas canvas(kHudDial, kHudDial);
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, 24, 24, 22); }, Solid(Colour(74, 40, 20)));
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, 24, 24, 20); },
                 [](float x, float) {
                     float t = x / static_cast<float>(kHudDial);
                     return t < 0.5f ? Mix(Colour(214, 80, 60), Colour(246, 200, 80), t * 2) : Mix(Colour(246, 200, 80), Colour(90, 170, 80), t * 2 - 1);
                 });
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, 24, 24, 4); }, Solid(Colour(74, 40, 20)));
    return canvas;
}

// The dial's needle, pointing up from its foot.
Canvas DialNeedle() {
    Canvas canvas(6, 22);
    canvas.Paint([](float x, float y) { return SegmentDistance(x, y, 3, 2, 3, 20) - 2.0f; }, Solid(Colour(40, 20, 8)));
    return canvas;
}

// The progress signs: a coin short of the goal, a gold coin past it, and a
// red cross face for the angry customers of endless mode.
Canvas GaugeIcon(const Rgba& rim, const Rgba& face, bool cross) {
    Canvas canvas(kGaugeIcon, kGaugeIcon);
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, 20, 20, 18); }, Solid(rim));
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, 20, 20, 14); }, Solid(face));
    if (cross) {
        canvas.Paint([](float x, float y) { return SegmentDistance(x, y, 13, 13, 27, 27) - 2.5f; }, Solid(rim));
        canvas.Paint([](float x, float y) { return SegmentDistance(x, y, 27, 13, 13, 27) - 2.5f; }, Solid(rim));
    } else {
        canvas.Paint([](float x, float y) { return SegmentDistance(x, y, 20, 11, 20, 29) - 2.0f; }, Solid(rim));
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
