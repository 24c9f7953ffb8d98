// Integer points and rectangles. A rectangle's right and bottom edges are
// exclusive; inverted or empty rectangles are kept as they are.
#pragma once

struct TPoint {
    int x = 0;
    int y = 0;

    TPoint() = default;
    TPoint(int xValue, int yValue) : x(xValue), y(yValue) {}
    bool operator==(const TPoint& other) const = default;
};

struct TRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    TRect() = default;
    TRect(int leftEdge, int topEdge, int rightEdge, int bottomEdge)
        : left(leftEdge), top(topEdge), right(rightEdge), bottom(bottomEdge) {}
    bool operator==(const TRect& other) const = default;

    bool Contains(const TPoint& point) const;
    // This becomes the bounding rectangle of a and b.
    void Union(const TRect& a, const TRect& b);
    // This becomes the overlap of a and b; empty or inverted when they are disjoint.
    void Intersect(const TRect& a, const TRect& b);
};
