#include "game/objects/carriable.h"

std::shared_ptr<VCarriable> VCarriable::Create(int kind) {
    auto carriable = std::make_shared<VCarriable>(kind);
    Adopt(carriable);
    return carriable;
}

VCarriable::VCarriable(int kind) : VCarriable(TString(), TString(), 0, kind) {}

VCarriable::VCarriable(const TString& name, const TString& type, int layer, int kind)
    : VObject(name, type, layer), mKind(kind) {}

VCarriable::~VCarriable() = default;
