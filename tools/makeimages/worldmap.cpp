#include "tools/makeimages/worldmap.h"

#include <algorithm>
#include <cmath>

#include "tools/makeimages/canvas.h"
#include "tools/makeimages/framesheet.h"
#include "tools/makeimages/pngwriter.h"

namespace makeimages {
namespace {

constexpr int kMapWidth = 800;
constexpr int kMapHeight = 600;
constexpr int kBadgeSize = 56;
constexpr int kBadgeFrames = 4;
constexpr int kGlobeSize = 38;
constexpr float kPi = 3.14159265f;

// Where scripts/worldmap.lua puts the six pins, in story order.
const Point kLocations[] = {{140, 420}, {250, 190}, {410, 400}, {540, 150}, {640, 410}, {700, 260}};

// An island around the location: a few overlapping lobes, the same each run.
float IslandDistance(float x, float y, const Point& centre, int seed) {
    float distance = CircleDistance(x, y, centre.x, centre.y, 50);
    for (int lobe = 0; lobe < 4; ++lobe) {
        float angle = static_cast<float>(seed * 97 + lobe * 83) * 0.0174533f;
        float reach = 36.0f + static_cast<float>((seed * 13 + lobe * 29) % 16);
        float cx = centre.x + reach * std::cos(angle);
        float cy = centre.y + 0.7f * reach * std::sin(angle);
        distance = std::min(distance, CircleDistance(x, y, cx, cy, 26.0f + static_cast<float>(lobe * 3)));
    }
    return distance;
}

// The sea, darker below, with a sandy shore and green land for each location.
Canvas Map() {
    Canvas canvas(kMapWidth, kMapHeight);
    canvas.FillVertical(Colour(120, 186, 214), Colour(40, 96, 146));
    for (int i = 0; i < 6; ++i) {
        const Point& centre = kLocations[i];
        auto island = [=](float x, float y) { return IslandDistance(x, y, centre, i); };
        canvas.Paint([&](float x, float y) { return island(x, y) - 6.0f; }, Solid(Colour(170, 214, 230, 0.6f)));
        canvas.Paint(island, Solid(Colour(232, 212, 160)));
        canvas.Paint([&](float x, float y) { return island(x, y) + 6.0f; },
                     Vertical(Colour(132, 176, 96), Colour(88, 130, 64), centre.y - 80, centre.y + 80));
    }
    // A border like a chart's frame.
    canvas.Paint([](float x, float y) {
        float outer = RoundedBoxDistance(x, y, 4, 4, kMapWidth - 4, kMapHeight - 4, 10);
        return std::fabs(outer + 3.0f) - 2.0f;
    },
                 Solid(Colour(92, 52, 28)));
    return canvas;
}

// The pin's badge: a brass ring whose light grows frame by frame as the
// pin opens.
void PaintBadge(Canvas& sheet, float left, int frame) {
    const float cx = left + kBadgeSize / 2.0f, cy = kBadgeSize / 2.0f;
    const float light = static_cast<float>(frame) / (kBadgeFrames - 1);
    sheet.Paint([=](float x, float y) { return CircleDistance(x, y, cx, cy, 26); },
                Solid(Colour(255, 236, 150, 0.15f + 0.5f * light)));
    sheet.Paint([=](float x, float y) { return CircleDistance(x, y, cx, cy, 18); }, Solid(Colour(92, 52, 28)));
    sheet.Paint([=](float x, float y) { return CircleDistance(x, y, cx, cy, 16); },
                Vertical(Colour(250, 222, 140), Colour(196, 146, 70), cy - 16, cy + 16));
    sheet.Paint([=](float x, float y) { return CircleDistance(x, y, cx, cy, 8); },
                Solid(Mix(Colour(122, 72, 40), Colour(255, 250, 220), light)));
}

// A red pin head on a short needle, standing on the needle's point.
Canvas PinHead() {
    Canvas canvas(24, 40);
    canvas.Paint([](float x, float y) { return SegmentDistance(x, y, 12, 18, 12, 38) - 1.2f; },
                 Solid(Colour(180, 180, 190)));
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, 12, 11, 10); }, Solid(Colour(110, 20, 24)));
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, 12, 11, 8.5f); },
                 Vertical(Colour(240, 90, 84), Colour(170, 30, 36), 3, 19));
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, 9, 8, 3); }, Solid(Colour(255, 255, 255, 0.7f)));
    return canvas;
}

// A glass globe tinted by the level's result, with a highlight.
Canvas Globe(const Rgba& rim, const Rgba& top, const Rgba& bottom) {
    Canvas canvas(kGlobeSize, kGlobeSize);
    const float c = kGlobeSize / 2.0f;
    canvas.Paint([=](float x, float y) { return CircleDistance(x, y, c, c, c - 1); }, Solid(rim));
    canvas.Paint([=](float x, float y) { return CircleDistance(x, y, c, c, c - 3.5f); },
                 Vertical(top, bottom, 3, kGlobeSize - 3));
    canvas.Paint([=](float x, float y) { return CircleDistance(x, y, c - 5, c - 6, 5); },
                 Solid(Colour(255, 255, 255, 0.55f)));
    return canvas;
}

// A dot of the path: chocolate over land, lighter over the sea.
Canvas Dot(const Rgba& colour) {
    Canvas canvas(12, 12);
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, 6, 6, 5); }, Solid(Colour(40, 20, 8, 0.8f)));
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, 6, 6, 3.8f); }, Solid(colour));
    return canvas;
}

bool Write(const std::string& folder, const std::string& name, const Canvas& canvas) {
    return WritePng(folder + "/ui/map/" + name + ".png", canvas.Width(), canvas.Height(), canvas.ToBytes());
}

}  // namespace

bool WriteWorldMapArt(const std::string& folder) {
    bool written = Write(folder, "map", Map());
    written = WriteFrameSheet(folder, "ui/map/pin_badge",
                              {kBadgeSize, kBadgeSize, kBadgeSize / 2, kBadgeSize / 2, kBadgeFrames, PaintBadge, nullptr},
                              "function DoAnim() frames{1,2,3,4} end function ReverseAnim() frames{4,3,2,1} end") &&
              written;
    written = Write(folder, "pin_head", PinHead()) && written;
    written = Write(folder, "globe_none", Globe(Colour(70, 70, 76), Colour(190, 190, 196), Colour(120, 120, 128))) &&
              written;
    written = Write(folder, "globe_current", Globe(Colour(120, 70, 20), Colour(255, 236, 150), Colour(236, 160, 50))) &&
              written;
    written = Write(folder, "globe_cleared", Globe(Colour(30, 80, 30), Colour(200, 246, 170), Colour(80, 170, 70))) &&
              written;
    written =
        Write(folder, "globe_mastered", Globe(Colour(40, 40, 110), Colour(206, 214, 255), Colour(110, 110, 220))) &&
        written;
    written = Write(folder, "dot", Dot(Colour(122, 72, 40))) && written;
    written = Write(folder, "dot_sea", Dot(Colour(250, 240, 220))) && written;
    return written;
}

}  // namespace makeimages
