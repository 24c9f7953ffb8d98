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

enum class WallLook { kPlain, kStriped, kDamask };

// Two windows onto a pale sky, with a white frame and a cross bar.
void PaintWindows(Canvas& canvas) {
    for (float left : {90.0f, 610.0f}) {
        canvas.Paint([=](float x, float y) { return RoundedBoxDistance(x, y, left, 18, left + 100, 96, 4); },
                     Solid(Colour(250, 246, 236)));
        canvas.Paint([=](float x, float y) { return RoundedBoxDistance(x, y, left + 6, 24, left + 94, 90, 2); },
                     Vertical(Colour(170, 214, 240), Colour(226, 240, 248), 24, 90));
        canvas.Paint([=](float x, float y) { return SegmentDistance(x, y, left + 50, 24, left + 50, 90) - 2.0f; },
                     Solid(Colour(250, 246, 236)));
        canvas.Paint([=](float x, float y) { return SegmentDistance(x, y, left + 6, 57, left + 94, 57) - 2.0f; },
                     Solid(Colour(250, 246, 236)));
    }
}

// The wall: plain cream; cream and rose stripes; deep green with gold
// lozenges and a gold picture rail. The windows stay in every look.
Canvas Wall(WallLook look) {
    Canvas canvas(kWallWidth, kWallHeight);
    switch (look) {
    case WallLook::kPlain:
        canvas.FillVertical(Colour(244, 228, 204), Colour(236, 216, 188));
        break;
    case WallLook::kStriped:
        canvas.FillVertical(Colour(250, 236, 214), Colour(240, 222, 196));
        canvas.Paint([](float x, float) { return std::fabs(std::fmod(x, 40.0f) - 20.0f) - 8.0f; },
                     Solid(Colour(232, 176, 176, 0.8f)));
        break;
    case WallLook::kDamask:
        canvas.FillVertical(Colour(46, 96, 74), Colour(34, 74, 56));
        canvas.Paint(
            [](float x, float y) {
                float cx = std::fmod(x, 48.0f) - 24.0f;
                float cy = std::fmod(y + 12.0f, 48.0f) - 24.0f;
                return std::fabs(cx) + std::fabs(cy) - 9.0f;
            },
            Solid(Colour(214, 178, 92, 0.7f)));
        canvas.Paint([](float, float y) { return std::fabs(y - 112.0f) - 4.0f; },
                     Vertical(Colour(246, 214, 120), Colour(176, 130, 40), 108, 116));
        break;
    }
    PaintWindows(canvas);
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

bool Write(const std::string& folder, const char* name, const Canvas& canvas) {
    return WritePng(folder + "/" + name, canvas.Width(), canvas.Height(), canvas.ToBytes());
}

}  // namespace

bool WriteBackdropArt(const std::string& folder) {
    const std::string dir = "shop/background/";
    bool written = Write(folder, "shop/background/wall.png", Wall(WallLook::kPlain));
    written = Write(folder, "shop/background/wall_upgrade1.png", Wall(WallLook::kStriped)) && written;
    written = Write(folder, "shop/background/wall_upgrade2.png", Wall(WallLook::kDamask)) && written;
    written = Write(folder, "shop/background/lamp.png", Lamp()) && written;
    written = Write(folder, "shop/background/picture.png", Picture()) && written;
    written = WriteFrameSheet(folder, dir + "clock", {48, 90, 24, 0, kClockFrames, PaintClock, nullptr}) && written;
    written = WriteFrameSheet(folder, dir + "steam", {60, 80, 30, 80, kSteamFrames, PaintSteam, nullptr}) && written;
    return written;
}

}  // namespace makeimages
