// The credits screen: a text file of role | name lines and full-width lines
// ([headers] in the header colour), scrolled upwards over a fixed period
// after a pause, and repeated without a seam.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "core/windows/window.h"
#include "foundation/color.h"
#include "foundation/tstring.h"

class TTextLayout;

// The three texts made from a credits file, one line each per file line.
struct TCreditsTexts {
    TString left;
    TString right;
    TString full;
};

// Splits the file into lines as a 1024-byte line reader does (a longer line
// goes on as the next; CR before LF is dropped) and fills the three texts.
TCreditsTexts MakeCreditsTexts(std::string_view file, const TString& headerColour);

// The scroll in pixels after elapsed milliseconds: still during the pause,
// then over one period from 0 up to the text's height, again and again. A
// period of 0 or below does not scroll.
float CreditsScrollOffset(uint32_t elapsed, int introPause, int period, int textHeight);

// The alpha of a line whose top lies that far below the top of an area of
// that height: lines fade out over one line's height towards either edge,
// so that a line never shows cut by it.
float CreditsLineAlpha(float top, int lineHeight, int areaHeight);

class TCredits : public TWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    TCredits();
    ~TCredits() override;

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // The keys, the file and the three layouts; the redraw animation starts.
    void Init(const TWindowStyle& style) override;
    // "credits_version" beside the screen shows the program's version.
    void PostInit(const TWindowStyle& style) override;
    void Draw() override;
    // Only redraws; keeps running.
    bool Animate() override;

    // Null before Init: 0 left, 1 right, 2 full width.
    TTextLayout* GetLayout(int index) const;
    // How far the last Draw had scrolled, in lines.
    float GetScrollLine() const { return mScrollLine; }

private:
    void ReadKeys(const TWindowStyle& style);
    void CreateLayouts(TCreditsTexts texts);
    // One line of the layout at a point of this window.
    void DrawLine(TTextLayout& layout, int line, int left, float top, float alpha) const;

    std::unique_ptr<TTextLayout> mLeft;
    std::unique_ptr<TTextLayout> mRight;
    std::unique_ptr<TTextLayout> mFull;
    // Set by the first Draw.
    uint32_t mStartTime = 0;
    bool mStarted = false;
    float mScrollLine = 0;
    int mHalfHeight = 0;
    TString mFontName;
    int mLineHeight = 16;
    int mColumnGap = 0;
    int mTime = 0;
    int mIntroPause = 0;
    int mColumnWidth = 0;
    TColor4f mTextColour;
    TString mHeaderColour;
    TString mFileName;
};
