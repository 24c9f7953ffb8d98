#include "graphics/sprite.h"

#include <algorithm>

#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"

const TSpriteClassId TSprite::ClassId = &TSprite::ClassId;
const TRect TSprite::kEmptyBounds(10000000, 10000000, -10000000, -10000000);

namespace {

const char* const kCountSetting = "current_sprite_count";
// Hit tests open their target keeping the drawn alpha.
constexpr int kKeepAlphaTarget = 1;
constexpr int kHitTargetSide = 4;

int gLiveSprites = 0;

// Shared by every hit test while sprites live.
std::shared_ptr<TTexture>& HitTarget() {
    static std::shared_ptr<TTexture> target;
    return target;
}

void PublishCount() {
    SetSetting(kCountSetting, TString::Format("%d", gLiveSprites));
}

}  // namespace

std::shared_ptr<TSprite> TSprite::Create(int layer, const std::shared_ptr<TTexture>& texture) {
    auto sprite = std::make_shared<TSprite>(layer);
    if (texture) sprite->SetTexture(texture);
    return sprite;
}

int TSprite::GetCount() {
    return gLiveSprites;
}

TSprite::TSprite(int layer) : mLayer(layer), mDrawState(TVec2(0, 0), 1, 1, 0) {
    ++gLiveSprites;
    PublishCount();
}

TSprite::~TSprite() {
    for (const std::shared_ptr<TSprite>& child : mChildren) child->mParent = nullptr;
    if (--gLiveSprites == 0) HitTarget().reset();
    PublishCount();
}

void TSprite::SetLayer(int layer) {
    if (layer == mLayer) return;
    mLayer = layer;
    if (mParent) mParent->SortChildren();
}

bool TSprite::IsSelfOrAncestor(const TSprite* sprite) const {
    for (const TSprite* walk = this; walk; walk = walk->mParent) {
        if (walk == sprite) return true;
    }
    return false;
}

void TSprite::AddChild(const std::shared_ptr<TSprite>& child) {
    if (!child) return;
    if (IsSelfOrAncestor(child.get())) {
        DebugLog("TSprite::AddChild: a sprite cannot be a child of itself or of its descendants");
        return;
    }
    // The old parent may hold the last other reference: the argument keeps it.
    if (child->mParent) child->mParent->RemoveChild(child);
    child->mParent = this;
    mChildren.push_back(child);
    SortChildren();
}

bool TSprite::RemoveChild(const std::shared_ptr<TSprite>& child) {
    auto found = std::find(mChildren.begin(), mChildren.end(), child);
    if (found == mChildren.end()) return false;
    (*found)->mParent = nullptr;
    mChildren.erase(found);
    return true;
}

void TSprite::SetTexture(const std::shared_ptr<TTexture>& texture) {
    mTexture = texture;
}

void TSprite::SortChildren() {
    std::stable_sort(mChildren.begin(), mChildren.end(),
                     [](const std::shared_ptr<TSprite>& a, const std::shared_ptr<TSprite>& b) {
                         return a->mLayer < b->mLayer;
                     });
}

void TSprite::Draw(const TDrawState& parentState, int depth) {
    if (!mVisible) return;
    TDrawState state = TDrawState::Compose(mDrawState, parentState);
    auto child = mChildren.begin();
    if (depth != 0) {
        for (; child != mChildren.end() && (*child)->mLayer < 0; ++child) (*child)->Draw(state, depth - 1);
    }
    if (mTexture) mTexture->Draw(state);
    if (depth != 0) {
        for (; child != mChildren.end(); ++child) (*child)->Draw(state, depth - 1);
    }
}

TRect TSprite::GetBounds(const TDrawState& parentState, int depth) {
    TDrawState state = TDrawState::Compose(mDrawState, parentState);
    TRect bounds = mTexture ? TextureBounds(state) : kEmptyBounds;
    if (depth != 0) {
        for (const std::shared_ptr<TSprite>& child : mChildren) bounds.Union(bounds, child->GetBounds(state, depth - 1));
    }
    return bounds;
}

TRect TSprite::TextureBounds(const TDrawState& state) const {
    TVec2 size(static_cast<float>(mTexture->GetWidth()), static_cast<float>(mTexture->GetHeight()));
    if (state.flags & TDrawState::kUseSourceRect) {
        size = TVec2(static_cast<float>(state.sourceRect.right - state.sourceRect.left),
                     static_cast<float>(state.sourceRect.bottom - state.sourceRect.top));
    }
    TVec2 offset = (state.flags & TDrawState::kUsePivot) ? TVec2(-state.pivot.x, -state.pivot.y)
                                                         : TVec2(-size.x / 2, -size.y / 2);
    const TVec2 corners[4] = {offset, TVec2(offset.x + size.x, offset.y), TVec2(offset.x + size.x, offset.y + size.y),
                              TVec2(offset.x, offset.y + size.y)};
    TVec2 low = state.matrix.TransformPoint(corners[0]);
    TVec2 high = low;
    for (const TVec2& corner : corners) {
        TVec2 placed = state.matrix.TransformPoint(corner);
        low = TVec2(std::min(low.x, placed.x), std::min(low.y, placed.y));
        high = TVec2(std::max(high.x, placed.x), std::max(high.y, placed.y));
    }
    return TRect(static_cast<int>(low.x), static_cast<int>(low.y), static_cast<int>(high.x), static_cast<int>(high.y));
}

bool TSprite::HitTest(const TPoint& point, const TDrawState& parentState, int threshold, int depth) {
    if (!mTexture || !mVisible) return false;
    if (!GetBounds(parentState, depth).Contains(point)) return false;
    if (threshold < 0) return true;
    return DrawnAlpha(point, parentState, depth) >= threshold;
}

int TSprite::DrawnAlpha(const TPoint& point, const TDrawState& parentState, int depth) {
    std::shared_ptr<TTexture>& target = HitTarget();
    // A target left without its surface belonged to a display that is gone.
    if (!target || !target->GetTextureData()->HasSurface()) {
        target = TTexture::Create(kHitTargetSide, kHitTargetSide, true);
    }
    if (!target) return -1;
    TRenderer& renderer = *TRenderer::GetInstance();
    if (!renderer.BeginRenderTarget(target, kKeepAlphaTarget)) return -1;
    // The tested pixel starts transparent, so only what the tree draws counts.
    renderer.FillRect(TRect(1, 1, 2, 2), TColor4f(0, 0, 0, 0), target);
    {
        TBegin2dScope block(renderer);
        // The point lands on pixel (1, 1).
        TDrawState moved = parentState;
        moved.matrix.m[2][0] += static_cast<float>(1 - point.x);
        moved.matrix.m[2][1] += static_cast<float>(1 - point.y);
        Draw(moved, depth);
    }
    renderer.EndRenderTarget();
    uint32_t* pixels = nullptr;
    int pitch = 0;
    TTextureData& data = *target->GetTextureData();
    if (!data.Lock(pixels, pitch)) return -1;
    int alpha = static_cast<int>(pixels[pitch + 1] >> 24);
    data.Unlock();
    return alpha;
}
