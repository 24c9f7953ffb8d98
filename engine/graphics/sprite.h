// The drawable tree node: a texture placed by a draw state, with children
// drawn behind it (negative layers) or in front of it, kept sorted by layer.
// The live sprites are counted in the setting "current_sprite_count".
#pragma once

#include <memory>
#include <vector>

#include "foundation/rect.h"
#include "graphics/render/drawstate.h"

class TTexture;

using TSpriteClassId = const void*;

class TSprite : public std::enable_shared_from_this<TSprite> {
public:
    static const TSpriteClassId ClassId;
    static TSpriteClassId GetClassId() { return ClassId; }
    // The bounds of nothing: a union with it gives the other rectangle.
    static const TRect kEmptyBounds;

    static std::shared_ptr<TSprite> Create(int layer, const std::shared_ptr<TTexture>& texture = nullptr);
    // The live sprites.
    static int GetCount();

    explicit TSprite(int layer);
    virtual ~TSprite();
    TSprite(const TSprite&) = delete;
    TSprite& operator=(const TSprite&) = delete;

    virtual const char* GetClassName() const { return "TSprite"; }
    // True for this class's identifier; subclasses test their own, then ask their base.
    virtual bool IsA(TSpriteClassId id) const { return id == ClassId; }

    // Depth 0 draws the sprite alone; -1 draws the whole tree. Hidden
    // sprites draw nothing of their tree.
    virtual void Draw(const TDrawState& parentState, int depth);
    // False when the child was not this sprite's.
    virtual bool RemoveChild(const std::shared_ptr<TSprite>& child);
    // The screen rectangle of the texture and of the children down to the
    // depth, hidden ones included.
    virtual TRect GetBounds(const TDrawState& parentState, int depth);
    // Whether the point is on the drawn tree: a negative threshold tests the
    // bounds only, else the alpha drawn at the point must reach it (0-255),
    // which needs the renderer outside frames. Needs a texture and visibility.
    virtual bool HitTest(const TPoint& point, const TDrawState& parentState, int threshold, int depth);
    virtual void SetTexture(const std::shared_ptr<TTexture>& texture);
    // Stable: equal layers keep their order of insertion.
    virtual void SortChildren();

    // Takes the child from its old parent. Refused, with a log line, for the
    // sprite itself and its ancestors, which would make the tree a cycle.
    void AddChild(const std::shared_ptr<TSprite>& child);
    void SetVisible(bool visible) { mVisible = visible; }
    bool IsVisible() const { return mVisible; }
    // The parent re-sorts its children when the layer changes.
    void SetLayer(int layer);
    int GetLayer() const { return mLayer; }
    const std::shared_ptr<TTexture>& GetTexture() const { return mTexture; }
    TSprite* GetParent() const { return mParent; }
    const std::vector<std::shared_ptr<TSprite>>& GetChildren() const { return mChildren; }
    // The placement within the parent.
    TDrawState& GetDrawState() { return mDrawState; }

protected:
    TSprite* mParent = nullptr;
    bool mVisible = true;
    int mLayer;
    std::shared_ptr<TTexture> mTexture;
    TDrawState mDrawState;
    std::vector<std::shared_ptr<TSprite>> mChildren;

private:
    bool IsSelfOrAncestor(const TSprite* sprite) const;
    TRect TextureBounds(const TDrawState& state) const;
    // The alpha the tree draws at the point, or -1 when it cannot be measured.
    int DrawnAlpha(const TPoint& point, const TDrawState& parentState, int depth);
};
