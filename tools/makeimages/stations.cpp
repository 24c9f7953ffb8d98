#include "tools/makeimages/stations.h"

#include <algorithm>

#include "tools/makeimages/canvas.h"
#include "tools/makeimages/pngwriter.h"

namespace makeimages {
namespace {

constexpr int kTopWidth = 104;
constexpr int kTopHeight = 30;
constexpr int kMachineWidth = 72;
constexpr int kMachineHeight = 64;

struct TopLook {
    const char* name;
    Rgba surface;
    Rgba front;
    Rgba rim;
};

// A counter seen from the front: its top surface and the front board.
Canvas CounterTop(const TopLook& look) {
    Canvas canvas(kTopWidth, kTopHeight);
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 1, 9, kTopWidth - 1, kTopHeight - 1, 3); },
                 Vertical(look.front, Mix(look.front, Colour(0, 0, 0), 0.35f), 9, kTopHeight));
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 0, 1, kTopWidth, 11, 4); },
                 Vertical(Mix(look.surface, Colour(255, 255, 255), 0.3f), look.surface, 1, 11));
    canvas.Paint([](float x, float y) { return SegmentDistance(x, y, 3, 11, kTopWidth - 3, 11) - 1.0f; },
                 Solid(look.rim));
    return canvas;
}

// The mixer's stand with its bowl and the beater arm above it.
Canvas MixerBase() {
    Canvas canvas(kMachineWidth, kMachineHeight);
    const Rgba steel = Colour(176, 186, 198);
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 10, 50, 62, 63, 4); },
                 Vertical(Colour(150, 64, 58), Colour(100, 40, 36), 50, 63));
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 50, 6, 60, 52, 3); },
                 Vertical(Colour(170, 74, 66), Colour(120, 48, 42), 6, 52));
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 20, 4, 60, 16, 6); },
                 Vertical(Colour(186, 84, 74), Colour(140, 58, 50), 4, 16));
    canvas.Paint([](float x, float y) { return std::max(CircleDistance(x, y, 30, 30, 20), 30.0f - y); },
                 Vertical(steel, Colour(110, 120, 134), 30, 50));
    canvas.Paint([](float x, float y) { return SegmentDistance(x, y, 30, 16, 30, 34) - 1.5f; },
                 Solid(Colour(90, 96, 108)));
    return canvas;
}

// The press's frame with its plate and the weight hanging above.
Canvas PressBase() {
    Canvas canvas(kMachineWidth, kMachineHeight);
    const Rgba frame = Colour(64, 96, 140);
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 6, 50, 66, 63, 4); },
                 Vertical(Colour(80, 110, 150), Colour(44, 66, 100), 50, 63));
    for (float left : {8.0f, 56.0f}) {
        canvas.Paint([left](float x, float y) { return RoundedBoxDistance(x, y, left, 4, left + 8, 52, 2); },
                     Solid(frame));
    }
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 6, 2, 66, 10, 3); }, Solid(frame));
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 20, 14, 52, 26, 3); },
                 Vertical(Colour(200, 206, 214), Colour(130, 138, 150), 14, 26));
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 16, 44, 56, 50, 2); },
                 Solid(Colour(214, 220, 228)));
    return canvas;
}

bool WriteCanvas(const std::string& path, const Canvas& canvas) {
    return WritePng(path, canvas.Width(), canvas.Height(), canvas.ToBytes());
}

}  // namespace

bool WriteStationArt(const std::string& folder) {
    const TopLook looks[] = {
        {"counter_top", Colour(196, 150, 100), Colour(150, 100, 62), Colour(120, 78, 46)},
        {"counter_top_upgrade1", Colour(236, 232, 226), Colour(176, 170, 164), Colour(140, 136, 132)},
        {"counter_top_upgrade2", Colour(120, 60, 50), Colour(84, 38, 32), Colour(226, 186, 80)},
    };
    bool written = true;
    for (const TopLook& look : looks) {
        written = WriteCanvas(folder + "/shop/stations/" + look.name + ".png", CounterTop(look)) && written;
    }
    written = WriteCanvas(folder + "/shop/machines/mixer_base.png", MixerBase()) && written;
    written = WriteCanvas(folder + "/shop/machines/press_base.png", PressBase()) && written;
    return written;
}

}  // namespace makeimages
