#include "tools/makeimages/servingmachines.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "tools/makeimages/canvas.h"
#include "tools/makeimages/framesheet.h"

namespace makeimages {
namespace {

using Shape = std::function<float(float x, float y)>;

const Rgba kOutline = Colour(48, 44, 52);
const Rgba kSteel = Colour(150, 160, 172);
const Rgba kCardboard = Colour(196, 150, 96);
const Rgba kGlass = Colour(210, 228, 240);

// Frames a to b, each shown times times, as a script list.
std::string Frames(int a, int b, int times = 1) {
    std::string list;
    int step = a <= b ? 1 : -1;
    for (int frame = a;; frame += step) {
        for (int i = 0; i < times; ++i) AppendFrame(list, frame);
        if (frame == b) break;
    }
    return "frames{" + list + "}";
}

std::string ForwardAndBack(int count, const std::string& more = "") {
    return "function DoAnim() " + Frames(1, count) + " end function Reverse() " + Frames(count, 1) + " end" + more;
}

// Paints the shape outlined, at the frame's place on its sheet.
void Outlined(Canvas& sheet, float left, const Shape& shape, const Brush& brush) {
    sheet.Paint([=](float x, float y) { return shape(x - left, y) - 1.2f; }, Solid(kOutline));
    sheet.Paint([=](float x, float y) { return shape(x - left, y); },
                [=](float x, float y) { return brush(x - left, y); });
}

Shape Box(float x0, float y0, float x1, float y1, float radius) {
    return [=](float x, float y) { return RoundedBoxDistance(x, y, x0, y0, x1, y1, radius); };
}

bool Sheet(const std::string& folder, const std::string& name, int width, int height, int regx, int regy, int count,
           std::function<void(Canvas&, float, int)> draw, const std::string& script) {
    return WriteFrameSheet(folder, name, {width, height, regx, regy, count, std::move(draw), nullptr}, script);
}

struct Bottler {
    const char* prefix;
    Rgba body;
    Rgba liquid;
    int topFrames;
    // The spray's script function, and whether steam rises with it.
    const char* fill;
    bool steam;
};

// The cabinet, 72 x 64, standing on its foot, with a window for the bottle.
void Cabinet(Canvas& sheet, float left, const Bottler& look) {
    Outlined(sheet, left, Box(8, 6, 64, 63, 5), Vertical(Mix(look.body, Colour(255, 255, 255), 0.3f), look.body, 6, 63));
    Outlined(sheet, left, Box(24, 24, 48, 56, 3), Solid(Mix(look.body, Colour(0, 0, 0), 0.45f)));
}

// The gauge, 8 x 24, filling from the bottom over its fourteen frames.
void Gauge(Canvas& sheet, float left, int frame, const Rgba& liquid) {
    Outlined(sheet, left, Box(1, 1, 7, 23, 2), Solid(kGlass));
    float level = 22.0f - 20.0f * static_cast<float>(frame) / 13.0f;
    Outlined(sheet, left, Box(2, level, 6, 22, 1), Solid(liquid));
}

// The dispensing arm, 30 x 20, reaching out over the bottle in 24 frames.
void Dispenser(Canvas& sheet, float left, int frame) {
    float reach = 6.0f + 18.0f * static_cast<float>(frame) / 23.0f;
    Outlined(sheet, left, Box(0, 4, reach, 9, 2), Solid(kSteel));
    Outlined(sheet, left, Box(reach - 4, 6, reach + 2, 18, 1.5f), Solid(Colour(84, 92, 104)));
}

// The top, 40 x 14: a lid that turns a little further each frame.
void Top(Canvas& sheet, float left, int frame, int count, const Bottler& look) {
    float lift = 6.0f * static_cast<float>(frame) / static_cast<float>(std::max(1, count - 1));
    Outlined(sheet, left, Box(2, 8 - lift, 38, 13 - lift / 2, 3), Solid(Mix(look.body, Colour(255, 255, 255), 0.5f)));
    sheet.Paint([=](float x, float y) { return CircleDistance(x - left, y, 20, 6 - lift, 3); }, Solid(kSteel));
}

// Drops of the liquid falling, 12 x 20, in four frames.
void Spray(Canvas& sheet, float left, int frame, const Rgba& liquid) {
    for (int i = 0; i < 4; ++i) {
        float y = std::fmod(5.0f * static_cast<float>(i) + 5.0f * static_cast<float>(frame), 20.0f);
        sheet.Paint([=](float x, float yy) { return CircleDistance(x - left, yy, 6, y, 1.6f); }, Solid(liquid));
    }
}

// Puffs of steam rising, 20 x 20, in four frames.
void Steam(Canvas& sheet, float left, int frame) {
    for (int i = 0; i < 3; ++i) {
        float rise = std::fmod(6.0f * static_cast<float>(i) + 4.0f * static_cast<float>(frame), 18.0f);
        float x = 6.0f + 4.0f * static_cast<float>(i);
        sheet.Paint([=](float px, float py) { return CircleDistance(px - left, py, x, 18 - rise, 2.5f + rise / 8); },
                    Solid(Colour(240, 240, 244, 0.6f)));
    }
}

// A bottle, 12 x 24, full of the liquid.
void Bottle(Canvas& sheet, float left, const Rgba& liquid) {
    Outlined(sheet, left, Box(4, 1, 8, 8, 1), Solid(kGlass));
    Outlined(sheet, left, Box(1, 7, 11, 23, 3), Solid(kGlass));
    Outlined(sheet, left, Box(3, 12, 9, 21, 1.5f), Solid(liquid));
}

bool WriteBottler(const std::string& folder, const Bottler& look) {
    std::string dir = std::string("shop/machines/") + look.prefix;
    bool written = Sheet(folder, dir + "_base", 72, 64, 36, 34, 1,
                         [=](Canvas& s, float l, int) { Cabinet(s, l, look); }, "function DoAnim() frames{1} end");
    written = Sheet(folder, dir + "_fill", 8, 24, 4, 12, 14,
                    [=](Canvas& s, float l, int f) { Gauge(s, l, f, look.liquid); }, ForwardAndBack(14)) &&
              written;
    written = Sheet(folder, dir + "_dispenser", 30, 20, 0, 6, 24, Dispenser, ForwardAndBack(24)) && written;
    int tops = look.topFrames;
    written = Sheet(folder, dir + "_top", 40, 14, 20, 7, tops,
                    [=](Canvas& s, float l, int f) { Top(s, l, f, tops, look); }, ForwardAndBack(tops)) &&
              written;
    std::string fill = std::string(" function ") + look.fill + "() loop(4, {1,2,3,4}) end";
    written = Sheet(folder, dir + "_spray", 12, 20, 6, 0, 4,
                    [=](Canvas& s, float l, int f) { Spray(s, l, f, look.liquid); }, ForwardAndBack(4, fill)) &&
              written;
    written = Sheet(folder, dir + "_bottle", 12, 24, 6, 23, 1,
                    [=](Canvas& s, float l, int) { Bottle(s, l, look.liquid); },
                    "function DoAnim() frames{1} end") &&
              written;
    if (look.steam) {
        written = Sheet(folder, dir + "_steam", 20, 20, 10, 20, 4, Steam,
                        ForwardAndBack(4, " function DoDrinkSteam() loop(4, {1,2,3,4}) end")) &&
                  written;
    }
    return written;
}

// The delivery station, 72 x 64: a bench with a roll of tape; frame 2 shows
// a closed box waiting on it.
void Bench(Canvas& sheet, float left, int frame) {
    Outlined(sheet, left, Box(6, 40, 66, 63, 4), Vertical(Colour(120, 140, 96), Colour(80, 96, 62), 40, 63));
    sheet.Paint([=](float x, float y) { return CircleDistance(x - left, y, 58, 34, 5); }, Solid(Colour(170, 160, 140)));
    if (frame == 2) Outlined(sheet, left, Box(20, 22, 50, 40, 2), Solid(kCardboard));
}

// The box's front flaps closing over the chocolate, 36 x 24, six frames.
void BoxFront(Canvas& sheet, float left, int frame) {
    float flap = 14.0f * static_cast<float>(frame) / 5.0f;
    Outlined(sheet, left, Box(2, 10, 34, 23, 2), Solid(kCardboard));
    Outlined(sheet, left, Box(2, 10 - 14 + flap, 18, 12, 1), Solid(Mix(kCardboard, Colour(255, 255, 255), 0.2f)));
}

// The box's back rising around the chocolate and closing, 36 x 28, sixty
// frames: shut from frame 58 on.
void BoxBack(Canvas& sheet, float left, int frame) {
    float rise = std::min(1.0f, static_cast<float>(frame) / 57.0f);
    float top = 26.0f - 18.0f * rise;
    Outlined(sheet, left, Box(2, top, 34, 27, 2), Solid(Mix(kCardboard, Colour(0, 0, 0), 0.2f)));
    if (frame >= 58) Outlined(sheet, left, Box(2, 6, 34, 12, 2), Solid(kCardboard));
}

// The airship, 90 x 44, centred on its gondola; with or without the box
// hanging below, its propeller turning.
void Airship(Canvas& sheet, float left, int frame, float boxDrop, bool box) {
    Outlined(sheet, left, [](float x, float y) { return std::hypot((x - 45) / 40, (y - 14) / 12) * 12 - 12; },
             Vertical(Colour(220, 222, 230), Colour(150, 154, 170), 2, 26));
    Outlined(sheet, left, Box(36, 24, 54, 30, 2), Solid(Colour(120, 90, 60)));
    float blade = frame % 2 == 0 ? 6.0f : 2.0f;
    Outlined(sheet, left, Box(84, 14 - blade, 87, 14 + blade, 1), Solid(kSteel));
    if (box) Outlined(sheet, left, Box(38, 30 + boxDrop, 52, 40 + boxDrop, 1), Solid(kCardboard));
}


// The belt along the counters: a band on a circle of radius 2040 around
// (400, 2300) on the screen, from x 50 to 750; its ridges move by a step.
constexpr float kBeltRadius = 2040.0f;
void Belt(Canvas& sheet, float left, int frame) {
    auto band = [](float x, float y) {
        return std::fabs(std::hypot(x + 50 - 400, y + 250 - 2300) - kBeltRadius) - 6.0f;
    };
    Outlined(sheet, left, band, Solid(Colour(70, 72, 80)));
    for (float ridge = static_cast<float>(frame) * 10.0f; ridge < 700; ridge += 20) {
        auto mark = [ridge, band](float x, float y) { return std::max(band(x, y) + 2.0f, std::fabs(x - ridge) - 1.5f); };
        sheet.Paint([=](float x, float y) { return mark(x - left, y); }, Solid(kSteel));
    }
}

// The display shelf, 64 x 48: a glass case on a stand, its two places at
// (18, 22) and (46, 22).
void Shelf(Canvas& sheet, float left, int) {
    Outlined(sheet, left, Box(2, 30, 62, 46, 2), Solid(Colour(120, 84, 56)));
    Outlined(sheet, left, Box(4, 4, 60, 30, 3), Solid(Colour(200, 226, 236, 0.45f)));
}

// The bin, 30 x 36, and its lid, 34 x 12, swinging open and shut.
void Bin(Canvas& sheet, float left, int) {
    Outlined(sheet, left, Box(3, 6, 27, 35, 3), Vertical(Colour(130, 136, 146), Colour(90, 94, 104), 6, 35));
}
void Lid(Canvas& sheet, float left, int frame) {
    float lift = frame < 3 ? 3.0f * static_cast<float>(frame) : 3.0f * static_cast<float>(5 - frame);
    Outlined(sheet, left, Box(2, 6 - lift, 32, 10 - lift, 2), Solid(Colour(150, 156, 166)));
}

}  // namespace

bool WriteServingMachineArt(const std::string& folder) {
    // Drawn at the screen's origin, the belt where it runs.
    bool floor = Sheet(folder, "shop/stations/conveyor_base", 700, 50, -50, -250, 2, Belt,
                       "function DoAnim() frames{1,2,1,2} end");
    floor = WriteFrameSheet(folder, "shop/stations/display_base",
                            {64, 48, 32, 46, 1, Shelf,
                             [](int) {
                                 return std::vector<FrameAnchor>{{"chocolate1", 18, 22}, {"chocolate2", 46, 22}};
                             }}) &&
            floor;
    floor = Sheet(folder, "shop/stations/disposal_base", 30, 36, 15, 35, 1, Bin, "") && floor;
    floor = Sheet(folder, "shop/stations/disposal_lid", 34, 12, 17, 41, 6, Lid, "function DoAnim() " + Frames(1, 6, 2) +
                  " frames{1} end") &&
            floor;
    bool written = WriteBottler(folder, {"drink", Colour(70, 120, 180), Colour(120, 60, 40), 30, "DoDrinkFill", true});
    written = WriteBottler(folder, {"sauce", Colour(180, 90, 60), Colour(90, 40, 24), 3, "DoSauceFill", false}) && written;
    written = Sheet(folder, "shop/machines/delivery_base", 72, 64, 36, 34, 3, Bench, "function DoAnim() frames{2} end") &&
              written;
    written = Sheet(folder, "shop/machines/delivery_front", 36, 24, 18, 12, 6, BoxFront,
                    "function DoFront() " + Frames(1, 6, 8) + " end") &&
              written;
    // About five seconds at the machine's 30 ms a frame.
    written = Sheet(folder, "shop/machines/delivery_back", 36, 28, 18, 14, 60, BoxBack,
                    "function DoAnim() " + Frames(1, 60, 3) + " end") &&
              written && floor;
    const std::string ships = "anim/machines/delivery/";
    auto empty = [](Canvas& s, float l, int f) { Airship(s, l, f, 0, false); };
    auto full = [](Canvas& s, float l, int f) { Airship(s, l, f, 0, true); };
    written = Sheet(folder, ships + "zepp_no_box", 90, 44, 45, 22, 2, empty, "function DoAnim() frames{1,2} end") &&
              written;
    written = Sheet(folder, ships + "zepp_with_box", 90, 44, 45, 22, 2, full, "function DoAnim() frames{1,2} end") &&
              written;
    // Drawn at the screen's origin: registered so that the ship hangs over
    // the pickup point, the box rising into it.
    auto pickup = [](Canvas& s, float l, int f) { Airship(s, l, f, 12.0f - 1.5f * static_cast<float>(f), true); };
    written = Sheet(folder, ships + "zepp_pickup", 90, 44, 45 - 633, 22 - 145, 10, pickup,
                    "function DoAnim() " + Frames(1, 10, 2) + " end") &&
              written;
    return written;
}

}  // namespace makeimages
