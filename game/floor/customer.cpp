#include "game/floor/customer.h"

#include <algorithm>

#include "core/scripting/luaobject.h"
#include "foundation/debuglog.h"
#include "game/floor/customervendor.h"
#include "game/floor/thoughtbubble.h"
#include "game/floor/zonecontroller.h"
#include "game/level/customerdata.h"
#include "game/machines/station.h"
#include "game/objects/carriable.h"
#include "game/objects/objectdescription.h"
#include "game/progression/tutorialmanager.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "game/sprites/alphaeffect.h"
#include "game/utilities/gamerandom.h"

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
    int fadeTime = VValueManager::Get()->GetInt("customer_fade_time", kDefaultFadeTime);
    AddEffect(VAlphaEffect::Create(true, 1.0f, fadeTime, -1.0f, 0));
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

// Orders, service and payment: not yet built. The customer takes no order,
// accepts nothing and leaves nothing behind.

bool VCustomer::OfferItem(const std::shared_ptr<VCarriable>& /*item*/) { return false; }

bool VCustomer::OfferComplimentary(const std::shared_ptr<VCarriable>& /*item*/) { return false; }

void VCustomer::GenerateOrder() {}

void VCustomer::AddOrderItem(const VChocolateSpec& /*spec*/) {}

void VCustomer::ShowOrder() {}

bool VCustomer::HasOutstandingOrder() const { return mCurrentItem || !mOrder.empty(); }

void VCustomer::Interact(const std::shared_ptr<VPlayer>& /*player*/) {}

void VCustomer::Leave() {}
