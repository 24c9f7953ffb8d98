// The screen-transition types and the factory that makes their overlays.
#pragma once

#include "foundation/tstring.h"

class ROverlay;

enum RTransitionType {
    kFadeToBlack = 1001,
    kFadeFromBlack = 1002,
    kFadeToWhite = 1003,
    kFadeFromWhite = 1004,
    kCrossFadeIn = 1005,
    kCrossFadeOut = 1006,
    kBounceBack = 1007,
    kBounceOpposite = 1008,
    kBounceAcross = 1009,
    kBounceAcrossOther = 1010,
    kTintOff = 1011,
};

// A new overlay of the type (owned by the caller), or null for any other type.
ROverlay* CreateTransition(int type, const TString& command);
