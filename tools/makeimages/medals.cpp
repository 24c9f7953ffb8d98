#include "tools/makeimages/medals.h"

#include <cmath>

#include "tools/makeimages/canvas.h"
#include "tools/makeimages/pngwriter.h"

namespace makeimages {
namespace {

constexpr int kMedalSize = 64;

struct Medal {
    const char* key;
    Rgba ribbon;
    Rgba metal;
};

// One colour of ribbon per location, gold for endless play, silver for the rest.
const Medal kMedals[] = {
    {"vandermoot_grytviken", Colour(96, 160, 214), Colour(236, 196, 92)},
    {"vandermoot_namche", Colour(176, 64, 64), Colour(236, 196, 92)},
    {"vandermoot_krakatoa", Colour(226, 120, 40), Colour(236, 196, 92)},
    {"vandermoot_kamchatka", Colour(70, 140, 110), Colour(236, 196, 92)},
    {"vandermoot_iquitos", Colour(60, 150, 70), Colour(236, 196, 92)},
    {"vandermoot_gaberoun", Colour(214, 176, 96), Colour(236, 196, 92)},
    {"vandermoot_endless15", Colour(132, 84, 176), Colour(250, 214, 110)},
    {"default", Colour(150, 110, 80), Colour(206, 210, 216)},
};

// Two ribbon tails above a round medal with a rim and a truffle pressed in it.
Canvas PaintMedal(const Medal& medal) {
    const float c = kMedalSize / 2.0f;
    Canvas canvas(kMedalSize, kMedalSize);
    for (float side : {-1.0f, 1.0f}) {
        std::vector<Point> tail = {{c + side * 4, 2}, {c + side * 18, 2}, {c + side * 8, 30}, {c - side * 4, 30}};
        canvas.Paint([&](float x, float y) { return PolygonDistance(x, y, tail); }, Solid(medal.ribbon));
    }
    const float r = 21.0f, cy = kMedalSize - r - 2.0f;
    canvas.Paint([&](float x, float y) { return CircleDistance(x, y, c, cy, r); }, Solid(Mix(medal.metal, Colour(0, 0, 0), 0.35f)));
    canvas.Paint([&](float x, float y) { return CircleDistance(x, y, c, cy, r - 2.5f); },
                 Vertical(Mix(medal.metal, Colour(255, 255, 255), 0.4f), medal.metal, cy - r, cy + r));
    canvas.Paint([&](float x, float y) { return std::fabs(CircleDistance(x, y, c, cy, r - 7.0f)) - 0.8f; },
                 Solid(Mix(medal.metal, Colour(0, 0, 0), 0.25f)));
    canvas.Paint([&](float x, float y) { return CircleDistance(x, y, c, cy, 7.0f); },
                 Vertical(Colour(120, 70, 38), Colour(60, 30, 14), cy - 7.0f, cy + 7.0f));
    return canvas;
}

// A chocolate-brown lid with a pink ribbon across it and a bow.
Canvas PaintLid() {
    const float w = 460.0f, h = 300.0f;
    Canvas canvas(460, 300);
    auto outline = [=](float x, float y) { return RoundedBoxDistance(x, y, 2, 2, w - 2, h - 2, 14.0f); };
    canvas.Paint(outline, Solid(Colour(40, 20, 8)));
    canvas.Paint([&](float x, float y) { return outline(x, y) + 3.0f; },
                 Vertical(Colour(120, 70, 40), Colour(70, 38, 18), 4.0f, h - 4.0f));
    canvas.Paint([&](float x, float y) { return std::fmax(outline(x, y) + 3.0f, std::fabs(x - w / 2) - 22.0f); },
                 Solid(Colour(233, 140, 160)));
    canvas.Paint([&](float x, float y) { return std::fmax(outline(x, y) + 3.0f, std::fabs(y - h / 2) - 22.0f); },
                 Solid(Colour(233, 140, 160)));
    for (float side : {-1.0f, 1.0f}) {
        std::vector<Point> loop = {{w / 2, h / 2}, {w / 2 + side * 70, h / 2 - 46}, {w / 2 + side * 84, h / 2 + 10}};
        canvas.Paint([&](float x, float y) { return PolygonDistance(x, y, loop); }, Solid(Colour(214, 96, 128)));
    }
    canvas.Paint([&](float x, float y) { return CircleDistance(x, y, w / 2, h / 2, 18.0f); }, Solid(Colour(200, 80, 112)));
    return canvas;
}

bool Write(const std::string& folder, const std::string& name, const Canvas& canvas) {
    return WritePng(folder + "/ui/rewards/" + name + ".png", canvas.Width(), canvas.Height(), canvas.ToBytes());
}

}  // namespace

bool WriteMedals(const std::string& folder) {
    bool written = true;
    for (const Medal& medal : kMedals) written = Write(folder, std::string("medal_") + medal.key, PaintMedal(medal)) && written;
    return Write(folder, "top_box", PaintLid()) && written;
}

}  // namespace makeimages
