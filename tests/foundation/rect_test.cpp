#include "foundation/rect.h"

#include <gtest/gtest.h>

namespace {

TEST(TRect, RightAndBottomEdgesAreExclusive) {
    const TRect r(0, 0, 10, 10);
    struct Case {
        TPoint point;
        bool inside;
    };
    const Case cases[] = {
        {{0, 0}, true},   {{9, 9}, true},    {{10, 5}, false}, {{5, 10}, false},
        {{-1, 5}, false}, {{5, -1}, false},  {{10, 10}, false}, {{0, 9}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(r.Contains(c.point), c.inside) << c.point.x << "," << c.point.y;
    }
    EXPECT_FALSE(TRect(5, 5, 5, 5).Contains(TPoint(5, 5)));
}

TEST(TRect, UnionAndIntersect) {
    TRect r;
    r.Union(TRect(0, 0, 10, 10), TRect(5, -5, 20, 8));
    EXPECT_EQ(r, TRect(0, -5, 20, 10));
    r.Intersect(TRect(0, 0, 10, 10), TRect(5, -5, 20, 8));
    EXPECT_EQ(r, TRect(5, 0, 10, 8));
}

TEST(TRect, DisjointIntersectionIsReturnedInverted) {
    TRect r;
    r.Intersect(TRect(0, 0, 10, 10), TRect(20, 30, 25, 35));
    EXPECT_EQ(r, TRect(20, 30, 10, 10));
    EXPECT_LT(r.right, r.left);
    EXPECT_LT(r.bottom, r.top);
    // Inverted inputs take part in a union as they are.
    r.Union(TRect(10, 10, 0, 0), TRect(2, 2, 4, 4));
    EXPECT_EQ(r, TRect(2, 2, 4, 4));
}

TEST(TPoint, Equality) {
    EXPECT_TRUE(TPoint(1, 2) == TPoint(1, 2));
    EXPECT_FALSE(TPoint(1, 2) == TPoint(2, 1));
}

}  // namespace
