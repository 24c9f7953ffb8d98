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
        forward += (i > 1 ? "," : "") + std::to_string(i);
        back += (i > 1 ? "," : "") + std::to_string(count + 1 - i);
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
    return written;
}

}  // namespace makeimages
