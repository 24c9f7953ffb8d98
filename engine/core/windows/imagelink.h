// What the window functions of scripts ask of an image window: show the
// texture of a named image, and tell whether it has one. The image window
// class implements this beside its window base.
#pragma once

#include "foundation/tstring.h"

class TImageLink {
public:
    virtual void SetImage(const TString& imageName, float scale) = 0;
    virtual bool HasTexture() const = 0;

protected:
    ~TImageLink() = default;
};
