#include "platform/display/shelfpacker.h"

#include <algorithm>

namespace display {

namespace {

// A shelf takes rectangles down to half its height, so that small ones do
// not strand the room above them on tall shelves.
bool Suits(int shelfHeight, int height) {
    return height <= shelfHeight && height * 2 >= shelfHeight;
}

}  // namespace

bool ShelfPacker::Place(int width, int height, Rect& placed) {
    if (width <= 0 || height <= 0 || width > mSide || height > mSide) return false;
    for (Shelf& shelf : mShelves) {
        if (Suits(shelf.height, height) && PlaceOnShelf(shelf, width, height, placed)) return true;
    }
    int top = mShelves.empty() ? 0 : mShelves.back().top + mShelves.back().height;
    if (top + height > mSide) return false;
    mShelves.push_back({top, height, {}});
    return PlaceOnShelf(mShelves.back(), width, height, placed);
}

int ShelfPacker::FindSpan(const Shelf& shelf, int width) const {
    int left = 0;
    for (const Rect& used : shelf.used) {
        if (used.left - left >= width) return left;
        left = used.right;
    }
    return mSide - left >= width ? left : -1;
}

bool ShelfPacker::PlaceOnShelf(Shelf& shelf, int width, int height, Rect& placed) {
    int left = FindSpan(shelf, width);
    if (left < 0) return false;
    placed = {left, shelf.top, left + width, shelf.top + height};
    auto at = std::find_if(shelf.used.begin(), shelf.used.end(), [&](const Rect& used) { return used.left > left; });
    shelf.used.insert(at, placed);
    return true;
}

void ShelfPacker::Free(const Rect& placed) {
    for (Shelf& shelf : mShelves) {
        if (shelf.top != placed.top) continue;
        auto at = std::find_if(shelf.used.begin(), shelf.used.end(),
                               [&](const Rect& used) { return used.left == placed.left; });
        if (at != shelf.used.end()) shelf.used.erase(at);
        break;
    }
    while (!mShelves.empty() && mShelves.back().used.empty()) mShelves.pop_back();
}

}  // namespace display
