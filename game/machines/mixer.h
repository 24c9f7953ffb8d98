// The mixer starts every chocolate: with an option chosen on its buttons it
// makes a new chocolate of that option itself, lowers its arm, feeds the
// tube and sprays the mould full, the chocolate filling it from the bottom,
// and keeps the chocolate until the player takes it. It never takes
// anything from the player's hands.
#pragma once

#include <memory>

#include "game/machines/machine.h"

class TSoundInstance;

class VMixer : public VMachine {
public:
    // Work phases: arm down, tube, spray, tube back, arm back.
    enum { kArmDown = 1, kTube, kSpray, kTubeBack, kArmBack };

    static std::shared_ptr<VMixer> Create();
    // Steps of 20 ms.
    VMixer();
    ~VMixer() override;

    // A processed chocolate goes to the player first; then a free mixer
    // starts on the selected option.
    void Interact(const std::shared_ptr<VPlayer>& player) override;
    // An empty mixer with an option selected makes the option's chocolate
    // in a level; false otherwise.
    bool TryStartWork() override;
    // Tints the tube and the spray for the option and lowers the arm.
    void StartWork() override;
    bool ContinueWork() override;
    void GoIdle() override;
    // Tanks and buttons of the owned options.
    void ApplyUpgrades() override;

    // The chocolate's picture in the mould; empty when idle.
    const std::shared_ptr<VSprite>& GetProductSprite() const { return mProductSprite; }

private:
    std::shared_ptr<VSprite> mProductSprite;
    // Kept until the next spray or the mixer's end.
    std::shared_ptr<TSoundInstance> mSpraySound;
};
