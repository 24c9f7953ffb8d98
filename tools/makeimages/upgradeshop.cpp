#include "tools/makeimages/upgradeshop.h"

#include "tools/makeimages/canvas.h"
#include "tools/makeimages/pngwriter.h"

namespace makeimages {
namespace {

constexpr int kTabWidth = 290;
constexpr int kTabHeight = 96;
constexpr int kThumbnailSize = 64;

// A rounded panel filling the canvas, lighter at its top, with a darker rim.
Canvas Panel(int width, int height, float radius, const Rgba& colour) {
    Canvas canvas(width, height);
    float w = static_cast<float>(width);
    float h = static_cast<float>(height);
    canvas.Paint([=](float x, float y) { return RoundedBoxDistance(x, y, 0, 0, w, h, radius); },
                 Solid(Mix(colour, Colour(0, 0, 0), 0.35f)));
    canvas.Paint([=](float x, float y) { return RoundedBoxDistance(x, y, 2, 2, w - 2, h - 2, radius - 2); },
                 Vertical(Mix(colour, Colour(255, 255, 255), 0.35f), colour, 2, h - 2));
    return canvas;
}

// A kind's thumbnail: a tile of its colour with a light disc.
Canvas Thumbnail(const Rgba& colour) {
    Canvas canvas = Panel(kThumbnailSize, kThumbnailSize, 10, colour);
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, 32, 32, 16); },
                 Vertical(Colour(255, 250, 236), Mix(colour, Colour(255, 255, 255), 0.6f), 16, 48));
    return canvas;
}

struct Look {
    const char* name;
    int width;
    int height;
    float radius;
    Rgba colour;
};

struct Kind {
    const char* name;
    Rgba colour;
};

bool Write(const std::string& folder, const std::string& name, const Canvas& canvas) {
    return WritePng(folder + "/ui/upgrades/" + name + ".png", canvas.Width(), canvas.Height(), canvas.ToBytes());
}

}  // namespace

bool WriteUpgradeShopArt(const std::string& folder) {
    const Look looks[] = {
        // The tab: offered, hovered and affordable, locked, bought.
        {"tab_offered", kTabWidth, kTabHeight, 10, Colour(236, 214, 176)},
        {"tab_hover", kTabWidth, kTabHeight, 10, Colour(246, 204, 110)},
        {"tab_locked", kTabWidth, kTabHeight, 10, Colour(150, 146, 140)},
        {"tab_bought", kTabWidth, kTabHeight, 10, Colour(150, 196, 120)},
        // The buy button: normal, pressed, hovered, disabled.
        {"buy_up", 84, 28, 12, Colour(86, 150, 70)},
        {"buy_down", 84, 28, 12, Colour(54, 104, 44)},
        {"buy_over", 84, 28, 12, Colour(116, 186, 92)},
        {"buy_disabled", 84, 28, 12, Colour(140, 140, 140)},
        // A category toggle: off, on, hovered off, disabled.
        {"category_off", 100, 36, 10, Colour(120, 76, 44)},
        {"category_on", 100, 36, 10, Colour(214, 150, 60)},
        {"category_over", 100, 36, 10, Colour(156, 102, 60)},
        {"category_disabled", 100, 36, 10, Colour(110, 106, 102)},
        // The list's scroll bar: its rail's ends and middle, and its thumb.
        {"rail_top", 12, 8, 5, Colour(90, 58, 34)},
        {"rail_mid", 12, 8, 1, Colour(90, 58, 34)},
        {"rail_bottom", 12, 8, 5, Colour(90, 58, 34)},
        {"slider_thumb", 20, 32, 8, Colour(214, 150, 60)},
        {"slider_thumb_over", 20, 32, 8, Colour(246, 196, 100)},
    };
    const Kind kinds[] = {
        {"mixer", Colour(170, 74, 66)},       {"press", Colour(64, 96, 140)},     {"ingredient", Colour(200, 140, 60)},
        {"topping", Colour(196, 90, 150)},    {"infusion", Colour(90, 150, 110)}, {"quality", Colour(210, 176, 60)},
        {"sauce", Colour(120, 60, 40)},       {"conveyor", Colour(110, 110, 120)}, {"drink", Colour(80, 130, 190)},
        {"background", Colour(120, 150, 90)}, {"station", Colour(150, 100, 62)},
    };
    bool written = true;
    for (const Look& look : looks) {
        written = Write(folder, look.name, Panel(look.width, look.height, look.radius, look.colour)) && written;
    }
    for (const Kind& kind : kinds) {
        written = Write(folder, std::string("thumb_") + kind.name, Thumbnail(kind.colour)) && written;
    }
    return written;
}

}  // namespace makeimages
