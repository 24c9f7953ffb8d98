// An image asset: one surface object, cached in the asset manager under a
// key made of the image name and its options, and drawn as a screen quad
// through the renderer.
#pragma once

#include <memory>

#include "foundation/asset.h"
#include "foundation/rect.h"
#include "foundation/tstring.h"
#include "graphics/render/drawstate.h"
#include "graphics/texturedata.h"

class TTexture : public TAsset {
public:
    static const TAssetClassId ClassId;
    static TAssetClassId GetClassId() { return ClassId; }

    // Option bits of GetWithOptions and GetMasked.
    enum {
        kGetMipmap = 1,
        kGetAlpha = 2,
        kGetNoAlpha = 4,
    };

    // The name with "/" turned into "\", then ":a", ":m" and ":s" for the
    // flags that are set, then ":tex".
    static TString MakeCacheKey(const TString& name, bool alpha, bool mipmap, bool simple);
    // A "simple" texture for pixel access, never drawn; cached under its own
    // key (":s"), apart from the drawable texture of the same image.
    static std::shared_ptr<TTexture> Get(const TString& name);
    static std::shared_ptr<TTexture> GetWithOptions(const TString& name, int bits);
    // The image with the mask's brightness as its alpha.
    static std::shared_ptr<TTexture> GetMasked(const TString& name, const TString& maskName, int bits);
    // An empty texture to draw into, cleared to transparent black.
    static std::shared_ptr<TTexture> Create(int width, int height, bool alpha);
    // Lets TAssetMap load ".png" and ".jpg" names as textures.
    static void RegisterLoaders();

    ~TTexture() override;
    const char* GetClassName() const override { return "TTexture"; }
    bool IsA(TAssetClassId id) const override { return id == ClassId || TAsset::IsA(id); }
    // Frees the surface's device memory.
    void Release() override;
    // Rebuilds the surface, re-reading its image.
    void Restore() override;

    // Only inside Begin2d; a "simple" texture draws nothing.
    virtual void Draw(const TDrawState& state);
    // Rotation in radians, applied before the move to (x, y).
    virtual void DrawAt(float x, float y, float alpha, float scale, float rotation, int flags);
    // Copies the source rectangle (the whole image when null), clamped to the
    // image, to (x, y) of the target (the screen when empty). Nothing happens
    // while the renderer is drawing.
    virtual void Blit(int x, int y, const TRect* source, const std::shared_ptr<TTexture>& target);
    // The image's size, margins excluded.
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    // The surface size around the image, each side rounded up to even.
    TPoint GetPaddedSize() const;

    bool IsSimple() const { return mData->HasOption(TTextureData::kSimple); }
    TTextureData* GetTextureData() const { return mData.get(); }

protected:
    explicit TTexture(std::unique_ptr<TTextureData> data) : mData(std::move(data)) {}

private:
    // Makes a texture with the options and registers it under the key (or
    // "<address>:tex:r" when the key is empty); empty without a display.
    static std::shared_ptr<TTexture> Make(const TString& key, uint8_t options);
    // The texture cached under the key, or one loaded from the files.
    static std::shared_ptr<TTexture> Find(const TString& key);
    static std::shared_ptr<TTexture> Load(const TString& key, uint8_t options, const TString& name,
                                          const TString& maskName);

    std::unique_ptr<TTextureData> mData;
};
