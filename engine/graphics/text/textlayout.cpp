#include "graphics/text/textlayout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "foundation/settings.h"
#include "graphics/text/fontmap.h"
#include "graphics/text/markup.h"
#include "graphics/text/qmminivecdraw.h"
#include "graphics/text/textlayoutpass.h"
#include "graphics/text/vecfont.h"

namespace {

// Synthetic bold's stroke per pixel of text size.
constexpr float kBoldWidthPerSize = 0.0125f;
// Underlines sit this many pixels below the baseline.
constexpr int kUnderlineDrop = 2;

}  // namespace

// Where the glyphs of a draw go, in pixels of the target.
struct TTextLayout::TPen {
    float scale;
    float alpha;
    // The rotation's centre.
    float originX;
    float originY;
    float cosine;
    float sine;
    // Unrotated: the line's start and baseline.
    float lineX = 0;
    float baselineY = 0;

    TVec2 Place(float x, float y) const {
        if (sine == 0 && cosine == 1) return TVec2(x, y);
        float dx = x - originX;
        float dy = y - originY;
        return TVec2(originX + dx * cosine - dy * sine, originY + dx * sine + dy * cosine);
    }
};

std::unique_ptr<TTextLayout> TTextLayout::Create(int width, int height, const TString& face, int size,
                                                 const TColor4f& colour, int flags, const TString& text) {
    return std::make_unique<TTextLayout>(width, height, face, size, colour, flags, text);
}

TTextLayout::TTextLayout(int width, int height, const TString& face, int size, const TColor4f& colour, int flags,
                         const TString& text, TFontMap* fonts)
    : mFonts(fonts ? *fonts : TFontMap::GetInstance()),
      mText(text), mWidth(width), mHeight(height), mBase{face, size, colour}, mFlags(flags) {}

void TTextLayout::SetText(const TString& text) {
    if (text == mText) return;
    mText = text;
    mDirty = true;
}

void TTextLayout::SetFlags(int flags) {
    if (flags == mFlags) return;
    mFlags = flags;
    mDirty = true;
}

void TTextLayout::SetSize(int width, int height) {
    if (width == mWidth && height == mHeight) return;
    mWidth = width;
    mHeight = height;
    mDirty = true;
}

void TTextLayout::SetColor(const TColor4f& colour) {
    if (colour == mBase.colour) return;
    mBase.colour = colour;
    mDirty = true;
}

void TTextLayout::SetRotation(float degrees, float originX, float originY) {
    if (degrees == mDegrees && originX == mOriginX && originY == mOriginY) return;
    mDegrees = degrees;
    mOriginX = originX;
    mOriginY = originY;
    // Exactly upright at 0, so unrotated text skips the rotation.
    float radians = degrees * std::numbers::pi_v<float> / 180;
    mCos = degrees == 0 ? 1 : std::cos(radians);
    mSin = degrees == 0 ? 0 : std::sin(radians);
    mDirty = true;
}

void TTextLayout::SetLineHeight(int size) {
    if (size == mBase.size) return;
    mBase.size = size;
    mDirty = true;
}

void TTextLayout::SetCopyMode() {
    mCopy = true;
    mMerge = false;
}

const std::vector<std::shared_ptr<TTextLine>>& TTextLayout::GetLines() {
    LayOutIfDirty();
    return mLines;
}

void TTextLayout::LayOutIfDirty() {
    if (!mDirty) return;
    mLines = TTextLayoutPass(mText, mWidth, mBase, mFlags, mFonts, GetLegacyLineWrap()).Run();
    mTotalHeight = 0;
    for (const auto& line : mLines) mTotalHeight += line->height;
    mAnchor = 0;
    mOffset = 0;
    if (mFlags & kVerticalCentre) {
        mAnchor = mHeight / 2;
        mOffset = -mTotalHeight / 2.0f;
    } else if (mFlags & kBottom) {
        mAnchor = mHeight;
        mOffset = static_cast<float>(-mTotalHeight);
    }
    mDirty = false;
}

int TTextLayout::FirstLine() const {
    return std::max(0, static_cast<int>(mFirstVisibleLine));
}

float TTextLayout::FirstLineRaise(float scale) const {
    float whole = std::floor(mFirstVisibleLine);
    return std::max(0.0f, mFirstVisibleLine - whole) * static_cast<float>(mBase.size) * scale;
}

void TTextLayout::DrawInRect(const TRect& rect, float scale, int extraSpacing, float alpha, TPixelTarget* target) {
    Draw(TVec2(static_cast<float>(rect.left), static_cast<float>(rect.top)),
         static_cast<float>(rect.bottom - rect.top), scale, extraSpacing, alpha, target);
}

void TTextLayout::Draw(const TVec2& position, float clipHeight, float scale, int extraSpacing, float alpha,
                       TPixelTarget* target) {
    if (!(scale >= 0)) return;
    LayOutIfDirty();
    TQmMiniVecDraw* draw = TQmMiniVecDraw::GetInstance();
    if (!draw || mLines.empty()) return;

    float y = position.y + scale * mOffset + static_cast<float>(mAnchor);
    if (scale > 0 && GetSetting(kSettingTextSpriteRender, TString()).ToInt() > 0) {
        y = position.y + mOffset + static_cast<float>(mAnchor) / scale;
    }
    y -= FirstLineRaise(scale);
    TPen pen{scale, alpha, position.x + mOriginX, position.y + mOriginY, mCos, mSin};
    draw->SetRotation(mCos, mSin);
    draw->SetPixelModes(mMerge, mCopy);
    for (size_t i = static_cast<size_t>(FirstLine()); i < mLines.size(); ++i) {
        const TTextLine& line = *mLines[i];
        if (y + static_cast<float>(line.height) * scale - position.y > clipHeight) break;
        pen.lineX = position.x + static_cast<float>(line.x) + scale * line.origin;
        pen.baselineY = y + scale * static_cast<float>(line.baseline) / 4;
        DrawLine(*draw, line, pen, target);
        y += static_cast<float>(line.height + extraSpacing) * scale;
    }
    if (target) {
        draw->End();
    } else {
        draw->Flush();
    }
    // Others drawing shapes start from upright, plain glyphs.
    draw->SetRotation(1, 0);
    draw->SetItalic(false);
    draw->SetLineWidth(0, 0);
    draw->SetLineWidth(1, 0);
}

void TTextLayout::DrawLine(TQmMiniVecDraw& draw, const TTextLine& line, TPen& pen, TPixelTarget* target) {
    for (const TTextRun& run : line.runs) DrawRun(draw, run, pen, target);
}

void TTextLayout::SetRunStyle(TQmMiniVecDraw& draw, const TTextRun& run, const TPen& pen) {
    const TVecFont* font = run.DrawingFont();
    bool hovered = run.linkId.Length() > 0 && run.linkId == mHoverLink;
    const TColor4f& colour = hovered ? run.linkColour : run.colour;
    bool bold = run.bold || font->IsBold();
    float boldWidth = bold ? static_cast<float>(run.size) * pen.scale * kBoldWidthPerSize * font->GetBoldFactor() : 0;
    draw.SetItalic(run.italic);
    draw.SetColour(1, colour, pen.alpha);
    if (run.outlineSize > 0) {
        // The bold stroke in the text's colour covers the inner part of a
        // wider outline.
        draw.SetLineWidth(0, run.outlineSize + boldWidth);
        draw.SetColour(255, run.outlineColour, pen.alpha);
        draw.SetLineWidth(1, boldWidth);
        draw.SetColour(254, colour, pen.alpha);
    } else {
        draw.SetLineWidth(0, boldWidth);
        draw.SetLineWidth(1, 0);
        draw.SetColour(255, colour, pen.alpha);
    }
}

void TTextLayout::DrawRun(TQmMiniVecDraw& draw, const TTextRun& run, TPen& pen, TPixelTarget* target) {
    const TVecFont* font = run.DrawingFont();
    if (!font) return;
    SetRunStyle(draw, run, pen);
    float glyphScale = pen.scale * run.scale;
    float x = pen.lineX + pen.scale * run.startX;
    for (int position = run.first; position <= run.last && position < mText.Length();) {
        if (mText.CharAt(position) == '\\') ++position;
        if (position > run.last || position >= mText.Length()) break;
        uint32_t code = 0;
        position = DecodeUtf8(mText, position, code);
        int glyph = code == kNoCharacter ? -1 : font->FindGlyph(code);
        if (glyph < 0) continue;
        draw.SetScale(glyphScale, glyphScale * font->GetFitScale(glyph));
        TVec2 at = pen.Place(x, pen.baselineY);
        draw.Begin(at.x, at.y, target);
        draw.DrawShape(font->GetGlyphShape(glyph), 0, 0);
        x += font->GetAdvance(glyph) * glyphScale / 4;
    }
    if (run.underline) {
        TVec2 at = pen.Place(pen.lineX + pen.scale * run.startX, pen.baselineY + kUnderlineDrop);
        draw.Begin(at.x, at.y, target);
        draw.DrawRect(0, 0, static_cast<int>(std::lround(pen.scale * (run.endX - run.startX))), 1);
    }
    if (run.cursor) {
        TVec2 at = pen.Place(pen.lineX + pen.scale * run.endX, pen.baselineY);
        draw.Begin(at.x, at.y, target);
        draw.DrawRect(0, -static_cast<int>(std::lround(font->GetAscent() * glyphScale / 4)), 1,
                      static_cast<int>(std::lround(font->GetDescent() * glyphScale / 4)));
    }
}

TRect TTextLayout::GetExtents(float scale) {
    LayOutIfDirty();
    float left = std::numeric_limits<float>::max();
    float right = std::numeric_limits<float>::lowest();
    for (size_t i = static_cast<size_t>(FirstLine()); i < mLines.size(); ++i) {
        const TTextLine& line = *mLines[i];
        if (line.runs.empty()) continue;
        left = std::min(left, static_cast<float>(line.x) + scale * (line.runs.front().startX + line.origin));
        right = std::max(right, static_cast<float>(line.x) + scale * (line.runs.back().endX + line.origin));
    }
    int top = mAnchor + static_cast<int>(scale * mOffset);
    int bottom = top + static_cast<int>(scale * static_cast<float>(mTotalHeight));
    if (left > right) return TRect(0, top, 0, bottom);
    return TRect(static_cast<int>(std::floor(left)), top, static_cast<int>(std::ceil(right)), bottom);
}

TString TTextLayout::GetLinkAt(const TPoint& point, int lineSpacing) {
    LayOutIfDirty();
    float top = static_cast<float>(mAnchor) + mOffset - FirstLineRaise(1);
    float px = static_cast<float>(point.x);
    float py = static_cast<float>(point.y);
    for (size_t i = static_cast<size_t>(FirstLine()); i < mLines.size(); ++i) {
        const TTextLine& line = *mLines[i];
        float bottom = top + static_cast<float>(line.height);
        if (py >= top - static_cast<float>(lineSpacing) && py < bottom) {
            float start = static_cast<float>(line.x) + line.origin;
            for (const TTextRun& run : line.runs) {
                if (px >= start + run.startX && px < start + run.endX) return run.linkId;
            }
            return TString();
        }
        top = bottom + static_cast<float>(lineSpacing);
    }
    return TString();
}

bool TTextLayout::SetHoverPoint(const TPoint& point, int lineSpacing) {
    TString link = GetLinkAt(point, lineSpacing);
    if (link == mHoverLink) return false;
    mHoverLink = link;
    return true;
}

bool TTextLayout::ClearHover() {
    if (mHoverLink.Length() == 0) return false;
    mHoverLink = TString();
    return true;
}

int TTextLayout::CountLinesFitting(float scale, int extraSpacing) {
    LayOutIfDirty();
    float sum = 0;
    for (int i = static_cast<int>(mLines.size()) - 1; i >= 0; --i) {
        sum += static_cast<float>(extraSpacing + mLines[static_cast<size_t>(i)]->height) * scale;
        if (sum > static_cast<float>(mHeight)) return i + 1;
    }
    return 0;
}
