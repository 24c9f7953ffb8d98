// The transitions that send the top screen's bouncing windows off: back where
// each came from, out on the opposite side, or out at a right angle either
// way. They last as long as the longest bounce and draw nothing themselves.
#pragma once

#include "foundation/rect.h"
#include "game/transitions/overlay.h"
#include "game/transitions/overlaysearch.h"
#include "game/widgets/bouncewindow.h"

using RBounceSearch = ROverlaySearch<RBounceWindow>;

class RBounceOff : public ROverlay {
public:
    // Directions, from type 1007 on.
    enum { kBack = 0, kOpposite = 1, kAcross = 2, kAcrossOther = 3 };
    // The sides a window came from.
    enum { kFromAbove = 0, kFromRight = 1, kFromBelow = 2, kFromLeft = 3 };

    RBounceOff(int type, const TString& command);
    ~RBounceOff() override = default;

    void Draw() override;

    // The side a window came from, judged by where its last bounce started.
    static int SideOf(const TPoint& start);
    // Where a window that bounced from start to target goes in the direction.
    static TPoint NewTarget(int direction, const TPoint& start, const TPoint& target);
};
