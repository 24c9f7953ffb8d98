// The walking figure of the shop floor, the base of the customers and the
// player: it stands on a point of the zone graph, walks the routes its zone
// controller finds and then its queued destinations, turns smoothly towards
// where it walks, shows one of four facing animations, and plays an idle
// animation now and then while it stands free.
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "foundation/vector.h"
#include "game/objects/suspendable.h"

class ZoneController;
class ZonePoint;

class VCharacter : public VSuspendable {
public:
    // Facing indexes.
    enum { kFaceLeft = 0, kFaceRight = 1, kFaceFront = 2, kFaceBack = 3 };

    VCharacter(const std::shared_ptr<ZoneController>& zones, const TString& name, int layer);
    ~VCharacter() override;

    // Back on the start point, standing, facing front.
    void Reset() override;
    void Update(bool paused) override;
    // The object's description, then the "idle_" children (hidden) and the
    // start point named by "startZone" and "startPoint".
    void Load(const std::shared_ptr<VLuaStyle>& description) override;

    virtual bool IsBusy() const { return mWalking || mWorking || mHolding; }
    // Walks the route from the current point to the point.
    virtual void GoTo(const std::shared_ptr<ZonePoint>& point);
    // Walks there after the destinations before it. While a tutorial holds
    // the game a repeat of the last destination is not queued again.
    virtual void QueueGoTo(const std::shared_ptr<ZonePoint>& point);
    virtual void SetWaypoint(const std::shared_ptr<ZonePoint>& point);
    virtual void Step();
    virtual void Turn();
    // 0 left, 1 right, 2 towards the viewer, 3 away; other codes keep the direction.
    virtual void Face(int index);
    // Kept normalised; a zero vector keeps the direction it had.
    virtual void SetDirection(const TVec2& direction);
    virtual void UpdateIdle();
    // The walk animation of the facing: "walkright" (mirrored for left),
    // "walkfront" or "walkback", running while walking.
    virtual void SetFacingAnimation(int index);
    virtual void StartIdle();
    virtual void StopIdle();
    // Shows the asset and plays it once; the character faces front after.
    virtual void PlayOnce(const TString& asset, bool repeat);
    virtual void ArriveAtWaypoint();
    virtual void ArriveAtDestination();
    virtual bool NextQueued();
    virtual bool IsQueueEmpty() const { return mQueue.empty(); }

    const std::shared_ptr<ZoneController>& GetZoneController() const { return mZones; }
    const std::shared_ptr<ZonePoint>& GetStartPoint() const { return mStartPoint; }
    const std::shared_ptr<ZonePoint>& GetCurrentPoint() const { return mCurrentPoint; }
    const std::shared_ptr<ZonePoint>& GetDestination() const { return mDestination; }
    const std::shared_ptr<ZonePoint>& GetWaypoint() const { return mWaypoint; }
    const std::deque<std::shared_ptr<ZonePoint>>& GetQueue() const { return mQueue; }
    bool IsWalking() const { return mWalking; }
    void SetWorking(bool working) { mWorking = working; }
    void SetHolding(bool holding) { mHolding = holding; }
    float GetFacing() const { return mFacing; }
    int GetFacingIndex() const { return mFacingIndex; }
    const TVec2& GetDirection() const { return mDirection; }
    float GetWalkSpeed() const { return mWalkSpeed; }
    void SetWalkSpeed(float speed) { mWalkSpeed = speed; }
    const std::shared_ptr<VObject>& GetIdleSprite() const { return mIdleSprite; }
    const std::vector<std::shared_ptr<VObject>>& GetIdleAnimations() const { return mIdleAnimations; }

protected:
    // For subclasses that show their facing otherwise.
    void SetFacingIndex(int index) { mFacingIndex = index; }
    void SetDestination(const std::shared_ptr<ZonePoint>& point) { mDestination = point; }

private:
    void ChooseFacingAnimation();
    void EndPlayOnce();

    std::shared_ptr<ZoneController> mZones;
    std::shared_ptr<ZonePoint> mStartPoint;
    std::shared_ptr<ZonePoint> mCurrentPoint;
    std::shared_ptr<ZonePoint> mDestination;
    std::shared_ptr<ZonePoint> mWaypoint;
    std::deque<std::shared_ptr<ZonePoint>> mQueue;
    bool mWalking = false;
    bool mWorking = false;
    bool mHolding = false;
    bool mPlayingOnce = false;
    float mFacing;
    float mPreviousFacing;
    float mShownFacing;
    bool mRefreshFacing = false;
    TVec2 mDirection;
    int mFacingIndex = -1;
    float mWalkSpeed = 5.0f;
    std::vector<std::shared_ptr<VObject>> mIdleAnimations;
    std::shared_ptr<VObject> mIdleSprite;
    int mIdleCooldown = 0;
};
