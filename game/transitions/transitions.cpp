#include "game/transitions/transitions.h"

#include "foundation/color.h"
#include "game/transitions/colorfade.h"
#include "game/transitions/crossfade.h"
#include "game/transitions/tintoff.h"
#include "game/transitions/transitionbounce.h"

namespace {

const TColor4f kBlack(0, 0, 0, 1);
const TColor4f kWhite(1, 1, 1, 1);

}  // namespace

ROverlay* CreateTransition(int type, const TString& command) {
    switch (type) {
    case kFadeToBlack:
        return new RColorFade(type, command, kBlack, true);
    case kFadeFromBlack:
        return new RColorFade(type, command, kBlack, false);
    case kFadeToWhite:
        return new RColorFade(type, command, kWhite, true);
    case kFadeFromWhite:
        return new RColorFade(type, command, kWhite, false);
    case kCrossFadeIn:
        return new RCrossFade(type, command, true);
    case kCrossFadeOut:
        return new RCrossFade(type, command, false);
    case kBounceBack:
    case kBounceOpposite:
    case kBounceAcross:
    case kBounceAcrossOther:
        return new RBounceOff(type, command);
    case kTintOff:
        return new RTintOff(type, command);
    default:
        return nullptr;
    }
}
