#include "game/progression/prelevelwindow.h"

#include "core/app/message.h"
#include "core/windows/modalwindow.h"
#include "game/level/upgrademanager.h"
#include "game/progression/tutorialmanager.h"
#include "game/progression/upgradelist.h"
#include "game/shop/shopwindow.h"
#include "game/utilities/findchild.h"
#include "game/utilities/screeninvalidator.h"
#include "game/widgets/disablebutton.h"
#include "game/widgets/widgetclass.h"
#include "graphics/render/drawstate.h"

namespace {

constexpr const char* kTutorial = "tutorial_upgrades";
constexpr int32_t kStepPeriod = 10;
constexpr int kKeyUp = 38;
constexpr int kKeyDown = 40;

// Puts the view state back however the drawing ends.
class ViewStateScope {
public:
    explicit ViewStateScope(ShopWindow& shop) : mShop(shop), mSaved(shop.GetDrawState()) {}
    ~ViewStateScope() { mShop.SetDrawState(mSaved); }
    ViewStateScope(const ViewStateScope&) = delete;
    ViewStateScope& operator=(const ViewStateScope&) = delete;
    const TDrawState& Saved() const { return mSaved; }

private:
    ShopWindow& mShop;
    TDrawState mSaved;
};

}  // namespace

TWindow* VPrelevelWindow::Create() {
    return new VPrelevelWindow();
}

VPrelevelWindow::VPrelevelWindow()
    : mToggles{{{"toggle_upgrades_gameplay", "station", nullptr},
                {"toggle_upgrades_aesthetic", "aesthetic", nullptr},
                {"toggle_upgrades_player", "gameplay", nullptr}}},
      mLifeToken(std::make_shared<const int>(0)) {
    mFunctions.Publish("Close", this, &VPrelevelWindow::Close);
}

VPrelevelWindow::~VPrelevelWindow() = default;

const char* VPrelevelWindow::GetClassName() const {
    return "VPrelevelWindow";
}

bool VPrelevelWindow::IsA(TWindowClassId id) const {
    return id == ClassId() || RBounceWindow::IsA(id);
}

void VPrelevelWindow::PostInit(const TWindowStyle& style) {
    RBounceWindow::PostInit(style);
    mList = FindChildAs<VUpgradeList>(this, "upgrade_list");
    for (Toggle& toggle : mToggles) toggle.button = FindChildAs<RDisableButton>(this, toggle.name);
    SetupTabs();
    auto* modal = dynamic_cast<TModalWindow*>(GetParentModal());
    if (!modal) return;
    StartAnimation(kStepPeriod, true, true, true);
    RScreenInvalidator* invalidator = RScreenInvalidator::Create();
    invalidator->BindTo(mLifeToken);
    modal->AddTask(invalidator);
    modal->SetFocusWindow(this);
}

void VPrelevelWindow::SetupTabs() {
    std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
    bool chosen = false;
    for (Toggle& toggle : mToggles) {
        if (!toggle.button) continue;
        if (upgrades->CountOpenUpgrades(toggle.category) == 0) {
            toggle.button->SetDisabled(true);
        } else if (!chosen) {
            chosen = true;
            ShowCategory(toggle.category);
            toggle.button->SetToggleState(true);
        }
    }
    VTutorialManager::Get()->StartTutorial(kTutorial);
}

void VPrelevelWindow::ShowCategory(const TString& category) {
    mCategory = category;
    if (mList) mList->ShowCategory(category);
}

void VPrelevelWindow::Draw() {
    RBounceWindow::Draw();
    ShopWindow* shop = ShopWindow::GetCurrent();
    if (!shop) return;
    ViewStateScope scope(*shop);
    TDrawState view = scope.Saved();
    view.matrix.m[2][0] = static_cast<float>(kSceneX);
    view.matrix.m[2][1] = static_cast<float>(kSceneY);
    view.matrix.Scale(kSceneScale, kSceneScale);
    shop->SetDrawState(view);
    shop->DrawWithLayers();
}

bool VPrelevelWindow::Animate() {
    if (ShopWindow* shop = ShopWindow::GetCurrent()) shop->Update();
    if (!mStarted) {
        mStarted = true;
        VTutorialManager::Get()->StartTutorial(kTutorial);
    }
    FollowListInToggle();
    return RBounceWindow::Animate();
}

void VPrelevelWindow::FollowListInToggle() {
    bool disabled = !mList || mList->IsEmpty();
    for (Toggle& toggle : mToggles) {
        if (toggle.button && toggle.button->GetToggleState() && toggle.button->IsDisabled() != disabled) {
            toggle.button->SetDisabled(disabled);
            return;
        }
    }
}

bool VPrelevelWindow::OnMessage(TMessage* message) {
    std::shared_ptr<VTutorialManager> tutorials = VTutorialManager::Get();
    // A running tutorial hears the press first; the shop works without one too.
    if (tutorials->IsInputAllowed()) tutorials->OfferMessage(message);
    if (!message || message->GetType() != TMessage::kButtonPress || !mList) return false;
    const TString& name = message->GetName();
    for (const Toggle& toggle : mToggles) {
        if (name == toggle.name) ShowCategory(toggle.category);
    }
    if (name == "btn_buy") mList->BuyAll();
    if (name == "slider_start") mList->ScrollUp();
    if (name == "slider_end") mList->ScrollDown();
    return false;
}

bool VPrelevelWindow::OnKeyDown(int key, int) {
    if (!mList || (key != kKeyDown && key != kKeyUp)) return false;
    if (key == kKeyDown) {
        mList->ScrollDown();
    } else {
        mList->ScrollUp();
    }
    return true;
}

void VPrelevelWindow::Close() {
    VUpgradeManager::Get()->RevertPreviews("", "", nullptr);
    if (ShopWindow* shop = ShopWindow::GetCurrent()) shop->RefreshAfterUpgrades();
}
