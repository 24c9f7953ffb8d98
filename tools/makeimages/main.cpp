// makeimages FOLDER: draws the game's images below FOLDER: the interface
// (cursor, buttons, panels, title signs and backdrop, options, help pages,
// the menu's chocolates, medals), the shop floor (chocolates, customers,
// player, stations, machines), what the level screens show and the world
// map. The same program always writes the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "tools/makeimages/backdrop.h"
#include "tools/makeimages/canvas.h"
#include "tools/makeimages/chocolates.h"
#include "tools/makeimages/customers.h"
#include "tools/makeimages/helppictures.h"
#include "tools/makeimages/medals.h"
#include "tools/makeimages/machines.h"
#include "tools/makeimages/servingmachines.h"
#include "tools/makeimages/player.h"
#include "tools/makeimages/stations.h"
#include "tools/makeimages/plot.h"
#include "tools/makeimages/upgradeshop.h"
#include "tools/makeimages/worldmap.h"
#include "tools/makeimages/shopfloor.h"
#include "tools/makeimages/pngwriter.h"

namespace {

using makeimages::Canvas;
using makeimages::Colour;
using makeimages::Rgba;
using makeimages::Solid;
using makeimages::Vertical;

// A chocolate arrow with a cream rim.
Canvas Cursor() {
    Canvas canvas(32, 32);
    auto arrow = [](float x, float y) { return makeimages::ArrowDistance(x, y, 2.0f, 1.5f, 28.0f); };
    canvas.Paint([&](float x, float y) { return arrow(x, y) - 1.6f; }, Solid(Colour(255, 243, 214)));
    canvas.Paint(arrow, Vertical(Colour(122, 72, 40), Colour(66, 36, 18), 2.0f, 26.0f));
    return canvas;
}

// The oval button's looks: a light-blue capsule; hovered, brighter with the
// pink rim of the other hovered controls; pressed, darker without its shine;
// disabled, a flat grey on which the dark label still reads.
enum class OvalLook { kNormal, kHover, kPressed, kDisabled };

struct OvalColours {
    Rgba rim, top, bottom;
    bool shine;
};

OvalColours ColoursOf(OvalLook look) {
    switch (look) {
        case OvalLook::kHover: return {Colour(214, 96, 128), Colour(226, 246, 255), Colour(128, 196, 246), true};
        case OvalLook::kPressed: return {Colour(28, 76, 128), Colour(98, 160, 214), Colour(60, 122, 186), false};
        case OvalLook::kDisabled: return {Colour(128, 132, 138), Colour(222, 224, 228), Colour(184, 188, 194), false};
        case OvalLook::kNormal: break;
    }
    return {Colour(28, 76, 128), Colour(196, 232, 255), Colour(98, 172, 232), true};
}

// The dialogs' button is 220 by 60 pixels; smaller ones keep its shape.
Canvas OvalButton(OvalLook look, int width = 220, int height = 60) {
    const float w = static_cast<float>(width), h = static_cast<float>(height), r = h * 0.45f;
    const OvalColours colours = ColoursOf(look);
    Canvas canvas(width, height);
    auto outline = [=](float x, float y) { return makeimages::RoundedBoxDistance(x, y, 1, 1, w - 1, h - 1, r); };
    canvas.Paint(outline, Solid(colours.rim));
    canvas.Paint([&](float x, float y) { return outline(x, y) + 3.0f; },
                 Vertical(colours.top, colours.bottom, 4.0f, h - 4.0f));
    if (colours.shine) {
        const float inset = h * 0.1f;
        canvas.Paint([=](float x, float y) {
            return makeimages::RoundedBoxDistance(x, y, 2.3f * inset, inset, w - 2.3f * inset, h * 0.48f, h * 0.27f);
        },
                     Vertical(Colour(255, 255, 255, 0.55f), Colour(255, 255, 255, 0.05f), inset, h * 0.48f));
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

// The sign that titles are lettered on: a chocolate board with a gold rim,
// cut into nine slices (corners of kTitleBoardCorner pixels) to fit each
// title.
constexpr int kTitleBoardCorner = 24;

Canvas TitleBoard() {
    const float size = 4.0f * kTitleBoardCorner;
    Canvas canvas(4 * kTitleBoardCorner, 4 * kTitleBoardCorner);
    auto outline = [=](float x, float y) {
        return makeimages::RoundedBoxDistance(x, y, 1, 1, size - 1, size - 1, 16.0f);
    };
    canvas.Paint([&](float x, float y) { return outline(x, y) - 1.0f; }, Solid(Colour(40, 20, 8)));
    canvas.Paint(outline, Vertical(Colour(246, 214, 140), Colour(196, 146, 70), 1.0f, size - 1));
    canvas.Paint([&](float x, float y) { return outline(x, y) + 3.0f; },
                 Vertical(Colour(84, 46, 24), Colour(50, 26, 12), 4.0f, size - 4));
    canvas.Paint([&](float x, float y) { return std::fabs(outline(x, y) + 7.0f) - 0.6f; },
                 Solid(Colour(226, 182, 98, 0.6f)));
    return canvas;
}

// The panel under the level's quest lines: a chocolate board with a gold rim
// whose rounded bottom edge follows the last line; its top stays above the
// screen's edge, so only the bottom corners are drawn.
Canvas QuestPanel(int width, int height) {
    Canvas canvas(width, height);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    auto outline = [=](float x, float y) { return makeimages::RoundedBoxDistance(x, y, 1, -40, w - 1, h - 1, 16.0f); };
    canvas.Paint([&](float x, float y) { return outline(x, y) - 1.0f; }, Solid(Colour(40, 20, 8, 0.9f)));
    canvas.Paint(outline, Solid(Colour(226, 182, 98)));
    canvas.Paint([&](float x, float y) { return outline(x, y) + 3.0f; },
                 Vertical(Colour(50, 26, 12, 0.92f), Colour(84, 46, 24, 0.92f), 0.0f, h - 4));
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

// A cream box (round for a radio button) with a chocolate rim; on, a
// truffle sits in it; hovered, the rim turns pink.
Canvas Choice(bool round, bool on, bool hovered) {
    Canvas canvas(40, 40);
    auto outline = [=](float x, float y) {
        return round ? makeimages::CircleDistance(x, y, 20, 20, 18) : makeimages::RoundedBoxDistance(x, y, 2, 2, 38, 38, 7);
    };
    canvas.Paint(outline, Solid(hovered ? Colour(214, 96, 128) : Colour(92, 52, 28)));
    canvas.Paint([&](float x, float y) { return outline(x, y) + 3.0f; },
                 Vertical(Colour(253, 246, 230), Colour(236, 216, 184), 5.0f, 35.0f));
    if (on) {
        canvas.Paint([](float x, float y) { return makeimages::CircleDistance(x, y, 20, 20, 10); },
                     Vertical(Colour(122, 72, 40), Colour(52, 26, 12), 10.0f, 30.0f));
    }
    return canvas;
}

// A round arrow button of the hiscore screen: a light-blue disc with a
// chocolate triangle pointing left, right, up or down; hovered, the rim
// turns pink; pressed, the disc darkens.
Canvas ArrowButton(char direction, OvalLook look) {
    Canvas canvas(44, 44);
    const OvalColours colours = ColoursOf(look);
    auto disc = [](float x, float y) { return makeimages::CircleDistance(x, y, 22, 22, 20); };
    canvas.Paint(disc, Solid(colours.rim));
    canvas.Paint([&](float x, float y) { return disc(x, y) + 3.0f; }, Vertical(colours.top, colours.bottom, 5, 39));
    // The triangle pointing right, turned to the direction.
    auto turned = [direction](float x, float y) {
        float dx = x - 22, dy = y - 22;
        switch (direction) {
            case 'l': return makeimages::Point{-dx, dy};
            case 'u': return makeimages::Point{-dy, dx};
            case 'd': return makeimages::Point{dy, dx};
            default: return makeimages::Point{dx, dy};
        }
    };
    const std::vector<makeimages::Point> triangle = {{-6, -10}, {10, 0}, {-6, 10}};
    canvas.Paint([&](float x, float y) {
        makeimages::Point p = turned(x, y);
        return makeimages::PolygonDistance(p.x, p.y, triangle);
    },
                 Solid(Colour(74, 40, 20)));
    return canvas;
}

// The slider's rail: the rim of a groove that the volume bar shows through,
// in three pieces (the left end, the middle that stretches, the right end).
enum class RailPiece { kLeft, kMiddle, kRight };

Canvas Rail(RailPiece piece) {
    // The middle is stretched: as wide as its texture, so no padding column
    // blends into its right edge.
    Canvas canvas(piece == RailPiece::kMiddle ? 16 : 12, 12);
    // The groove's outline, running on past the sides that continue.
    float left = piece == RailPiece::kLeft ? 0.5f : -100.0f;
    float right = piece == RailPiece::kRight ? 11.5f : 112.0f;
    auto rim = [=](float x, float y) {
        float outside = makeimages::RoundedBoxDistance(x, y, left, 0.5f, right, 11.5f, 5.5f);
        return std::max(outside, -(outside + 2.0f));
    };
    canvas.Paint(rim, Vertical(Colour(52, 26, 12), Colour(150, 96, 58), 0.0f, 12.0f));
    return canvas;
}

// The empty groove under the volume bar, as long as the slider.
Canvas Groove() {
    Canvas canvas(220, 12);
    canvas.Paint([](float x, float y) { return makeimages::RoundedBoxDistance(x, y, 0.5f, 0.5f, 219.5f, 11.5f, 5.5f); },
                 Vertical(Colour(28, 13, 6), Colour(72, 40, 22), 0.0f, 12.0f));
    return canvas;
}

// The slider's thumb: a truffle, lighter while hovered or dragged.
Canvas Thumb(bool hovered) {
    Canvas canvas(36, 36);
    Rgba top = hovered ? Colour(170, 110, 66) : Colour(122, 72, 40);
    canvas.Paint([](float x, float y) { return makeimages::CircleDistance(x, y, 18, 18, 16); },
                 Vertical(top, Colour(52, 26, 12), 2.0f, 34.0f));
    canvas.Paint([](float x, float y) { return makeimages::CircleDistance(x, y, 12, 11, 5); },
                 Solid(Colour(255, 236, 210, 0.35f)));
    return canvas;
}

// The volume bar that fills under a slider, 200 pixels at full volume.
Canvas FillBar() {
    Canvas canvas(200, 12);
    canvas.Paint([](float x, float y) { return makeimages::RoundedBoxDistance(x, y, 0, 0, 200, 12, 6); },
                 Vertical(Colour(248, 170, 190), Colour(214, 96, 128), 0.0f, 12.0f));
    return canvas;
}

// The menu's chocolates by file name: two of each shape.
struct NamedChocolate {
    const char* name;
    makeimages::ChocolateLook look;
};

std::vector<NamedChocolate> MenuChocolates() {
    using makeimages::ChocolateShape;
    using makeimages::Topping;
    const Rgba dark = Colour(70, 38, 22), milk = Colour(146, 92, 54), white = Colour(242, 230, 206);
    const Rgba ruby = Colour(204, 84, 118), caramel = Colour(204, 136, 62), raspberry = Colour(188, 58, 92);
    const Rgba gold = Colour(226, 182, 98), cream = Colour(250, 240, 220);
    return {
        {"round_dark",
         {ChocolateShape::kRound, dark, {{dark, 0.3f}, {caramel, 0.48f}, {milk, 1.0f}}, Topping::kDrizzle, cream}},
        {"round_milk",
         {ChocolateShape::kRound, milk, {{milk, 0.3f}, {white, 0.45f}, {dark, 1.0f}}, Topping::kDrizzle, dark}},
        {"square_dark",
         {ChocolateShape::kSquare, dark, {{dark, 0.22f}, {ruby, 0.42f}, {dark, 0.6f}, {caramel, 0.78f}, {dark, 1.0f}},
          Topping::kStripes, gold}},
        {"square_white",
         {ChocolateShape::kSquare, white, {{white, 0.26f}, {raspberry, 0.5f}, {milk, 1.0f}}, Topping::kStripes, milk}},
        {"heart_ruby",
         {ChocolateShape::kHeart, ruby, {{ruby, 0.3f}, {white, 0.5f}, {dark, 1.0f}}, Topping::kPearl, cream}},
        {"heart_dark",
         {ChocolateShape::kHeart, dark, {{dark, 0.3f}, {ruby, 0.48f}, {dark, 1.0f}}, Topping::kPearl, gold}},
    };
}

bool Write(const std::string& folder, const char* name, const Canvas& canvas) {
    return makeimages::WritePng(folder + "/" + name, canvas.Width(), canvas.Height(), canvas.ToBytes());
}

// The shop's chocolate layers under shop/chocolates/: the bodies by shape and
// chocolate type, the ingredients (a band in the side) and toppings by
// option, the infusions' fillings, and the mixer's bowl with its chocolate
// and ingredient pieces by option.
bool WriteShopChocolates(const std::string& folder) {
    using makeimages::ChocolateShape;
    using makeimages::Topping;
    const std::string base = folder + "/shop/chocolates/";
    auto write = [&](const std::string& name, const Canvas& canvas) {
        return makeimages::WritePng(base + name + ".png", canvas.Width(), canvas.Height(), canvas.ToBytes());
    };
    const struct {
        const char* name;
        ChocolateShape shape;
        Topping top;
    } shapes[] = {{"bar", ChocolateShape::kSquare, Topping::kNone},
                  {"truffle", ChocolateShape::kRound, Topping::kNone},
                  {"novelty", ChocolateShape::kHeart, Topping::kNone},
                  {"infusion", ChocolateShape::kRound, Topping::kWell}};
    const Rgba types[] = {Colour(70, 38, 22), Colour(146, 92, 54), Colour(242, 230, 206)};
    const Rgba ingredients[] = {Colour(196, 140, 80), Colour(176, 32, 52), Colour(120, 178, 88)};
    const struct {
        Topping topping;
        Rgba colour;
    } toppings[] = {{Topping::kDrizzle, Colour(250, 240, 220)},
                    {Topping::kStripes, Colour(204, 136, 62)},
                    {Topping::kPearl, Colour(214, 80, 112)}};
    const Rgba fillings[] = {Colour(188, 58, 92), Colour(222, 160, 70), Colour(140, 206, 150)};
    bool written = write("bowl", makeimages::Bowl());
    for (int option = 0; option < 3; ++option) {
        std::string n = std::to_string(option);
        written = write("bowl_chocolate_" + n, makeimages::BowlChocolate(types[option])) && written;
        written = write("bowl_ingredient_" + n, makeimages::BowlPieces(ingredients[option])) && written;
        written = write("infusion_filling_" + n, makeimages::ChocolateFilling(fillings[option])) && written;
        for (const auto& shape : shapes) {
            std::string prefix = std::string(shape.name) + "_";
            // The core a little darker than the coating.
            const Rgba& coating = types[option];
            makeimages::ChocolateLook body{shape.shape, coating, {{coating, 0.3f}, {Mix(coating, Colour(0, 0, 0), 0.12f), 1.0f}},
                                           shape.top, coating};
            written = write(prefix + "body_" + n, makeimages::Chocolate(body)) && written;
            written = write(prefix + "topping_" + n,
                            makeimages::ChocolateTopping(shape.shape, toppings[option].topping, toppings[option].colour)) &&
                      written;
            if (shape.top == Topping::kNone) {
                written = write(prefix + "ingredient_" + n,
                                makeimages::ChocolateBand(shape.shape, ingredients[option], 0.35f, 0.7f)) &&
                          written;
            }
        }
    }
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeimages FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    bool written = Write(folder, "cursor/chocolate_cursor_2.png", Cursor());
    written = Write(folder, "ui/buttons/oval_lt_blue_up.png", OvalButton(OvalLook::kNormal)) && written;
    written = Write(folder, "ui/buttons/oval_lt_blue_down.png", OvalButton(OvalLook::kPressed)) && written;
    written = Write(folder, "ui/buttons/oval_lt_blue_over.png", OvalButton(OvalLook::kHover)) && written;
    written = Write(folder, "ui/buttons/oval_lt_blue_disabled.png", OvalButton(OvalLook::kDisabled)) && written;
    // The tutorial panels' buttons.
    written = Write(folder, "ui/buttons/tutorial_default.png", OvalButton(OvalLook::kNormal, 140, 36)) && written;
    written = Write(folder, "ui/buttons/tutorial_over.png", OvalButton(OvalLook::kHover, 140, 36)) && written;
    written = Write(folder, "ui/backgrounds/split9_dialog_small.png", DialogPanel(96, 96)) && written;
    written = Write(folder, "ui/backgrounds/dialog_panel.png", DialogPanel(520, 240)) && written;
    written = Write(folder, "ui/backgrounds/title_backdrop.png", TitleBackdrop()) && written;
    written = Write(folder, "ui/backgrounds/title_board.png", TitleBoard()) && written;
    written = Write(folder, "shop/hud/quest_panel.png", QuestPanel(260, 80)) && written;
    for (const char* kind : {"check", "radio"}) {
        for (const char* state : {"off", "on", "off_over", "on_over"}) {
            std::string name = std::string("ui/buttons/") + kind + "_" + state + ".png";
            Canvas look = Choice(kind[0] == 'r', state[1] == 'n', std::string(state).find("over") != std::string::npos);
            written = Write(folder, name.c_str(), look) && written;
        }
    }
    for (const char* direction : {"left", "right", "up", "down"}) {
        for (auto [look, name] : {std::pair{OvalLook::kNormal, "up"}, std::pair{OvalLook::kPressed, "down"},
                                  std::pair{OvalLook::kHover, "over"}}) {
            std::string file = std::string("ui/buttons/arrow_") + direction + "_" + name + ".png";
            written = Write(folder, file.c_str(), ArrowButton(direction[0], look)) && written;
        }
    }
    written = Write(folder, "ui/options/rail_left.png", Rail(RailPiece::kLeft)) && written;
    written = Write(folder, "ui/options/rail_mid.png", Rail(RailPiece::kMiddle)) && written;
    written = Write(folder, "ui/options/rail_right.png", Rail(RailPiece::kRight)) && written;
    written = Write(folder, "ui/options/groove.png", Groove()) && written;
    written = Write(folder, "ui/options/thumb.png", Thumb(false)) && written;
    written = Write(folder, "ui/options/thumb_over.png", Thumb(true)) && written;
    written = Write(folder, "ui/options/fill_bar.png", FillBar()) && written;
    std::vector<Canvas> chocolates;
    for (const NamedChocolate& chocolate : MenuChocolates()) {
        std::string name = std::string("ui/chocolates/") + chocolate.name + ".png";
        chocolates.push_back(makeimages::Chocolate(chocolate.look));
        written = Write(folder, name.c_str(), chocolates.back()) && written;
    }
    for (int page = 0; page < makeimages::kHelpPages; ++page) {
        std::string name = "ui/help/page_" + std::to_string(page) + ".png";
        written = Write(folder, name.c_str(), makeimages::HelpPicture(page, chocolates)) && written;
    }
    written = WriteShopChocolates(folder) && written;
    written = makeimages::WriteCustomerArt(folder) && written;
    written = makeimages::WritePlayer(folder) && written;
    written = makeimages::WriteMedals(folder) && written;
    written = makeimages::WriteMachineArt(folder) && written;
    written = makeimages::WriteStationArt(folder) && written;
    written = makeimages::WriteUpgradeShopArt(folder) && written;
    written = makeimages::WriteShopFloorArt(folder) && written;
    written = makeimages::WritePlotArt(folder) && written;
    written = Write(folder, "ui/plot/page_frame.png", DialogPanel(600, 300)) && written;
    written = makeimages::WriteBackdropArt(folder) && written;
    written = makeimages::WriteServingMachineArt(folder) && written;
    written = makeimages::WriteWorldMapArt(folder) && written;
    written = Write(folder, "anim/transparent.png", Canvas(1, 1)) && written;
    return written ? 0 : 1;
}
