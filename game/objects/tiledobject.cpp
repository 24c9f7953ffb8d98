#include "game/objects/tiledobject.h"

#include <algorithm>

#include "game/objects/objectdescription.h"
#include "game/shell/luastyle.h"
#include "graphics/texture.h"

namespace {

const TString kBackground("background");
const TString kDefaultState("default");

// One column (or row) of the nine pieces: its texture range, its centre in
// the area and its stretch. An unusable one has an empty range.
struct Span {
    int from = 0;
    int to = 0;
    float centre = 0;
    float scale = 1;
};

// The three columns (or rows) for insets near and far of a texture extent
// and an area extent. Insets are at least 0.
std::array<Span, 3> Slice(int nearInset, int farInset, int textureExtent, int areaExtent) {
    int nearEnd = std::min(nearInset, textureExtent);
    int farStart = std::max(0, textureExtent - farInset);
    Span nearSpan{0, nearEnd, nearEnd / 2.0f, 1};
    Span farSpan{farStart, textureExtent, areaExtent - (textureExtent - farStart) / 2.0f, 1};
    Span middle;
    // Insets that cover the texture leave no middle to stretch.
    if (farStart > nearEnd) {
        int stretched = areaExtent - nearInset - farInset;
        middle = Span{nearEnd, farStart, stretched / 2.0f + nearInset,
                      static_cast<float>(stretched) / static_cast<float>(farStart - nearEnd)};
    }
    return {nearSpan, middle, farSpan};
}

}  // namespace

std::shared_ptr<VTiledObject> VTiledObject::Create(const TString& name, const TString& type, int layer) {
    auto object = std::make_shared<VTiledObject>(name, type, layer);
    Adopt(object);
    return object;
}

VTiledObject::VTiledObject(const TString& name, const TString& type, int layer) : VObject(name, type, layer) {}

VTiledObject::~VTiledObject() = default;

void VTiledObject::SetAnimation(const std::shared_ptr<TTexture>& texture) {
    VObject::SetAnimation(texture);
    RecomputeSlices();
}

void VTiledObject::Reset() {
    SetAsset(kBackground, kDefaultState, kDefaultState);
    VObject::Reset();
}

void VTiledObject::Load(const std::shared_ptr<VLuaStyle>& description) {
    if (description && description->IsValid()) {
        VStyleReach own(*description, 0);
        mLeft = description->GetInt("x1", 0);
        mRight = description->GetInt("x2", 0);
        mTop = description->GetInt("y1", 0);
        mBottom = description->GetInt("y2", 0);
        mWidth = description->GetInt("w", 0);
        mHeight = description->GetInt("h", 0);
    }
    VObject::Load(description);
    RecomputeSlices();
}

void VTiledObject::CopyTo(const std::shared_ptr<VTiledObject>& target) {
    if (!target || target.get() == this) return;
    CopyObjectTo(target);
    target->mLeft = mLeft;
    target->mRight = mRight;
    target->mTop = mTop;
    target->mBottom = mBottom;
    target->SetArea(mWidth, mHeight);
}

void VTiledObject::SetArea(int width, int height) {
    mWidth = width;
    mHeight = height;
    RecomputeSlices();
}

void VTiledObject::GetArea(TRect* area) const {
    if (!area) return;
    TVec2 position = GetPosition();
    int x = static_cast<int>(position.x);
    int y = static_cast<int>(position.y);
    *area = TRect(x, y, x + mWidth, y + mHeight);
}

void VTiledObject::RecomputeSlices() {
    const std::shared_ptr<TTexture>& texture = GetTexture();
    if (!texture) return;
    std::array<Span, 3> columns =
        Slice(std::max(0, mLeft), std::max(0, mRight), texture->GetWidth(), mWidth);
    std::array<Span, 3> rows = Slice(std::max(0, mTop), std::max(0, mBottom), texture->GetHeight(), mHeight);
    for (size_t row = 0; row < rows.size(); ++row) {
        for (size_t column = 0; column < columns.size(); ++column) {
            const Span& x = columns[column];
            const Span& y = rows[row];
            mPieces[row * 3 + column] =
                Piece{TRect(x.from, y.from, x.to, y.to), TVec2(x.centre, y.centre), TVec2(x.scale, y.scale)};
        }
    }
}

void VTiledObject::Draw(const TDrawState& parentState, int) {
    const std::shared_ptr<TTexture>& texture = GetTexture();
    if (!texture || !IsVisible() || mWidth <= 0 || mHeight <= 0) return;
    TDrawState composed = TDrawState::Compose(mDrawState, parentState);
    for (const Piece& piece : mPieces) {
        if (piece.source.right <= piece.source.left || piece.source.bottom <= piece.source.top) continue;
        TDrawState state(piece.centre, 1.0f, 1.0f, TDrawState::kUseSourceRect);
        state.matrix.Scale(piece.scale.x, piece.scale.y);
        state.sourceRect = piece.source;
        state.color = composed.color;
        texture->Draw(TDrawState::Compose(state, composed));
    }
}
