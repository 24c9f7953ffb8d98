#include "game/utilities/gamerandom.h"

#include "runtime/platform.h"
#include "foundation/debuglog.h"
#include "foundation/random.h"
#include "scriptedsprites/animationhost.h"

namespace {

// Slightly below 2^-32, so the largest draw still gives the float below 1.
constexpr double kUnitScale = 2.3283063671497593e-10;

TRandom MakeGameRandom() {
    TRandom random;
    if (TPlatform* platform = TPlatform::GetInstance()) {
        random.Seed(platform->Rand());
    } else {
        DebugLog("GetGameRandom: no platform to seed from; the fixed seed stays");
    }
    return random;
}

}  // namespace

TRandom& GetGameRandom() {
    static TRandom random = MakeGameRandom();
    return random;
}

uint32_t PlatformRandom() {
    if (TAnimationHost* host = GetAnimationHost()) return host->Rand();
    DebugLog("PlatformRandom: no platform to draw from; 0 stands in");
    return 0;
}

float RandomFloat(TRandom& generator, float a, float b) {
    return RandomFloat(generator.Next(), a, b);
}

float RandomFloat(uint32_t drawn, float a, float b) {
    float unit = static_cast<float>(static_cast<double>(drawn) * kUnitScale);
    return a + (b - a) * unit;
}
