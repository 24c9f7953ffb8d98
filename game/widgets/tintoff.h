// The transition that reverses the fade of every fading tint window of the
// top screen, and the search that finds those windows.
#pragma once

#include <vector>

#include "core/windows/windowspider.h"
#include "game/widgets/overlay.h"

class VTintWindow;

// Collects the tint windows among the visited windows and all their
// descendants, each window before its descendants.
class RTintSearch : public TWindowSpider {
public:
    bool Visit(TWindow* window) override;

    const std::vector<VTintWindow*>& GetFound() const { return mFound; }

private:
    std::vector<VTintWindow*> mFound;
};

// Lasts as long as the longest tint time (truncated to whole milliseconds);
// draws nothing itself.
class RTintOff : public ROverlay {
public:
    RTintOff(int type, const TString& command);
    ~RTintOff() override = default;

    void Draw() override;
};
