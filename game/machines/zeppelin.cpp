#include "game/machines/zeppelin.h"

#include <cmath>

#include "foundation/clock.h"
#include "foundation/random.h"
#include "game/machines/delivery.h"
#include "game/shell/gamesoundmanager.h"
#include "game/utilities/gamerandom.h"
#include "graphics/animatedtexture.h"
#include "sound/soundinstance.h"

namespace {

constexpr int kZeppelinLayer = 3;
constexpr int kFlightTime = 4500;
constexpr int kHoverTime = 1000;
// The ship starts and ends its flights beyond the screen's left edge.
constexpr float kOffLeftOnReset = -117.0f;
constexpr float kOffLeft = -116.0f;
const TVec2 kHoverPoint(590.0f, 106.0f);
// The box is picked up here, beside the hover point.
const TVec2 kPickupPoint(633.0f, 145.0f);
// The pickup art's frame at which the box has left the station.
constexpr int kReleaseFrame = 8;

// y first, then x.
TVec2 RandomPoint(float xLow, float xHigh, float yLow, float yHigh) {
    float y = RandomFloat(GetGameRandom(), yLow, yHigh);
    float x = RandomFloat(GetGameRandom(), xLow, xHigh);
    return TVec2(x, y);
}

TVec2 OffLeft(float x) {
    return TVec2(x, RandomFloat(GetGameRandom(), 0.0f, 300.0f));
}

}  // namespace

std::shared_ptr<BZeppelin> BZeppelin::Create(const TString& name) {
    auto zeppelin = std::make_shared<BZeppelin>(name);
    Adopt(zeppelin);
    return zeppelin;
}

BZeppelin::BZeppelin(const TString& name)
    : VObject(name, TString(), 0),
      mFlightDuration(kFlightTime),
      mDepartureDuration(kFlightTime),
      mArrivalDuration(kFlightTime) {
    SetSpriteLayer(kZeppelinLayer);
    mPickupArt = TAnimatedTexture::Get("anim/machines/delivery/zepp_pickup");
    mFullArt = TAnimatedTexture::Get("anim/machines/delivery/zepp_with_box");
    mEmptyArt = TAnimatedTexture::Get("anim/machines/delivery/zepp_no_box");
}

BZeppelin::~BZeppelin() {
    if (mEngineSound) mEngineSound->Stop();
}

TVec2 BZeppelin::GetControlPoint(int index) const {
    switch (index) {
    case 0: return mStart;
    case 1: return mControl1;
    case 2: return mControl2;
    default: return mEnd;
    }
}

uint32_t BZeppelin::Now() const {
    return GetClock() ? static_cast<uint32_t>(GetClock()->GetTime()) : 0;
}

void BZeppelin::MoveShip() {
    if (mShip) mShip->SetPosition(mCurrent);
}

float BZeppelin::EvaluateFlight() {
    float t = static_cast<float>(Now() - mFlightStart) / static_cast<float>(static_cast<uint32_t>(mFlightDuration));
    float u = 1.0f - t;
    mCurrent = mStart * std::pow(u, 3.0f) + mControl1 * (3.0f * t * std::pow(u, 2.0f)) +
               mControl2 * (3.0f * std::pow(t, 2.0f) * u) + mEnd * std::pow(t, 3.0f);
    MoveShip();
    return t;
}

void BZeppelin::Reset() {
    VSprite::Reset();
    if (!mShip) {
        mShip = VSprite::Create("zeppelin", 0);
        AddChild(mShip);
    }
    mShip->SetAnimation(mEmptyArt);
    mFlightDuration = mArrivalDuration;
    mStart = OffLeft(kOffLeftOnReset);
    mCurrent = mStart;
    mEnd = kPickupPoint;
    MoveShip();
    mControl1 = RandomPoint(50.0f, 450.0f, 0.0f, 500.0f);
    mControl2 = RandomPoint(550.0f, 650.0f, 0.0f, 200.0f);
    mArriving = false;
    mDeparting = false;
    mPhase = kNone;
    SetVisible(false);
    if (mEngineSound) {
        mEngineSound->Stop();
        mEngineSound.reset();
    }
}

void BZeppelin::Arrive() {
    if (mArriving) return;
    Reset();
    SetVisible(true);
    mArriving = true;
    mStart = OffLeft(kOffLeft);
    mCurrent = mStart;
    mFlightStart = Now();
    if (VSoundManager* sounds = VSoundManager::Get()) {
        mEngineSound = sounds->PlaySFX("audio/sfx/zepplin_loop.ogg", nullptr, true);
    }
}

void BZeppelin::Hover() {
    mFlightDuration = kHoverTime;
    mStart = kHoverPoint;
    mCurrent = mStart;
    mEnd = kHoverPoint;
    MoveShip();
    mControl1 = RandomPoint(651.0f, 671.0f, 84.0f, 104.0f);
    mArriving = false;
    // Each loop times itself from its own start.
    mFlightStart = Now();
}

void BZeppelin::StartPickup() {
    // One pickup per box: the next flight in hovers until the next box.
    mPickupPending = false;
    if (mShip) {
        mShip->SetPosition(TVec2(0.0f, 0.0f));
        mShip->SetAnimation(mPickupArt);
        mShip->DoAnim(TString(), false, false, 0);
    }
    mPhase = kPickingUp;
    if (VSoundManager* sounds = VSoundManager::Get()) sounds->PlaySFX("audio/sfx/pickup_zepplin.ogg");
}

void BZeppelin::Depart() {
    if (mDeparting) return;
    if (mShip) mShip->SetAnimation(mFullArt);
    SetVisible(true);
    mDeparting = true;
    mStart = kPickupPoint;
    mCurrent = mStart;
    mControl1 = RandomPoint(550.0f, 650.0f, 0.0f, 200.0f);
    mControl2 = RandomPoint(50.0f, 450.0f, 0.0f, 500.0f);
    mEnd = OffLeft(kOffLeft);
    mFlightStart = Now();
    mFlightDuration = mDepartureDuration;
}

void BZeppelin::SetPickup(const std::shared_ptr<VDelivery>& station) {
    mStation = station;
    mPickupPending = true;
}

void BZeppelin::Update(bool paused) {
    VSprite::Update(paused);
    if (mArriving && EvaluateFlight() >= 1.0f) {
        mArriving = false;
        if (mPickupPending) {
            StartPickup();
        } else {
            mPhase = kHovering;
            Hover();
        }
    }
    if (mPhase == kHovering && EvaluateFlight() >= 1.0f) {
        if (mPickupPending) {
            StartPickup();
        } else {
            Hover();
        }
    }
    if (mPhase == kPickingUp && mShip) {
        std::shared_ptr<VDelivery> station = mStation.lock();
        // Once, for the box it came for: a later release would draw the
        // station's interval anew each frame or cancel an order shown since.
        if (station && mShip->GetCurrentFrame() >= kReleaseFrame &&
            station->GetDeliveryState() == VDelivery::kAwaitingPickup) {
            station->GoIdle();
        }
        if (!mShip->IsPlaying(-1) || mShip->IsFinished(-1)) Depart();
    }
    if (mDeparting && EvaluateFlight() >= 1.0f) {
        mDeparting = false;
        mPhase = kNone;
        Reset();
    }
}
