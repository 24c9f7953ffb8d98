// The shop's scrolling list of upgrade tabs of one category: each tab is
// made by "scripts/upgrade.lua". Bought tabs leave at the next step, and
// the tabs below slide up into their place.
#pragma once

#include <list>
#include <memory>

#include "foundation/tstring.h"
#include "game/widgets/scrollable.h"

class VUpgrade;
class VUpgradeSelect;
class VUpgradeTab;

class VUpgradeList : public RScrollable {
public:
    using TabList = std::list<VUpgradeTab*>;

    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    VUpgradeList();
    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~VUpgradeList() override;
    // The scrolling set-up, then a step every 20 ms.
    void PostInit(const TWindowStyle& style) override;
    // Drops bought tabs and slides the others up, 10 pixels a step at most.
    bool Animate() override;

    // Every tab of the category's upgrades that are neither owned nor
    // hidden, locked ones last; true when the list holds tabs.
    bool ShowCategory(const TString& category);
    // Buys every affordable tab from the top down.
    void BuyAll();
    // By layer, then by cost, keeping the order of equals; bought tabs leave.
    void SortAndLayout();

    const TString& GetCategory() const { return mCategory; }
    const TabList& GetTabs() const { return mTabs; }
    bool IsEmpty() const { return mEmpty; }
    const std::shared_ptr<VUpgradeSelect>& GetSelect() const { return mSelect; }

private:
    // The tab that "scripts/upgrade.lua" makes for the upgrade; null, with
    // a log line, when the script makes none.
    VUpgradeTab* MakeTab(const std::shared_ptr<VUpgrade>& upgrade);
    // Out of the interior, deleted once no event can reach it any more.
    static void DestroyTab(VUpgradeTab* tab);
    // The interior's height follows the tabs; the scroll position stays.
    void FitInterior(int height);

    TString mCategory;
    TabList mTabs;
    std::shared_ptr<VUpgradeSelect> mSelect;
    bool mEmpty = true;
};
