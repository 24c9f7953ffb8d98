#include "game/machines/display.h"

#include <algorithm>
#include <set>

#include "core/app/gamestate.h"
#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatevendor.h"
#include "game/floor/player.h"
#include "game/level/upgrademanager.h"
#include "game/progression/tutorialmanager.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/hoverglow.h"
#include "game/sprites/spritemanager.h"

namespace {

constexpr float kGlowStrength = 0.25f;

VChocolateVendor* LevelVendor() {
    ShopWindow* screen = ShopWindow::GetCurrent();
    return screen ? screen->GetChocolateVendor().get() : nullptr;
}

}  // namespace

std::shared_ptr<VDisplayListener> VDisplayListener::Create(const std::shared_ptr<VDisplay>& display) {
    return std::make_shared<VDisplayListener>(display);
}

void VDisplayListener::OnClick(const std::shared_ptr<VSprite>& sprite) {
    auto chocolate = std::dynamic_pointer_cast<VChocolate>(sprite);
    std::shared_ptr<VDisplay> display = mDisplay.lock();
    if (chocolate && display) display->Select(chocolate);
}

std::shared_ptr<VDisplay> VDisplay::Create(int number) {
    auto display = std::make_shared<VDisplay>(number);
    Adopt(display);
    return display;
}

VDisplay::VDisplay(int number) : VStation(number, kDisplayStation), mSlots(1) {}

VDisplay::~VDisplay() = default;

void VDisplay::ApplyUpgrades() {
    ShowIfOwned("kDisplay1", false);
    std::shared_ptr<VDisplayListener> previous = std::move(mListener);
    mListener = VDisplayListener::Create(GetSharedAs<VDisplay>());
    // The shelved chocolates hear the new listener.
    for (const std::shared_ptr<VChocolate>& chocolate : mSlots) {
        if (!chocolate) continue;
        if (previous) chocolate->RemoveListener(previous);
        chocolate->AddListener(mListener);
    }
    mCapacity = VUpgradeManager::Get()->IsUpgradeOwned("kDisplay2", "station") ? 2 : 1;
    FitSlots();
}

void VDisplay::FitSlots() {
    size_t size = static_cast<size_t>(mCapacity);
    for (size_t place = size; place < mSlots.size(); ++place) {
        if (mSlots[place]) size = place + 1;
    }
    mSlots.resize(size);
}

void VDisplay::Load(const std::shared_ptr<VLuaStyle>& description) {
    RemoveAllChildren();
    mSlots.assign(static_cast<size_t>(mCapacity), nullptr);
    mCount = 0;
    mSelected.reset();
    if (VChocolateVendor* vendor = LevelVendor()) vendor->ClearDisplayed();
    VStation::Load(description);
}

void VDisplay::PlaceChocolate(const std::shared_ptr<VChocolate>& chocolate) {
    if (!chocolate || mCount >= mCapacity) return;
    auto place = std::find(mSlots.begin(), mSlots.end(), nullptr);
    if (place == mSlots.end()) return;
    *place = chocolate;
    AddChild(chocolate);
    ++mCount;
    chocolate->SetName(TString::Format("chocolate%i", static_cast<int>(place - mSlots.begin()) + 1));
    // The shelf's art marks its places by these names.
    chocolate->SetAnchor(chocolate->GetName());
    chocolate->SetLeaf(false);
    chocolate->SetClickable(true);
    chocolate->SetLayer(static_cast<int>(mSlots.size()));
    if (mListener) chocolate->AddListener(mListener);
    chocolate->AddEffect(VHoverGlow::Create(true, kGlowStrength, true, true));
    if (VChocolateVendor* vendor = LevelVendor()) vendor->AddDisplayed(chocolate);
    if (TGameState* state = TGameState::Get()) state->SetState("++DisplayUsed", "");
}

void VDisplay::RemoveChocolate(const std::shared_ptr<VChocolate>& chocolate) {
    if (!chocolate) return;
    chocolate->SetLeaf(true);
    chocolate->SetClickable(false);
    if (mListener) chocolate->RemoveListener(mListener);
    chocolate->DetachEffects();
    if (VChocolateVendor* vendor = LevelVendor()) vendor->RemoveDisplayed(chocolate);
    if (mSelected == chocolate) mSelected.reset();
    auto place = std::find(mSlots.begin(), mSlots.end(), chocolate);
    if (place != mSlots.end()) {
        place->reset();
        --mCount;
        FitSlots();
    }
    RemoveChild(std::shared_ptr<VSprite>(chocolate));
}

void VDisplay::Select(const std::shared_ptr<VChocolate>& chocolate) {
    mSelected = chocolate;
    std::shared_ptr<VSprite> self = GetShared();
    // A copy: a listener may leave while it is told.
    std::set<std::shared_ptr<VSpriteListener>> listeners = GetListeners();
    for (const std::shared_ptr<VSpriteListener>& listener : listeners) listener->OnClick(self);
}

void VDisplay::OnClick() {
    if (!mSelected && mSlots.size() == 1) mSelected = mSlots.front();
    VStation::OnClick();
}

void VDisplay::Update(bool paused) {
    if (!paused) {
        std::vector<std::shared_ptr<VChocolate>> shelved = mSlots;
        for (const std::shared_ptr<VChocolate>& chocolate : shelved) {
            if (chocolate && chocolate->IsExpired()) RemoveChocolate(chocolate);
        }
    }
    VStation::Update(paused);
}

void VDisplay::Interact(const std::shared_ptr<VPlayer>& player, const std::shared_ptr<ZonePoint>& point) {
    VStation::Interact(player, point);
    // The choice holds for one visit.
    std::shared_ptr<VChocolate> selected = std::move(mSelected);
    if (!player) return;
    if (selected && player->CountFreeHands() >= std::max(1, selected->GetKind())) {
        RemoveChocolate(selected);
        player->PickUp(selected);
    } else if (mCount < mCapacity) {
        int hand = 0;
        // Only a chocolate leaves the hand; anything else would be lost here.
        auto chocolate = std::dynamic_pointer_cast<VChocolate>(player->GetHeldItem(VPlayer::kCurrentHand, &hand));
        if (!chocolate) return;
        player->TakeItemFromHand(hand);
        PlaceChocolate(chocolate);
        if (VTutorialManager::Get()->IsInputAllowed()) {
            if (std::shared_ptr<VSpriteManager> manager = GetManager()) manager->AllowInput(chocolate);
        }
    }
}
