#include "game/transitions/transitionbounce.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int kFirstBounceType = 1007;

// -v, kept within range for the most negative value.
int32_t Negate(int32_t v) {
    return v == INT32_MIN ? INT32_MAX : -v;
}

}  // namespace

RBounceOff::RBounceOff(int type, const TString& command) : ROverlay(type, command) {
    int direction = type - kFirstBounceType;
    RBounceSearch search;
    if (TWindow* screen = GetTopScreen()) screen->VisitChildren(search, false);
    int32_t duration = 0;
    for (RBounceWindow* window : search.GetFound()) duration = std::max(duration, window->GetBounceLength());
    SetDuration(static_cast<uint32_t>(duration));
    for (RBounceWindow* window : search.GetFound()) {
        TPoint target = NewTarget(direction, window->GetStart(), window->GetTarget());
        window->BounceTo(target.x, target.y);
    }
}

void RBounceOff::Draw() {
    WaitStep();
}

int RBounceOff::SideOf(const TPoint& start) {
    // Each later test overrides the earlier ones.
    int64_t sx = start.x;
    int64_t sy = start.y;
    int side = kFromAbove;
    if (sy < std::llabs(sx) && sx < 0) side = kFromLeft;
    if (sy > std::llabs(sx)) side = kFromBelow;
    if (sx < std::llabs(sy) && sy < 0) side = kFromAbove;
    if (sx > std::llabs(sy)) side = kFromRight;
    return side;
}

TPoint RBounceOff::NewTarget(int direction, const TPoint& start, const TPoint& target) {
    int side = SideOf(start);
    bool horizontal = side == kFromRight || side == kFromLeft;
    int32_t sx = start.x;
    int32_t sy = start.y;
    switch (direction) {
    case kOpposite:
        return horizontal ? TPoint(Negate(sx), sy) : TPoint(sx, Negate(sy));
    case kAcross:
        return horizontal ? TPoint(target.x, sx) : TPoint(Negate(sy), target.y);
    case kAcrossOther:
        return horizontal ? TPoint(target.x, Negate(sx)) : TPoint(sy, target.y);
    default:
        return start;
    }
}
