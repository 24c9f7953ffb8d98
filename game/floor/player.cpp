#include "game/floor/player.h"

#include <algorithm>

#include "foundation/debuglog.h"
#include "game/floor/zonecontroller.h"
#include "game/machines/station.h"
#include "game/objects/carriable.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "game/shop/shopwindow.h"

namespace {

const char kLeftArm[] = "left_arm";
const char kRightArm[] = "right_arm";

bool IsIdleName(const TString& name) { return name.SubString(0, 5) == "idle_"; }

// Facing left or away shows the mirrored art: the hands change arms.
bool IsMirrored(int index) { return index == VCharacter::kFaceLeft || index == VCharacter::kFaceBack; }

void Detach(const std::shared_ptr<VSprite>& item) {
    if (std::shared_ptr<VSprite> owner = item->GetOwner()) owner->RemoveChild(item);
}

const char* WalkAnimation(int index) {
    static const char* const kAnimations[] = {"walkright", "walkright", "walkfront", "walkback"};
    return kAnimations[index];
}

}  // namespace

std::shared_ptr<VPlayer> VPlayer::Create(const std::shared_ptr<ZoneController>& zones, const TString& name,
                                         int layer) {
    auto player = std::make_shared<VPlayer>(zones, name, layer);
    Adopt(player);
    return player;
}

VPlayer::VPlayer(const std::shared_ptr<ZoneController>& zones, const TString& name, int layer)
    : VCharacter(zones, name, layer) {}

VPlayer::~VPlayer() = default;

void VPlayer::Reset() {
    VCharacter::Reset();
    PreloadAssets("all", "all", false);
}

void VPlayer::Update(bool paused) {
    if (mTurnaroundCooldown > 0) {
        mTurnaroundCooldown -= static_cast<int>(GetFrameTime());
        if (mTurnaroundCooldown < 1 && !IsBusy()) Face(kFaceFront);
    }
    if (mRightHand && mRightHand->IsExpired()) TakeItemFromHand(kRightHand);
    if (mLeftHand && mLeftHand->IsExpired()) TakeItemFromHand(kLeftHand);
    VCharacter::Update(paused);
}

void VPlayer::Load(const std::shared_ptr<VLuaStyle>& description) {
    TakeItemFromHand(kRightHand);
    TakeItemFromHand(kLeftHand);
    if (description) {
        mBaseY = static_cast<float>(description->GetNumber("baseY", 0));
        mRangeY = static_cast<float>(description->GetNumber("rangeY", 1.0));
        mScaleRange = static_cast<float>(description->GetNumber("scaleRange", 0));
    }
    SetWalkSpeed(VValueManager::Get()->GetReal("walkspeed", 5.0f));
    VCharacter::Load(description);
    SetDelay(30, true);
}

void VPlayer::GoTo(const std::shared_ptr<ZonePoint>& point) {
    const std::shared_ptr<ZoneController>& zones = GetZoneController();
    if (!zones || !point) return;
    SetDestination(point);
    ShopWindow* screen = ShopWindow::GetCurrent();
    if (screen && screen->IsStation16Active()) {
        zones->FindRoute(GetCurrentPoint(), point);
        SetWaypoint(zones->PopRoutePoint());
    } else {
        SetWaypoint(point);
    }
}

void VPlayer::Step() {
    SetWalkSpeed(VValueManager::Get()->GetReal("walkspeed", 5.0f));
    VCharacter::Step();
    mDepthScale = 1.0f;
    if (mRangeY != 0) {
        mDepthScale = (GetPosition().y - mBaseY) / mRangeY * mScaleRange + 1.0f;
    } else if (!mFlatRangeLogged) {
        DebugLog("VPlayer: \"rangeY\" is 0; the player keeps its size on the whole floor");
        mFlatRangeLogged = true;
    }
    SetScale(mDepthScale, mDepthScale);
    AttachHeldItems();
}

void VPlayer::AttachHeldItems() {
    // Shrinks the items as much as the player grows, less the scale range.
    float depth = mRangeY != 0 ? ((mBaseY + mRangeY) - GetPosition().y) / mRangeY : 0;
    float scale = (2.0f - mDepthScale) - depth * mScaleRange;
    bool mirrored = IsMirrored(GetFacingIndex());
    if (mRightHand && mRightHand != mLeftHand) Attach(mRightHand, mirrored, scale);
    if (mLeftHand) Attach(mLeftHand, !mirrored, scale);
}

void VPlayer::Attach(const std::shared_ptr<VCarriable>& item, bool onLeftArm, float scale) {
    std::shared_ptr<VObject> arm = GetChildObject(onLeftArm ? kLeftArm : kRightArm);
    if (!arm) return;
    Detach(item);
    arm->AddChild(item);
    // An item in both hands stays on the point between them.
    bool bothHands = item == mLeftHand && item == mRightHand;
    item->SetAnchor(bothHands ? "bucket" : onLeftArm ? "lefthand" : "righthand");
    item->SetScale(scale, scale);
}

void VPlayer::SetFacingAnimation(int index) {
    if (index != GetFacingIndex()) {
        SetFacingIndex(index);
        if (index >= kFaceLeft && index <= kFaceBack) {
            bool mirrored = IsMirrored(index);
            SetAsset(WalkAnimation(index), "default", "default");
            SetFlip(mirrored, false);
            bool leftCarries = (mLeftHand && !mirrored) || (mRightHand && mirrored);
            bool rightCarries = (mRightHand && !mirrored) || (mLeftHand && mirrored);
            for (const auto& [name, child] : GetChildObjects()) {
                if (IsIdleName(name)) continue;
                bool carries = ((name == kLeftArm || name == "left_arm_upper") && leftCarries) ||
                               ((name == kRightArm || name == "right_arm_upper") && rightCarries);
                child->SetAsset(WalkAnimation(index), carries ? "carry" : "default", "default");
            }
            AttachHeldItems();
        }
    }
    if (IsWalking()) {
        DoAnim("DoAnim", true, false, 0);
        for (const auto& [name, child] : GetChildObjects()) {
            if (!IsIdleName(name)) child->DoAnim("DoAnim", true, false, 0);
        }
    } else {
        StopAnimation(false);
    }
    mTurnaroundCooldown =
        index == kFaceFront ? 0 : VValueManager::Get()->GetInt("player_turnaround_cooldown", 1000);
    if (GetIdleSprite()) StopIdle();
}

void VPlayer::RefreshDirection() {
    int direction = GetFacingIndex();
    SetFacingAnimation(-1);
    SetFacingAnimation(direction);
}

void VPlayer::StartIdle() {
    if (CountFreeHands() < 2) {
        Face(kFaceFront);
        return;
    }
    VCharacter::StartIdle();
    if (GetIdleSprite()) ShowNonIdleChildren(false);
}

void VPlayer::StopIdle() {
    VCharacter::StopIdle();
    ShowNonIdleChildren(true);
}

void VPlayer::ShowNonIdleChildren(bool shown) {
    for (const auto& [name, child] : GetChildObjects()) {
        if (!IsIdleName(name)) child->SetVisible(shown);
    }
}

void VPlayer::ArriveAtDestination() {
    ShopWindow* screen = ShopWindow::GetCurrent();
    std::shared_ptr<VStation> station = screen ? screen->FindStationAtPoint(GetDestination()) : nullptr;
    if (station) station->Interact(GetSharedAs<VPlayer>(), GetDestination());
    VCharacter::ArriveAtDestination();
}

bool VPlayer::PickUp(const std::shared_ptr<VCarriable>& item) {
    if (!item) return false;
    int needed = std::max(1, item->GetKind());
    if (CountFreeHands() < needed) return false;
    if (needed == 2) {
        mLeftHand = item;
        mRightHand = item;
        item->SetAnchor("bucket");
    } else if (!mRightHand) {
        mRightHand = item;
    } else {
        mLeftHand = item;
    }
    RefreshDirection();
    return true;
}

int VPlayer::HandHolding(int hand) {
    if (Hand(hand)) return hand;
    SwitchHand();
    return 0;
}

std::shared_ptr<VCarriable> VPlayer::GetHeldItem(int selector, int* handIndex) {
    int hand = 0;
    if (selector == kCurrentHand) {
        hand = HandHolding(mCurrentHand);
        if (hand == 0) hand = HandHolding(mCurrentHand);
    } else {
        hand = HandHolding(selector == kRightHand || selector == 3 ? kRightHand : kLeftHand);
    }
    if (hand == 0) return nullptr;
    if (handIndex) *handIndex = hand;
    return Hand(hand);
}

std::shared_ptr<VCarriable> VPlayer::TakeItemFromHand(int selector) {
    int hand = 0;
    std::shared_ptr<VCarriable> item = GetHeldItem(selector, &hand);
    if (!item) return nullptr;
    mCurrentHand = hand == kRightHand ? kLeftHand : kRightHand;
    Detach(item);
    item->SetScale(1.0f, 1.0f);
    if (mLeftHand == item) mLeftHand.reset();
    if (mRightHand == item) mRightHand.reset();
    RefreshDirection();
    return item;
}

int VPlayer::CountFreeHands() const {
    return (mLeftHand ? 0 : 1) + (mRightHand ? 0 : 1);
}
