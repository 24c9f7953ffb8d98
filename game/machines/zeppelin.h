// The airship that collects the delivery station's boxes: invisible until
// the station starts boxing, it flies in from the left edge along a random
// cubic curve, hovers near the station in one-second loops until the box is
// ready, picks it up (letting the station go) and flies back out.
#pragma once

#include <memory>

#include "game/objects/object.h"
#include "foundation/vector.h"

class TAnimatedTexture;
class TSoundInstance;
class VDelivery;

class BZeppelin : public VObject {
public:
    // Phases: 0 none.
    enum { kNone = 0, kHovering = 5, kPickingUp = 6 };

    static std::shared_ptr<BZeppelin> Create(const TString& name);
    // In sprite layer 3; loads its three arts.
    explicit BZeppelin(const TString& name);
    ~BZeppelin() override;

    // Hidden and silent, with a new flight in drawn.
    void Reset() override;
    void Update(bool paused) override;

    // Starts the flight in; nothing while arriving.
    void Arrive();
    // The station's box is ready.
    void SetPickup(const std::shared_ptr<VDelivery>& station);

    int GetPhase() const { return mPhase; }
    bool IsArriving() const { return mArriving; }
    bool IsDeparting() const { return mDeparting; }
    bool IsPickupPending() const { return mPickupPending; }
    TVec2 GetCurrentPosition() const { return mCurrent; }
    // The flight's curve: start, controls, end.
    TVec2 GetControlPoint(int index) const;
    const std::shared_ptr<VSprite>& GetShip() const { return mShip; }
    const std::shared_ptr<TSoundInstance>& GetEngineSound() const { return mEngineSound; }

private:
    // The fraction of the flight done, unclamped; moves the ship there.
    float EvaluateFlight();
    void Hover();
    void StartPickup();
    void Depart();
    uint32_t Now() const;
    void MoveShip();

    std::shared_ptr<TSoundInstance> mEngineSound;
    std::shared_ptr<VSprite> mShip;
    std::shared_ptr<TAnimatedTexture> mPickupArt;
    std::shared_ptr<TAnimatedTexture> mFullArt;
    std::shared_ptr<TAnimatedTexture> mEmptyArt;
    TVec2 mStart;
    TVec2 mEnd;
    TVec2 mCurrent;
    TVec2 mControl1;
    TVec2 mControl2;
    bool mArriving = false;
    bool mDeparting = false;
    bool mPickupPending = false;
    uint32_t mFlightStart = 0;
    int mFlightDuration;
    int mDepartureDuration;
    int mArrivalDuration;
    std::weak_ptr<VDelivery> mStation;
    int mPhase = kNone;
};
