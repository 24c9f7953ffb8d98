#include "game/shell/valueconditions.h"

namespace {

const VValueConditions kDefaultConditions;
const VValueConditions* gConditions = &kDefaultConditions;

}  // namespace

bool VValueConditions::IsUpgradeOwned(const TString&, const TString&) const {
    return false;
}

bool VValueConditions::IsStepQueued(const TString&) const {
    return false;
}

const VValueConditions& GetValueConditions() {
    return *gConditions;
}

void SetValueConditions(const VValueConditions* conditions) {
    gConditions = conditions ? conditions : &kDefaultConditions;
}
