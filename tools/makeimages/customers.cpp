#include "tools/makeimages/customers.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/makeimages/canvas.h"
#include "tools/makeimages/framesheet.h"
#include "tools/makeimages/pngwriter.h"

namespace makeimages {
namespace {

// A customer bust: 64 x 96, standing on the middle of its bottom edge.
constexpr int kFigureWidth = 64;
constexpr int kFigureHeight = 96;
constexpr int kIdleFrames = 8;

enum class Hat { kCap, kSailor, kToque, kBeanie, kSouwester, kHood };
enum class Mood { kHappy, kNeutral, kAnnoyed, kAngry, kMenu };

struct Kind {
    const char* name;
    Rgba jacket;
    Rgba trim;
    Hat hat;
    Rgba hatColour;
    Rgba skin;
    Rgba hair;
};

const Rgba kInk = Colour(58, 36, 30);

std::vector<Kind> Kinds() {
    return {
        {"student", Colour(70, 140, 128), Colour(236, 226, 200), Hat::kCap, Colour(204, 60, 60), Colour(240, 200, 170),
         Colour(90, 56, 32)},
        {"sailor", Colour(36, 52, 104), Colour(246, 246, 250), Hat::kSailor, Colour(246, 246, 250),
         Colour(222, 176, 140), Colour(40, 30, 24)},
        {"baker", Colour(244, 240, 232), Colour(206, 120, 70), Hat::kToque, Colour(252, 252, 250),
         Colour(236, 190, 160), Colour(150, 98, 50)},
        {"climber", Colour(226, 120, 40), Colour(60, 60, 70), Hat::kBeanie, Colour(120, 70, 150), Colour(200, 150, 112),
         Colour(60, 40, 26)},
        {"fisher", Colour(238, 196, 40), Colour(70, 70, 60), Hat::kSouwester, Colour(238, 196, 40),
         Colour(214, 166, 130), Colour(120, 110, 100)},
        {"scientist", Colour(196, 48, 44), Colour(80, 160, 170), Hat::kHood, Colour(196, 48, 44), Colour(246, 214, 190),
         Colour(200, 170, 110)},
    };
}

struct NamedMood {
    const char* name;
    Mood mood;
};
const NamedMood kMoods[] = {{"happy", Mood::kHappy},
                            {"neutral", Mood::kNeutral},
                            {"annoyed", Mood::kAnnoyed},
                            {"angry", Mood::kAngry},
                            {"menu", Mood::kMenu}};

// The distance to a stroke of the width between two points.
float SegmentDistance(float x, float y, float ax, float ay, float bx, float by, float width) {
    float dx = bx - ax, dy = by - ay;
    float t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(x - ax - t * dx, y - ay - t * dy) - width * 0.5f;
}

// A shape moved by (dx, dy).
using Shape = std::function<float(float, float)>;
Shape Moved(float dx, float dy, Shape shape) {
    return [=](float x, float y) { return shape(x - dx, y - dy); };
}

void PaintHat(Canvas& canvas, const Kind& kind, float dx, float dy) {
    const Rgba rim = Mix(kind.hatColour, Colour(0, 0, 0), 0.25f);
    auto paint = [&](Shape shape, const Rgba& colour) { canvas.Paint(Moved(dx, dy, shape), Solid(colour)); };
    switch (kind.hat) {
        case Hat::kCap:
            paint([](float x, float y) { return std::max(RoundedBoxDistance(x, y, 17, 21, 47, 40, 13), y - 32); },
                  kind.hatColour);
            paint([](float x, float y) { return RoundedBoxDistance(x, y, 30, 29, 54, 34, 2.5f); }, rim);
            break;
        case Hat::kSailor:
            paint([](float x, float y) { return RoundedBoxDistance(x, y, 18, 22, 46, 33, 5); }, kind.hatColour);
            paint([](float x, float y) { return RoundedBoxDistance(x, y, 18, 29, 46, 33, 2); }, kind.jacket);
            break;
        case Hat::kToque:
            for (float cx : {24.0f, 32.0f, 40.0f}) {
                paint([=](float x, float y) { return CircleDistance(x, y, cx, cx == 32.0f ? 9.0f : 13.0f, 9); },
                      kind.hatColour);
            }
            paint([](float x, float y) { return RoundedBoxDistance(x, y, 19, 12, 45, 32, 6); }, kind.hatColour);
            paint([](float x, float y) { return RoundedBoxDistance(x, y, 19, 25, 45, 32, 3); }, rim);
            break;
        case Hat::kBeanie:
            paint([](float x, float y) { return std::max(RoundedBoxDistance(x, y, 17, 19, 47, 44, 14), y - 34); },
                  kind.hatColour);
            paint([](float x, float y) { return RoundedBoxDistance(x, y, 16.5f, 29, 47.5f, 35, 3); }, rim);
            paint([](float x, float y) { return CircleDistance(x, y, 32, 18, 4.5f); }, kind.trim);
            break;
        case Hat::kSouwester:
            paint([](float x, float y) { return RoundedBoxDistance(x, y, 19, 20, 45, 34, 9); }, kind.hatColour);
            paint([](float x, float y) { return RoundedBoxDistance(x, y, 11, 30, 53, 36, 3); }, rim);
            break;
        case Hat::kHood:
            // The fur rim of the hood behind the head.
            paint([](float x, float y) { return std::fabs(CircleDistance(x, y, 32, 41, 15.5f)) - 2.5f; }, kind.trim);
            break;
    }
}

// The body, the head and the hat, without the face.
void PaintBody(Canvas& canvas, const Kind& kind, float dx, float dy) {
    const Rgba shade = Mix(kind.jacket, Colour(0, 0, 0), 0.3f);
    canvas.Paint(Moved(dx, dy, [](float x, float y) { return RoundedBoxDistance(x, y, 9, 61, 55, 112, 17); }),
                 Vertical(kind.jacket, shade, 60.0f + dy, 96.0f + dy));
    canvas.Paint(Moved(dx, dy, [](float x, float y) { return RoundedBoxDistance(x, y, 24, 57, 40, 67, 4); }),
                 Solid(kind.trim));
    if (kind.hat == Hat::kHood) {
        canvas.Paint(Moved(dx, dy, [](float x, float y) { return std::max(CircleDistance(x, y, 32, 41, 19), y - 58); }),
                     Solid(kind.hatColour));
    }
    canvas.Paint(Moved(dx, dy, [](float x, float y) { return CircleDistance(x, y, 32, 38, 15); }), Solid(kind.hair));
    for (float ear : {19.5f, 44.5f}) {
        canvas.Paint(Moved(dx, dy, [=](float x, float y) { return CircleDistance(x, y, ear, 43, 3); }),
                     Solid(kind.skin));
    }
    canvas.Paint(Moved(dx, dy, [](float x, float y) { return CircleDistance(x, y, 32, 42, 13); }), Solid(kind.skin));
    PaintHat(canvas, kind, dx, dy);
}

// Eyes, brows, mouth and cheeks of the mood, on the head of the body.
void PaintFace(Canvas& canvas, Mood mood, float dx, float dy) {
    auto paint = [&](Shape shape, const Rgba& colour) { canvas.Paint(Moved(dx, dy, shape), Solid(colour)); };
    // Reading the menu, the eyes look up.
    float eyeY = mood == Mood::kMenu ? 39.5f : 41.5f;
    for (float eye : {27.0f, 37.0f}) {
        paint([=](float x, float y) { return CircleDistance(x, y, eye, eyeY, 1.8f); }, kInk);
    }
    switch (mood) {
        case Mood::kHappy:
            paint([](float x, float y) { return std::max(std::fabs(CircleDistance(x, y, 32, 45, 5)) - 1.1f, 46 - y); },
                  kInk);
            break;
        case Mood::kNeutral:
            paint([](float x, float y) { return RoundedBoxDistance(x, y, 28, 49, 36, 50.6f, 0.8f); }, kInk);
            break;
        case Mood::kAnnoyed:
            paint(
                [](float x, float y) { return std::max(std::fabs(CircleDistance(x, y, 32, 54, 4.5f)) - 1.0f, y - 51); },
                kInk);
            paint([](float x, float y) { return SegmentDistance(x, y, 24, 36.5f, 30, 37.5f, 1.4f); }, kInk);
            paint([](float x, float y) { return SegmentDistance(x, y, 34, 37.5f, 40, 36.5f, 1.4f); }, kInk);
            break;
        case Mood::kAngry:
            paint([](float x,
                     float y) { return std::max(std::fabs(CircleDistance(x, y, 32, 55, 5.5f)) - 1.3f, y - 51.5f); },
                  kInk);
            paint([](float x, float y) { return SegmentDistance(x, y, 24, 35, 30, 38.5f, 1.8f); }, kInk);
            paint([](float x, float y) { return SegmentDistance(x, y, 34, 38.5f, 40, 35, 1.8f); }, kInk);
            for (float cheek : {24.5f, 39.5f}) {
                paint([=](float x, float y) { return CircleDistance(x, y, cheek, 47, 3.5f); },
                      Colour(220, 40, 40, 0.4f));
            }
            break;
        case Mood::kMenu:
            paint([](float x, float y) { return std::fabs(CircleDistance(x, y, 32, 50, 2)) - 0.8f; }, kInk);
            break;
    }
}

bool Write(const std::string& folder, const std::string& name, const Canvas& canvas) {
    return WritePng(folder + name + ".png", canvas.Width(), canvas.Height(), canvas.ToBytes());
}

// A happy customer bobs and waves; an angry one shakes, flushed.
void PaintIdle(Canvas& sheet, float left, const Kind& kind, bool angry, int frame) {
    const float bob[kIdleFrames] = {0, -2, -4, -2, 0, -2, -4, -2};
    const float shake[kIdleFrames] = {0, -2, 0, 2, 0, -2, 0, 2};
    float dx = left + (angry ? shake[frame] : 0), dy = angry ? 0 : bob[frame];
    PaintBody(sheet, kind, dx, dy);
    PaintFace(sheet, angry ? Mood::kAngry : Mood::kHappy, dx, dy);
    if (angry) {
        sheet.Paint(Moved(dx, dy, [](float x, float y) { return CircleDistance(x, y, 32, 42, 13); }),
                    Solid(Colour(230, 40, 30, 0.18f)));
        return;
    }
    const float hand = 60.0f + 3.0f * bob[frame];
    sheet.Paint(Moved(left, 0, [=](float x, float y) { return SegmentDistance(x, y, 50, 80, 55, hand + 4, 7); }),
                Solid(kind.jacket));
    sheet.Paint(Moved(left, 0, [=](float x, float y) { return CircleDistance(x, y, 55, hand, 4.5f); }),
                Solid(kind.skin));
}

// The cloud, 104 x 88, tail down to the left, in the mood's colour.
void PaintCloud(Canvas& sheet, const Rgba& colour) {
    auto cloud = [](float x, float y) {
        float d = RoundedBoxDistance(x, y, 14, 28, 92, 66, 18);
        d = std::min(d, CircleDistance(x, y, 34, 30, 20));
        d = std::min(d, CircleDistance(x, y, 58, 24, 22));
        d = std::min(d, CircleDistance(x, y, 80, 36, 17));
        d = std::min(d, CircleDistance(x, y, 16, 76, 6));
        return std::min(d, CircleDistance(x, y, 6, 84, 3.5f));
    };
    sheet.Paint([&](float x, float y) { return cloud(x, y) - 1.5f; }, Solid(Colour(96, 92, 110)));
    sheet.Paint(cloud, Vertical(colour, Mix(colour, Colour(180, 180, 196), 0.25f), 4.0f, 84.0f));
}

// Closed (the cover) and open (the chocolates listed), 40 x 48.
void PaintMenuCard(Canvas& sheet, float left, bool open) {
    auto paint = [&](Shape shape, const Brush& brush) { sheet.Paint(Moved(left, 0, shape), brush); };
    if (!open) {
        paint([](float x, float y) { return RoundedBoxDistance(x, y, 2, 2, 38, 46, 4); },
              Vertical(Colour(122, 72, 40), Colour(70, 38, 22), 2, 46));
        paint([](float x, float y) { return RoundedBoxDistance(x, y, 8, 10, 32, 16, 2); }, Solid(Colour(226, 182, 98)));
        return;
    }
    paint([](float x, float y) { return RoundedBoxDistance(x, y, 2, 2, 38, 46, 4); }, Solid(Colour(122, 72, 40)));
    paint([](float x, float y) { return RoundedBoxDistance(x, y, 4, 4, 36, 44, 3); }, Solid(Colour(253, 246, 230)));
    for (int row = 0; row < 4; ++row) {
        const float top = 10.0f + 8.5f * static_cast<float>(row);
        paint([=](float x, float y) { return CircleDistance(x, y, 11, top + 1.5f, 2.6f); }, Solid(Colour(90, 50, 28)));
        paint([=](float x, float y) { return RoundedBoxDistance(x, y, 16, top, 32, top + 2.5f, 1); },
              Solid(Colour(150, 120, 96)));
    }
}

// A sheet of frames of one size that all have the same points.
FrameSheet Sheet(int width, int height, int regx, int regy, int count,
                 std::function<void(Canvas& sheet, float left, int frame)> draw,
                 std::vector<FrameAnchor> anchors = {}) {
    return {width, height, regx, regy, count, std::move(draw), [anchors](int) { return anchors; }};
}

// A gold coin on its edge, seen a little from above.
Canvas Coin() {
    Canvas canvas(22, 12);
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 1, 3, 21, 11, 4); },
                 Solid(Colour(166, 120, 30)));
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 1, 1, 21, 8, 3.5f); },
                 Vertical(Colour(255, 226, 120), Colour(214, 164, 46), 1, 8));
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 8, 3.5f, 14, 5.5f, 1); },
                 Solid(Colour(190, 140, 36)));
    return canvas;
}

// A small pile of coins.
Canvas CoinPile() {
    Canvas canvas(36, 22);
    const float coins[][2] = {{1, 9}, {14, 10}, {7, 4}, {20, 1}};
    for (const auto& at : coins) {
        const float left = at[0], top = at[1];
        canvas.Paint(
            [=](float x, float y) { return RoundedBoxDistance(x, y, left, top + 2, left + 15, top + 11, 3.5f); },
            Solid(Colour(166, 120, 30)));
        canvas.Paint([=](float x, float y) { return RoundedBoxDistance(x, y, left, top, left + 15, top + 7, 3.5f); },
                     Vertical(Colour(255, 226, 120), Colour(214, 164, 46), top, top + 7));
    }
    return canvas;
}

Canvas SauceBottle() {
    Canvas canvas(28, 48);
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 4, 16, 24, 47, 6); },
                 Vertical(Colour(176, 40, 52), Colour(110, 20, 30), 16, 47));
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 10, 5, 18, 18, 2); },
                 Solid(Colour(150, 30, 40)));
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 9, 1, 19, 7, 2); },
                 Solid(Colour(240, 236, 226)));
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 6, 26, 22, 36, 2); },
                 Solid(Colour(250, 240, 220)));
    return canvas;
}

Canvas DrinkCup() {
    Canvas canvas(32, 40);
    canvas.Paint([](float x, float y) { return std::fabs(CircleDistance(x, y, 26, 22, 5)) - 1.8f; },
                 Solid(Colour(232, 226, 214)));
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 3, 10, 25, 38, 5); },
                 Vertical(Colour(250, 248, 242), Colour(214, 206, 190), 10, 38));
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 5, 10, 23, 15, 2); },
                 Solid(Colour(110, 62, 34)));
    for (float cx : {10.0f, 16.0f}) {
        canvas.Paint([=](float x, float y) { return SegmentDistance(x, y, cx, 7, cx + 2, 1, 1.6f); },
                     Solid(Colour(200, 200, 210, 0.7f)));
    }
    return canvas;
}

}  // namespace

bool WriteCustomerArt(const std::string& folder) {
    const std::string base = folder + "/shop/customers/";
    const std::string sheets = "shop/customers/";
    const int regx = kFigureWidth / 2, regy = kFigureHeight;
    bool written = true;
    for (const Kind& kind : Kinds()) {
        const std::string prefix = std::string(kind.name) + "_";
        Canvas body(kFigureWidth, kFigureHeight);
        PaintBody(body, kind, 0, 0);
        written = Write(base, prefix + "body", body) && written;
        for (bool angry : {false, true}) {
            auto draw = [&kind, angry](Canvas& sheet, float left, int frame) {
                PaintIdle(sheet, left, kind, angry, frame);
            };
            written = WriteFrameSheet(folder, sheets + prefix + (angry ? "idle_angry" : "idle_happy"),
                                      Sheet(kFigureWidth, kFigureHeight, regx, regy, kIdleFrames, draw)) &&
                      written;
        }
    }
    for (const NamedMood& mood : kMoods) {
        Canvas face(kFigureWidth, kFigureHeight);
        PaintFace(face, mood.mood, 0, 0);
        written = Write(base, std::string("face_") + mood.name, face) && written;
    }
    // Where the customer stands, clear, with the point its bubble hangs from
    // above the right of its head.
    written = WriteFrameSheet(folder, sheets + "customer_base",
                              Sheet(2, 2, 1, 1, 1, [](Canvas&, float, int) {}, {{"bubble_single", 10, -74}})) &&
              written;
    const struct {
        const char* name;
        Rgba colour;
    } clouds[] = {{"happy", Colour(255, 255, 255)},
                  {"content", Colour(250, 246, 230)},
                  {"neutral", Colour(234, 234, 238)},
                  {"annoyed", Colour(255, 226, 196)},
                  {"angry", Colour(255, 200, 200)}};
    // Items sit on the cloud's middle: the chocolate's 64 x 64 picture, the
    // menu card and the sauce bottle by their top left corners.
    const std::vector<FrameAnchor> slots = {{"chocolate", 14, -76}, {"menu", 26, -68}, {"sauce", 35, -63}};
    for (const auto& cloud : clouds) {
        const Rgba colour = cloud.colour;
        auto draw = [colour](Canvas& sheet, float, int) { PaintCloud(sheet, colour); };
        written = WriteFrameSheet(folder, sheets + "bubble_" + cloud.name, Sheet(104, 88, 6, 86, 1, draw, slots)) &&
                  written;
    }
    auto card = [](Canvas& sheet, float left, int frame) { PaintMenuCard(sheet, left, frame == 1); };
    written = WriteFrameSheet(folder, sheets + "menu_card", Sheet(40, 48, 0, 0, 2, card)) && written;
    written = Write(base, "coin", Coin()) && written;
    written = Write(base, "coin_pile", CoinPile()) && written;
    written = Write(base, "sauce_bottle", SauceBottle()) && written;
    return Write(base, "drink_cup", DrinkCup()) && written;
}

}  // namespace makeimages
