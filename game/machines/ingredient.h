// The ingredient machine: it takes a fresh bucket from the mixer out of the
// player's hands, puts the ingredient chosen on its buttons into it, opens,
// pumps while the ingredient shows on the bucket, closes, and keeps the
// bucket until the player takes it.
#pragma once

#include <memory>

#include "game/machines/handfedmachine.h"

class VIngredient : public VHandFedMachine {
public:
    // The chocolate's stage that the machine adds: its ingredient.
    static constexpr int kStage = 1;
    // Work phases: opening, pumping, closing.
    enum { kOpening = 1, kPumping, kClosing };

    static std::shared_ptr<VIngredient> Create();
    VIngredient();
    ~VIngredient() override;

    // A fresh bucket and a selected ingredient: the bucket gets it and the
    // machine opens.
    bool TryStartWork() override;
    // Opens and sets its tops going; the ingredient hides until the pump.
    void StartWork() override;
    bool ContinueWork() override;
    void GoIdle() override;
    // Buttons of the owned ingredients; the tops show the highest one's art.
    void ApplyUpgrades() override;

    // The ingredient on the bucket while the machine works; empty when idle.
    const std::shared_ptr<VObject>& GetOverlay() const { return mOverlay; }

private:
    std::shared_ptr<VObject> mOverlay;
};
