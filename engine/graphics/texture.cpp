#include "graphics/texture.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "foundation/assetmanager.h"
#include "foundation/assetmap.h"
#include "foundation/debuglog.h"
#include "graphics/render/renderer.h"
#include "graphics/render/vertexset.h"

const TAssetClassId TTexture::ClassId = &TTexture::ClassId;

namespace {

// The key of a texture made without a name: its full address, so two live
// textures never share one.
TString AddressKey(const TTexture* texture) {
    return TString::Format("%lx:tex:r", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(texture)));
}

}  // namespace

TString TTexture::MakeCacheKey(const TString& name, bool alpha, bool mipmap, bool simple) {
    TString key = name;
    key.Replace("/", "\\", TString::kReplaceAll);
    if (alpha) key += ":a";
    if (mipmap) key += ":m";
    if (simple) key += ":s";
    return key + ":tex";
}

std::shared_ptr<TTexture> TTexture::Get(const TString& name) {
    uint8_t options = TTextureData::kSimple | TTextureData::kAlphaFromImage;
    return Load(MakeCacheKey(name, false, false, true), options, name, TString());
}

std::shared_ptr<TTexture> TTexture::GetWithOptions(const TString& name, int bits) {
    uint8_t options = 0;
    if (bits & kGetAlpha) {
        options |= TTextureData::kAlpha;
    } else if (!(bits & kGetNoAlpha)) {
        options |= TTextureData::kAlphaFromImage;
    }
    if (bits & kGetMipmap) options |= TTextureData::kMipmap;
    TString key = MakeCacheKey(name, (bits & kGetAlpha) != 0, (bits & kGetMipmap) != 0, false);
    return Load(key, options, name, TString());
}

std::shared_ptr<TTexture> TTexture::GetMasked(const TString& name, const TString& maskName, int bits) {
    uint8_t options = TTextureData::kAlpha;
    if (bits & kGetMipmap) options |= TTextureData::kMipmap;
    TString key = name + ":" + maskName + ((bits & kGetMipmap) ? ":m" : "") + ":tex";
    return Load(key, options, name, maskName);
}

std::shared_ptr<TTexture> TTexture::Create(int width, int height, bool alpha) {
    if (width <= 0 || height <= 0) {
        DebugLog("TTexture::Create: no texture of %dx%d pixels", width, height);
        return nullptr;
    }
    uint8_t options = TTextureData::kRenderTarget | (alpha ? TTextureData::kAlpha : 0);
    std::shared_ptr<TTexture> texture = Make(TString(), options);
    if (!texture) return nullptr;
    bool made = texture->mData->CreateSurface(static_cast<uint32_t>(width), static_cast<uint32_t>(height), true);
    return made ? texture : nullptr;
}

void TTexture::RegisterLoaders() {
    TAssetLoader loader = [](const TString& loadName) -> std::shared_ptr<TAsset> {
        return GetWithOptions(loadName, 0);
    };
    TAssetMap::RegisterLoader("png", loader);
    TAssetMap::RegisterLoader("jpg", loader);
}

std::shared_ptr<TTexture> TTexture::Make(const TString& key, uint8_t options) {
    std::unique_ptr<TTextureData> data = NewTextureData();
    if (!data) {
        DebugLog("TTexture: no display to make textures on");
        return nullptr;
    }
    data->SetOptions(options);
    std::shared_ptr<TTexture> texture(new TTexture(std::move(data)));
    if (TAssetManager* manager = GetAssetManager()) {
        manager->RegisterAsset(key.Length() > 0 ? key : AddressKey(texture.get()), texture);
    }
    return texture;
}

std::shared_ptr<TTexture> TTexture::Find(const TString& key) {
    TAssetManager* manager = GetAssetManager();
    return manager ? std::dynamic_pointer_cast<TTexture>(manager->GetAsset(key)) : nullptr;
}

std::shared_ptr<TTexture> TTexture::Load(const TString& key, uint8_t options, const TString& name,
                                         const TString& maskName) {
    if (std::shared_ptr<TTexture> cached = Find(key)) return cached;
    std::shared_ptr<TTexture> texture = Make(key, options);
    if (!texture || !texture->mData->Load(name, maskName)) return nullptr;
    return texture;
}

TTexture::~TTexture() {
    TAssetManager* manager = GetAssetManager();
    if (manager && mData->GetFileName().Length() == 0) manager->RemoveAsset(AddressKey(this));
}

void TTexture::Release() {
    mData->Release();
}

void TTexture::Restore() {
    mData->Restore();
}

int TTexture::GetWidth() const {
    return static_cast<int>(mData->GetWidth());
}

int TTexture::GetHeight() const {
    return static_cast<int>(mData->GetHeight());
}

TPoint TTexture::GetPaddedSize() const {
    auto even = [](uint32_t value) { return static_cast<int>((value + 1) & ~1u); };
    return TPoint(even(mData->GetWidth() + 2 * mData->GetBorderX()),
                  even(mData->GetHeight() + 2 * mData->GetBorderY()));
}

void TTexture::Draw(const TDrawState& state) {
    TRenderer* renderer = TRenderer::GetInstance();
    if (!renderer->InBegin2d() || !mData->HasSurface() || IsSimple()) return;
    TRect source =
        (state.flags & TDrawState::kUseSourceRect) ? state.sourceRect : TRect(0, 0, GetWidth(), GetHeight());
    TVec2 offset = (state.flags & TDrawState::kUsePivot)
                       ? TVec2(-state.pivot.x, -state.pivot.y)
                       : TVec2((source.left - source.right) / 2.0f, (source.top - source.bottom) / 2.0f);
    float width = static_cast<float>(source.right - source.left);
    float height = static_cast<float>(source.bottom - source.top);
    TVec2 corners[4] = {offset, TVec2(offset.x + width, offset.y), TVec2(offset.x + width, offset.y + height),
                        TVec2(offset.x, offset.y + height)};
    if (state.flags & TDrawState::kMirrorVertical) {
        std::swap(corners[0].y, corners[2].y);
        std::swap(corners[1].y, corners[3].y);
    }
    if (state.flags & TDrawState::kMirrorHorizontal) {
        std::swap(corners[0].x, corners[1].x);
        std::swap(corners[2].x, corners[3].x);
    }
    float surfaceWidth = static_cast<float>(mData->GetSurfaceWidth());
    float surfaceHeight = static_cast<float>(mData->GetSurfaceHeight());
    TVec2 uvTopLeft(source.left / surfaceWidth, source.top / surfaceHeight);
    TVec2 uvBottomRight(source.right / surfaceWidth, source.bottom / surfaceHeight);
    TRenderVertex quad[4];
    TRenderer::BuildQuad(TVec2(0, 0), quad, corners, uvTopLeft, uvBottomRight, state.matrix, state.alpha,
                         state.color);
    renderer->SetTexture(std::static_pointer_cast<TTexture>(shared_from_this()));
    if (state.blendMode != TDrawState::kInheritBlend) renderer->SetBlendMode(state.blendMode);
    TVertexSet vertices;
    vertices.Init2d(quad, 4);
    renderer->DrawVertices(TRenderer::kTriangleFan, vertices);
}

void TTexture::DrawAt(float x, float y, float alpha, float scale, float rotation, int flags) {
    if (!TRenderer::GetInstance()->InBegin2d()) return;
    TDrawState state(TVec2(x, y), alpha, scale, flags);
    state.matrix.Rotate(rotation);
    Draw(state);
}

void TTexture::Blit(int x, int y, const TRect* source, const std::shared_ptr<TTexture>& target) {
    if (!mData->HasSurface() || TRenderer::GetInstance()->IsDrawing()) return;
    TTextureData* targetData = target ? target->mData.get() : nullptr;
    if (!source) {
        mData->Blit(x, y, nullptr, targetData);
        return;
    }
    TRect clamped(std::max(source->left, 0), std::max(source->top, 0), std::min(source->right, GetWidth()),
                  std::min(source->bottom, GetHeight()));
    if (clamped.right <= clamped.left || clamped.bottom <= clamped.top) return;
    mData->Blit(x, y, &clamped, targetData);
}
