// The display shelf: finished chocolates the player puts here are counted
// by the chocolate vendor, so orders lean towards them; a click on a shelved
// chocolate chooses the one the player takes back on the next visit.
#pragma once

#include <memory>
#include <vector>

#include "game/machines/station.h"
#include "game/sprites/spritelistener.h"

class VChocolate;
class VDisplay;

// Hears clicks on the shelved chocolates.
class VDisplayListener : public VSpriteListener {
public:
    static std::shared_ptr<VDisplayListener> Create(const std::shared_ptr<VDisplay>& display);
    explicit VDisplayListener(const std::weak_ptr<VDisplay>& display) : mDisplay(display) {}

    // The clicked chocolate becomes the display's selection.
    void OnClick(const std::shared_ptr<VSprite>& sprite) override;

private:
    std::weak_ptr<VDisplay> mDisplay;
};

class VDisplay : public VStation {
public:
    static std::shared_ptr<VDisplay> Create(int number);
    explicit VDisplay(int number);
    ~VDisplay() override;

    // Shown with "kDisplay1"; two places with "kDisplay2". A place still
    // holding a chocolate is never dropped.
    void ApplyUpgrades() override;
    // A shelf of one place chooses its chocolate; the player walks here.
    void OnClick() override;
    // Expired chocolates leave the shelf unless paused.
    void Update(bool paused) override;
    // An empty shelf and the vendor's displayed counts cleared, then the
    // station's keys.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;
    // The chosen chocolate into free hands; else the current hand's
    // chocolate onto a free place.
    void Interact(const std::shared_ptr<VPlayer>& player, const std::shared_ptr<ZonePoint>& point) override;

    // Onto the first free place, clickable and glowing; nothing when full.
    void PlaceChocolate(const std::shared_ptr<VChocolate>& chocolate);
    void RemoveChocolate(const std::shared_ptr<VChocolate>& chocolate);
    void Select(const std::shared_ptr<VChocolate>& chocolate);

    // One element per place, empty for a free one.
    const std::vector<std::shared_ptr<VChocolate>>& GetSlots() const { return mSlots; }
    int GetCount() const { return mCount; }
    int GetCapacity() const { return mCapacity; }
    const std::shared_ptr<VChocolate>& GetSelected() const { return mSelected; }

private:
    // The places for the capacity, keeping any occupied place beyond it.
    void FitSlots();

    std::vector<std::shared_ptr<VChocolate>> mSlots;
    int mCount = 0;
    int mCapacity = 1;
    std::shared_ptr<VChocolate> mSelected;
    std::shared_ptr<VDisplayListener> mListener;
};
