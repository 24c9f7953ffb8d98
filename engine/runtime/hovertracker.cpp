#include "runtime/hovertracker.h"

#include <cstdlib>

void THoverTracker::Moved(const TPoint& point, uint32_t now) {
    const int64_t kHalf = kBoxSize / 2;
    bool inBox = std::llabs(int64_t{point.x} - mAnchor.x) <= kHalf && std::llabs(int64_t{point.y} - mAnchor.y) <= kHalf;
    if (mTracking && inBox) return;
    mTracking = true;
    mAnchor = point;
    mStart = now;
}

bool THoverTracker::IsDue(uint32_t now) {
    // Unsigned difference: right across the timer's wrap-around.
    if (!mTracking || now - mStart < kHoverTime) return false;
    mStart = now;
    return true;
}
