#include "tools/makeimages/machines.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "tools/makeimages/canvas.h"
#include "tools/makeimages/framesheet.h"
#include "tools/makeimages/pngwriter.h"

namespace makeimages {
namespace {

using Shape = std::function<float(float x, float y)>;

const Rgba kSteel = Colour(150, 160, 172);
const Rgba kDarkSteel = Colour(84, 92, 104);
const Rgba kBrass = Colour(206, 164, 72);
const Rgba kOutline = Colour(48, 44, 52);
// The chocolate types of the options: dark, milk, white.
const Rgba kTypes[] = {Colour(70, 38, 22), Colour(146, 92, 54), Colour(242, 230, 206)};

const float kPi = 3.14159265f;

// The shape moved right by left pixels: the frame's place on its sheet.
Shape At(float left, Shape shape) {
    return [left, shape](float x, float y) { return shape(x - left, y); };
}

Shape Box(float x0, float y0, float x1, float y1, float radius) {
    return [=](float x, float y) { return RoundedBoxDistance(x, y, x0, y0, x1, y1, radius); };
}

// A box with a dark rim one and a half pixels wide.
void Plate(Canvas& sheet, float left, float x0, float y0, float x1, float y1, float radius, const Rgba& colour) {
    sheet.Paint(At(left, Box(x0, y0, x1, y1, radius)), Solid(kOutline));
    sheet.Paint(At(left, Box(x0 + 1.5f, y0 + 1.5f, x1 - 1.5f, y1 - 1.5f, std::max(radius - 1.5f, 0.0f))),
                Vertical(Mix(colour, Colour(255, 255, 255), 0.25f), colour, y0, y1));
}

void Rod(Canvas& sheet, float left, float ax, float ay, float bx, float by, float width, const Rgba& colour) {
    sheet.Paint(At(left, [=](float x, float y) { return SegmentDistance(x, y, ax, ay, bx, by) - width / 2 - 1.2f; }),
                Solid(kOutline));
    sheet.Paint(At(left, [=](float x, float y) { return SegmentDistance(x, y, ax, ay, bx, by) - width / 2; }),
                Solid(colour));
}

void Disc(Canvas& sheet, float left, float cx, float cy, float r, const Rgba& colour) {
    sheet.Paint(At(left, [=](float x, float y) { return CircleDistance(x, y, cx, cy, r + 1.2f); }), Solid(kOutline));
    sheet.Paint(At(left, [=](float x, float y) { return CircleDistance(x, y, cx, cy, r); }), Solid(colour));
}

// Frames 1..count forward as "DoAnim" and back as "Reverse", with more
// functions after them.
std::string ForwardAndBack(int count, const std::string& more = "") {
    std::string forward, back;
    for (int i = 1; i <= count; ++i) {
        AppendFrame(forward, i);
        AppendFrame(back, count + 1 - i);
    }
    return "function DoAnim() frames{" + forward + "} end function Reverse() frames{" + back + "} end" + more;
}

bool Animation(const std::string& folder, const std::string& name, int width, int height, int regx, int regy,
               int count, std::function<void(Canvas&, float, int)> draw, const std::string& script) {
    return WriteFrameSheet(folder, name, {width, height, regx, regy, count, std::move(draw), nullptr}, script);
}

bool WriteStill(const std::string& folder, const std::string& name, int width, int height,
                const std::function<void(Canvas&)>& draw) {
    Canvas canvas(width, height);
    draw(canvas);
    return WritePng(folder + "/" + name + ".png", width, height, canvas.ToBytes());
}

// The mixer's arm: a two-part steel arm swinging down and left from its
// shoulder over the mould, 40 x 40, in six frames.
void Arm(Canvas& sheet, float left, int frame) {
    float angle = -0.9f + 1.5f * static_cast<float>(frame) / 5.0f;
    float ex = 34 - 16 * std::cos(angle), ey = 14 + 16 * std::sin(angle);
    Rod(sheet, left, 34, 14, ex, ey, 4, kSteel);
    Rod(sheet, left, ex, ey, ex - 6, ey + 10, 3, kSteel);
    Disc(sheet, left, 34, 14, 3.5f, kDarkSteel);
    Disc(sheet, left, ex, ey, 2.5f, kBrass);
}

// The feeding tube sliding down, 8 x 24, four frames; its colour is the
// chocolate's.
void Tube(Canvas& sheet, float left, int frame, const Rgba& colour) {
    float bottom = 9 + 5 * static_cast<float>(frame);
    Plate(sheet, left, 1.5f, 0, 6.5f, bottom, 2, Mix(kSteel, colour, 0.55f));
    Plate(sheet, left, 0, bottom - 3, 8, bottom, 1, kDarkSteel);
}

// Drops sprayed into the mould, 20 x 16, three frames.
void Spray(Canvas& sheet, float left, int frame, const Rgba& colour) {
    for (int i = 0; i < 6; ++i) {
        float t = std::fmod(static_cast<float>(i) * 0.37f + static_cast<float>(frame) / 3.0f, 1.0f);
        float x = 10 + (static_cast<float>(i) - 2.5f) * 2.5f * t;
        float y = 2 + 12 * t;
        Disc(sheet, left, x, y, 1.3f, colour);
    }
}

// A glass tank of chocolate, 10 x 16.
void Tank(Canvas& canvas, const Rgba& colour) {
    Plate(canvas, 0, 0.5f, 0.5f, 9.5f, 15.5f, 2.5f, Colour(200, 214, 226));
    canvas.Paint(Box(2.5f, 6, 7.5f, 13.5f, 1.5f), Vertical(Mix(colour, Colour(255, 255, 255), 0.2f), colour, 6, 14));
}

// The round option button: raised; hovered, lit; pressed in, darker;
// disabled, flat grey. 22 x 22.
void Button(Canvas& canvas, bool on, bool over, bool disabled) {
    Rgba face = disabled ? Colour(170, 170, 174) : on ? Colour(236, 170, 80) : Colour(120, 176, 226);
    if (over && !disabled) face = Mix(face, Colour(255, 255, 255), 0.3f);
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, 11, 11, 10.5f); }, Solid(kOutline));
    canvas.Paint([](float x, float y) { return CircleDistance(x, y, 11, 11, 9); },
                 Vertical(Mix(face, Colour(255, 255, 255), on ? 0.0f : 0.35f), face, 2, 20));
}

// The option icons, 14 x 14: a drop of each chocolate, and the press's
// shapes.
void Drop(Canvas& canvas, const Rgba& colour) {
    auto drop = [](float grow) {
        return [grow](float x, float y) {
            return std::min(CircleDistance(x, y, 7, 8.5f, 4 + grow),
                            PolygonDistance(x, y, {{7, 1 - grow}, {3 - grow, 7.5f}, {11 + grow, 7.5f}}) - grow);
        };
    };
    canvas.Paint(drop(1.0f), Solid(kOutline));
    canvas.Paint(drop(0.0f), Solid(colour));
}

void ShapeIcon(Canvas& canvas, int shape) {
    const Rgba choc = kTypes[1];
    if (shape == 0) {
        Plate(canvas, 0, 1, 3.5f, 13, 10.5f, 1.5f, choc);
    } else if (shape == 1) {
        Disc(canvas, 0, 7, 7, 5, choc);
    } else {
        canvas.Paint([](float x, float y) { return HeartDistance(x, y, 7, 7, 13); }, Solid(kOutline));
        canvas.Paint([](float x, float y) { return HeartDistance(x, y, 7, 7, 10.5f); }, Solid(choc));
    }
}

// The press's trap door, 30 x 16, swinging down in four frames.
void Door(Canvas& sheet, float left, int frame) {
    float angle = 1.4f * static_cast<float>(frame) / 3.0f;
    Rod(sheet, left, 2, 3, 2 + 26 * std::cos(angle), 3 + 20 * std::sin(angle) * 0.5f, 3, kDarkSteel);
    Disc(sheet, left, 2, 3, 1.5f, kBrass);
}

// The large weight, 32 x 36, on its rod: it sinks down to the mould by
// frame six (the stamp).
void Weight(Canvas& sheet, float left, int frame) {
    float top = 1 + 3.6f * static_cast<float>(frame);
    Rod(sheet, left, 16, 0, 16, top + 2, 3, kSteel);
    Plate(sheet, left, 3, top, 29, top + 12, 2, kDarkSteel);
    Plate(sheet, left, 7, top + 12, 25, top + 15, 1, kBrass);
}

// A spoked wheel, 18 x 18, a quarter of a spoke further each frame.
void Wheel(Canvas& sheet, float left, int frame) {
    Disc(sheet, left, 9, 9, 7.5f, kBrass);
    Disc(sheet, left, 9, 9, 5.5f, Colour(96, 72, 40));
    for (int spoke = 0; spoke < 4; ++spoke) {
        float angle = (static_cast<float>(spoke) + static_cast<float>(frame) / 4.0f) * kPi / 2.0f;
        Rod(sheet, left, 9, 9, 9 + 6 * std::cos(angle), 9 + 6 * std::sin(angle), 1, kBrass);
    }
    Disc(sheet, left, 9, 9, 1.8f, kDarkSteel);
}

// The chocolate pouring into the mould, 8 x 20: two frames for each
// chocolate type, the stream's ripples moving.
void Stream(Canvas& sheet, float left, int frame) {
    const Rgba& colour = kTypes[frame / 2];
    float wobble = frame % 2 == 0 ? 0.5f : -0.5f;
    sheet.Paint(At(left, [=](float x, float y) { return std::fabs(x - 4 - wobble * std::sin(y * 0.6f)) - 1.8f; }),
                Solid(colour));
    sheet.Paint(At(left, [](float x, float y) { return std::hypot((x - 4) / 3.8f, (y - 18) / 1.8f) - 1.0f; }),
                Solid(colour));
}

// The ingredient machine, the topping machine and the infuser. Their
// options' colours: the ingredients (nut, cherry, mint), the toppings and
// the infusions' fillings, as on the chocolates.
const Rgba kIngredients[] = {Colour(196, 140, 80), Colour(176, 32, 52), Colour(120, 178, 88)};
const Rgba kToppings[] = {Colour(250, 240, 220), Colour(204, 136, 62), Colour(214, 80, 112)};
const Rgba kFillings[] = {Colour(188, 58, 92), Colour(222, 160, 70), Colour(140, 206, 150)};
// The tops' metal in the plain look and in those of the three ingredients.
const Rgba kTopMetals[] = {kSteel, Colour(206, 164, 72), Colour(190, 110, 70), Colour(236, 206, 92)};

// A cabinet of the machine's colour with a dark window, 72 x 64.
void Cabinet(Canvas& canvas, const Rgba& colour, float top) {
    Plate(canvas, 0, 10, top, 62, 63, 4, colour);
    Plate(canvas, 0, 18, top + 10, 54, top + 24, 3, Colour(60, 52, 56));
}

// The hopper's lid, 28 x 12, lifting open in four frames.
void Lid(Canvas& sheet, float left, int frame) {
    float angle = -0.35f * static_cast<float>(frame);
    Rod(sheet, left, 3, 10, 3 + 22 * std::cos(angle), 10 + 22 * std::sin(angle), 3, kDarkSteel);
    Disc(sheet, left, 3, 10, 1.5f, kBrass);
}

// The pump's piston, 10 x 20, down and up in four frames.
void Piston(Canvas& sheet, float left, int frame) {
    float depth = 3.0f * static_cast<float>(frame < 2 ? frame : 4 - frame);
    Rod(sheet, left, 5, 0, 5, 8 + depth, 2, kSteel);
    Plate(sheet, left, 1, 7 + depth, 9, 12 + depth, 1, kDarkSteel);
}

// A dial on top, 12 x 12, its needle swinging over three frames.
void Dial(Canvas& sheet, float left, int frame, const Rgba& metal) {
    Disc(sheet, left, 6, 6, 4.5f, metal);
    Disc(sheet, left, 6, 6, 3, Colour(240, 236, 226));
    float angle = -2.2f + 0.7f * static_cast<float>(frame);
    Rod(sheet, left, 6, 6, 6 + 2.5f * std::cos(angle), 6 + 2.5f * std::sin(angle), 0.6f, Colour(200, 40, 40));
}

// The topping's funnel, 20 x 16, shaking in four frames.
void Funnel(Canvas& sheet, float left, int frame) {
    float shake = frame % 2 == 0 ? -0.8f : 0.8f;
    auto outer = [](float x, float y) { return PolygonDistance(x, y, {{1, 1}, {19, 1}, {12, 12}, {8, 12}}); };
    auto inner = [](float x, float y) {
        return PolygonDistance(x, y, {{3, 2.5f}, {17, 2.5f}, {11, 11}, {9, 11}}) + 0.5f;
    };
    sheet.Paint(At(left + shake, outer), Solid(kOutline));
    sheet.Paint(At(left + shake, inner), Vertical(Colour(220, 226, 234), kSteel, 2, 11));
    Plate(sheet, left + shake, 8, 11, 12, 16, 1, kDarkSteel);
}

// Sprinkles falling from the funnel, 20 x 24, six frames, in the three
// toppings' colours.
void Sprinkles(Canvas& sheet, float left, int frame) {
    for (int i = 0; i < 9; ++i) {
        float t = std::fmod(static_cast<float>(i) * 0.29f + static_cast<float>(frame) / 6.0f, 1.0f);
        float x = 10 + (static_cast<float>(i % 3) - 1.0f) * (2 + 5 * t);
        Disc(sheet, left, x, 1 + 21 * t, 1.0f, kToppings[i % 3]);
    }
}

// The infuser's glass vessel, 24 x 26, its filling bubbling over eight frames
// (frame -1: still).
void Vessel(Canvas& sheet, float left, int frame) {
    Plate(sheet, left, 1, 1, 23, 25, 6, Colour(200, 214, 226));
    sheet.Paint(At(left, Box(4, 9, 20, 22, 4)),
                Vertical(kFillings[0], Mix(kFillings[0], Colour(0, 0, 0), 0.3f), 9, 22));
    for (int i = 0; frame >= 0 && i < 3; ++i) {
        float t = std::fmod(static_cast<float>(i) / 3.0f + static_cast<float>(frame) / 8.0f, 1.0f);
        Disc(sheet, left, 8 + 4 * static_cast<float>(i), 21 - 11 * t, 1.2f, Colour(255, 230, 240));
    }
}

// The infuser's head, 28 x 22, pressing down into the vessel and back.
void Head(Canvas& sheet, float left, int frame) {
    float down = 2.5f * static_cast<float>(frame);
    Rod(sheet, left, 14, 0, 14, 6 + down, 3, kSteel);
    Plate(sheet, left, 3, 4 + down, 25, 10 + down, 2, kBrass);
}

// The option icons of the three machines, 14 x 14.
void IngredientIcon(Canvas& canvas, const Rgba& colour) {
    Disc(canvas, 0, 7, 7.5f, 4.5f, colour);
    Disc(canvas, 0, 5.5f, 6, 1.2f, Mix(colour, Colour(255, 255, 255), 0.6f));
}

void ToppingIcon(Canvas& canvas, const Rgba& colour) {
    const float dots[][2] = {{4, 4}, {10, 5}, {6, 10}, {11, 10}};
    for (const auto& dot : dots) Disc(canvas, 0, dot[0], dot[1], 1.8f, colour);
}

// Writes the three machines' bodies, parts and icons.
bool WriteAddingMachines(const std::string& folder) {
    bool written = true;
    auto ingredientBody = [](Canvas& c) { Cabinet(c, Colour(96, 150, 110), 22); };
    auto toppingBody = [](Canvas& c) { Cabinet(c, Colour(200, 120, 150), 26); };
    // A frame standing round the vessel, with the door under it.
    auto infuserBody = [](Canvas& c) {
        const Rgba frame = Colour(110, 80, 150);
        Plate(c, 0, 8, 46, 64, 63, 4, Colour(130, 96, 170));
        Plate(c, 0, 8, 4, 14, 48, 2, frame);
        Plate(c, 0, 58, 4, 64, 48, 2, frame);
        Plate(c, 0, 8, 2, 64, 9, 3, frame);
    };
    written = WriteStill(folder, "ingredient_base", 72, 64, ingredientBody) && written;
    written = WriteStill(folder, "topping_base", 72, 64, toppingBody) && written;
    written = WriteStill(folder, "infuser_base", 72, 64, infuserBody) && written;
    written = Animation(folder, "ingredient_lid", 28, 12, 3, 10, 4, Lid, ForwardAndBack(4)) && written;
    const char pump[] = "function DoAnim() frames{1,2,3,4} end";
    written = Animation(folder, "ingredient_pump", 10, 20, 5, 0, 4, Piston, pump) && written;
    const char* looks[] = {"default", "upgrade1", "upgrade2", "upgrade3"};
    for (int look = 0; look < 4; ++look) {
        const Rgba metal = kTopMetals[look];
        auto dial = [=](Canvas& s, float l, int f) { Dial(s, l, f, metal); };
        std::string name = std::string("ingredient_top_") + looks[look];
        written = Animation(folder, name, 12, 12, 6, 6, 3, dial, ForwardAndBack(3)) && written;
        written = WriteStill(folder, name + "_still", 12, 12, [=](Canvas& c) { Dial(c, 0, 0, metal); }) && written;
    }
    written = Animation(folder, "topping_funnel", 20, 16, 10, 0, 4, Funnel, ForwardAndBack(4)) && written;
    written = Animation(folder, "topping_particles", 20, 24, 10, 0, 6, Sprinkles,
                        "function DoParticles() frames{1,2,3,4,5,6,1,2,3,4,5,6} end") && written;
    written = Animation(folder, "infuser_vessel", 24, 26, 12, 13, 8, Vessel,
                        "function DoAnim() frames{1,2,3,4,5,6,7,8,1,2,3,4,5,6,7,8} end") && written;
    written = WriteStill(folder, "infuser_vessel_still", 24, 26, [](Canvas& c) { Vessel(c, 0, -1); }) && written;
    // The head frees the station when it has pressed the filling in, well
    // before the vessel stops bubbling.
    written = Animation(folder, "infuser_head", 28, 22, 14, 0, 4, Head,
                        "function DoAnim() frames{1,2,3,4,4} unlock() frames{4,3,2,1} end "
                        "function Reverse() frames{4,3,2,1} end") && written;
    written = WriteStill(folder, "infuser_head_still", 28, 22, [](Canvas& c) { Head(c, 0, 0); }) && written;
    for (int option = 0; option < 3; ++option) {
        std::string n = std::to_string(option);
        const Rgba ingredient = kIngredients[option], topping = kToppings[option], filling = kFillings[option];
        auto ingredientIcon = [=](Canvas& c) { IngredientIcon(c, ingredient); };
        auto toppingIcon = [=](Canvas& c) { ToppingIcon(c, topping); };
        written = WriteStill(folder, "icon_ingredient_" + n, 14, 14, ingredientIcon) && written;
        written = WriteStill(folder, "icon_topping_" + n, 14, 14, toppingIcon) && written;
        written = WriteStill(folder, "icon_infusion_" + n, 14, 14, [=](Canvas& c) { Drop(c, filling); }) && written;
    }
    return written;
}

}  // namespace

bool WriteMachineArt(const std::string& root) {
    const std::string folder = root + "/shop/machines";
    bool written = true;
    // The sheets never set their delay: the machine does.
    written = Animation(folder, "mixer_arm", 40, 40, 34, 14, 6, Arm, ForwardAndBack(6)) && written;
    const char* types[] = {"dark", "milk", "white"};
    for (int option = 0; option < 3; ++option) {
        const Rgba colour = kTypes[option];
        std::string n = std::to_string(option);
        auto tube = [=](Canvas& s, float l, int f) { Tube(s, l, f, colour); };
        auto spray = [=](Canvas& s, float l, int f) { Spray(s, l, f, colour); };
        written = Animation(folder, "mixer_tube_" + n, 8, 24, 4, 0, 4, tube, ForwardAndBack(4)) && written;
        written = Animation(folder, "mixer_spray_" + n, 20, 16, 10, 0, 3, spray, ForwardAndBack(3)) && written;
        written = WriteStill(folder, "mixer_tank_" + n, 10, 16, [=](Canvas& c) { Tank(c, colour); }) && written;
        written =
            WriteStill(folder, std::string("icon_") + types[option], 14, 14, [=](Canvas& c) { Drop(c, colour); }) &&
            written;
    }
    const char* shapes[] = {"bar", "truffle", "novelty"};
    for (int shape = 0; shape < 3; ++shape) {
        written = WriteStill(folder, std::string("icon_") + shapes[shape], 14, 14,
                             [=](Canvas& c) { ShapeIcon(c, shape); }) &&
                  written;
    }
    const struct {
        const char* name;
        bool on, over, disabled;
    } buttons[] = {{"button", false, false, false},
                   {"button_over", false, true, false},
                   {"button_on", true, false, false},
                   {"button_on_over", true, true, false},
                   {"button_disabled", false, false, true}};
    for (const auto& b : buttons) {
        auto draw = [=](Canvas& c) { Button(c, b.on, b.over, b.disabled); };
        written = WriteStill(folder, b.name, 22, 22, draw) && written;
    }
    // The door drops the bucket once it hangs open; the weight frees the
    // station at the stamp, its sixth frame, before it rises again.
    written = Animation(folder, "press_door", 30, 16, 2, 3, 4, Door,
                        ForwardAndBack(4, " function DoDoor() frames{1,2,3,4} drop() frames{4,4,4,3,2,1} end")) &&
              written;
    written = Animation(folder, "press_weight", 32, 36, 16, 0, 6, Weight,
                        "function DoAnim() frames{1,2,3,4,5,6} unlock() frames{6,6,5,4,3,2,1} end "
                        "function Reverse() frames{6,5,4,3,2,1} end") &&
              written;
    written = Animation(folder, "press_wheel", 18, 18, 9, 9, 4, Wheel,
                        "function DoAnim() frames{1,2,3,4,1,2,3,4,1,2,3,4} end "
                        "function Reverse() frames{4,3,2,1,4,3,2,1,4,3,2,1} end") &&
              written;
    std::string fills = ForwardAndBack(2);
    for (int option = 0; option < 3; ++option) {
        std::string a = std::to_string(2 * option + 1), b = std::to_string(2 * option + 2);
        fills += " function DoAnim_" + std::to_string(option) + "() loop(6, {" + a + "," + b + "}) end";
    }
    written = Animation(folder, "press_fill", 8, 20, 4, 0, 6, Stream, fills) && written;
    written = WriteStill(folder, "press_door_still", 30, 16, [](Canvas& c) { Door(c, 0, 0); }) && written;
    written = WriteStill(folder, "press_weight_still", 32, 36, [](Canvas& c) { Weight(c, 0, 0); }) && written;
    written = WriteStill(folder, "press_wheel_still", 18, 18, [](Canvas& c) { Wheel(c, 0, 0); }) && written;
    written = WriteAddingMachines(folder) && written;
    return written;
}

}  // namespace makeimages
