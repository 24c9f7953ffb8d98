#include "game/objects/suspendabletutorial.h"

#include "game/sprites/sprite.h"

void VTutorialListener::OnSuspensionEnd(bool stillSuspended, const std::shared_ptr<VSprite>& object) {
    if (stillSuspended || !object) return;
    std::shared_ptr<VTutorial> tutorial = mTutorial.lock();
    if (tutorial && tutorial->GetObjectState(object->GetName()) == kWaitingForObject) tutorial->Advance();
}
