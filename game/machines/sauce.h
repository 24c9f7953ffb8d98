// The sauce machine: bottles of sauce, taken with one free hand. The second
// sauce machine stands only where the drink machine does not.
#pragma once

#include <memory>

#include "game/machines/bottlemachine.h"

class VSauce : public VBottleMachine {
public:
    // Glowing under the mouse.
    static std::shared_ptr<VSauce> Create();
    VSauce();

protected:
    bool IsUnlocked() const override;
};
