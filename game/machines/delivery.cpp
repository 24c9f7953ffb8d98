#include "game/machines/delivery.h"

#include <algorithm>
#include <cmath>

#include "foundation/debuglog.h"
#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatevendor.h"
#include "game/floor/player.h"
#include "game/floor/thoughtbubble.h"
#include "game/level/level.h"
#include "game/level/levelmanager.h"
#include "game/level/upgrademanager.h"
#include "game/machines/machineparts.h"
#include "game/machines/zeppelin.h"
#include "game/progression/tutorialmanager.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/alphaeffect.h"
#include "game/utilities/gamerandom.h"
#include "lua/numbercast.h"

namespace {

constexpr float kFullPatience = 100.0f;
constexpr int kFadeTime = 300;
// Bars and novelties fit the box only a little smaller.
constexpr float kBoxedScale = 0.8f;
constexpr int kTruffle = 1;
// Where the level screen shows the money of a delivery.
const TVec2 kPaymentPoint(622.0f, 246.0f);
// The boxing's back part has closed the box by this frame.
constexpr int kBoxClosedFrame = 58;
// The station's own frames: idle, and a box ready.
constexpr int kIdleFrame = 1;
constexpr int kBoxedFrame = 2;

// The random offset's range; at least 1, as it divides.
uint32_t Variance() {
    int variance = VValueManager::Get()->GetInt("delivery_variance", 2);
    if (variance > 0) return static_cast<uint32_t>(variance);
    static bool logged = false;
    if (!logged) {
        logged = true;
        DebugLog("VDelivery: \"delivery_variance\" %i is not positive; 1 is used", variance);
    }
    return 1;
}

int MoodFor(float patience) {
    return patience > 80.0f ? 1 : patience > 60.0f ? 2 : patience > 40.0f ? 3 : patience > 20.0f ? 4 : 5;
}

}  // namespace

std::shared_ptr<VDelivery> VDelivery::Create() {
    auto delivery = std::make_shared<VDelivery>();
    Adopt(delivery);
    return delivery;
}

VDelivery::VDelivery() = default;

VDelivery::~VDelivery() = default;

void VDelivery::Load(const std::shared_ptr<VLuaStyle>& description) {
    if (!mZeppelin) mZeppelin = BZeppelin::Create("zeppelin");
    if (ShopWindow* shop = ShopWindow::GetCurrent()) shop->AddSprite(mZeppelin);
    if (!mOrderBubble) {
        mOrderBubble = VThoughtBubble::Create();
        std::shared_ptr<VLuaStyle> bubble = description ? description->GetSubStyle("bubble") : nullptr;
        if (bubble) mOrderBubble->Load(bubble);
        AddChild(mOrderBubble);
    }
    VMachine::Load(description);
}

void VDelivery::ApplyUpgrades() {
    bool enabled = VUpgradeManager::Get()->IsUpgradeOwned("kDelivery1", "station");
    SetEnabled(enabled);
    ShopWindow* shop = ShopWindow::GetCurrent();
    bool endless = shop && shop->IsEndlessMode();
    if (enabled || endless) {
        if (!IsUpgradesApplied()) {
            mOrderQueue.clear();
            mOrder.reset();
            if (mFadeEffect) {
                mFadeEffect->Finish();
                mFadeEffect.reset();
            }
            if (mZeppelin) mZeppelin->Reset();
            if (mOrderBubble) mOrderBubble->Reset();
            if (!endless) QueueLevelOrders();
        }
        VMachine::ApplyUpgrades();
    }
    SetVisible(enabled);
}

void VDelivery::QueueLevelOrders() {
    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    auto level = std::dynamic_pointer_cast<ZqLevel>(levels->GetCurrentLevelObject());
    if (!level || (mLevel && mLevel->GetNumber() == level->GetNumber())) return;
    mLevel = level;
    const std::vector<VChocolateSpec>& orders = level->GetAirshipOrders();
    mOrderQueue.insert(mOrderQueue.end(), orders.begin(), orders.end());
}

void VDelivery::GoIdle() {
    VMachine::GoIdle();
    SetFrame(kIdleFrame);
    // A bubble still fading out is put away when its fade ends.
    if (!IsFading()) PutBubbleAway();
    mOrder.reset();
    mPatience = kFullPatience;
    SetMood(1);
    mDeliveryState = kWaiting;
    auto variance = Variance();
    float offset = static_cast<float>(static_cast<int>(PlatformRandom() % variance) - static_cast<int>(variance / 2));
    mOrderInterval = script::truncateNumber<int>(
        VValueManager::Get()->OffsetWithinLimits("delivery_interval", offset, true));
}

bool VDelivery::IsFading() const {
    return mFadeEffect && mFadeEffect->IsActive();
}

void VDelivery::PutBubbleAway() {
    if (!mOrderBubble) return;
    mOrderBubble->SetVisible(false);
    mOrderBubble->Clear();
}

void VDelivery::Update(bool paused) {
    if (!IsEnabled()) {
        VMachine::Update(paused);
        return;
    }
    const std::shared_ptr<VCarriable>& item = GetItem();
    if (GetPhase() == 1 && item && item->IsVisible()) {
        std::shared_ptr<VObject> back = GetChildObject("anim_boxing_back");
        if (back && back->GetCurrentFrame() >= kBoxClosedFrame) item->SetVisible(false);
    }
    if (CountInterval(paused)) {
        ShopWindow* shop = ShopWindow::GetCurrent();
        if (shop && !shop->IsLevelClosing()) MakeOrder();
        if (shop && !shop->IsLevelClosing() && mOrder && mOrderBubble) {
            ShowOrder(true);
            SetMood(1);
            mDeliveryState = kOrderShown;
        } else {
            GoIdle();
        }
    }
    if (mFadeEffect && !mFadeEffect->IsActive()) {
        if (!mFadeEffect->IsFadeIn()) PutBubbleAway();
        mFadeEffect.reset();
    }
    if (mDeliveryState == kOrderShown) UpdatePatience();
    if (ShopWindow* shop = ShopWindow::GetCurrent()) {
        shop->SetDeliveryBusy((mZeppelin && mZeppelin->GetPhase() != BZeppelin::kNone) ||
                              mDeliveryState != kWaiting);
    }
    VMachine::Update(paused);
}

bool VDelivery::CountInterval(bool paused) {
    if (paused || mDeliveryState != kWaiting || mOrderInterval <= 0) return false;
    mOrderInterval -= static_cast<int>(std::min<uint32_t>(GetFrameTime(), static_cast<uint32_t>(mOrderInterval)));
    return mOrderInterval <= 0;
}

void VDelivery::UpdatePatience() {
    mPatience = std::max(0.0f, mPatience - static_cast<float>(GetFrameTime()) * 0.001f);
    if (mPatience <= 0.0f) {
        ShowOrder(false);
        GoIdle();
        return;
    }
    int mood = MoodFor(mPatience);
    if (mood != mMood) SetMood(mood);
}

void VDelivery::MakeOrder() {
    ShopWindow* shop = ShopWindow::GetCurrent();
    std::shared_ptr<VChocolateVendor> vendor = shop ? shop->GetChocolateVendor() : nullptr;
    if (mOrder || !vendor) return;
    if (mOrderQueue.empty()) {
        mOrder = vendor->CreateOrderChocolate(VChocolateSpec::Init(0));
        return;
    }
    mOrder = vendor->CreateOrderChocolate(mOrderQueue.front());
    mOrderQueue.pop_front();
}

void VDelivery::ShowOrder(bool show) {
    if (!mOrderBubble) return;
    float start = show ? 0.0f : 1.0f;
    if (IsFading()) start = mFadeEffect->GetAlpha();
    mFadeEffect = VAlphaEffect::Create(show, 1.0f, kFadeTime, start, 0);
    if (show) {
        mOrderBubble->SetVisible(true);
        mOrderBubble->Clear();
        if (mOrder) {
            mOrder->SetFlip(true, false);
            mOrderBubble->Show(mOrder, "chocolate", true);
        }
        VTutorialManager::Get()->StartTutorial("tutorial_zepplin");
    }
    mOrderBubble->DetachEffects();
    mOrderBubble->AddEffect(mFadeEffect);
}

void VDelivery::SetMood(int mood) {
    mMood = mood;
    if (mOrderBubble) mOrderBubble->SetMood(mood);
}

void VDelivery::Interact(const std::shared_ptr<VPlayer>& player) {
    if (!player || IsSuspended() || GetItem() || mDeliveryState != kOrderShown || !mOrder) return;
    std::shared_ptr<VChocolate> chocolate;
    for (int hand : {VPlayer::kRightHand, VPlayer::kLeftHand}) {
        auto held = std::dynamic_pointer_cast<VChocolate>(player->GetHeldItem(hand, nullptr));
        if (held && mOrder->SameLayers(held)) {
            player->TakeItemFromHand(hand);
            chocolate = held;
            break;
        }
    }
    if (!chocolate) return;
    VValueManager::Get()->AddToValue("zeppelin_served_this_level", 1.0f, 0.0f, false);
    if (chocolate->GetShape() != kTruffle) chocolate->SetScale(kBoxedScale, kBoxedScale);
    PutItem(chocolate, 1, true);
    mDeliveryState = kBoxing;
    ShowOrder(false);
    StartWork();
    if (ShopWindow* shop = ShopWindow::GetCurrent()) shop->AddPayment(chocolate->GetPrice(), kPaymentPoint, nullptr);
}

void VDelivery::StartWork() {
    VMachine::StartWork();
    PlayPart(*this, "anim_boxing_front", "DoFront");
    PlayPart(*this, "anim_boxing_back", "DoAnim");
    SuspendUntilAsset("anim_boxing_back");
    if (mZeppelin) mZeppelin->Arrive();
    PlayMachineSound("audio/sfx/box_station.ogg");
}

bool VDelivery::ContinueWork() {
    if (GetPhase() <= 0) return true;
    SetFrame(kBoxedFrame);
    ShowPart(*this, "anim_boxing_front", false);
    ShowPart(*this, "anim_boxing_back", false);
    TakeItem(true);
    if (!mZeppelin) {
        GoIdle();
        return true;
    }
    mZeppelin->SetPickup(GetSharedAs<VDelivery>());
    mDeliveryState = kAwaitingPickup;
    VValueManager::Get()->AddToValue("num_deliveries", 1.0f, 0.0f, true);
    return true;
}
