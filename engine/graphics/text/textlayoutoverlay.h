// The renderer's statistics overlay as laid-out text: version, frame rate,
// sprite count and memory in red over a black box at the screen's top-left.
#pragma once

#include <memory>

#include "graphics/render/statsoverlay.h"
#include "graphics/text/textlayout.h"

class TTextLayoutOverlay : public TStatsOverlay {
public:
    void Draw(TRenderer& renderer) override;

    // The overlay's mark-up with the figures filled in.
    static TString FormatStatistics(float framesPerSecond);
    // Null before the first overlay frame.
    const TTextLayout* GetLayout() const { return mLayout.get(); }

private:
    std::unique_ptr<TTextLayout> mLayout;
};
