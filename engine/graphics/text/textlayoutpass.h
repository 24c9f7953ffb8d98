// One layout pass: reads a marked-up text and breaks it into lines of runs
// that fit the box's width, each placed by its alignment.
#pragma once

#include <memory>
#include <vector>

#include "foundation/tstring.h"
#include "graphics/text/textformat.h"
#include "graphics/text/textline.h"

class TFontMap;
class TMarkupTag;
class TVecFont;

class TTextLayoutPass {
public:
    using TLines = std::vector<std::shared_ptr<TTextLine>>;

    // Flags: bit 0 centres each line, bit 1 aligns it right, until a line
    // holds an alignment tag. The legacy wrap keeps the character that
    // overflows a line without spaces on that line.
    TTextLayoutPass(const TString& text, int width, const TTextFont& base, int flags, TFontMap& fonts,
                    bool legacyWrap);

    TLines Run();

private:
    // Where a line can be broken after its last space.
    struct TSpaceBreak {
        bool valid = false;
        int position = 0;  // after the space
        TTextFormat format;
        size_t runCount = 0;
        int last = 0;
        float endX = 0;
        bool heldAlignment = false;
    };
    struct TLineState {
        float pen = 0;  // quarter pixels
        int pad = 0;
        int tabPos = 0;
        bool placedAny = false;
        bool heldAlignment = false;
        TSpaceBreak spaceBreak;
    };
    enum TPlacement { kPlaced, kSkipped, kBreakAtSpace, kBreakAfter, kBreakBefore };

    // Lays one line from position and returns where the next one starts.
    int LayLine(int position, TTextLine& line);
    void OpenRun(TTextLine& line, TLineState& state, int position, bool onFallback);
    // Applies the tag; true when it ends the line.
    bool ApplyTag(const TMarkupTag& tag, TTextLine& line, TLineState& state);
    void PushFont(const TMarkupTag& tag);
    TPlacement PlaceCharacter(TTextLine& line, TLineState& state, uint32_t code, int position, int next);
    // Starts a run on the face or on the default font when the character
    // is found only in the other.
    void SwitchFontFor(TTextLine& line, TLineState& state, uint32_t code, int position);
    bool Overflows(const TTextLine& line, const TTextRun& run, float pen) const;
    // Puts the line back to its state after the last space.
    void BreakAtSpace(TTextLine& line, TLineState& state);
    // Metrics and placement; returns next.
    int FinishLine(TTextLine& line, const TLineState& state, int next);
    int LineAlignment(const TLineState& state);
    TVecFont* FontFor(const TString& face);

    const TString& mText;
    int mWidth;
    int mFlags;
    TFontMap& mFonts;
    TVecFont* mDefaultFont;
    bool mLegacyWrap;
    TTextFormat mFormat;
    bool mAlignmentSeen = false;
    int mAlignment = TTextFormat::kAlignLeft;
    bool mMissingFontLogged = false;
};
