// An object the player character can carry; it adds a kind number.
#pragma once

#include <memory>

#include "game/objects/object.h"

class VCarriable : public VObject {
public:
    // An unnamed carriable of the kind.
    static std::shared_ptr<VCarriable> Create(int kind);
    explicit VCarriable(int kind);
    ~VCarriable() override;

    int GetKind() const { return mKind; }

private:
    int mKind;
};
