// A horizontal or vertical slider: a rail drawn from three textures and a
// thumb image the player drags. It keeps a value from 0 to 1 and tells its
// parent of changes, the end of a drag and clicks on the rail by messages
// carrying its name. Scripts create it as "Slider".
#pragma once

#include <memory>

#include "core/windows/window.h"

class TImage;
class TTexture;

class TSlider : public TWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    TSlider() = default;

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~TSlider() override;
    // Runs once; a second description is ignored.
    void Init(const TWindowStyle& style) override;
    void Draw() override;
    bool OnMouseDown(const TPoint& point) override;
    bool OnMouseUp(const TPoint& point) override;
    bool OnMouseMove(const TPoint& point) override;
    bool OnMouseLeave(const TPoint& point) override;

    float GetValue() const { return mValue; }
    // Clamps the value to 0..1 (NaN reads 0) and moves the thumb; unless
    // silent, the parent hears kSliderValChanged.
    void SetValue(float value, bool silent);
    bool IsHorizontal() const { return mHorizontal; }
    // Null before Init.
    TImage* GetThumb() const { return mThumb; }

private:
    // Along the rail: the x of a horizontal slider, the y of a vertical one.
    int Along(const TPoint& point) const { return mHorizontal ? point.x : point.y; }
    int Length() const { return mHorizontal ? GetWidth() : GetHeight(); }
    int ThumbLength() const;
    // The rail's extent across the slider, and the thumb's with its offset.
    int ComputeThickness() const;
    void PlaceThumb();
    bool IsOverThumb(const TPoint& point) const;
    // The rollover look while hovered or dragged; the capture goes with it.
    void ShowRollover(bool rollover);
    // One rail piece from start along the rail, length long (its texture is
    // stretched to it), centred across the slider.
    void DrawRailPiece(const std::shared_ptr<TTexture>& texture, float start, float length) const;
    float PieceLength(const std::shared_ptr<TTexture>& texture) const;
    void Notify(int type);

    TImage* mThumb = nullptr;  // owned as a child
    std::shared_ptr<TTexture> mRailTop;
    std::shared_ptr<TTexture> mRailMid;
    std::shared_ptr<TTexture> mRailBottom;
    std::shared_ptr<TTexture> mThumbNormal;
    std::shared_ptr<TTexture> mThumbRollover;
    float mValue = 0;
    float mScale = 1.0f;
    int mYOffset = 0;
    int mThickness = 0;
    bool mHorizontal = true;
    bool mDragging = false;
    bool mInitialised = false;
};
