#include "game/progression/upgradelist.h"

#include <algorithm>

#include "core/windows/windowmanager.h"
#include "foundation/debuglog.h"
#include "game/level/upgrade.h"
#include "game/level/upgrademanager.h"
#include "game/progression/upgradeselect.h"
#include "game/progression/upgradetab.h"
#include "game/widgets/widgetclass.h"
#include "widgets/image.h"
#include "widgets/slider.h"

namespace {

constexpr const char* kTabScript = "scripts/upgrade.lua";
constexpr const char* kTabName = "upgrade_tab";
constexpr int32_t kStepPeriod = 20;
// Pixels a tab rises per step.
constexpr int kMaxRise = 10;

}  // namespace

TWindow* VUpgradeList::Create() {
    return new VUpgradeList();
}

VUpgradeList::VUpgradeList() : mSelect(VUpgradeSelect::Create()) {}

VUpgradeList::~VUpgradeList() = default;

const char* VUpgradeList::GetClassName() const {
    return "VUpgradeList";
}

bool VUpgradeList::IsA(TWindowClassId id) const {
    return id == ClassId() || RScrollable::IsA(id);
}

void VUpgradeList::PostInit(const TWindowStyle& style) {
    RScrollable::PostInit(style);
    StartAnimation(kStepPeriod, true, true, false);
}

bool VUpgradeList::ShowCategory(const TString& category) {
    if (category == mCategory) return !mEmpty;
    for (VUpgradeTab* tab : mTabs) DestroyTab(tab);
    mTabs.clear();
    mCategory = category;
    std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
    upgrades->RevertPreviews("", "", nullptr);
    for (const auto& [name, upgrade] : upgrades->GetCategory(category)) {
        if (upgrade->IsOwned() || upgrade->IsHidden()) continue;
        if (VUpgradeTab* tab = MakeTab(upgrade)) mTabs.push_back(tab);
    }
    if (TSlider* bar = GetScrollBar()) {
        bar->SetValue(1.0f, false);
        bar->SetValue(0.0f, false);
    }
    SortAndLayout();
    mEmpty = mTabs.empty();
    return !mEmpty;
}

VUpgradeTab* VUpgradeList::MakeTab(const std::shared_ptr<VUpgrade>& upgrade) {
    // The script's other windows go with the holder.
    std::unique_ptr<TImage> holder(new TImage());
    TWindowManager::GetInstance()->RunWindowScript(holder.get(), kTabScript);
    auto* tab = dynamic_cast<VUpgradeTab*>(holder->FindChildWindow(kTabName, -1));
    if (!tab || tab == static_cast<TWindow*>(holder.get())) {
        DebugLog("VUpgradeList::ShowCategory: %s made no %s for the upgrade %s", kTabScript, kTabName,
                 upgrade->GetName().c_str());
        return nullptr;
    }
    tab->GetParent()->RemoveChild(tab);
    tab->SetUpgrade(upgrade);
    tab->SetSelect(mSelect);
    return tab;
}

void VUpgradeList::DestroyTab(VUpgradeTab* tab) {
    if (TWindow* parent = tab->GetParent()) parent->RemoveChild(tab);
    TWindowManager::GetInstance()->DestroyWindowDeferred(tab);
}

void VUpgradeList::SortAndLayout() {
    mTabs.sort([](const VUpgradeTab* a, const VUpgradeTab* b) {
        if (a->GetShownLayer() != b->GetShownLayer()) return a->GetShownLayer() < b->GetShownLayer();
        return a->GetCost() < b->GetCost();
    });
    int y = 0;
    for (auto it = mTabs.begin(); it != mTabs.end();) {
        VUpgradeTab* tab = *it;
        if (tab->GetShownLayer() == VUpgradeTab::kBoughtLayer) {
            DestroyTab(tab);
            it = mTabs.erase(it);
            continue;
        }
        tab->SetPosition(0, y);
        PassToInterior(tab);
        y += tab->GetHeight();
        ++it;
    }
    FitInterior(y);
}

void VUpgradeList::FitInterior(int height) {
    TWindow* interior = GetInterior();
    int width = interior->GetWidth();
    for (const VUpgradeTab* tab : mTabs) width = std::max(width, tab->GetRect().right);
    interior->SetSize(width, height);
    TSlider* bar = GetScrollBar();
    SetScrollPosition(bar ? bar->GetValue() : GetScrollPosition());
}

bool VUpgradeList::Animate() {
    RScrollable::Animate();
    int y = 0;
    int bottom = 0;
    bool moved = false;
    for (auto it = mTabs.begin(); it != mTabs.end();) {
        VUpgradeTab* tab = *it;
        if (tab->GetShownLayer() == VUpgradeTab::kBoughtLayer) {
            DestroyTab(tab);
            it = mTabs.erase(it);
            moved = true;
            continue;
        }
        tab->Refresh();
        int top = tab->GetRect().top;
        if (top > y) {
            tab->SetPosition(tab->GetRect().left, top - std::min(top - y, kMaxRise));
            moved = true;
        }
        y += tab->GetHeight();
        bottom = std::max(bottom, tab->GetRect().bottom);
        ++it;
    }
    if (moved) FitInterior(bottom);
    mEmpty = mTabs.empty();
    return true;
}

void VUpgradeList::BuyAll() {
    for (VUpgradeTab* tab : mTabs) tab->Purchase();
}
