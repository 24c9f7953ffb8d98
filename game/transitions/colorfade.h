// A transition that covers the screen with one colour whose opacity grows
// from 0 to the colour's alpha (rising) or shrinks from it to 0 (falling).
#pragma once

#include "foundation/color.h"
#include "game/transitions/overlay.h"

class RColorFade : public ROverlay {
public:
    RColorFade(int type, const TString& command, const TColor4f& color, bool rising);
    ~RColorFade() override = default;

    void Draw() override;

private:
    // The colour's opacity at progress p (0 to 1).
    float OpacityAt(float p) const;

    bool mRising;
    TColor4f mColor;
};
