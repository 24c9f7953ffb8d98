#include "game/objects/suspendabletutorial.h"

#include "game/progression/tutorial.h"
#include "game/sprites/sprite.h"

void VTutorialListener::AdvanceOn(const std::shared_ptr<VSprite>& object, int value) {
    std::shared_ptr<VTutorial> tutorial = mTutorial.lock();
    if (tutorial && object && tutorial->GetObjectState(object->GetName()) == value) tutorial->Advance();
}

void VTutorialListener::OnClick(const std::shared_ptr<VSprite>& sprite) {
    AdvanceOn(sprite, kAdvanceOnClick);
}

void VTutorialListener::OnSuspensionEnd(bool stillSuspended, const std::shared_ptr<VSprite>& object) {
    if (!stillSuspended) AdvanceOn(object, kWaitingForObject);
}
