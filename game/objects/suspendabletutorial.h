// The listener a tutorial hangs on the game objects its current step names:
// a click on an object, or the end of an object's hold, may move the step on.
#pragma once

#include <memory>

#include "foundation/tstring.h"
#include "game/sprites/spritelistener.h"

class VSprite;
class VTutorial;

class VTutorialListener : public VSpriteListener {
public:
    // The object's trigger value in the current step that moves it on: used
    // by a click, or its hold ended.
    static constexpr int kAdvanceOnClick = 1;
    static constexpr int kWaitingForObject = 2;
    // The state in which the player's arrival at a station moves the step on.
    static constexpr int kWaitingForPlayer = 3;

    explicit VTutorialListener(const std::weak_ptr<VTutorial>& tutorial) : mTutorial(tutorial) {}

    void OnClick(const std::shared_ptr<VSprite>& sprite) override;
    // The object's suspension ended, or OnResume refused and it is still on hold.
    virtual void OnSuspensionEnd(bool stillSuspended, const std::shared_ptr<VSprite>& object);
    // Empty once the tutorial is gone.
    std::shared_ptr<VTutorial> GetTutorial() const { return mTutorial.lock(); }

private:
    // Advances the tutorial, while it lives, when the object has the value.
    void AdvanceOn(const std::shared_ptr<VSprite>& object, int value);

    std::weak_ptr<VTutorial> mTutorial;
};
