#include "game/floor/character.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "game/floor/zonecontroller.h"
#include "game/progression/tutorialmanager.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "game/utilities/gamerandom.h"

namespace {

// Single-precision angles.
constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;
constexpr float kHalfPi = 1.5707964f;
constexpr float kRightFrom = -0.7853982f;
constexpr float kRightTo = 1.0471976f;
constexpr float kFrontTo = 2.0943952f;
constexpr float kLeftBelow = -2.3561945f;
// A facing this far from the shown one picks its animation again.
constexpr float kFacingSlack = 0.02f;

bool IsIdleName(const TString& name) { return name.SubString(0, 5) == "idle_"; }

TVec2 PositionOf(const ZonePoint& point) {
    return TVec2(static_cast<float>(point.GetX()), static_cast<float>(point.GetY()));
}

int FacingIndexOf(float facing) {
    if (facing >= kRightFrom && facing <= kRightTo) return VCharacter::kFaceRight;
    if (facing > kRightTo && facing < kFrontTo) return VCharacter::kFaceFront;
    if (facing >= kFrontTo || facing <= kLeftBelow) return VCharacter::kFaceLeft;
    return VCharacter::kFaceBack;
}

}  // namespace

VCharacter::VCharacter(const std::shared_ptr<ZoneController>& zones, const TString& name, int layer)
    : VSuspendable(name, layer),
      mZones(zones),
      mFacing(kHalfPi),
      mPreviousFacing(kHalfPi),
      mShownFacing(std::numeric_limits<float>::lowest()) {}

VCharacter::~VCharacter() = default;

void VCharacter::Reset() {
    VSuspendable::Reset();
    mIdleCooldown = 0;
    mWalking = false;
    mWorking = false;
    SetFacingAnimation(kFaceFront);
    Face(kFaceFront);
    mWaypoint = mStartPoint;
    mCurrentPoint = mStartPoint;
    mDestination = mStartPoint;
    if (mStartPoint) SetPosition(PositionOf(*mStartPoint));
}

void VCharacter::Update(bool paused) {
    if (mWalking) {
        Step();
    } else if (IsBusy() || !mZones || mZones->IsRouteEmpty()) {
        if (!IsBusy() && !mQueue.empty()) NextQueued();
    } else {
        SetWaypoint(mZones->PopRoutePoint());
    }
    Turn();
    UpdateIdle();
    if (mPlayingOnce && !(IsPlaying(-1) && !IsFinished(-1))) EndPlayOnce();
    VSuspendable::Update(paused);
}

void VCharacter::EndPlayOnce() {
    Face(kFaceFront);
    mPlayingOnce = false;
}

void VCharacter::Load(const std::shared_ptr<VLuaStyle>& description) {
    VSuspendable::Load(description);
    mIdleAnimations.clear();
    for (const auto& [name, child] : GetChildObjects()) {
        if (!IsIdleName(name)) continue;
        mIdleAnimations.push_back(child);
        child->SetVisible(false);
    }
    if (mZones && description) {
        mStartPoint = mZones->FindPoint(description->GetString("startZone", ""), description->GetString("startPoint", ""));
    }
}

void VCharacter::GoTo(const std::shared_ptr<ZonePoint>& point) {
    if (!mZones || !point) return;
    mDestination = point;
    mZones->FindRoute(mCurrentPoint, point);
    SetWaypoint(mZones->PopRoutePoint());
}

void VCharacter::QueueGoTo(const std::shared_ptr<ZonePoint>& point) {
    if (!point) return;
    if (VTutorialManager::Get()->IsInputAllowed()) {
        if (mQueue.empty()) {
            bool standsThere = !mWalking && mCurrentPoint == mDestination;
            if (!standsThere && point == mDestination) return;
        } else if (point == mQueue.back()) {
            return;
        }
    }
    mQueue.push_back(point);
}

void VCharacter::SetWaypoint(const std::shared_ptr<ZonePoint>& point) {
    if (!point) return;
    mWaypoint = point;
    if (IsBusy() && !mWalking) return;
    if (GetPosition() == PositionOf(*point)) {
        ArriveAtWaypoint();
    } else {
        mWalking = true;
    }
}

void VCharacter::Step() {
    if (!mWaypoint) return;
    TVec2 position = GetPosition();
    TVec2 target = PositionOf(*mWaypoint);
    TVec2 remaining = target - position;
    SetDirection(remaining);
    // Walking up or down the floor is a quarter slower.
    float speed = mWalkSpeed - 0.25f * std::fabs(mDirection.y);
    float distance = speed * static_cast<float>(GetFrameTime()) / 10.0f;
    TVec2 move = mDirection * distance;
    if (remaining.Length() < move.Length()) {
        SetPosition(target);
    } else {
        SetPosition(position + move);
    }
    if (GetPosition() == target) ArriveAtWaypoint();
}

void VCharacter::Turn() {
    float facing = mFacing;
    float turn = VValueManager::Get()->GetReal("player_turn_speed", 0.2f);
    float delta = std::atan2(mDirection.y, mDirection.x) - facing;
    if (delta > kPi) {
        facing -= turn;
        if (facing < -kPi) facing += kTwoPi;
    } else if (delta > 0 && delta < kPi) {
        facing += std::min(delta, turn);
    } else if (delta < -kPi) {
        facing += turn;
        if (facing > kPi) facing -= kTwoPi;
    } else if (delta < 0 && delta > -kPi) {
        facing += std::max(delta, -turn);
    } else if (delta == kPi || delta == -kPi) {
        facing += facing > mPreviousFacing ? -turn : turn;
    }
    if (facing != mFacing) {
        mPreviousFacing = mFacing;
        mFacing = facing;
    }
    if (std::fabs(mShownFacing - mFacing) > kFacingSlack || mRefreshFacing) ChooseFacingAnimation();
}

void VCharacter::ChooseFacingAnimation() {
    SetFacingAnimation(FacingIndexOf(mFacing));
    mShownFacing = mFacing;
    mRefreshFacing = false;
}

void VCharacter::Face(int index) {
    static const TVec2 kDirections[] = {TVec2(-1, 0), TVec2(1, 0), TVec2(0, 1), TVec2(0, -1)};
    if (index >= kFaceLeft && index <= kFaceBack) SetDirection(kDirections[index]);
    mRefreshFacing = true;
}

void VCharacter::SetDirection(const TVec2& direction) {
    if (direction.LengthSquared() == 0) return;
    mDirection = direction;
    mDirection.Normalize();
}

void VCharacter::UpdateIdle() {
    VValueManager* values = VValueManager::Get().get();
    if (IsBusy()) mIdleCooldown = values->GetInt("player_idle_first_cooldown", 0);
    if (mIdleCooldown >= 1) {
        mIdleCooldown -= static_cast<int>(GetFrameTime());
        if (mIdleCooldown <= 0) StartIdle();
    }
    if (mIdleCooldown < 1) mIdleCooldown = values->GetInt("player_idle_cooldown", 0);
    if (mIdleSprite && (IsBusy() || !(mIdleSprite->IsPlaying(-1) && !mIdleSprite->IsFinished(-1)))) {
        StopIdle();
        Face(kFaceFront);
    }
}

void VCharacter::SetFacingAnimation(int index) {
    static const char* const kAssets[] = {"walkright", "walkright", "walkfront", "walkback"};
    mFacingIndex = index;
    if (index < kFaceLeft || index > kFaceBack) return;
    SetFlip(index == kFaceLeft, false);
    SetAsset(kAssets[index], "default", "default");
    if (mWalking) {
        DoAnim("DoAnim", true, false, 0);
    } else {
        StopAnimation(true);
    }
}

void VCharacter::StartIdle() {
    if (IsBusy() || mIdleSprite || mIdleAnimations.empty()) return;
    size_t chosen = mIdleAnimations.size() == 1 ? 0 : PlatformRandom() % mIdleAnimations.size();
    mIdleSprite = mIdleAnimations[chosen];
    mIdleSprite->SetVisible(true);
    SetDrawSelf(false);
    mIdleSprite->DoAnim("", false, true, 0);
}

void VCharacter::StopIdle() {
    SetDrawSelf(true);
    if (!mIdleSprite) return;
    mIdleSprite->StopAnimation(true);
    mIdleSprite->SetVisible(false);
    mIdleSprite.reset();
}

void VCharacter::PlayOnce(const TString& asset, bool repeat) {
    if (!HasAsset(asset)) return;
    mPlayingOnce = true;
    SetAsset(asset, "default", "default");
    DoAnim("", repeat, false, 0);
}

void VCharacter::ArriveAtWaypoint() {
    if (!mZones || mZones->IsRouteEmpty()) {
        mWalking = false;
        mCurrentPoint = mDestination;
        ArriveAtDestination();
        return;
    }
    mCurrentPoint = mWaypoint;
    SetWaypoint(mZones->PopRoutePoint());
}

void VCharacter::ArriveAtDestination() {
    if (mDestination) mDestination->OnArrive();
    NextQueued();
}

bool VCharacter::NextQueued() {
    if (IsBusy() || mQueue.empty()) return false;
    std::shared_ptr<ZonePoint> next = mQueue.front();
    mQueue.pop_front();
    GoTo(next);
    return true;
}
