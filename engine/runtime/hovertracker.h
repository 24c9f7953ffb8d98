// Finds the moments when the pointer rests in the window: a hover is due
// once the pointer stayed kHoverTime inside a small box around where it came
// to rest.
#pragma once

#include <cstdint>

#include "foundation/rect.h"

class THoverTracker {
public:
    static constexpr uint32_t kHoverTime = 400;
    // The box is this wide and high, centred on the resting point.
    static constexpr int kBoxSize = 4;

    // A pointer move: starts tracking, or starts again from here when the
    // pointer left the box.
    void Moved(const TPoint& point, uint32_t now);
    void Stop() { mTracking = false; }
    // True once per rest; tracking then starts again from the same point.
    bool IsDue(uint32_t now);

private:
    bool mTracking = false;
    TPoint mAnchor;
    uint32_t mStart = 0;
};
