// Places rectangles on a square page in shelves: rows as high as the first
// rectangle that opened them, filled from the left. Freed room is reused;
// emptied shelves at the bottom are given back.
#pragma once

#include <vector>

#include "platform/display/types.h"

namespace display {

class ShelfPacker {
public:
    explicit ShelfPacker(int side) : mSide(side) {}

    // Where a rectangle of that size goes; false when the page has no room.
    bool Place(int width, int height, Rect& placed);
    // Gives back a rectangle Place handed out.
    void Free(const Rect& placed);
    bool Empty() const { return mShelves.empty(); }

private:
    struct Shelf {
        int top = 0, height = 0;
        std::vector<Rect> used;  // ordered from the left
    };

    // The left of a free span of that width in the shelf, or -1.
    int FindSpan(const Shelf& shelf, int width) const;
    bool PlaceOnShelf(Shelf& shelf, int width, int height, Rect& placed);

    int mSide;
    std::vector<Shelf> mShelves;  // ordered from the top
};

}  // namespace display
