// The topping machine: it takes a shaped chocolate out of the player's
// hands, puts the topping chosen on its buttons on it under a funnel and a
// shower of particles, and keeps the chocolate until the player takes it.
#pragma once

#include <memory>

#include "game/machines/handfedmachine.h"

class VChocolateLayer;

class VTopping : public VHandFedMachine {
public:
    // The chocolate's stage that the machine adds: its topping.
    static constexpr int kStage = 4;
    // Work phases: the topping falls, the particles fade.
    enum { kFalling = 1, kFading };

    static std::shared_ptr<VTopping> Create();
    VTopping();
    ~VTopping() override;

    // A shaped chocolate and a selected topping: the chocolate gets the
    // topping layer for its shape.
    bool TryStartWork() override;
    // The funnel turns and the particles fall.
    void StartWork() override;
    bool ContinueWork() override;
    // The particles lose their fade; the layer is let go.
    void GoIdle() override;
    // Buttons of the owned toppings.
    void ApplyUpgrades() override;

    // The layer added in the current work; empty when idle.
    const std::shared_ptr<VChocolateLayer>& GetToppingLayer() const { return mToppingLayer; }

private:
    std::shared_ptr<VChocolateLayer> mToppingLayer;
};
