// The drink machine: bottles of drink, with steam, for whoever owns "kDrink1".
#pragma once

#include <memory>

#include "game/machines/bottlemachine.h"

class VDrink : public VBottleMachine {
public:
    // Glowing under the mouse.
    static std::shared_ptr<VDrink> Create();
    VDrink();

protected:
    bool IsUnlocked() const override;
};
