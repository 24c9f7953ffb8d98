// The transition that reverses the fade of every fading tint window of the
// top screen.
#pragma once

#include "game/transitions/overlay.h"
#include "game/transitions/overlaysearch.h"
#include "game/transitions/tintwindow.h"

using RTintSearch = ROverlaySearch<VTintWindow>;

// Lasts as long as the longest tint time (truncated to whole milliseconds);
// draws nothing itself.
class RTintOff : public ROverlay {
public:
    RTintOff(int type, const TString& command);
    ~RTintOff() override = default;

    void Draw() override;
};
