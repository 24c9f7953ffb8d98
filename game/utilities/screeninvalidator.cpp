#include "game/utilities/screeninvalidator.h"

#include <utility>

#include "core/windows/windowmanagerlink.h"

RScreenInvalidator* RScreenInvalidator::Create() {
    return new RScreenInvalidator();
}

RScreenInvalidator::RScreenInvalidator() {
    // The base reads its clock when constructed, before this member exists.
    mOwnClock.Start();
    SetClock(&mOwnClock);
    Start(kPeriod, true, true, false);
}

void RScreenInvalidator::BindTo(std::weak_ptr<const void> ownerToken) {
    mOwnerToken = std::move(ownerToken);
    mBound = true;
}

void RScreenInvalidator::InvalidateOnlyWhen(std::function<bool()> condition) {
    mCondition = std::move(condition);
}

bool RScreenInvalidator::Animate() {
    if (mBound && mOwnerToken.expired()) return false;
    if (mCondition && !mCondition()) return true;
    if (TWindowManagerLink* manager = GetWindowManagerLink()) manager->Invalidate();
    return true;
}
