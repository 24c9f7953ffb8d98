#include "game/floor/customer.h"

#include <algorithm>

#include "core/app/gamestate.h"
#include "core/scripting/luaobject.h"
#include "foundation/debuglog.h"
#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatespec.h"
#include "game/chocolates/chocolatevendor.h"
#include "game/floor/customervendor.h"
#include "game/floor/player.h"
#include "game/floor/thoughtbubble.h"
#include "game/floor/zonecontroller.h"
#include "game/level/customerdata.h"
#include "game/level/levelmanager.h"
#include "game/level/upgrademanager.h"
#include "game/machines/station.h"
#include "game/objects/carriable.h"
#include "game/objects/objectdescription.h"
#include "game/progression/tutorialmanager.h"
#include "game/shell/gamesoundmanager.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/alphaeffect.h"
#include "game/texts/timer.h"
#include "game/utilities/gamerandom.h"
#include "lua/numbercast.h"

namespace {

const char kStaticPrefix[] = "static_";
const char kIdlePrefix[] = "idle_";
constexpr float kDefaultDecay = 100000.0f;
constexpr int kDefaultFadeTime = 500;

// The customers playing an idle animation, across all levels.
int gIdleCount = 0;

bool HasPrefix(const TString& key, const char* prefix) {
    TString text(prefix);
    return key.SubString(0, text.Length()) == text;
}

// Patience thresholds of the moods 1 to 5: above the first is mood 1.
constexpr float kMoodThresholds[] = {80.0f, 60.0f, 40.0f, 20.0f, 0.0f};

// "decay" is the rate itself below 1, else the milliseconds in which 100
// patience points drain.
float DecayRate(float decay) { return decay < 1.0f ? decay : 100.0f / decay; }

bool IsRunning(const std::shared_ptr<VSpriteEffect>& effect) { return effect && effect->IsActive(); }

// Order items: a chocolate by its class, the others by name.
const char kChocolateName[] = "chocolate";
const char kSauceName[] = "sauce";
const char kDrinkName[] = "drink";
// Kinds of an order record.
enum { kOrderChocolate = 0, kOrderSauce = 1, kOrderDrink = 2 };

// The money on the counter: its asset, the state it shows and its coins.
const char kMoneyAsset[] = "money";
const char kDollar[] = "dollar";
constexpr int kMostCoins = 5;
constexpr int kCoinFadeTime = 300;
constexpr int kCoinDelay = 100;
constexpr int kDefaultTransitionTime = 200;

void PlaySound(const char* name) {
    if (VSoundManager* sounds = VSoundManager::Get()) sounds->PlaySFX(name);
}

void CountStatistic(const char* key) {
    if (TGameState* state = TGameState::Get()) state->SetState(key, "");
}

bool IsStationOwned(const char* upgrade) { return VUpgradeManager::Get()->IsUpgradeOwned(upgrade, "station"); }

// The current level's chocolate vendor; none outside a level.
std::shared_ptr<VChocolateVendor> LevelChocolates() {
    ShopWindow* screen = ShopWindow::GetCurrent();
    return screen ? screen->GetChocolateVendor() : nullptr;
}

int FadeTime(const char* name, int fallback) { return VValueManager::Get()->GetInt(name, fallback); }

}  // namespace

std::shared_ptr<VCustomer> VCustomer::Create(const std::shared_ptr<VCustomerVendor>& vendor) {
    auto customer = std::make_shared<VCustomer>(vendor);
    Adopt(customer);
    return customer;
}

VCustomer::VCustomer(const std::shared_ptr<VCustomerVendor>& vendor)
    : VCharacter(nullptr, TString(), 0), mVendor(vendor) {
    if (!vendor) return;
    mBubble = vendor->MakeBubble();
    mMenuSprite = vendor->MakeMenu();
    mMoneySprite = vendor->MakeMoney();
    mOrderables = vendor->MakeOrderables();
}

VCustomer::~VCustomer() {
    // First, so the count of idling customers stays right.
    StopIdle();
}

int VCustomer::GetIdleCount() { return gIdleCount; }

const char* VCustomer::MoodState(int mood) {
    // Moods 1 and 2 look alike on the customer.
    static const char* const kLooks[] = {"happy", "happy", "neutral", "annoyed", "angry"};
    return mood >= 1 && mood <= 5 ? kLooks[mood - 1] : "";
}

// Description

void VCustomer::Load(const std::shared_ptr<VLuaStyle>& description) {
    ChildMap oldStatics;
    ChildMap oldIdles;
    oldStatics.swap(mStaticChildren);
    oldIdles.swap(mIdleChildren);
    if (description && description->IsValid()) {
        mDecayRate = DecayRate(static_cast<float>(description->GetNumber("decay", kDefaultDecay)));
        mTip = static_cast<float>(description->GetNumber("tip", 100.0));
        mOrderDelay = description->GetInt("orderDelay", 5000);
        LoadChildren(*description, kStaticPrefix, "customer_static", oldStatics, mStaticChildren);
        LoadChildren(*description, kIdlePrefix, "customer_idle", oldIdles, mIdleChildren);
    }
    // Not the character's load: a customer has no start point and no idle
    // set of a walker.
    VObject::Load(description);
    for (const ChildMap* old : {&oldStatics, &oldIdles}) {
        for (const auto& [name, child] : *old) RemoveChild(std::shared_ptr<VSprite>(child));
    }
}

void VCustomer::LoadChildren(VLuaStyle& description, const char* prefix, const char* type, ChildMap& old,
                             ChildMap& into) {
    ForEachTableEntry(*description.GetLuaTable(), [&](const TString& key, const TLuaObjectWrapper& value) {
        if (!HasPrefix(key, prefix)) return;
        if (!value.IsTable()) {
            DebugLog("VCustomer::Load: \"%s\" of \"%s\" is no table; skipped", key.c_str(), GetName().c_str());
            return;
        }
        std::shared_ptr<VObject> child;
        auto found = old.find(key);
        if (found != old.end()) {
            child = found->second;
            old.erase(found);
        } else {
            child = VObject::Create(key, type, 0);
            AddChild(child);
        }
        // Without a parent: the customer's own keys are not the child's.
        child->Load(VLuaStyle::CreateFromObject(nullptr, value));
        child->PreloadAssets("all", "all", true);
        into[key] = child;
    });
}

void VCustomer::CopyTo(const std::shared_ptr<VCustomer>& target) {
    if (!target || target.get() == this) return;
    target->mDecayRate = mDecayRate;
    target->mTip = mTip;
    target->mOrderDelay = mOrderDelay;
    const std::pair<const ChildMap*, ChildMap*> maps[] = {{&mStaticChildren, &target->mStaticChildren},
                                                          {&mIdleChildren, &target->mIdleChildren}};
    for (const auto& [from, into] : maps) {
        for (const auto& [name, child] : *from) {
            std::shared_ptr<VObject> copy = VObject::Create(TString(), child->GetType(), 0);
            child->CopyObjectTo(copy);
            (*into)[name] = copy;
            target->AddChild(copy);
        }
    }
    CopyObjectTo(target);
}

void VCustomer::SetDefinition(const std::shared_ptr<VCustomerData>& definition) {
    mDefinition = definition;
    if (!definition) return;
    if (definition->GetName().Length() > 0) SetName(definition->GetName());
    if (definition->GetTip() >= 0) mTip = definition->GetTip();
    if (definition->GetDecay() >= 0) mDecayRate = definition->GetDecay();
}

// Arrival and station

void VCustomer::Arrive(const std::shared_ptr<VStation>& station, float patience) {
    if (!station) return;
    Reset();
    mPatience = patience;
    mIdleCooldown = 0;
    mState = kArrived;
    mMoneyPlacedTime = 0;
    station->AttachCustomer(GetSharedAs<VCustomer>());
    SetStation(station);
    AddEffect(VAlphaEffect::Create(true, 1.0f, FadeTime("customer_fade_time", kDefaultFadeTime), -1.0f, 0));
    if (mBubble && mMenuSprite) {
        DetachBubble();
        AddChild(mBubble);
        mBubble->SetAnchor("bubble_single");
        mMenuSprite->SetFrame(1);
        mBubble->Show(mMenuSprite, "menu", true);
        mBubble->SetMood(mMood);
    }
    VTutorialManager::Get()->FireTrigger("customer_arrival", GetName());
}

void VCustomer::SetStation(const std::shared_ptr<VStation>& station) {
    mStation = station;
    if (!station) return;
    if (const std::shared_ptr<ZonePoint>& point = station->GetCustomerPoint()) {
        SetPosition(TVec2(static_cast<float>(point->GetX()), static_cast<float>(point->GetY())));
    }
}

void VCustomer::DetachBubble() {
    if (!mBubble) return;
    RemoveChild(std::shared_ptr<VSprite>(mBubble));
    mBubble->Clear();
}

bool VCustomer::IsFinished() const { return mState == kDone && !IsRunning(mFadeOut) && !IsRunning(mMoneyFade); }

// Per frame

void VCustomer::Update(bool paused) {
    uint32_t elapsed = GetFrameTime();
    if (!paused && mState >= kArrived && mState <= kWaiting) DecayPatience(elapsed);
    if (mFadeOut && !mFadeOut->IsActive()) {
        SetVisible(false);
        mFadeOut.reset();
    }
    if (mState == kArrived || mState == kWaiting) ScheduleIdle(elapsed);
    if (mIdlePlaying && !(mIdleSprite && mIdleSprite->IsPlaying(-1) && !mIdleSprite->IsFinished(-1))) StopIdle();
    ExpireMoney();
    // Not the character's update: a customer does not walk.
    VSuspendable::Update(paused);
}

void VCustomer::DecayPatience(uint32_t elapsed) {
    VValueManager* values = VValueManager::Get().get();
    float modifier = values->GetReal("patience_decay_modifier", 1.0f) * values->GetReal("level_customer_decay", 1.0f);
    mPatience = std::max(0.0f, mPatience - static_cast<float>(elapsed) * mDecayRate * modifier);
    UpdateMood();
}

void VCustomer::UpdateMood() {
    int mood = 0;
    for (int index = 0; index < static_cast<int>(std::size(kMoodThresholds)); ++index) {
        if (mPatience > kMoodThresholds[index]) {
            mood = index + 1;
            break;
        }
    }
    if (mood != 0 && mood != mMood) SetMood(mood);
    if (mPatience <= 0 && mState < kServed) {
        mState = kAngry;
        Leave();
    }
}

void VCustomer::SetMood(int mood) {
    mMood = mood;
    if (mBubble) mBubble->SetMood(mood);
    const char* state = mState == kOrdering ? "menu" : MoodState(mood);
    for (const auto& [name, child] : mStaticChildren) child->SetAssetState(state, "default");
}

// Idle animations

void VCustomer::ScheduleIdle(uint32_t elapsed) {
    if (mIdlePlaying) return;
    if (mIdleCooldown > 0) {
        mIdleCooldown -= static_cast<int>(elapsed);
        if (mIdleCooldown > 0) return;
        mIdleCooldown = 0;
        StartIdle();
    }
    if (mIdleCooldown <= 0) DrawIdleCooldown();
}

void VCustomer::DrawIdleCooldown() {
    VValueManager* values = VValueManager::Get().get();
    int variance = values->GetInt("customer_idle_cooldown_var", 0);
    int base = values->GetInt("customer_idle_cooldown_base", 0);
    int half = variance / 2;
    int drawn = half > 0 ? static_cast<int>(PlatformRandom() % static_cast<uint32_t>(2 * half + 1)) : 0;
    mIdleCooldown = base + drawn - half;
}

void VCustomer::StartIdle() {
    if (mIdlePlaying || gIdleCount >= kMaxIdling) return;
    auto found = mIdleChildren.find(mMood > 3 ? "idle_angry" : "idle_happy");
    mIdleSprite = found == mIdleChildren.end() ? nullptr : found->second;
    if (!mIdleSprite) return;
    mIdleSprite->SetVisible(true);
    mIdleSprite->StopAnimation(true);
    mIdleSprite->DoAnim("", false, true, 0);
    ShowStatics(false);
    mIdlePlaying = true;
    ++gIdleCount;
}

void VCustomer::StopIdle() {
    if (mIdlePlaying) {
        mIdlePlaying = false;
        for (const auto& [name, child] : mIdleChildren) {
            child->StopAnimation(true);
            child->SetVisible(false);
        }
        ShowStatics(true);
        gIdleCount = std::max(0, gIdleCount - 1);
    }
    mIdleSprite.reset();
}

void VCustomer::ShowStatics(bool visible) {
    for (const auto& [name, child] : mStaticChildren) child->SetVisible(visible);
}

void VCustomer::SetFacingAnimation(int /*index*/) {}

// Reset and resume

void VCustomer::Reset() {
    SetAsset("base", "default", "default");
    // Not the character's reset: a customer has no start point.
    VObject::Reset();
    for (const auto& [name, child] : mIdleChildren) {
        child->SetVisible(false);
        child->Reset();
    }
    for (const auto& [name, child] : mStaticChildren) {
        child->SetVisible(true);
        child->Reset();
    }
    UpdateMood();
    mOrder.clear();
    mCurrentItem.reset();
    mMoneyPlacedTime = 0;
    // A customer arriving again owes nothing.
    mMoneyOwed = 0;
}

bool VCustomer::OnResume() {
    if (mState != kOrdering) return true;
    GenerateOrder();
    mState = kWaiting;
    ShowOrder();
    SetMood(mMood);
    VTutorialManager::Get()->FireTrigger("customer_order", GetName());
    return true;
}

// Pointer events

void VCustomer::OnMouseEnter() {
    VCharacter::OnMouseEnter();
    TellStation(kEventEnter);
}

void VCustomer::OnMouseLeave() {
    VCharacter::OnMouseLeave();
    TellStation(kEventLeave);
}

void VCustomer::OnClick() {
    VCharacter::OnClick();
    TellStation(kEventClick);
}

void VCustomer::TellStation(int kind) {
    std::shared_ptr<VStation> station = GetStation();
    if (station) station->SendEvent(kind, TPoint(), station->GetDrawState(), 0);
}

// Taking the order

void VCustomer::Interact(const std::shared_ptr<VPlayer>& player) {
    switch (mState) {
    case kArrived:
        TakeOrder();
        break;
    case kWaiting:
        Serve(player);
        break;
    case kMoneyPlaced:
        CollectMoney();
        break;
    default:
        break;
    }
}

void VCustomer::TakeOrder() {
    mState = kOrdering;
    SetMood(mMood);
    if (mBubble) mBubble->Advance();
    PlaySound("audio/sfx/menu.ogg");
    // A hold of 0 would wait for ever: a customer thinks for 1 ms at least.
    Suspend(static_cast<uint32_t>(std::max(mOrderDelay, 1)));
    if (ShopWindow* screen = ShopWindow::GetCurrent()) screen->Combo(ShopWindow::kMenuCombo);
}

void VCustomer::GenerateOrder() {
    mOrder.clear();
    if (mDefinition && !mDefinition->GetOrders().empty()) {
        for (const VChocolateSpec& spec : mDefinition->GetOrders()) AddOrderItem(spec);
        return;
    }
    ShopWindow* screen = ShopWindow::GetCurrent();
    std::shared_ptr<VChocolateVendor> chocolates = screen ? screen->GetChocolateVendor() : nullptr;
    if (!chocolates) return;
    int count = DrawItemCount(*screen);
    bool unavailable = false;
    bool moveFirst = false;
    for (int index = 0; index < count; ++index) {
        if (int extra = DrawExtraKind()) {
            AddOrderItem(VChocolateSpec::Init(extra));
            continue;
        }
        std::shared_ptr<VChocolate> chocolate = chocolates->CreateOrderChocolate(VChocolateSpec::Init(kOrderChocolate));
        if (!chocolate) continue;
        unavailable = unavailable || !chocolates->IsOrderable(chocolate);
        // One that cannot be made brings a second, which is wanted first.
        if (unavailable) {
            count = std::max(count, 2);
            if (index == 0) moveFirst = true;
        }
        mOrder.push_back(chocolate);
    }
    if (moveFirst && mOrder.size() >= 2) mOrder.splice(mOrder.end(), mOrder, mOrder.begin());
}

int VCustomer::DrawItemCount(ShopWindow& screen) {
    VValueManager* values = VValueManager::Get().get();
    if (!screen.IsEndlessMode()) {
        // A percentage for each level of the location past the minimum.
        int level = VLevelManager::Get()->GetCurrentLevel() % VLevelManager::kLevelsPerLocation;
        int minimum = values->GetInt("multi_order_min_level", 0);
        if (level < minimum) return 1;
        float chance = values->ScaleWithinLimits("multi_order_chance", static_cast<float>(level - minimum + 1), false);
        return chance > static_cast<float>(PlatformRandom() % 100) ? 2 : 1;
    }
    RTimer* timer = screen.GetLevelTimer();
    if (!timer) return 1;
    // A probability that grows with the seconds played.
    float seconds = static_cast<float>(timer->GetElapsedTime() / 1000);
    float steps = seconds / (values->GetReal("endless_diff_modifier", 0) + 1.0f);
    float chance = values->ScaleWithinLimits("endless_multi_chance", steps, true);
    return chance > static_cast<float>(PlatformRandom() / 4294967296.0) ? 2 : 1;
}

int VCustomer::DrawExtraKind() const {
    bool sauce = CanOrderExtra("kSauce1", kSauceName);
    bool drink = CanOrderExtra("kDrink1", kDrinkName);
    if (!(sauce || drink) || PlatformRandom() % 6 != 0) return 0;
    // A sauce also when only drinks are made and the draw is odd: it shows
    // as one that cannot be had.
    return drink && PlatformRandom() % 2 == 0 ? kOrderDrink : kOrderSauce;
}

bool VCustomer::CanOrderExtra(const char* upgrade, const char* asset) const {
    return mOrderables && IsStationOwned(upgrade) && mOrderables->HasAsset(asset);
}

void VCustomer::AddOrderItem(const VChocolateSpec& spec) {
    if (spec.kind < kOrderSauce) {
        std::shared_ptr<VChocolateVendor> chocolates = LevelChocolates();
        std::shared_ptr<VChocolate> chocolate = chocolates ? chocolates->CreateOrderChocolate(spec) : nullptr;
        if (chocolate) mOrder.push_back(chocolate);
        return;
    }
    if (spec.kind > kOrderDrink || !mOrderables) return;
    const char* name = spec.kind == kOrderSauce ? kSauceName : kDrinkName;
    if (!mOrderables->HasAsset(name)) DebugLog("VCustomer::AddOrderItem: the orderables have no \"%s\"", name);
    auto item = VCarriable::Create(mOrderables->GetKind());
    mOrderables->CopyObjectTo(item);
    item->Reset();
    item->SetName(name);
    item->SetAsset(name, "default", "default");
    if (spec.kind == kOrderSauce) item->SetScale(0.8f, 0.8f);
    mOrder.push_back(item);
}

void VCustomer::ShowOrder() {
    if (!HasOutstandingOrder()) return;
    // Without a bubble the order is only not shown: it is still wanted.
    if (mBubble) {
        DetachBubble();
        AddChild(mBubble);
        mBubble->SetAnchor("bubble_single");
        for (const std::shared_ptr<VCarriable>& item : mOrder) ShowItem(item);
    }
    NextItem();
    if (mBubble) mBubble->SetMood(mMood);
}

void VCustomer::ShowItem(const std::shared_ptr<VCarriable>& item) {
    TString name = ItemName(item);
    if (name == kChocolateName) {
        std::shared_ptr<VChocolateVendor> chocolates = LevelChocolates();
        bool available = chocolates && chocolates->IsOrderable(std::dynamic_pointer_cast<VChocolate>(item));
        mBubble->Show(item, kChocolateName, available);
    } else if (name == kSauceName) {
        mBubble->Show(item, kSauceName, IsStationOwned("kSauce1"));
    } else if (name == kDrinkName) {
        // A drink stands where a chocolate would.
        mBubble->Show(item, kChocolateName, IsStationOwned("kDrink1"));
    }
}

void VCustomer::NextItem() {
    if (mOrder.empty()) {
        mCurrentItem.reset();
        return;
    }
    mCurrentItem = mOrder.front();
    mOrder.pop_front();
}

bool VCustomer::HasOutstandingOrder() const { return mCurrentItem || !mOrder.empty(); }

TString VCustomer::ItemName(const std::shared_ptr<VCarriable>& item) {
    if (std::dynamic_pointer_cast<VChocolate>(item)) return kChocolateName;
    return item ? item->GetName() : TString();
}

// Serving

void VCustomer::Serve(const std::shared_ptr<VPlayer>& player) {
    if (!player) return;
    // One item each time, the right hand's first.
    for (int hand : {VPlayer::kRightHand, VPlayer::kLeftHand}) {
        if (OfferItem(player->GetHeldItem(hand, nullptr))) {
            player->TakeItemFromHand(hand);
            break;
        }
    }
    if (!HasOutstandingOrder()) {
        mState = kServed;
        Leave();
    }
}

bool VCustomer::OfferItem(const std::shared_ptr<VCarriable>& item) {
    if (!item || !mCurrentItem) return false;
    TString wanted = ItemName(mCurrentItem);
    if (ItemName(item) != wanted || !Charge(wanted, item)) return false;
    if (ShopWindow* screen = ShopWindow::GetCurrent()) screen->Combo(ShopWindow::kServiceCombo);
    mPatience += VValueManager::Get()->GetReal("order_patience_bonus", 0);
    NextItem();
    if (mBubble) mBubble->Advance();
    PlaySound("audio/sfx/customer_leaves.ogg");
    CountStatistic("++OrderCompleted");
    return true;
}

bool VCustomer::Charge(const TString& wanted, const std::shared_ptr<VCarriable>& item) {
    VValueManager* values = VValueManager::Get().get();
    if (wanted == kChocolateName) {
        auto order = std::dynamic_pointer_cast<VChocolate>(mCurrentItem);
        auto offered = std::dynamic_pointer_cast<VChocolate>(item);
        if (!order || !offered || !order->SameLayers(offered)) return false;
        mMoneyOwed += order->GetPrice();
    } else if (wanted == kSauceName) {
        values->AddToValue("num_sauce_sold", 1, 0, true);
        mMoneyOwed += values->GetReal("sauce_price", 0);
    } else if (wanted == kDrinkName) {
        mMoneyOwed += values->GetReal("drink_price", 0);
    } else {
        return false;
    }
    return true;
}

bool VCustomer::OfferComplimentary(const std::shared_ptr<VCarriable>& item) {
    if (!item || mState < kArrived || mState > kWaiting) return false;
    mPatience += VValueManager::Get()->GetReal("complimentary_patience_bonus", 0);
    PlaySound("audio/sfx/chomp.ogg");
    return true;
}

// Leaving and paying

void VCustomer::Leave() {
    if (mState != kServed && mState != kAngry) return;
    bool served = mState == kServed;
    if (mMoneyOwed > 0) {
        PlaceMoney();
        mState = kMoneyPlaced;
        mMoneyPlacedTime = ClockNow();
    } else {
        mState = kDone;
    }
    if (!mFadeOut) {
        mFadeOut = VAlphaEffect::Create(false, 1.0f, FadeTime("customer_fade_time", kDefaultFadeTime), -1.0f, 0);
        AddEffect(mFadeOut);
    }
    PlaySound("audio/sfx/customer_leaves.ogg");
    CountDeparture(served);
}

void VCustomer::PlaceMoney() {
    std::shared_ptr<VStation> station = GetStation();
    if (!station || !mMoneySprite) return;
    mMoneySprite->RemoveAllChildren();
    mMoneySprite->SetAssetState(kDollar, "default");
    if (!mMoneySprite->HasAsset(kMoneyAsset)) {
        DebugLog("VCustomer::Leave: the money has no \"%s\" for coins", kMoneyAsset);
    }
    // A coin for every 8 owed, five at most.
    int coins = std::min(kMostCoins, script::truncateNumber<int>(mMoneyOwed) / 8);
    for (int index = 1; index <= coins; ++index) AddCoin(index);
    station->AddChild(mMoneySprite);
    mMoneySprite->SetPosition(station->GetMoneyPosition());
    mMoneySprite->DoAnim("", false, false, 0);
}

void VCustomer::AddCoin(int index) {
    std::shared_ptr<VObject> coin = mMoneySprite->AddChildObject(kMoneyAsset, kDollar, 0);
    if (!coin) return;
    coin->GetDrawState().color = mMoneySprite->GetDrawState().color;
    int spread = 2 + static_cast<int>(PlatformRandom() & 3);
    int side = PlatformRandom() % 2 == 0 ? -1 : 1;
    coin->SetPosition(TVec2(static_cast<float>(side * spread), static_cast<float>(-index)));
    coin->SetFlip(PlatformRandom() % 2 == 0, false);
    // The coins drop one after another.
    coin->AddEffect(VAlphaEffect::Create(true, 1.0f, kCoinFadeTime, -1.0f, kCoinDelay * index));
    coin->DoAnim("", false, false, kCoinDelay * index);
}

void VCustomer::CountDeparture(bool served) {
    ShopWindow* screen = ShopWindow::GetCurrent();
    bool story = !(screen && screen->IsEndlessMode());
    VValueManager* values = VValueManager::Get().get();
    if (served) {
        if (story) values->AddToValue("num_served", 1, 0, true);
        values->AddToValue("served_this_level", 1, 0, false);
        return;
    }
    values->AddToValue("angry_this_level", 1, 0, false);
    if (!story) return;
    values->AddToValue("num_angry", 1, 0, true);
    CountStatistic("++TotalCustomersLost");
}

void VCustomer::CollectMoney() {
    std::shared_ptr<VStation> station = GetStation();
    // On screen, over where the money lies.
    TVec2 point = station ? station->GetWorldPosition() + station->GetMoneyPosition() : GetWorldPosition();
    if (ShopWindow* screen = ShopWindow::GetCurrent()) {
        screen->AddPayment(mMoneyOwed, point + TVec2(0, -50), GetSharedAs<VCustomer>());
    }
    FadeMoney();
    PlaySound("audio/sfx/score_board.ogg");
    mState = kDone;
}

void VCustomer::FadeMoney() {
    if (!mMoneySprite) return;
    mMoneySprite->DetachEffects();
    mMoneyFade = VAlphaEffect::Create(false, 1.0f, FadeTime("transition_time", kDefaultTransitionTime), -1.0f, 0);
    mMoneySprite->AddEffect(mMoneyFade);
}

void VCustomer::ExpireMoney() {
    ShopWindow* screen = ShopWindow::GetCurrent();
    if (!(screen && screen->IsEndlessMode() && mMoneyPlacedTime != 0 && mState == kMoneyPlaced)) {
        mMoneyPlacedTime = 0;
        return;
    }
    uint32_t decay = VValueManager::Get()->GetUint("endless_money_decay", 0);
    if (decay >= ClockNow() - mMoneyPlacedTime) return;
    // Left too long: the money is lost.
    mMoneyPlacedTime = 0;
    FadeMoney();
    mState = kDone;
}

uint32_t VCustomer::ClockNow() const {
    TClock* clock = GetClock();
    return clock ? static_cast<uint32_t>(clock->GetTime()) : 0;
}
