#include "tools/makeimages/helppictures.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace makeimages {

namespace {

using Outline = std::function<float(float x, float y)>;

const Rgba kInk = Colour(92, 52, 28);
const Rgba kSkin = Colour(242, 204, 170);
const Rgba kGold = Colour(226, 182, 98);
const Rgba kDarkGold = Colour(176, 126, 50);
const Rgba kRuby = Colour(214, 80, 112);
const Rgba kPink = Colour(233, 140, 160);
const Rgba kGreen = Colour(120, 180, 110);
const Rgba kWhite = Colour(255, 252, 245);
// The counter's front stands from here down.
constexpr float kCounterTop = 100.0f;
constexpr float kPi = 3.14159265f;

float CardDistance(float x, float y) {
    return RoundedBoxDistance(x, y, 2, 2, kHelpPictureWidth - 2, kHelpPictureHeight - 2, 16.0f);
}

// Paints the shape inside a rim of the ink colour, width pixels wide.
void PaintRimmed(Canvas& canvas, const Outline& shape, const Brush& fill, float width = 2.0f) {
    canvas.Paint([&](float x, float y) { return shape(x, y) - width; }, Solid(kInk));
    canvas.Paint(shape, fill);
}

// The image's colour between its pixels; premultiplied, so clear pixels lend
// no colour to their neighbours.
Rgba Sample(const Canvas& image, float x, float y) {
    x -= 0.5f;
    y -= 0.5f;
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const float fx = x - static_cast<float>(x0);
    const float fy = y - static_cast<float>(y0);
    Rgba sum{0, 0, 0, 0};
    for (int dy = 0; dy <= 1; ++dy) {
        for (int dx = 0; dx <= 1; ++dx) {
            int px = x0 + dx, py = y0 + dy;
            if (px < 0 || py < 0 || px >= image.Width() || py >= image.Height()) continue;
            float weight = (dx ? fx : 1.0f - fx) * (dy ? fy : 1.0f - fy);
            const Rgba& pixel = image.At(px, py);
            float a = pixel.a * weight;
            sum = {sum.r + pixel.r * a, sum.g + pixel.g * a, sum.b + pixel.b * a, sum.a + a};
        }
    }
    if (sum.a <= 0.0f) return sum;
    return {sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a};
}

// A 64-pixel chocolate picture standing with the middle of its base on the
// point, scaled.
void PaintChocolate(Canvas& canvas, const Canvas& chocolate, float cx, float baseY, float scale) {
    // Where Chocolate draws the middle of the piece's base.
    const float imageX = 32.0f, imageBase = 54.0f;
    const float left = cx - imageX * scale, top = baseY - imageBase * scale;
    const float right = left + static_cast<float>(chocolate.Width()) * scale;
    const float bottom = top + static_cast<float>(chocolate.Height()) * scale;
    canvas.Paint([=](float x, float y) { return RoundedBoxDistance(x, y, left, top, right, bottom, 0.0f); },
                 [&](float x, float y) { return Sample(chocolate, (x - left) / scale, (y - top) / scale); });
}

void PaintCard(Canvas& canvas) {
    canvas.Paint(CardDistance, Vertical(Colour(253, 246, 230), Colour(240, 222, 190), 2.0f, 138.0f));
}

// The shop's counter along the bottom of the card, with its light ledge.
void PaintCounter(Canvas& canvas) {
    canvas.Paint([](float x, float y) { return std::max(CardDistance(x, y), kCounterTop - y); },
                 Vertical(Colour(150, 94, 52), Colour(96, 56, 28), kCounterTop, 138.0f));
    canvas.Paint([](float x, float y) { return std::max(CardDistance(x, y), std::fabs(y - kCounterTop - 2) - 2); },
                 Solid(Colour(196, 140, 86)));
}

// A smiling customer seen from the front, standing behind the counter (paint
// the counter after).
void PaintCustomer(Canvas& canvas, float cx, const Rgba& coat, const Rgba& hair) {
    PaintRimmed(canvas, [=](float x, float y) { return RoundedBoxDistance(x, y, cx - 30, 66, cx + 30, 130, 24); },
                Vertical(coat, Mix(coat, Colour(0, 0, 0), 0.25f), 66.0f, 110.0f));
    canvas.Paint([=](float x, float y) { return PolygonDistance(x, y, {{cx - 8, 66}, {cx + 8, 66}, {cx, 78}}); },
                 Solid(kSkin));
    PaintRimmed(canvas, [=](float x, float y) { return CircleDistance(x, y, cx, 46, 18); }, Solid(kSkin), 1.5f);
    canvas.Paint([=](float x, float y) { return std::max(CircleDistance(x, y, cx, 43, 19.5f), y - 39.0f); },
                 Solid(hair));
    for (float side : {-1.0f, 1.0f}) {
        canvas.Paint([=](float x, float y) { return CircleDistance(x, y, cx + side * 6.5f, 48, 2.2f); },
                     Solid(Colour(50, 30, 20)));
        canvas.Paint([=](float x, float y) { return CircleDistance(x, y, cx + side * 11, 54, 3.5f); },
                     Solid(Colour(232, 120, 130, 0.35f)));
    }
    canvas.Paint([=](float x, float y) {
        return std::max(std::fabs(CircleDistance(x, y, cx, 50, 7)) - 1.1f, 53.5f - y);
    },
                 Solid(Colour(120, 50, 40)));
}

// A speech bubble whose tail points at the tip.
void PaintBubble(Canvas& canvas, float left, float top, float right, float bottom, float tipX, float tipY) {
    const float tailX = std::clamp(tipX + 24.0f, left + 16.0f, right - 30.0f);
    PaintRimmed(canvas, [=](float x, float y) {
        return std::min(RoundedBoxDistance(x, y, left, top, right, bottom, 14),
                        PolygonDistance(x, y, {{tailX - 6, bottom - 4}, {tailX + 10, bottom - 4}, {tipX, tipY}}));
    },
                Solid(kWhite));
}

void PaintHeart(Canvas& canvas, float cx, float cy, float size, bool filled) {
    auto heart = [=](float x, float y) { return HeartDistance(x, y, cx, cy, size); };
    if (filled) {
        PaintRimmed(canvas, heart, Vertical(Colour(240, 120, 150), kRuby, cy - size / 2, cy + size / 2), 1.5f);
    } else {
        canvas.Paint([&](float x, float y) { return std::fabs(heart(x, y)) - 1.2f; }, Solid(kInk));
    }
}

void PaintCoin(Canvas& canvas, float cx, float cy, float radius) {
    canvas.Paint([=](float x, float y) { return CircleDistance(x, y, cx, cy, radius); }, Solid(kDarkGold));
    canvas.Paint([=](float x, float y) { return CircleDistance(x, y, cx, cy, radius - 2.5f); },
                 Vertical(Colour(252, 222, 140), Colour(214, 164, 70), cy - radius, cy + radius));
    canvas.Paint([=](float x, float y) { return std::fabs(CircleDistance(x, y, cx, cy, radius * 0.55f)) - 0.8f; },
                 Solid(kDarkGold));
}

// A pile of coins seen from the side, the lowest on the base.
void PaintCoinPile(Canvas& canvas, float cx, float base, int coins) {
    for (int i = 0; i < coins; ++i) {
        float bottom = base - 7.0f * static_cast<float>(i);
        PaintRimmed(canvas, [=](float x, float y) {
            return RoundedBoxDistance(x, y, cx - 20, bottom - 8, cx + 20, bottom, 4);
        },
                    Vertical(Colour(252, 222, 140), kDarkGold, bottom - 8, bottom), 1.2f);
    }
}

std::vector<Point> StarPoints(float cx, float cy, float radius, int tips, float inner) {
    std::vector<Point> points;
    for (int i = 0; i < 2 * tips; ++i) {
        float angle = -kPi / 2 + kPi * static_cast<float>(i) / static_cast<float>(tips);
        float r = i % 2 == 0 ? radius : radius * inner;
        points.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle)});
    }
    return points;
}

void PaintStar(Canvas& canvas, float cx, float cy, float radius) {
    std::vector<Point> points = StarPoints(cx, cy, radius, 5, 0.45f);
    canvas.Paint([&](float x, float y) { return PolygonDistance(x, y, points) - 1.2f; }, Solid(kDarkGold));
    canvas.Paint([&](float x, float y) { return PolygonDistance(x, y, points); },
                 Vertical(Colour(255, 236, 150), kGold, cy - radius, cy + radius));
}

// A four-pointed glint.
void PaintSparkle(Canvas& canvas, float cx, float cy, float radius) {
    std::vector<Point> points = StarPoints(cx, cy, radius, 4, 0.25f);
    canvas.Paint([&](float x, float y) { return PolygonDistance(x, y, points); }, Solid(Colour(250, 210, 110)));
}

// The mouse pointer, as the game's own, with its tip on the point.
void PaintPointer(Canvas& canvas, float tipX, float tipY) {
    auto arrow = [=](float x, float y) { return ArrowDistance(x, y, tipX, tipY, 34.0f); };
    canvas.Paint([&](float x, float y) { return arrow(x, y) - 1.8f; }, Solid(kWhite));
    canvas.Paint(arrow, Vertical(Colour(122, 72, 40), Colour(66, 36, 18), tipY, tipY + 30.0f));
}

// A silver tray lying on the counter from left to right.
void PaintTray(Canvas& canvas, float left, float right) {
    PaintRimmed(canvas, [=](float x, float y) { return RoundedBoxDistance(x, y, left, 92, right, 101, 4); },
                Vertical(Colour(236, 236, 240), Colour(170, 170, 182), 92.0f, 101.0f), 1.2f);
}

// A broad arrow pointing right from x to x + length.
void PaintRightArrow(Canvas& canvas, float x0, float cy, float length) {
    const float head = 22.0f;
    std::vector<Point> points = {{x0, cy - 6},          {x0 + length - head, cy - 6}, {x0 + length - head, cy - 16},
                                 {x0 + length, cy},     {x0 + length - head, cy + 16}, {x0 + length - head, cy + 6},
                                 {x0, cy + 6}};
    PaintRimmed(canvas, [&](float x, float y) { return PolygonDistance(x, y, points); }, Solid(kPink), 1.5f);
}

const Canvas& Pick(const std::vector<Canvas>& chocolates, int index) {
    return chocolates[static_cast<size_t>(index) % chocolates.size()];
}

// Customers come to the counter: one stands at it, chocolates wait on a tray.
void PaintWelcome(Canvas& canvas, const std::vector<Canvas>& chocolates) {
    PaintCustomer(canvas, 150, kPink, Colour(96, 56, 30));
    PaintCounter(canvas);
    PaintTray(canvas, 270, 490);
    for (int i = 0; i < 3; ++i) PaintChocolate(canvas, Pick(chocolates, i), 310.0f + 70.0f * i, 96, 0.9f);
}

// A customer's wish in a bubble, and the hearts of patience left.
void PaintCustomers(Canvas& canvas, const std::vector<Canvas>& chocolates) {
    PaintCustomer(canvas, 100, Colour(120, 170, 220), Colour(200, 150, 70));
    PaintCounter(canvas);
    PaintBubble(canvas, 160, 12, 320, 86, 126, 46);
    PaintChocolate(canvas, Pick(chocolates, 4), 205, 72, 0.75f);
    PaintChocolate(canvas, Pick(chocolates, 2), 275, 72, 0.75f);
    for (int i = 0; i < 4; ++i) PaintHeart(canvas, 370.0f + 36.0f * i, 50, 28, i < 3);
}

// The pointer picks from the tray the chocolate the bubble asks for.
void PaintOrders(Canvas& canvas, const std::vector<Canvas>& chocolates) {
    PaintCustomer(canvas, 70, kGreen, Colour(60, 40, 30));
    PaintCounter(canvas);
    PaintBubble(canvas, 112, 8, 200, 72, 92, 40);
    PaintChocolate(canvas, Pick(chocolates, 4), 156, 62, 0.7f);
    PaintTray(canvas, 236, 500);
    for (int i = 0; i < 4; ++i) PaintChocolate(canvas, Pick(chocolates, i + 2), 270.0f + 64.0f * i, 96, 0.85f);
    canvas.Paint([](float x, float y) { return std::fabs(CircleDistance(x, y, 398, 78, 31)) - 2.0f; },
                 Solid(Colour(214, 96, 128, 0.8f)));
    PaintPointer(canvas, 408, 84);
}

// A pot of melted chocolate on the stove fills the tray's empty places.
void PaintKitchen(Canvas& canvas, const std::vector<Canvas>& chocolates) {
    PaintCounter(canvas);
    PaintRimmed(canvas, [](float x, float y) { return RoundedBoxDistance(x, y, 40, 104, 200, 126, 4); },
                Solid(Colour(70, 70, 78)));
    canvas.Paint([](float x, float y) { return SegmentDistance(x, y, 168, 70, 206, 60) - 4.0f; }, Solid(kInk));
    PaintRimmed(canvas, [](float x, float y) { return RoundedBoxDistance(x, y, 60, 60, 170, 104, 12); },
                Vertical(Colour(214, 128, 74), Colour(150, 76, 40), 60.0f, 104.0f));
    PaintRimmed(canvas, [](float x, float y) { return RoundedBoxDistance(x, y, 54, 54, 176, 64, 5); },
                Solid(Colour(226, 146, 90)), 1.5f);
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 62, 56, 168, 62, 3); },
                 Solid(Colour(96, 52, 26)));
    for (int i = 0; i < 3; ++i) {
        const float cx = 88.0f + 28.0f * i;
        canvas.Paint([=](float x, float y) {
            float wave = std::fabs(x - (cx + 4.0f * std::sin(y / 5.0f))) - 1.6f;
            return std::max(wave, std::fabs(y - 32.0f) - 16.0f);
        },
                     Solid(Colour(190, 170, 150, 0.8f)));
    }
    PaintRightArrow(canvas, 214, 76, 66);
    PaintTray(canvas, 300, 500);
    PaintChocolate(canvas, Pick(chocolates, 0), 335, 96, 0.85f);
    PaintChocolate(canvas, Pick(chocolates, 3), 400, 96, 0.85f);
    canvas.Paint([](float x, float y) { return std::fabs(CircleDistance(x, y, 465, 80, 20)) - 1.0f; },
                 Solid(Colour(92, 52, 28, 0.45f)));
}

// The order handed over in its box, the register and the payment.
void PaintPayment(Canvas& canvas, const std::vector<Canvas>& chocolates) {
    PaintCustomer(canvas, 100, Colour(176, 120, 200), Colour(96, 56, 30));
    PaintCounter(canvas);
    PaintChocolate(canvas, Pick(chocolates, 5), 210, 76, 0.6f);
    PaintRimmed(canvas, [](float x, float y) { return RoundedBoxDistance(x, y, 180, 74, 240, 100, 4); },
                Solid(kPink), 1.5f);
    canvas.Paint([](float x, float y) { return std::max(std::fabs(x - 210.0f) - 3.0f, std::fabs(y - 87.0f) - 12.0f); },
                 Solid(kGold));
    PaintRimmed(canvas, [](float x, float y) { return RoundedBoxDistance(x, y, 330, 30, 420, 60, 5); },
                Solid(Colour(60, 40, 30)));
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 337, 37, 413, 53, 3); },
                 Solid(Colour(170, 220, 170)));
    PaintRimmed(canvas, [](float x, float y) { return RoundedBoxDistance(x, y, 310, 60, 440, 100, 8); },
                Vertical(Colour(200, 100, 110), Colour(150, 66, 80), 60.0f, 100.0f));
    for (int row = 0; row < 2; ++row) {
        for (int key = 0; key < 4; ++key) {
            const float left = 326.0f + 26.0f * key, top = 66.0f + 13.0f * row;
            canvas.Paint([=](float x, float y) { return RoundedBoxDistance(x, y, left, top, left + 18, top + 9, 2); },
                         Solid(kWhite));
        }
    }
    PaintCoinPile(canvas, 478, 100, 3);
    PaintCoin(canvas, 470, 48, 13);
}

// A quick clock, and coins dropping into the tip jar.
void PaintTips(Canvas& canvas) {
    for (int i = 0; i < 3; ++i) {
        const float y0 = 50.0f + 14.0f * i;
        canvas.Paint([=](float x, float y) { return SegmentDistance(x, y, 40, y0, 72, y0) - 2.0f; },
                     Solid(Colour(92, 52, 28, 0.5f)));
    }
    PaintRimmed(canvas, [](float x, float y) { return CircleDistance(x, y, 130, 66, 42); }, Solid(kWhite), 3.0f);
    for (int hour = 0; hour < 12; ++hour) {
        const float angle = kPi * static_cast<float>(hour) / 6.0f;
        const float s = std::sin(angle), c = std::cos(angle);
        canvas.Paint([=](float x, float y) {
            return SegmentDistance(x, y, 130 + 33 * s, 66 - 33 * c, 130 + 38 * s, 66 - 38 * c) - 1.2f;
        },
                     Solid(kInk));
    }
    canvas.Paint([](float x, float y) { return SegmentDistance(x, y, 130, 66, 130, 38) - 2.0f; }, Solid(kInk));
    canvas.Paint([](float x, float y) { return SegmentDistance(x, y, 130, 66, 150, 74) - 2.5f; }, Solid(kInk));
    PaintRightArrow(canvas, 200, 66, 70);
    canvas.Paint([](float x, float y) { return RoundedBoxDistance(x, y, 330, 44, 430, 130, 14); },
                 Solid(Colour(190, 220, 235, 0.45f)));
    for (int i = 0; i < 4; ++i) PaintCoin(canvas, 356.0f + 16.0f * i, 116.0f - 6.0f * (i % 2), 12);
    canvas.Paint([](float x, float y) { return std::fabs(RoundedBoxDistance(x, y, 330, 44, 430, 130, 14)) - 1.5f; },
                 Solid(Colour(110, 140, 160)));
    PaintRimmed(canvas, [](float x, float y) { return RoundedBoxDistance(x, y, 322, 34, 438, 46, 4); },
                Solid(Colour(196, 140, 86)), 1.5f);
    PaintCoin(canvas, 372, 18, 11);
    PaintCoin(canvas, 400, 12, 9);
    PaintSparkle(canvas, 460, 30, 10);
}

// Three happy customers in a row, each with a star.
void PaintCombos(Canvas& canvas) {
    const struct {
        float cx;
        Rgba coat;
        Rgba hair;
    } customers[] = {{120, kPink, Colour(96, 56, 30)},
                     {260, Colour(120, 170, 220), Colour(200, 150, 70)},
                     {400, kGreen, Colour(60, 40, 30)}};
    for (const auto& customer : customers) PaintCustomer(canvas, customer.cx, customer.coat, customer.hair);
    PaintCounter(canvas);
    for (const auto& customer : customers) PaintStar(canvas, customer.cx + 30, 18, 14);
    PaintSparkle(canvas, 190, 30, 8);
    PaintSparkle(canvas, 330, 30, 8);
}

// Coins spent, an arrow up, and a new glass case full of chocolates.
void PaintUpgrades(Canvas& canvas, const std::vector<Canvas>& chocolates) {
    PaintCounter(canvas);
    PaintCoinPile(canvas, 90, 100, 5);
    std::vector<Point> arrow = {{230, 112}, {230, 62}, {206, 62}, {250, 16}, {294, 62}, {270, 62}, {270, 112}};
    PaintRimmed(canvas, [&](float x, float y) { return PolygonDistance(x, y, arrow); },
                Vertical(Colour(160, 214, 150), kGreen, 16.0f, 112.0f));
    PaintRimmed(canvas, [](float x, float y) { return RoundedBoxDistance(x, y, 340, 24, 480, 100, 8); },
                Solid(Colour(226, 240, 244)));
    canvas.Paint([](float x, float y) { return std::max(std::fabs(y - 62.0f) - 1.5f, std::fabs(x - 410.0f) - 66.0f); },
                 Solid(kInk));
    for (int i = 0; i < 3; ++i) {
        PaintChocolate(canvas, Pick(chocolates, i), 370.0f + 40.0f * i, 60, 0.55f);
        PaintChocolate(canvas, Pick(chocolates, i + 3), 370.0f + 40.0f * i, 97, 0.55f);
    }
    PaintSparkle(canvas, 330, 22, 10);
    PaintSparkle(canvas, 494, 40, 8);
    PaintSparkle(canvas, 486, 12, 6);
}

// The day's goal bar full, its star, and the sun going down outside.
void PaintDaysEnd(Canvas& canvas) {
    auto window = [](float x, float y) { return RoundedBoxDistance(x, y, 330, 14, 490, 96, 8); };
    PaintRimmed(canvas, window, Vertical(Colour(250, 190, 120), Colour(236, 120, 130), 14.0f, 96.0f), 4.0f);
    canvas.Paint([&](float x, float y) { return std::max(CircleDistance(x, y, 410, 96, 32), window(x, y)); },
                 Solid(Colour(255, 226, 120)));
    PaintCounter(canvas);
    PaintRimmed(canvas, [](float x, float y) { return RoundedBoxDistance(x, y, 40, 44, 250, 70, 13); },
                Vertical(Colour(248, 170, 190), Colour(214, 96, 128), 44.0f, 70.0f));
    PaintStar(canvas, 278, 57, 24);
}

// A gift box of chocolates, with hearts around it.
void PaintGoodLuck(Canvas& canvas, const std::vector<Canvas>& chocolates) {
    PaintCounter(canvas);
    for (int i = 0; i < 4; ++i) PaintChocolate(canvas, Pick(chocolates, i), 200.0f + 40.0f * i, 80, 0.7f);
    PaintRimmed(canvas, [](float x, float y) { return RoundedBoxDistance(x, y, 170, 64, 350, 112, 6); },
                Vertical(Colour(240, 150, 172), Colour(200, 80, 110), 64.0f, 112.0f));
    canvas.Paint([](float x, float y) { return std::max(std::fabs(y - 88.0f) - 5.0f, std::fabs(x - 260.0f) - 89.0f); },
                 Solid(kGold));
    for (float side : {-1.0f, 1.0f}) {
        PaintRimmed(canvas, [=](float x, float y) {
            return std::hypot((x - (260 + side * 14)) / 14.0f, (y - 84) / 8.0f) * 8.0f - 8.0f;
        },
                    Solid(kGold), 1.2f);
    }
    PaintRimmed(canvas, [](float x, float y) { return CircleDistance(x, y, 260, 87, 6); }, Solid(kGold), 1.2f);
    PaintHeart(canvas, 100, 50, 34, true);
    PaintHeart(canvas, 420, 36, 28, true);
    PaintHeart(canvas, 460, 74, 22, true);
    PaintSparkle(canvas, 140, 24, 9);
    PaintSparkle(canvas, 380, 80, 8);
}

}  // namespace

Canvas HelpPicture(int page, const std::vector<Canvas>& chocolates) {
    Canvas canvas(kHelpPictureWidth, kHelpPictureHeight);
    PaintCard(canvas);
    if (chocolates.empty()) return canvas;
    switch (page) {
        case 0: PaintWelcome(canvas, chocolates); break;
        case 1: PaintCustomers(canvas, chocolates); break;
        case 2: PaintOrders(canvas, chocolates); break;
        case 3: PaintKitchen(canvas, chocolates); break;
        case 4: PaintPayment(canvas, chocolates); break;
        case 5: PaintTips(canvas); break;
        case 6: PaintCombos(canvas); break;
        case 7: PaintUpgrades(canvas, chocolates); break;
        case 8: PaintDaysEnd(canvas); break;
        default: PaintGoodLuck(canvas, chocolates); break;
    }
    return canvas;
}

}  // namespace makeimages
