// Turns clicks on the plot window's pages into calls on the plot manager for
// the item on screen: an answer's button responds with its name, anything
// else asks the item to move on.
#pragma once

#include <memory>

#include "foundation/tstring.h"
#include "game/sprites/spritelistener.h"

class VPlotManager;

class VPlotListener : public VSpriteListener {
public:
    static std::shared_ptr<VPlotListener> Create(const std::shared_ptr<VPlotManager>& manager);
    explicit VPlotListener(const std::shared_ptr<VPlotManager>& manager) : mManager(manager) {}

    void SetItemName(const TString& name) { mItemName = name; }
    const TString& GetItemName() const { return mItemName; }
    void OnClick(const std::shared_ptr<VSprite>& sprite) override;

private:
    std::weak_ptr<VPlotManager> mManager;
    TString mItemName;
};
