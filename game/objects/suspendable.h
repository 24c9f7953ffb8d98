// A game object that can be put on hold for a time, until another sprite's
// animation ends, or both. It keeps being updated and drawn; subclasses read
// the suspended flag to decide what the hold stops. When a hold ends the
// object tells the tutorial listeners attached to it.
#pragma once

#include <cstdint>
#include <memory>

#include "game/objects/object.h"

class VSuspendable : public VObject {
public:
    static std::shared_ptr<VSuspendable> Create(const TString& name, int layer);
    VSuspendable(const TString& name, int layer);
    ~VSuspendable() override;

    // Ends the hold first when it is over, and keeps its elapsed time across
    // paused updates.
    void Update(bool paused) override;

    // Ends the hold now and forgets what it waited for.
    virtual void Resume();
    // Milliseconds on the sprite's clock; 0 holds until Resume.
    virtual void Suspend(uint32_t duration);
    // Until the sprite has no animation running or its animation ends.
    virtual void SuspendUntil(const std::shared_ptr<VSprite>& sprite);
    // Whether the object leaves the hold.
    virtual bool OnResume() { return true; }

    bool IsSuspended() const { return mSuspended; }
    uint32_t GetSuspendStart() const { return mStart; }
    uint32_t GetSuspendDuration() const { return mDuration; }
    const std::shared_ptr<VSprite>& GetAwaited() const { return mAwaited; }

protected:
    bool mSuspended = false;

private:
    uint32_t Now() const;
    bool IsHoldOver(uint32_t now) const;
    void TellTutorials();

    uint32_t mStart = 0;
    uint32_t mDuration = 0;
    std::shared_ptr<VSprite> mAwaited;
};
