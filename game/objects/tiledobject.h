// An object that draws its "background" asset as a nine-slice panel over an
// area: the corners keep their size, the edges stretch along the area and
// the middle both ways.
#pragma once

#include <array>
#include <memory>

#include "foundation/rect.h"
#include "foundation/vector.h"
#include "game/objects/object.h"

class VTiledObject : public VObject {
public:
    static std::shared_ptr<VTiledObject> Create(const TString& name, const TString& type, int layer);
    VTiledObject(const TString& name, const TString& type, int layer);
    ~VTiledObject() override;

    // The nine pieces, only with a texture and an area of some size.
    void Draw(const TDrawState& parentState, int depth) override;
    // Recomputes the slices for the new texture.
    void SetAnimation(const std::shared_ptr<TTexture>& texture) override;
    // Shows the "default" state of "background" first.
    void Reset() override;
    // Reads the insets "x1", "x2", "y1", "y2" and the area "w", "h" first.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;

    using VSprite::CopyTo;
    // The deep copy with the insets and the area.
    virtual void CopyTo(const std::shared_ptr<VTiledObject>& target);
    virtual void SetArea(int width, int height);
    // The area at the sprite's position; nothing for a null rectangle.
    virtual void GetArea(TRect* area) const;

private:
    struct Piece {
        TRect source;  // empty: not drawn
        TVec2 centre;
        TVec2 scale{1, 1};
    };

    void RecomputeSlices();

    int mWidth = 0;
    int mHeight = 0;
    int mLeft = 0;
    int mRight = 0;
    int mTop = 0;
    int mBottom = 0;
    std::array<Piece, 9> mPieces;
};
