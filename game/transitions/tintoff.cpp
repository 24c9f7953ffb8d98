#include "game/transitions/tintoff.h"

#include <algorithm>
#include <cstdint>

RTintOff::RTintOff(int type, const TString& command) : ROverlay(type, command) {
    RTintSearch search;
    if (TWindow* screen = GetTopScreen()) screen->VisitChildren(search, false);
    uint32_t duration = 0;
    for (VTintWindow* tint : search.GetFound()) {
        // Whole milliseconds, truncated; below 1 (or not a number) counts as none.
        double time = tint->GetFadeTime();
        if (time >= 1.0) duration = std::max(duration, static_cast<uint32_t>(std::min(time, double(UINT32_MAX))));
        if (tint->IsFading()) tint->ReverseFade();
    }
    SetDuration(duration);
}

void RTintOff::Draw() {
    WaitStep();
}
