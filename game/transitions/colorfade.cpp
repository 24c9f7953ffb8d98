#include "game/transitions/colorfade.h"

#include "game/utilities/rectdraw.h"

RColorFade::RColorFade(int type, const TString& command, const TColor4f& color, bool rising)
    : ROverlay(type, command), mRising(rising), mColor(color) {}

float RColorFade::OpacityAt(float p) const {
    return mRising ? mColor.a * p : mColor.a - mColor.a * p;
}

void RColorFade::Draw() {
    float opacity = OpacityAt(AdvanceTime());
    FillRectColor(GetClientRect(), TColor4f(mColor.r, mColor.g, mColor.b, opacity));
    CheckDone();
}
