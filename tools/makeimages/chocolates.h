// The chocolates that decorate the menus and the layers the shop builds its
// chocolates from: a round, square or heart-shaped piece seen from above and
// in front, its side cut to show the layers it is made of, with a glossy
// top, something piped or set on it, or a well for a filling, and a soft
// shadow under it; and the mixer's bowl with the chocolate and the pieces
// stirred into it. The pieces of one chocolate line up on their pictures.
#pragma once

#include <vector>

#include "tools/makeimages/canvas.h"

namespace makeimages {

enum class ChocolateShape { kRound, kSquare, kHeart };
// What lies on the top face: nothing, piping, a sweet, or a well that a
// filling goes into.
enum class Topping { kNone, kDrizzle, kStripes, kPearl, kWell };

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
// Only the topping of a piece of that shape, on a clear picture.
Canvas ChocolateTopping(ChocolateShape shape, Topping topping, const Rgba& colour);
// Only a band of the side of a piece of that shape, flecked, from one part of
// the side's height (from the top) to another.
Canvas ChocolateBand(ChocolateShape shape, const Rgba& colour, float from, float to);
// The filling in the well of a round piece.
Canvas ChocolateFilling(const Rgba& colour);
// The mixer's bowl, the chocolate in it, and pieces lying on that chocolate.
Canvas Bowl();
Canvas BowlChocolate(const Rgba& colour);
Canvas BowlPieces(const Rgba& colour);

}  // namespace makeimages
