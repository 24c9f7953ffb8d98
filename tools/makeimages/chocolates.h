// The chocolates that decorate the menus: a round, square or heart-shaped
// piece seen from above and in front, its side cut to show the layers it is
// made of, with a glossy top, something piped or set on it and a soft shadow
// under it.
#pragma once

#include <vector>

#include "tools/makeimages/canvas.h"

namespace makeimages {

enum class ChocolateShape { kRound, kSquare, kHeart };
enum class Topping { kDrizzle, kStripes, kPearl };

struct ChocolateLayer {
    Rgba colour;
    // Where the layer ends, as a part of the side's height from the top.
    float end;
};

struct ChocolateLook {
    ChocolateShape shape;
    Rgba coating;
    // From the top down; the last one reaches the bottom.
    std::vector<ChocolateLayer> layers;
    Topping topping;
    Rgba toppingColour;
};

// A 64 by 64 picture with the chocolate centred across it.
Canvas Chocolate(const ChocolateLook& look);

}  // namespace makeimages
