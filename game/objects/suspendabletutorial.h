// What a game object on hold tells a tutorial: a tutorial step may wait for
// an object to finish what it was doing. The tutorial itself lives with the
// progression screens; the shell knows it only through this interface.
#pragma once

#include <memory>

#include "foundation/tstring.h"
#include "game/sprites/spritelistener.h"

class VSprite;

class VTutorial {
public:
    virtual ~VTutorial() = default;
    // The state of the named object in the current step.
    virtual int GetObjectState(const TString& name) = 0;
    // On to the next step.
    virtual void Advance() = 0;
};

// The listener a tutorial attaches to a game object.
class VTutorialListener : public VSpriteListener {
public:
    // The state in which an object's end of suspension moves the step on.
    static constexpr int kWaitingForObject = 2;
    // The state in which the player's arrival at a station moves the step on.
    static constexpr int kWaitingForPlayer = 3;

    explicit VTutorialListener(const std::weak_ptr<VTutorial>& tutorial) : mTutorial(tutorial) {}

    // The object's suspension ended, or OnResume refused and it is still on hold.
    virtual void OnSuspensionEnd(bool stillSuspended, const std::shared_ptr<VSprite>& object);
    // Empty once the tutorial is gone.
    std::shared_ptr<VTutorial> GetTutorial() const { return mTutorial.lock(); }

private:
    std::weak_ptr<VTutorial> mTutorial;
};
