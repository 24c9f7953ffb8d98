#include "game/objects/carriable.h"

std::shared_ptr<VCarriable> VCarriable::Create(int kind) {
    auto carriable = std::make_shared<VCarriable>(kind);
    Adopt(carriable);
    return carriable;
}

VCarriable::VCarriable(int kind) : VObject(TString(), TString(), 0), mKind(kind) {}

VCarriable::~VCarriable() = default;
