#include "tools/makeimages/backdrop.h"

#include <cmath>

#include "tools/makeimages/canvas.h"
#include "tools/makeimages/framesheet.h"
#include "tools/makeimages/pngwriter.h"

namespace makeimages {
namespace {

constexpr float kPi = 3.14159265f;
constexpr int kWallWidth = 800;
constexpr int kWallHeight = 120;
constexpr int kClockFrames = 8;
constexpr int kSteamFrames = 6;
// The counters' top, where the customers' busts stand, and their front.
constexpr float kCounterTop = 188.0f;
constexpr float kCounterFront = 262.0f;
constexpr int kCounterWidth = 112;
// The glass of the windows.
constexpr float kGlassTop = 24.0f;
constexpr float kGlassBottom = 90.0f;

enum class WallLook { kPlain, kStriped, kDamask };

struct Gradient {
    Rgba top, bottom;
};

// What the windows show: a sky, far land whose heights above a line are
// capped (snow, a glowing crater), and near land in front; a land without
// a height function is not there.
struct View {
    Gradient sky;
    float (*far)(float x);
    Rgba farColour;
    float capAbove;
    Rgba cap;
    float (*near)(float x);
    Rgba nearColour;
};

// A location's look: the wall in its three looks (the stripes and the
// lozenges over their ground), the view and the counter's front and edge.
struct LocationLook {
    const char* location;
    Gradient plain;
    Gradient striped;
    Rgba stripe;
    Gradient damask;
    Rgba lozenge;
    View view;
    Gradient counterFront;
    Gradient counterEdge;
};

// A triangle wave between 0 and 1 of the given period.
float Triangle(float x, float period) {
    return std::fabs(std::fmod(x / period, 1.0f) * 2.0f - 1.0f);
}

// Ragged peaks.
float Peaks(float x) { return 26.0f + 34.0f * Triangle(x + 30.0f, 96.0f) + 6.0f * Triangle(x, 21.0f); }
// Terraced slopes below them.
float Slopes(float x) { return 78.0f + 5.0f * std::sin(x / 19.0f); }
// A volcano's cone with its crater in each window.
float Volcano(float x) {
    float from = std::fmin(std::fabs(x - 150.0f), std::fabs(x - 650.0f));
    return from < 8.0f ? 42.0f : 42.0f + 1.1f * (from - 8.0f);
}
float Sea(float) { return 72.0f; }
// Two wide cones.
float Cones(float x) { return 36.0f + 0.7f * std::fmin(std::fabs(x - 120.0f), std::fabs(x - 680.0f)); }
// Pointed firs along the shore.
float Firs(float x) { return 70.0f + 14.0f * Triangle(x, 9.0f); }
// The rounded crowns of a forest.
float Canopy(float x) { return 58.0f - 12.0f * std::fabs(std::sin(x / 11.0f)); }
float River(float) { return 82.0f; }
// Long low dunes.
float Dunes(float x) { return 60.0f + 8.0f * std::sin(x / 26.0f); }
// Flat-roofed houses of differing heights.
float Roofs(float x) {
    static const float kHeights[] = {70, 62, 76, 66, 58, 72, 64};
    int house = static_cast<int>(x / 17.0f);
    return kHeights[house % 7];
}

const LocationLook kLooks[] = {
    // A harbour on a cold island: cream, rose and green walls, a clear sky.
    {"grytviken", {Colour(244, 228, 204), Colour(236, 216, 188)}, {Colour(250, 236, 214), Colour(240, 222, 196)},
     Colour(232, 176, 176, 0.8f), {Colour(46, 96, 74), Colour(34, 74, 56)}, Colour(214, 178, 92, 0.7f),
     {{Colour(170, 214, 240), Colour(226, 240, 248)}, nullptr, {}, 0, {}, nullptr, {}},
     {Colour(150, 92, 52), Colour(104, 60, 30)}, {Colour(226, 186, 140), Colour(190, 140, 96)}},
    // A village below snowy peaks: saffron walls, red lacquered counters.
    {"namche", {Colour(240, 180, 90), Colour(226, 156, 70)}, {Colour(246, 196, 110), Colour(232, 172, 86)},
     Colour(200, 60, 50, 0.7f), {Colour(130, 40, 36), Colour(100, 28, 26)}, Colour(230, 190, 90, 0.7f),
     {{Colour(60, 120, 206), Colour(170, 210, 244)}, Peaks, Colour(110, 124, 156), 44, Colour(248, 250, 255), Slopes,
      Colour(96, 120, 70)},
     {Colour(176, 40, 36), Colour(120, 24, 22)}, {Colour(240, 200, 110), Colour(200, 150, 70)}},
    // An island under a smoking volcano: turquoise walls, bamboo counters, a
    // sunset over the sea.
    {"krakatoa", {Colour(120, 200, 190), Colour(96, 180, 170)}, {Colour(150, 214, 204), Colour(120, 196, 186)},
     Colour(250, 240, 210, 0.8f), {Colour(20, 90, 96), Colour(14, 70, 76)}, Colour(240, 130, 100, 0.7f),
     {{Colour(236, 120, 80), Colour(255, 214, 140)}, Volcano, Colour(84, 56, 60), 48, Colour(240, 96, 40), Sea,
      Colour(36, 104, 150)},
     {Colour(214, 180, 96), Colour(170, 136, 60)}, {Colour(244, 224, 164), Colour(210, 186, 120)}},
    // A harbour among snow-capped volcanoes: slate walls, birch counters.
    {"kamchatka", {Colour(150, 164, 180), Colour(128, 142, 160)}, {Colour(176, 188, 202), Colour(150, 164, 180)},
     Colour(90, 110, 140, 0.7f), {Colour(36, 48, 80), Colour(26, 36, 62)}, Colour(200, 210, 225, 0.7f),
     {{Colour(176, 194, 214), Colour(230, 236, 242)}, Cones, Colour(104, 104, 116), 52, Colour(246, 248, 252), Firs,
      Colour(36, 66, 56)},
     {Colour(226, 222, 212), Colour(176, 172, 162)}, {Colour(96, 96, 104), Colour(60, 60, 68)}},
    // A river town in the rainforest: leaf-green walls, mahogany counters.
    {"iquitos", {Colour(150, 196, 110), Colour(124, 172, 88)}, {Colour(176, 210, 136), Colour(150, 190, 110)},
     Colour(250, 200, 70, 0.7f), {Colour(30, 70, 40), Colour(22, 54, 30)}, Colour(230, 160, 60, 0.7f),
     {{Colour(196, 226, 214), Colour(240, 246, 226)}, Canopy, Colour(40, 116, 56), 0, {}, River,
      Colour(156, 120, 76)},
     {Colour(110, 44, 30), Colour(70, 24, 16)}, {Colour(186, 112, 72), Colour(140, 80, 50)}},
    // A town at the edge of the desert: terracotta walls, ochre counters,
    // dunes behind the roofs.
    {"gaberoun", {Colour(214, 130, 90), Colour(190, 108, 70)}, {Colour(230, 160, 110), Colour(210, 138, 92)},
     Colour(250, 230, 190, 0.75f), {Colour(110, 40, 30), Colour(86, 30, 22)}, Colour(80, 190, 190, 0.7f),
     {{Colour(250, 206, 110), Colour(255, 240, 204)}, Dunes, Colour(226, 178, 104), 0, {}, Roofs,
      Colour(176, 116, 76)},
     {Colour(204, 144, 52), Colour(150, 96, 30)}, {Colour(96, 166, 176), Colour(60, 120, 130)}},
};

// Land of the view up to its heights, inside a window's glass.
void PaintLand(Canvas& canvas, float left, float (*height)(float), const Brush& brush) {
    if (!height) return;
    canvas.Paint(
        [=](float x, float y) {
            float glass = RoundedBoxDistance(x, y, left + 6, kGlassTop, left + 94, kGlassBottom, 2);
            return std::fmax(glass, height(x) - y);
        },
        brush);
}

// Two windows onto the location's view, with a white frame and a cross bar.
void PaintWindows(Canvas& canvas, const View& view) {
    for (float left : {90.0f, 610.0f}) {
        canvas.Paint([=](float x, float y) { return RoundedBoxDistance(x, y, left, 18, left + 100, 96, 4); },
                     Solid(Colour(250, 246, 236)));
        canvas.Paint([=](float x, float y) { return RoundedBoxDistance(x, y, left + 6, kGlassTop, left + 94, kGlassBottom, 2); },
                     Vertical(view.sky.top, view.sky.bottom, kGlassTop, kGlassBottom));
        PaintLand(canvas, left, view.far, [view](float, float y) { return y < view.capAbove ? view.cap : view.farColour; });
        PaintLand(canvas, left, view.near, Solid(view.nearColour));
        canvas.Paint([=](float x, float y) { return SegmentDistance(x, y, left + 50, kGlassTop, left + 50, kGlassBottom) - 2.0f; },
                     Solid(Colour(250, 246, 236)));
        canvas.Paint([=](float x, float y) { return SegmentDistance(x, y, left + 6, 57, left + 94, 57) - 2.0f; },
                     Solid(Colour(250, 246, 236)));
    }
}

// The wall: plain; striped; dark with lozenges and a gold picture rail.
// The windows stay in every look.
Canvas Wall(const LocationLook& place, WallLook look) {
    Canvas canvas(kWallWidth, kWallHeight);
    switch (look) {
    case WallLook::kPlain:
        canvas.FillVertical(place.plain.top, place.plain.bottom);
        break;
    case WallLook::kStriped:
        canvas.FillVertical(place.striped.top, place.striped.bottom);
        canvas.Paint([](float x, float) { return std::fabs(std::fmod(x, 40.0f) - 20.0f) - 8.0f; }, Solid(place.stripe));
        break;
    case WallLook::kDamask:
        canvas.FillVertical(place.damask.top, place.damask.bottom);
        canvas.Paint(
            [](float x, float y) {
                float cx = std::fmod(x, 48.0f) - 24.0f;
                float cy = std::fmod(y + 12.0f, 48.0f) - 24.0f;
                return std::fabs(cx) + std::fabs(cy) - 9.0f;
            },
            Solid(place.lozenge));
        canvas.Paint([](float, float y) { return std::fabs(y - 112.0f) - 4.0f; },
                     Vertical(Colour(246, 214, 120), Colour(176, 130, 40), 108, 116));
        break;
    }
    PaintWindows(canvas, place.view);
    return canvas;
}

// One counter of the row: its front with a light top edge, standing on the
// floor line; the counters of the row meet edge to edge.
Canvas Counter(const LocationLook& place) {
    const float width = kCounterWidth;
    const float height = kCounterFront - kCounterTop;
    Canvas canvas(kCounterWidth, static_cast<int>(height));
    auto front = [=](float x, float y) { return RoundedBoxDistance(x, y, 0, 0, width, height, 3); };
    canvas.Paint(front, Solid(Colour(66, 36, 18)));
    canvas.Paint([=](float x, float y) { return front(x, y) + 2.0f; },
                 Vertical(place.counterFront.top, place.counterFront.bottom, 0, height));
    canvas.Paint([=](float x, float y) { return RoundedBoxDistance(x, y, 2, 2, width - 2, 14, 3); },
                 Vertical(place.counterEdge.top, place.counterEdge.bottom, 2, 14));
    return canvas;
}

// A brass lamp on a chain, its shade lit from inside; hung from its top.
Canvas Lamp() {
    Canvas canvas(60, 90);
    canvas.Paint([](float x, float y) { return SegmentDistance(x, y, 30, 0, 30, 44) - 1.5f; }, Solid(Colour(120, 90, 40)));
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, 30, 84, 18); }, Solid(Colour(255, 240, 170, 0.55f)));
    canvas.Paint(
        [](float x, float y) {
            // A shade widening from its top at y 44 to its rim at y 74.
            float t = (y - 44.0f) / 30.0f;
            float half = 8.0f + 20.0f * t;
            return std::fmax(std::fabs(x - 30.0f) - half, std::fabs(y - 59.0f) - 15.0f);
        },
        Vertical(Colour(196, 150, 60), Colour(140, 96, 30), 44, 74));
    return canvas;
}

// A gilt frame round a small landscape of chocolate hills.
Canvas Picture() {
    Canvas canvas(96, 72);
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 0, 0, 96, 72, 4); },
                 Vertical(Colour(246, 214, 120), Colour(176, 130, 40), 0, 72));
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 8, 8, 88, 64, 1); },
                 Vertical(Colour(186, 220, 240), Colour(240, 230, 210), 8, 64));
    canvas.Paint(
        [](float x, float y) {
            float hills = 46.0f - 10.0f * std::sin((x - 8.0f) / 80.0f * 2.0f * kPi);
            return std::fmax(hills - y, std::fmax(std::fabs(x - 48.0f) - 40.0f, y - 64.0f));
        },
        Vertical(Colour(122, 72, 40), Colour(74, 40, 20), 36, 64));
    return canvas;
}

// A round wall clock whose pendulum swings from side to side and back.
void PaintClock(Canvas& sheet, float left, int frame) {
    float swing = 0.35f * std::sin(static_cast<float>(frame) / kClockFrames * 2.0f * kPi);
    float bobX = left + 24.0f + 40.0f * std::sin(swing);
    float bobY = 30.0f + 40.0f * std::cos(swing);
    sheet.Paint([=](float x, float y) { return RoundedBoxDistance(x, y, left + 12, 20, left + 36, 80, 4); },
                Solid(Colour(104, 60, 30)));
    sheet.Paint([=](float x, float y) { return SegmentDistance(x, y, left + 24, 30, bobX, bobY) - 1.0f; },
                Solid(Colour(214, 178, 92)));
    sheet.Paint([=](float x, float y) { return CircleDistance(x, y, bobX, bobY, 5); }, Solid(Colour(240, 200, 90)));
    sheet.Paint([=](float x, float y) { return CircleDistance(x, y, left + 24, 22, 20); }, Solid(Colour(104, 60, 30)));
    sheet.Paint([=](float x, float y) { return CircleDistance(x, y, left + 24, 22, 16); }, Solid(Colour(250, 246, 236)));
    sheet.Paint([=](float x, float y) { return SegmentDistance(x, y, left + 24, 22, left + 24, 10) - 1.2f; },
                Solid(Colour(40, 20, 8)));
    sheet.Paint([=](float x, float y) { return SegmentDistance(x, y, left + 24, 22, left + 32, 22) - 1.2f; },
                Solid(Colour(40, 20, 8)));
}

// A copper pot of chocolate with wisps of steam that rise and fade.
void PaintSteam(Canvas& sheet, float left, int frame) {
    for (int wisp = 0; wisp < 3; ++wisp) {
        float phase = std::fmod(static_cast<float>(frame) / kSteamFrames + wisp / 3.0f, 1.0f);
        float cy = 46.0f - 40.0f * phase;
        float cx = left + 20.0f + 8.0f * static_cast<float>(wisp) + 4.0f * std::sin(phase * 2.0f * kPi);
        sheet.Paint([=](float x, float y) { return CircleDistance(x, y, cx, cy, 5.0f + 3.0f * phase); },
                    Solid(Colour(255, 255, 255, 0.6f * (1.0f - phase))));
    }
    sheet.Paint([=](float x, float y) { return RoundedBoxDistance(x, y, left + 8, 50, left + 52, 76, 8); },
                Vertical(Colour(214, 120, 70), Colour(150, 70, 36), 50, 76));
    sheet.Paint([=](float x, float y) { return RoundedBoxDistance(x, y, left + 10, 48, left + 50, 54, 3); },
                Solid(Colour(104, 60, 30)));
}

bool Write(const std::string& folder, const std::string& name, const Canvas& canvas) {
    return WritePng(folder + "/" + name, canvas.Width(), canvas.Height(), canvas.ToBytes());
}

}  // namespace

bool WriteBackdropArt(const std::string& folder) {
    const std::string dir = "shop/background/";
    bool written = true;
    for (const LocationLook& place : kLooks) {
        const std::string own = dir + place.location + "/";
        written = Write(folder, own + "wall.png", Wall(place, WallLook::kPlain)) && written;
        written = Write(folder, own + "wall_upgrade1.png", Wall(place, WallLook::kStriped)) && written;
        written = Write(folder, own + "wall_upgrade2.png", Wall(place, WallLook::kDamask)) && written;
        written = Write(folder, own + "counter.png", Counter(place)) && written;
    }
    written = Write(folder, dir + "lamp.png", Lamp()) && written;
    written = Write(folder, dir + "picture.png", Picture()) && written;
    written = WriteFrameSheet(folder, dir + "clock", {48, 90, 24, 0, kClockFrames, PaintClock, nullptr}) && written;
    written = WriteFrameSheet(folder, dir + "steam", {60, 80, 30, 80, kSteamFrames, PaintSteam, nullptr}) && written;
    return written;
}

}  // namespace makeimages
