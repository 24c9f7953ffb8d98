// Laid-out marked-up text: a box, a base font, alignment flags, an optional
// rotation and the text. Any change marks the layout dirty; it is laid out
// again before the next draw or measurement, and only then.
#pragma once

#include <memory>
#include <vector>

#include "foundation/color.h"
#include "foundation/rect.h"
#include "foundation/tstring.h"
#include "foundation/vector.h"
#include "graphics/text/textformat.h"
#include "graphics/text/textline.h"

class TFontMap;
class TPixelTarget;
class TQmMiniVecDraw;

class TTextLayout {
public:
    // The flag word.
    enum : int {
        kCentre = 1,
        kRight = 2,
        kVerticalCentre = 4,
        kBottom = 8,
    };

    // An empty face is the built-in font. Fonts come from the process's
    // font map unless another is given.
    static std::unique_ptr<TTextLayout> Create(int width, int height, const TString& face, int size,
                                               const TColor4f& colour, int flags, const TString& text);
    TTextLayout(int width, int height, const TString& face, int size, const TColor4f& colour, int flags,
                const TString& text, TFontMap* fonts = nullptr);

    void SetText(const TString& text);
    TString GetText() const { return mText; }
    void SetFlags(int flags);
    void SetSize(int width, int height);
    void SetColor(const TColor4f& colour);
    // Degrees about the origin, in pixels from the layout's top-left.
    void SetRotation(float degrees, float originX, float originY);
    // The base font's size.
    void SetLineHeight(int size);
    int GetLineHeight() const { return mBase.size; }
    // Text drawn into a fresh target replaces its pixels.
    void SetCopyMode();

    // Draws from the position, stopping at the first line that ends below
    // the clip height; a negative scale draws nothing. Without a target the
    // text goes to the screen through the shape renderer.
    void Draw(const TVec2& position, float clipHeight, float scale, int extraSpacing, float alpha,
              TPixelTarget* target = nullptr);
    // Draw from the rectangle's top-left over its height.
    void DrawInRect(const TRect& rect, float scale, int extraSpacing, float alpha, TPixelTarget* target = nullptr);

    // The laid-out text's box in pixels at the scale; all zero without text.
    TRect GetExtents(float scale);
    // The link id of the run under the point, "" when none.
    TString GetLinkAt(const TPoint& point, int lineSpacing);
    // True when the hovered link changed, so the caller redraws.
    bool SetHoverPoint(const TPoint& point, int lineSpacing = 0);
    bool ClearHover();
    // The first line of the last page: 0 when every line fits the height.
    int CountLinesFitting(float scale, int extraSpacing);

    void SetFirstVisibleLine(float line) { mFirstVisibleLine = line; }
    float GetFirstVisibleLine() const { return mFirstVisibleLine; }

    const std::vector<std::shared_ptr<TTextLine>>& GetLines();
    int GetWidth() const { return mWidth; }
    int GetHeight() const { return mHeight; }
    int GetFlags() const { return mFlags; }
    bool IsDirty() const { return mDirty; }

private:
    struct TPen;

    void LayOutIfDirty();
    void DrawLine(TQmMiniVecDraw& draw, const TTextLine& line, TPen& pen, TPixelTarget* target);
    void DrawRun(TQmMiniVecDraw& draw, const TTextRun& run, TPen& pen, TPixelTarget* target);
    void SetRunStyle(TQmMiniVecDraw& draw, const TTextRun& run, const TPen& pen);
    // The line index of the first visible line and how far up it starts.
    int FirstLine() const;
    float FirstLineRaise(float scale) const;

    TFontMap& mFonts;
    TString mText;
    int mWidth;
    int mHeight;
    TTextFont mBase;
    int mFlags;
    float mCos = 1;
    float mSin = 0;
    float mOriginX = 0;
    float mOriginY = 0;
    float mDegrees = 0;
    bool mMerge = false;
    bool mCopy = false;
    TString mHoverLink;
    float mFirstVisibleLine = 0;

    std::vector<std::shared_ptr<TTextLine>> mLines;
    int mTotalHeight = 0;
    int mAnchor = 0;
    float mOffset = 0;
    bool mDirty = true;
};
