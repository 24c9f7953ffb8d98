// Goals compare a measured value with a threshold; the game data writes the
// comparison as a short text ("greaterthan+equal", ">="), parsed once into
// flag bits when the goal loads.
#pragma once

#include "foundation/tstring.h"

enum {
    kCompareNot = 1,      // negate the result
    kCompareLess = 2,     // value below threshold
    kCompareGreater = 4,  // value above threshold
    kCompareEqual = 8,    // value equal to threshold
};

// Words joined by "+" ("not", "lessthan", "greaterthan", "equal", spaces
// ignored) and the symbols "!", "<", ">", "=" anywhere; anything else adds
// nothing, so an unknown text gives 0, a goal never met.
int ParseCompareFlags(const TString& text);

// The value (first) against the threshold (second). Less and greater
// together without equal are never true; less wins over greater; NaN fails
// every relation before the not bit applies.
bool EvaluateCompare(float value, float threshold, int flags);
