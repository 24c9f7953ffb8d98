#include "tools/makeimages/plot.h"

#include <cmath>

#include "tools/makeimages/canvas.h"
#include "tools/makeimages/pngwriter.h"

namespace makeimages {
namespace {

constexpr int kPortraitWidth = 120;
constexpr int kPortraitHeight = 140;

struct Speaker {
    const char* name;
    Rgba coat;
    Rgba hat;
    bool beard;
    Rgba skin;
};

// The harbour master in a navy coat and cap with a grey beard; the aunt in
// a rose dress with a bun; the whaling skipper in an oilskin and sou'wester;
// the postmistress in teal with dark hair. Then two speakers of each later
// location: the mountain guide in a maroon jacket and wool cap, the
// innkeeper in green; the ferrywoman in orange, the old lookout in a white
// cap; the ranger in olive with auburn hair, the trapper in a fur hat; the
// river pilot in yellow, the stallholder in a green cap; the caravan master
// in a white robe and indigo headwrap, the gardener in teal.
const Rgba kFairSkin = Colour(242, 200, 168);
const Speaker kSpeakers[] = {
    {"harbourmaster", Colour(40, 60, 110), Colour(30, 40, 70), true, kFairSkin},
    {"aunt", Colour(200, 110, 130), Colour(120, 80, 50), false, kFairSkin},
    {"skipper", Colour(214, 170, 40), Colour(170, 130, 20), true, kFairSkin},
    {"postmistress", Colour(40, 130, 130), Colour(60, 40, 30), false, kFairSkin},
    {"guide", Colour(150, 40, 40), Colour(200, 120, 30), true, Colour(210, 160, 120)},
    {"innkeeper", Colour(60, 120, 60), Colour(30, 25, 25), false, Colour(222, 172, 130)},
    {"ferrywoman", Colour(230, 140, 40), Colour(40, 30, 25), false, Colour(200, 150, 110)},
    {"lookout", Colour(110, 90, 60), Colour(210, 210, 200), true, Colour(190, 140, 100)},
    {"ranger", Colour(70, 100, 60), Colour(170, 90, 40), false, Colour(246, 214, 190)},
    {"trapper", Colour(120, 80, 50), Colour(80, 60, 40), true, Colour(236, 196, 166)},
    {"pilot", Colour(230, 200, 60), Colour(30, 20, 15), false, Colour(180, 120, 85)},
    {"stallholder", Colour(200, 60, 90), Colour(60, 130, 60), true, Colour(170, 115, 80)},
    {"cameleer", Colour(240, 235, 220), Colour(40, 70, 150), true, Colour(150, 100, 70)},
    {"gardener", Colour(60, 150, 120), Colour(20, 15, 10), false, Colour(130, 85, 60)},
};

Canvas Portrait(const Speaker& speaker) {
    const float w = kPortraitWidth, h = kPortraitHeight, cx = w / 2;
    Canvas canvas(kPortraitWidth, kPortraitHeight);
    auto frame = [=](float x, float y) { return RoundedBoxDistance(x, y, 1, 1, w - 1, h - 1, 12.0f); };
    canvas.Paint(frame, Solid(Colour(92, 52, 28)));
    canvas.Paint([&](float x, float y) { return frame(x, y) + 3.0f; },
                 Vertical(Colour(250, 236, 206), Colour(226, 200, 160), 4.0f, h - 4.0f));
    // Shoulders, face, then hair or cap.
    canvas.Paint([&](float x, float y) { return std::fmax(CircleDistance(x, y, cx, h + 20, 58.0f), frame(x, y) + 3.0f); },
                 Solid(speaker.coat));
    canvas.Paint([&](float x, float y) { return CircleDistance(x, y, cx, 66, 28.0f); }, Solid(speaker.skin));
    if (speaker.beard) {
        canvas.Paint([&](float x, float y) { return std::fmax(CircleDistance(x, y, cx, 74, 28.0f), 74.0f - y); },
                     Solid(Colour(190, 190, 196)));
        canvas.Paint([&](float x, float y) { return std::fmax(RoundedBoxDistance(x, y, cx - 34, 28, cx + 34, 48, 6.0f), -0.0f); },
                     Solid(speaker.hat));
    } else {
        canvas.Paint([&](float x, float y) { return std::fmax(CircleDistance(x, y, cx, 58, 30.0f), y - 54.0f); },
                     Solid(speaker.hat));
        canvas.Paint([&](float x, float y) { return CircleDistance(x, y, cx, 26, 14.0f); }, Solid(speaker.hat));
    }
    for (float side : {-1.0f, 1.0f}) {
        canvas.Paint([&](float x, float y) { return CircleDistance(x, y, cx + side * 10, 66, 3.0f); },
                     Solid(Colour(50, 30, 20)));
    }
    canvas.Paint([&](float x, float y) { return std::fabs(CircleDistance(x, y, cx, 70, 12.0f)) - 1.2f + std::fmax(0.0f, 76.0f - y); },
                 Solid(Colour(150, 70, 60)));
    return canvas;
}

enum class Look { kNormal, kOver, kDown };

// A rounded cream capsule with a chocolate rim; hovered the rim turns pink,
// pressed the cream darkens. With an arrow it is the continue button.
Canvas Capsule(int width, int height, Look look, bool arrow) {
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    Canvas canvas(width, height);
    auto outline = [=](float x, float y) { return RoundedBoxDistance(x, y, 1, 1, w - 1, h - 1, h / 2 - 1); };
    canvas.Paint(outline, Solid(look == Look::kOver ? Colour(214, 96, 128) : Colour(92, 52, 28)));
    Rgba top = look == Look::kDown ? Colour(226, 200, 160) : Colour(255, 248, 232);
    Rgba bottom = look == Look::kDown ? Colour(206, 176, 130) : Colour(236, 214, 176);
    canvas.Paint([&](float x, float y) { return outline(x, y) + 3.0f; }, Vertical(top, bottom, 3.0f, h - 3.0f));
    if (arrow) {
        std::vector<Point> head = {{w - 30, h / 2 - 10}, {w - 16, h / 2}, {w - 30, h / 2 + 10}};
        canvas.Paint([&](float x, float y) { return PolygonDistance(x, y, head); }, Solid(Colour(92, 52, 28)));
    }
    return canvas;
}

bool Write(const std::string& folder, const std::string& name, const Canvas& canvas) {
    return WritePng(folder + "/ui/plot/" + name + ".png", canvas.Width(), canvas.Height(), canvas.ToBytes());
}

}  // namespace

bool WritePlotArt(const std::string& folder) {
    Canvas dim(800, 600);
    dim.Paint([](float, float) { return -1.0f; }, Solid(Colour(0, 0, 0, 0.55f)));
    bool written = Write(folder, "dim", dim);
    for (const Speaker& speaker : kSpeakers) {
        written = Write(folder, std::string("portrait_") + speaker.name, Portrait(speaker)) && written;
    }
    const struct {
        Look look;
        const char* suffix;
    } looks[] = {{Look::kNormal, ""}, {Look::kOver, "_over"}, {Look::kDown, "_down"}};
    for (const auto& [look, suffix] : looks) {
        written = Write(folder, std::string("answer") + suffix, Capsule(360, 44, look, false)) && written;
        written = Write(folder, std::string("continue") + suffix, Capsule(150, 44, look, true)) && written;
    }
    return written;
}

}  // namespace makeimages
