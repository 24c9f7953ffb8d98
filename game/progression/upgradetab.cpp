#include "game/progression/upgradetab.h"

#include "core/app/gamestate.h"
#include "core/app/message.h"
#include "core/app/platformevent.h"
#include "core/windows/windowmanager.h"
#include "game/level/levelmanager.h"
#include "game/level/upgrade.h"
#include "game/level/upgrademanager.h"
#include "game/progression/upgradeselect.h"
#include "game/shell/game.h"
#include "game/shell/gamesoundmanager.h"
#include "game/shell/valuemanager.h"
#include "game/utilities/forwardevent.h"
#include "game/utilities/localised.h"
#include "game/widgets/disablebutton.h"
#include "game/widgets/scrollable.h"
#include "game/widgets/widgetclass.h"
#include "widgets/image.h"
#include "widgets/text.h"

namespace {

constexpr const char* kBuyButton = "btn_buy_upgrade";
constexpr const char* kPurchaseSound = "audio/sfx/purchase_upgrade_button.ogg";
constexpr const char* kStatusRecord = "UpgradeChosenStory";

bool IsStoryMode() {
    VGame* game = VGame::Get();
    return !game || game->GetCurrentGameMode() == 0;
}

template <typename T>
T* Child(TWindow* window, const char* name) {
    return dynamic_cast<T*>(window->FindChildWindow(TString(name), -1));
}

void SetChildText(TWindow* window, const char* name, const TString& text) {
    if (TText* child = Child<TText>(window, name)) child->SetText(text);
}

}  // namespace

TWindow* VUpgradeTab::Create() {
    return new VUpgradeTab();
}

VUpgradeTab::VUpgradeTab()
    : TLayeredWindow(kLayers), mStory(IsStoryMode()), mMoneyName(mStory ? "current_worth" : "current_level_total") {}

VUpgradeTab::~VUpgradeTab() = default;

const char* VUpgradeTab::GetClassName() const {
    return "VUpgradeTab";
}

bool VUpgradeTab::IsA(TWindowClassId id) const {
    return id == ClassId() || TLayeredWindow::IsA(id);
}

void VUpgradeTab::SetUpgrade(const std::shared_ptr<VUpgrade>& upgrade) {
    mUpgrade = upgrade;
    if (mUpgrade) {
        SetName(TString::Format("upgrade_tab_%s", mUpgrade->GetName().c_str()));
        SetChildText(this, "txt_header", Localised(mUpgrade->GetProperty("header")));
        SetChildText(this, "txt_content", Localised(mUpgrade->GetProperty("content")));
        TString image = mUpgrade->GetProperty("image");
        if (TImage* thumbnail = Child<TImage>(this, "img_thumbnail"); thumbnail && image.Length() > 0) {
            thumbnail->SetImage(image, 1.0f);
        }
        TString price = TString::Format("$%i", static_cast<int>(mUpgrade->GetCost()));
        SetChildText(this, "txt_price", price);
        SetChildText(this, "txt_price_shadow", price);
        mBuyButton = Child<RDisableButton>(this, kBuyButton);
        Refresh();
    }
    FitToChildren();
}

float VUpgradeTab::GetCost() const {
    return mUpgrade ? mUpgrade->GetCost() : 0.0f;
}

bool VUpgradeTab::CanAfford() const {
    return mUpgrade && mUpgrade->IsPurchasable() &&
           mUpgrade->GetCost() <= VValueManager::Get()->GetReal(mMoneyName, 0.0f);
}

void VUpgradeTab::Refresh() {
    if (!mUpgrade) return;
    if (mUpgrade->IsPurchasable()) {
        bool affordable = CanAfford();
        ShowLayer(mHovered && affordable ? kHoveredLayer : kOfferedLayer);
        if (mBuyButton) mBuyButton->SetDisabled(!affordable);
    } else {
        ShowLayer(mUpgrade->IsOwned() ? kBoughtLayer : kLockedLayer);
    }
}

void VUpgradeTab::ShowLayer(int layer) {
    if (layer == mShownLayer) return;
    mShownLayer = layer;
    SetLayer(layer);
    if (!mBuyButton) return;
    bool buyable = layer != kLockedLayer && layer != kBoughtLayer;
    uint32_t flags = mBuyButton->GetFlags();
    mBuyButton->SetFlags(buyable ? flags | kVisible : flags & ~static_cast<uint32_t>(kVisible));
}

void VUpgradeTab::SetPreview(bool on) {
    if (!mUpgrade) return;
    std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
    if (on && mUpgrade->IsPurchasable() && !mPreviewing) {
        mPreviewing = true;
        upgrades->PreviewUpgrade(mUpgrade->GetName(), mUpgrade->GetCategory(), mSelect);
    } else if (!on && mPreviewing) {
        mPreviewing = false;
        upgrades->RevertPreviews(mUpgrade->GetName(), mUpgrade->GetCategory(), mSelect);
    }
}

bool VUpgradeTab::Purchase() {
    if (!CanAfford()) return false;
    ShowLayer(kBoughtLayer);
    SetPreview(false);
    const TString& name = mUpgrade->GetName();
    const TString& category = mUpgrade->GetCategory();
    VUpgradeManager::Get()->GrantUpgrade(name, category, true, nullptr);
    float cost = mUpgrade->GetCost();
    VValueManager::Get()->SubtractFromValue(mMoneyName, cost, 0.0f, true);
    if (mStory) {
        std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
        levels->SetCurrentLocationScore(levels->GetCurrentLocationScore() - static_cast<int>(cost));
    }
    if (category == "gameplay") VValueManager::Get()->AddToValue("num_char_upgrades", 1.0f, 0.0f, true);
    if (mStory) RecordPurchase();
    if (VSoundManager* sounds = VSoundManager::Get()) sounds->PlaySFX(kPurchaseSound);
    return true;
}

void VUpgradeTab::RecordPurchase() const {
    TGameState* state = TGameState::Get();
    if (!state) return;
    state->SetState("begin-status", kStatusRecord);
    state->SetStateInt("add-value", VLevelManager::Get()->GetCurrentLevel());
    state->SetState("add-value", mUpgrade->GetName());
    state->SetState("end-status", kStatusRecord);
}

bool VUpgradeTab::OnMessage(TMessage* message) {
    if (message && message->GetType() == TMessage::kButtonPress && message->GetName() == kBuyButton) Purchase();
    return false;
}

bool VUpgradeTab::OnMouseDown(const TPoint&) {
    return false;
}

bool VUpgradeTab::IsOutsideScrolledView(const TPoint& point) const {
    TWindow* interior = GetParent();
    TWindow* view = interior ? interior->GetParent() : nullptr;
    auto* scrollable = dynamic_cast<RScrollable*>(view);
    if (!scrollable || scrollable->GetInterior() != interior) return false;
    return !scrollable->GetGlobalRect().Contains(LocalToGlobal(point));
}

bool VUpgradeTab::OnMouseMove(const TPoint& point) {
    if (IsOutsideScrolledView(point)) {
        OnMouseCancel();
        return true;
    }
    if (!mHovered) {
        if (TWindowManager* windows = TWindowManager::GetInstance()) windows->CaptureMouse(this);
        if (CanAfford()) {
            ShowLayer(kHoveredLayer);
            SetPreview(true);
        }
        mHovered = true;
    }
    ForwardPointEvent(point, TPlatformEvent::kMouseMove);
    return true;
}

bool VUpgradeTab::OnMouseCancel() {
    if (TWindowManager* windows = TWindowManager::GetInstance()) windows->ReleaseMouse(this);
    mHovered = false;
    // A preview ends even when the money no longer covers the upgrade.
    SetPreview(false);
    if (CanAfford()) ShowLayer(kOfferedLayer);
    return true;
}

bool VUpgradeTab::ForwardPointEvent(const TPoint& point, int eventType) {
    return ForwardEventToChildAt(this, point, eventType);
}
