// The nine-slice panel: an image cut into corners that keep their size,
// edges that stretch along one axis and a centre that stretches both ways,
// laid over a window's size as nine sprites under one root sprite. A
// drawing mix-in of the panel windows.
#pragma once

#include <memory>

#include "foundation/rect.h"

class TSprite;
class TTexture;
class TWindow;
class TWindowStyle;

class KSplit9 {
public:
    explicit KSplit9(TWindow& window);
    virtual ~KSplit9();
    KSplit9(const KSplit9&) = delete;
    KSplit9& operator=(const KSplit9&) = delete;

    // Sizes the window as the panel class wants, between the border keys and
    // the image.
    virtual void FitWindow(const TWindowStyle& style) = 0;

    // Borders and padding, FitWindow, the image, then the pieces.
    void Init(const TWindowStyle& style);
    // The nine pieces for the image and the window's size; nothing without
    // an image.
    void BuildPieces();
    // A sprite drawing the source rectangle (a, b)-(c, d) of the image onto
    // the destination (e, f)-(g, h); skipped when either is empty or turned
    // inside out.
    void AddPiece(int a, int b, int c, int d, int e, int f, int g, int h);
    // Where the content goes: inside the borders, widened by the padding.
    TRect InnerRect() const;
    // The pieces, when there is a root sprite.
    void DrawPanel();

    const std::shared_ptr<TSprite>& GetRootSprite() const { return mRoot; }
    const std::shared_ptr<TTexture>& GetImage() const { return mImage; }
    int GetPanelPadding() const { return mPanelPadding; }

protected:
    std::shared_ptr<TSprite> mRoot;
    std::shared_ptr<TTexture> mImage;
    int mLeft = 0;
    int mRight = 0;
    int mTop = 0;
    int mBottom = 0;
    int mPanelPadding = 0;
    TWindow& mWindow;
};
