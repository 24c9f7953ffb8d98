// makeimages FOLDER: draws the game's interface images below FOLDER: the
// mouse cursor, the oval button in its two states, the dialog panels and the
// title screen's backdrop. The same program always writes the same bytes.
#include <cmath>
#include <cstdio>
#include <string>

#include "tools/makeimages/canvas.h"
#include "tools/makeimages/pngwriter.h"

namespace {

using makeimages::Canvas;
using makeimages::Rgba;

Rgba Colour(int r, int g, int b, float a = 1.0f) {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f, a};
}

auto Solid(const Rgba& colour) {
    return [colour](float, float) { return colour; };
}

// A top-to-bottom blend between two rows.
auto Vertical(const Rgba& top, const Rgba& bottom, float from, float to) {
    return [=](float, float y) { return makeimages::Mix(top, bottom, std::fmin(std::fmax((y - from) / (to - from), 0.0f), 1.0f)); };
}

// A chocolate arrow with a cream rim.
Canvas Cursor() {
    Canvas canvas(32, 32);
    auto arrow = [](float x, float y) { return makeimages::ArrowDistance(x, y, 2.0f, 1.5f, 28.0f); };
    canvas.Paint([&](float x, float y) { return arrow(x, y) - 1.6f; }, Solid(Colour(255, 243, 214)));
    canvas.Paint(arrow, Vertical(Colour(122, 72, 40), Colour(66, 36, 18), 2.0f, 26.0f));
    return canvas;
}

// A light-blue capsule; pressed, it is darker and loses its shine.
Canvas OvalButton(bool pressed) {
    const float w = 220.0f, h = 60.0f, r = 27.0f;
    Canvas canvas(220, 60);
    auto outline = [=](float x, float y) { return makeimages::RoundedBoxDistance(x, y, 1, 1, w - 1, h - 1, r); };
    canvas.Paint(outline, Solid(Colour(28, 76, 128)));
    Rgba top = pressed ? Colour(98, 160, 214) : Colour(196, 232, 255);
    Rgba bottom = pressed ? Colour(60, 122, 186) : Colour(98, 172, 232);
    canvas.Paint([&](float x, float y) { return outline(x, y) + 3.0f; }, Vertical(top, bottom, 4.0f, h - 4.0f));
    if (!pressed) {
        canvas.Paint([=](float x, float y) { return makeimages::RoundedBoxDistance(x, y, 14, 6, w - 14, h * 0.48f, 16.0f); },
                     Vertical(Colour(255, 255, 255, 0.55f), Colour(255, 255, 255, 0.05f), 6.0f, h * 0.48f));
    }
    return canvas;
}

// A cream card with a chocolate border.
Canvas DialogPanel(int width, int height) {
    Canvas canvas(width, height);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    auto outline = [=](float x, float y) { return makeimages::RoundedBoxDistance(x, y, 1, 1, w - 1, h - 1, 18.0f); };
    canvas.Paint(outline, Solid(Colour(92, 52, 28)));
    canvas.Paint([&](float x, float y) { return outline(x, y) + 4.0f; },
                 Vertical(Colour(253, 246, 230), Colour(240, 222, 190), 5.0f, h - 5.0f));
    canvas.Paint([&](float x, float y) { return std::fabs(outline(x, y) + 9.0f) - 0.75f; },
                 Solid(Colour(196, 150, 96, 0.8f)));
    return canvas;
}

// The scalloped awning, the dark shop wall and the counter with truffles.
Canvas TitleBackdrop() {
    Canvas canvas(800, 600);
    canvas.FillVertical(Colour(74, 42, 24), Colour(34, 18, 10));
    const float stripe = 50.0f;
    canvas.Paint([=](float x, float y) {
        float scallop = 70.0f + 10.0f * std::sqrt(std::fmax(0.0f, 1.0f - std::pow((std::fmod(x, stripe) - stripe / 2) / (stripe / 2), 2.0f)));
        return y - scallop;
    },
                 [=](float x, float) {
                     return static_cast<int>(x / stripe) % 2 == 0 ? Colour(233, 140, 160) : Colour(253, 240, 226);
                 });
    canvas.Paint([](float, float y) { return std::fabs(y - 2.0f) - 2.0f; }, Solid(Colour(120, 60, 40)));
    // The counter.
    canvas.Paint([](float, float y) { return 512.0f - y; }, Vertical(Colour(150, 94, 52), Colour(96, 56, 28), 512.0f, 600.0f));
    canvas.Paint([](float, float y) { return std::fabs(y - 514.0f) - 3.0f; }, Solid(Colour(196, 140, 86)));
    const float truffles[][2] = {{90, 496}, {128, 498}, {109, 474}, {676, 497}, {714, 495}, {695, 473}};
    for (const auto& t : truffles) {
        canvas.Paint([&](float x, float y) { return makeimages::CircleDistance(x, y, t[0], t[1], 19.0f); },
                     Vertical(Colour(110, 62, 34), Colour(52, 26, 12), t[1] - 19.0f, t[1] + 19.0f));
        canvas.Paint([&](float x, float y) { return makeimages::CircleDistance(x, y, t[0] - 6.0f, t[1] - 8.0f, 5.0f); },
                     Solid(Colour(255, 236, 210, 0.35f)));
    }
    return canvas;
}

bool Write(const std::string& folder, const char* name, const Canvas& canvas) {
    return makeimages::WritePng(folder + "/" + name, canvas.Width(), canvas.Height(), canvas.ToBytes());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeimages FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    bool written = Write(folder, "cursor/chocolate_cursor_2.png", Cursor());
    written = Write(folder, "ui/buttons/oval_lt_blue_up.png", OvalButton(false)) && written;
    written = Write(folder, "ui/buttons/oval_lt_blue_down.png", OvalButton(true)) && written;
    written = Write(folder, "ui/backgrounds/split9_dialog_small.png", DialogPanel(96, 96)) && written;
    written = Write(folder, "ui/backgrounds/dialog_panel.png", DialogPanel(520, 240)) && written;
    written = Write(folder, "ui/backgrounds/title_backdrop.png", TitleBackdrop()) && written;
    return written ? 0 : 1;
}
