#include "tools/makeimages/player.h"

#include <vector>

#include "tools/makeimages/canvas.h"
#include "tools/makeimages/framesheet.h"

namespace makeimages {

namespace {

enum class View { kSide, kFront, kBack };

constexpr int kWidth = 56;
constexpr int kHeight = 100;
// The feet.
constexpr int kRegX = 28;
constexpr int kRegY = 96;
constexpr int kFrames = 4;

const Rgba kSkin = Colour(238, 198, 164);
const Rgba kJacket = Colour(250, 244, 232);
const Rgba kSleeve = Colour(236, 226, 208);
const Rgba kApron = Colour(120, 70, 40);
const Rgba kTrousers = Colour(62, 42, 32);
const Rgba kHair = Colour(92, 54, 30);
const Rgba kEyes = Colour(40, 24, 16);

// The stride: legs apart, together, the other way, together.
float Stride(int frame) {
    static const float kStride[kFrames] = {0, 1, 0, -1};
    return kStride[frame];
}

// The body rises a pixel between the strides.
float Bob(int frame) { return Stride(frame) == 0 ? 0.0f : -1.0f; }

void Box(Canvas& sheet, float left, float x0, float y0, float x1, float y1, float radius, const Rgba& colour) {
    sheet.Paint([=](float x, float y) { return RoundedBoxDistance(x, y, left + x0, y0, left + x1, y1, radius); },
                Solid(colour));
}

void Disc(Canvas& sheet, float left, float cx, float cy, float radius, const Rgba& colour) {
    sheet.Paint([=](float x, float y) { return CircleDistance(x, y, left + cx, cy, radius); }, Solid(colour));
}

void Legs(Canvas& sheet, float left, View view, int frame) {
    float stride = Stride(frame);
    if (view == View::kSide) {
        Box(sheet, left, 24 + stride * 5, 66, 31 + stride * 5, 95, 3, kTrousers);
        Box(sheet, left, 24 - stride * 5, 66, 31 - stride * 5, 95, 3, kTrousers);
        return;
    }
    // Seen from the front or the back a stride lifts one foot.
    Box(sheet, left, 19, 66, 26, stride > 0 ? 92 : 95, 3, kTrousers);
    Box(sheet, left, 30, 66, 37, stride < 0 ? 92 : 95, 3, kTrousers);
}

void Head(Canvas& sheet, float left, View view, float bob) {
    Disc(sheet, left, 28, 20 + bob, 11, view == View::kBack ? kHair : kSkin);
    // The chef's hat.
    Box(sheet, left, 18, 0 + bob, 38, 12 + bob, 5, kJacket);
    if (view == View::kFront) {
        Disc(sheet, left, 24, 21 + bob, 1.6f, kEyes);
        Disc(sheet, left, 32, 21 + bob, 1.6f, kEyes);
    } else if (view == View::kSide) {
        Disc(sheet, left, 34, 21 + bob, 1.6f, kEyes);
    }
}

void Body(Canvas& sheet, float left, View view, int frame) {
    float bob = Bob(frame);
    Legs(sheet, left, view, frame);
    if (view == View::kSide) {
        Box(sheet, left, 19, 34 + bob, 37, 72 + bob, 7, kJacket);
        Box(sheet, left, 31, 46 + bob, 39, 74 + bob, 2, kApron);
    } else {
        Box(sheet, left, 15, 34 + bob, 41, 72 + bob, 8, kJacket);
        // The apron in front, its ties behind.
        if (view == View::kFront) Box(sheet, left, 19, 46 + bob, 37, 74 + bob, 3, kApron);
        if (view == View::kBack) Box(sheet, left, 15, 48 + bob, 41, 51 + bob, 1, kApron);
    }
    Head(sheet, left, view, bob);
}

// The hand of an arm, hanging or held out, in frame pixels.
struct Hand {
    float x;
    float y;
};

Hand HandOf(View view, bool leftArm, bool carrying, int frame) {
    float bob = Bob(frame);
    if (view == View::kSide) return carrying ? Hand{46, 47 + bob} : Hand{28 - Stride(frame) * 3, 64 + bob};
    float x = leftArm ? 44.0f : 12.0f;
    return carrying ? Hand{x, 54 + bob} : Hand{x, 64 + bob};
}

void Arm(Canvas& sheet, float left, View view, bool leftArm, bool carrying, int frame) {
    Hand hand = HandOf(view, leftArm, carrying, frame);
    float shoulder = 37 + Bob(frame);
    if (view == View::kSide && carrying) {
        Box(sheet, left, 26, shoulder, 30, hand.y + 2, 2, kSleeve);
        Box(sheet, left, 26, hand.y - 3, hand.x, hand.y + 3, 3, kSleeve);
    } else {
        Box(sheet, left, hand.x - 3.5f, shoulder, hand.x + 3.5f, hand.y, 3, kSleeve);
    }
    Disc(sheet, left, hand.x, hand.y, 3.5f, kSkin);
}

std::vector<FrameAnchor> BodyAnchors(View view, int frame) {
    int bob = static_cast<int>(Bob(frame));
    if (view == View::kSide) return {{"lefthand", 30, 62 + bob}, {"righthand", 30, 62 + bob}, {"bucket", 40, 52 + bob}};
    return {{"lefthand", 44, 62 + bob}, {"righthand", 12, 62 + bob}, {"bucket", 28, 52 + bob}};
}

FrameSheet Sheet(std::function<void(Canvas&, float, int)> draw, std::function<std::vector<FrameAnchor>(int)> anchors) {
    return FrameSheet{kWidth, kHeight, kRegX, kRegY, kFrames, std::move(draw), std::move(anchors)};
}

// The waving idle: the right hand up by the head, swinging.
void Wave(Canvas& sheet, float left, int frame) {
    Body(sheet, left, View::kFront, 0);
    Arm(sheet, left, View::kFront, true, false, 0);
    float swing = Stride(frame) * 3;
    Box(sheet, left, 9, 14 + swing, 15, 40, 3, kSleeve);
    Disc(sheet, left, 12 + swing, 13, 3.5f, kSkin);
}

// The stretching idle: both hands rise over the hat and come down.
void Stretch(Canvas& sheet, float left, int frame) {
    static const float kLift[kFrames] = {0, 20, 34, 20};
    Body(sheet, left, View::kFront, 0);
    for (float x : {12.0f, 44.0f}) {
        float hand = 64 - kLift[frame] * 1.5f;
        Box(sheet, left, x - 3.5f, hand, x + 3.5f, 40, 3, kSleeve);
        Disc(sheet, left, x, hand, 3.5f, kSkin);
    }
}

}  // namespace

bool WritePlayer(const std::string& folder) {
    const struct {
        const char* name;
        View view;
    } views[] = {{"walkright", View::kSide}, {"walkfront", View::kFront}, {"walkback", View::kBack}};
    const std::string base = "shop/player/";
    bool written = true;
    for (const auto& walk : views) {
        View view = walk.view;
        written = WriteFrameSheet(folder, base + walk.name,
                                  Sheet([=](Canvas& sheet, float left, int frame) { Body(sheet, left, view, frame); },
                                        [=](int frame) { return BodyAnchors(view, frame); })) &&
                  written;
        for (bool leftArm : {true, false}) {
            for (bool carrying : {false, true}) {
                std::string name = base + (leftArm ? "left_arm_" : "right_arm_") + walk.name + (carrying ? "_carry" : "");
                const char* point = leftArm ? "lefthand" : "righthand";
                auto draw = [=](Canvas& sheet, float left, int frame) { Arm(sheet, left, view, leftArm, carrying, frame); };
                auto anchors = [=](int frame) {
                    Hand hand = HandOf(view, leftArm, carrying, frame);
                    return std::vector<FrameAnchor>{{point, static_cast<int>(hand.x), static_cast<int>(hand.y)}};
                };
                written = WriteFrameSheet(folder, name, Sheet(draw, anchors)) && written;
            }
        }
    }
    written = WriteFrameSheet(folder, base + "idle_wave", Sheet(Wave, nullptr)) && written;
    written = WriteFrameSheet(folder, base + "idle_stretch", Sheet(Stretch, nullptr)) && written;
    return written;
}

}  // namespace makeimages
