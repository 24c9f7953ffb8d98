#include "game/utilities/texturepixeltarget.h"

#include <algorithm>

#include "graphics/texture.h"

bool TTexturePixelTarget::Lock(TLockedPixels& locked) {
    TTextureData* data = mTexture ? mTexture->GetTextureData() : nullptr;
    uint32_t* pixels = nullptr;
    int pitch = 0;
    if (!data || !data->Lock(pixels, pitch)) return false;
    locked.pixels = reinterpret_cast<uint8_t*>(pixels);
    locked.width = std::min(mTexture->GetWidth(), pitch);
    locked.height = std::min(mTexture->GetHeight(), static_cast<int>(data->GetSurfaceHeight()));
    locked.pitch = pitch * static_cast<int>(sizeof(uint32_t));
    return true;
}

void TTexturePixelTarget::Unlock() {
    mTexture->GetTextureData()->Unlock();
}
