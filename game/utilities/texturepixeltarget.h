// A texture's image pixels as a target that text is drawn into directly.
#pragma once

#include <memory>

#include "graphics/text/pixeltarget.h"

class TTexture;

class TTexturePixelTarget : public TPixelTarget {
public:
    explicit TTexturePixelTarget(std::shared_ptr<TTexture> texture) : mTexture(std::move(texture)) {}

    // The image's part of the surface, which starts at its top-left corner;
    // false when the surface cannot be locked now.
    bool Lock(TLockedPixels& locked) override;
    void Unlock() override;

private:
    std::shared_ptr<TTexture> mTexture;
};
