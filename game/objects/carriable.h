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

    // Whether the holder should let it go; never for a plain carriable.
    virtual bool IsExpired() const { return false; }

    int GetKind() const { return mKind; }
    void SetKind(int kind) { mKind = kind; }

protected:
    // For kinds of carriables with a name and a type of their own.
    VCarriable(const TString& name, const TString& type, int layer, int kind);

private:
    int mKind;
};
