#include "game/progression/upgradeselect.h"

#include "game/progression/gloweffect.h"
#include "game/sprites/sprite.h"

namespace {

// A full pulse from dark to bright takes half a second; it never stops.
constexpr float kGlowAlpha = 1.0f;
constexpr uint32_t kGlowPeriod = 500;
constexpr float kNoCycleLimit = -1.0f;

}  // namespace

std::shared_ptr<VUpgradeSelect> VUpgradeSelect::Create() {
    return std::shared_ptr<VUpgradeSelect>(new VUpgradeSelect());
}

VUpgradeSelect::VUpgradeSelect() : mGlow(VGlowEffect::Create(kGlowAlpha, kGlowPeriod, kNoCycleLimit, 0.0f)) {}

VUpgradeSelect::~VUpgradeSelect() {
    mGlow->Finish();
}

bool VUpgradeSelect::Visit(const std::shared_ptr<VSprite>& target) {
    std::shared_ptr<VUpgrade> upgrade = mUpgrade.lock();
    if (!upgrade || !target) return true;
    mGlow->SetPropagating(mRecursive);
    if (upgrade->IsOwned()) {
        target->AddEffect(mGlow);
    } else {
        target->RemoveEffect(mGlow);
    }
    return true;
}
