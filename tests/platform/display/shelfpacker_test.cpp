#include <gtest/gtest.h>

#include <vector>

#include "platform/display/shelfpacker.h"

namespace {

using display::Rect;
using display::ShelfPacker;

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Places every size and checks that what was placed lies on the page, has
// its size and overlaps nothing placed before.
std::vector<Rect> PlaceAll(ShelfPacker& packer, int side, const std::vector<std::pair<int, int>>& sizes) {
    std::vector<Rect> placed;
    for (auto [width, height] : sizes) {
        Rect rect;
        EXPECT_TRUE(packer.Place(width, height, rect)) << width << "x" << height;
        EXPECT_EQ(rect.Width(), width);
        EXPECT_EQ(rect.Height(), height);
        EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= side && rect.bottom <= side);
        for (const Rect& other : placed) EXPECT_FALSE(Overlap(rect, other));
        placed.push_back(rect);
    }
    return placed;
}

TEST(ShelfPackerTest, PlacesWithoutOverlapUntilThePageIsFull) {
    ShelfPacker packer(64);
    // A shelf of four 16s, one of two 32s and two of eight 8s fill it.
    std::vector<Rect> placed = PlaceAll(packer, 64, {{16, 16}, {16, 16}, {16, 16}, {16, 16}, {32, 32}, {32, 32},
                                                     {8, 8},   {8, 8},   {8, 8},   {8, 8},   {8, 8},   {8, 8},
                                                     {8, 8},   {8, 8},   {8, 8},   {8, 8},   {8, 8},   {8, 8},
                                                     {8, 8},   {8, 8},   {8, 8},   {8, 8}});
    Rect rect;
    EXPECT_FALSE(packer.Place(1, 1, rect));
    EXPECT_FALSE(ShelfPacker(64).Place(65, 1, rect));
    EXPECT_FALSE(ShelfPacker(64).Place(0, 1, rect));
}

TEST(ShelfPackerTest, FreedRoomIsReusedAndEmptiedShelvesAreGivenBack) {
    ShelfPacker packer(64);
    std::vector<Rect> placed = PlaceAll(packer, 64, {{32, 32}, {32, 32}, {64, 32}});
    Rect rect;
    EXPECT_FALSE(packer.Place(16, 16, rect));
    packer.Free(placed[0]);
    ASSERT_TRUE(packer.Place(32, 32, rect));
    EXPECT_EQ(rect.left, placed[0].left);
    EXPECT_EQ(rect.top, placed[0].top);

    // The bottom shelf given back takes a rectangle of another height.
    packer.Free(placed[2]);
    ASSERT_TRUE(packer.Place(64, 20, rect));
    EXPECT_EQ(rect.top, 32);
    packer.Free(rect);
    packer.Free(placed[1]);
    EXPECT_FALSE(packer.Empty());
    packer.Free(placed[0]);
    EXPECT_TRUE(packer.Empty());
    EXPECT_TRUE(packer.Place(64, 64, rect));
}

TEST(ShelfPackerTest, SmallRectanglesOpenTheirOwnShelfBelowTallOnes) {
    ShelfPacker packer(64);
    std::vector<Rect> placed = PlaceAll(packer, 64, {{16, 32}, {4, 4}});
    EXPECT_EQ(placed[1].top, 32);
}

}  // namespace
