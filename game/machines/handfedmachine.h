// The machines the player feeds a chocolate from the hands to add one layer
// to it: the ingredient machine and the topping machine. A visit starts work
// on what the machine holds; else, with no option chosen, it hands the held
// chocolate over or loads one from the hands; with an option chosen, it
// swaps a chocolate from the hands for the machine's content and starts.
#pragma once

#include <memory>

#include "game/machines/machine.h"

class VHandFedMachine : public VMachine {
public:
    // The stage the machine adds.
    explicit VHandFedMachine(int stage);
    ~VHandFedMachine() override;

    // The selection is cleared whenever no work starts.
    void Interact(const std::shared_ptr<VPlayer>& player) override;

private:
    // Nothing chosen: the held chocolate to the player, or one from the
    // hands into an empty machine.
    void Exchange(const std::shared_ptr<VPlayer>& player);
    // An option chosen: a chocolate from the hands goes in, the machine's
    // content comes out; false when nothing moved.
    bool SwapIn(const std::shared_ptr<VPlayer>& player);

    int mStage;
};
