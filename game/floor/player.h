// The player character: the one walker that goes where the stations send it,
// along routes while the level has a visible "station16". It grows and
// shrinks with its height on the floor, turns to the viewer after a while,
// and carries an item in each hand or one item in both.
#pragma once

#include <memory>

#include "game/floor/character.h"

class VCarriable;

class VPlayer : public VCharacter {
public:
    // Hand selectors: the current hand, the left, the right.
    enum { kCurrentHand = 0, kLeftHand = 1, kRightHand = 2 };

    static std::shared_ptr<VPlayer> Create(const std::shared_ptr<ZoneController>& zones, const TString& name,
                                           int layer);
    VPlayer(const std::shared_ptr<ZoneController>& zones, const TString& name, int layer);
    ~VPlayer() override;

    // The character's reset, then every state of every asset loaded ahead.
    void Reset() override;
    // The turnaround countdown and expired held items, then the walk.
    void Update(bool paused) override;
    // Empty hands and the depth keys "baseY", "rangeY" and "scaleRange",
    // then the character's description.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;
    void GoTo(const std::shared_ptr<ZonePoint>& point) override;
    // The character's step at the speed "walkspeed", then the depth scale.
    void Step() override;
    // A direction change (-1 for none) shows its walk animation, mirrored
    // for 0 and 3, and moves the held items to the arms that face out.
    void SetFacingAnimation(int index) override;
    // Only faces the viewer while something is held.
    void StartIdle() override;
    void StopIdle() override;
    // The station at the point reached interacts first.
    void ArriveAtDestination() override;

    // False when the item needs more hands than are free.
    bool PickUp(const std::shared_ptr<VCarriable>& item);
    // The item of the hand or empty; an empty hand switches the current hand.
    std::shared_ptr<VCarriable> GetHeldItem(int selector, int* handIndex);
    std::shared_ptr<VCarriable> TakeItemFromHand(int selector);
    int CountFreeHands() const;
    // The held items on their arms, scaled with the depth.
    void AttachHeldItems();

    float GetDepthScale() const { return mDepthScale; }
    int GetCurrentHand() const { return mCurrentHand; }
    int GetTurnaroundCooldown() const { return mTurnaroundCooldown; }
    const std::shared_ptr<VCarriable>& GetRightHand() const { return mRightHand; }
    const std::shared_ptr<VCarriable>& GetLeftHand() const { return mLeftHand; }

private:
    // The index of the hand holding something, or 0 after switching hands.
    int HandHolding(int hand);
    void SwitchHand() { mCurrentHand = mCurrentHand == kLeftHand ? kRightHand : kLeftHand; }
    std::shared_ptr<VCarriable>& Hand(int hand) { return hand == kLeftHand ? mLeftHand : mRightHand; }
    // Shows the direction again with the present hands.
    void RefreshDirection();
    void ShowNonIdleChildren(bool shown);
    void Attach(const std::shared_ptr<VCarriable>& item, bool onLeftArm, float scale);

    float mBaseY = 0;
    float mRangeY = 1.0f;
    float mScaleRange = 0;
    float mDepthScale = 1.0f;
    int mTurnaroundCooldown = 0;
    int mCurrentHand = kRightHand;
    std::shared_ptr<VCarriable> mRightHand;
    std::shared_ptr<VCarriable> mLeftHand;
    bool mFlatRangeLogged = false;
};
