// The transition that reverses the fade of every fading tint window of the
// top screen.
#pragma once

#include "game/widgets/overlay.h"
#include "game/widgets/overlaysearch.h"
#include "game/widgets/tintwindow.h"

using RTintSearch = ROverlaySearch<VTintWindow>;

// Lasts as long as the longest tint time (truncated to whole milliseconds);
// draws nothing itself.
class RTintOff : public ROverlay {
public:
    RTintOff(int type, const TString& command);
    ~RTintOff() override = default;

    void Draw() override;
};
