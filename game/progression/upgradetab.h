// One upgrade offered in the shop: a window of five layers (0 offered, 1
// offered, hovered and affordable, 3 locked, 4 bought) with its texts,
// thumbnail, price and a buy button. Hovering an affordable tab previews
// its upgrade on the scene; the buy button spends the game's money on it.
#pragma once

#include <memory>

#include "core/windows/layeredwindow.h"
#include "foundation/tstring.h"

class RDisableButton;
class VUpgrade;
class VUpgradeSelect;

class VUpgradeTab : public TLayeredWindow {
public:
    enum { kOfferedLayer = 0, kHoveredLayer = 1, kLockedLayer = 3, kBoughtLayer = 4, kLayers = 5 };

    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    // Spends "current_worth" in story mode, else "current_level_total".
    VUpgradeTab();
    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~VUpgradeTab() override;
    // A press of "btn_buy_upgrade" buys; never handled.
    bool OnMessage(TMessage* message) override;
    // Not taken: the buy button under the tab takes the click.
    bool OnMouseDown(const TPoint& point) override;
    // Entering takes the capture and previews; leaving the list's view
    // counts as leaving the tab. The move goes on to the children.
    bool OnMouseMove(const TPoint& point) override;
    bool OnMouseCancel() override;
    // Hands the event of that type to the child under the point; false
    // when none but the tab itself is there, or while the tab's own
    // forwarded event is still on its way (the child hands it back up).
    virtual bool ForwardPointEvent(const TPoint& point, int eventType);

    // Names the tab after the upgrade and fills its texts, thumbnail and
    // price; then fits the tab to its children.
    void SetUpgrade(const std::shared_ptr<VUpgrade>& upgrade);
    void SetSelect(const std::shared_ptr<VUpgradeSelect>& select) { mSelect = select; }
    // Purchasable and no dearer than the money.
    bool CanAfford() const;
    // The layer and the buy button follow the upgrade's state.
    void Refresh();
    void SetPreview(bool on);
    // Buys when affordable: the money, banked score, counters, statistics
    // and the chime. The list removes the bought tab at its next step.
    bool Purchase();
    // 0 without an upgrade.
    float GetCost() const;

    const std::shared_ptr<VUpgrade>& GetUpgrade() const { return mUpgrade; }
    const TString& GetMoneyName() const { return mMoneyName; }
    bool IsHovered() const { return mHovered; }
    bool IsPreviewing() const { return mPreviewing; }
    // -1 before the first.
    int GetShownLayer() const { return mShownLayer; }
    RDisableButton* GetBuyButton() const { return mBuyButton; }

private:
    void ShowLayer(int layer);
    // The pointer lies outside the view of the list that scrolls the tab.
    bool IsOutsideScrolledView(const TPoint& point) const;
    void RecordPurchase() const;

    RDisableButton* mBuyButton = nullptr;
    std::shared_ptr<VUpgrade> mUpgrade;
    bool mStory;
    TString mMoneyName;
    std::shared_ptr<VUpgradeSelect> mSelect;
    bool mHovered = false;
    bool mPreviewing = false;
    int mShownLayer = -1;
};
