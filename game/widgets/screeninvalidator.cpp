#include "game/widgets/screeninvalidator.h"

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

bool RScreenInvalidator::Animate() {
    if (TWindowManagerLink* manager = GetWindowManagerLink()) manager->Invalidate();
    return true;
}
