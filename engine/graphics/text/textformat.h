// The mark-up state while a text is laid out: the font and alignment
// stacks that "font" and "center"/"left"/"right" tags push and their closing
// tags pop, and the bold, italic, underline, colour, outline and link state.
#pragma once

#include <vector>

#include "foundation/color.h"
#include "foundation/tstring.h"

struct TTextFont {
    TString face;
    int size = 0;
    TColor4f colour;
};

class TTextFormat {
public:
    // Entries each stack holds; deeper pushes are counted, not stored.
    static constexpr int kStackSize = 32;

    // Alignments of the alignment stack.
    enum { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

    // Back to the base font alone, left alignment and no styles.
    void Reset(const TTextFont& base);

    const TTextFont& GetFont() const { return mFonts.back(); }
    // Pushes past the capacity are counted, so that their closing pops
    // return to the entries below them; the top stays the deepest stored.
    void PushFont(const TTextFont& font);
    // Never below the base font.
    void PopFont();

    int GetAlignment() const { return mAlignments.back(); }
    void PushAlignment(int alignment);
    // Never below the bottom entry.
    void PopAlignment();

    bool bold = false;
    bool italic = false;
    bool underline = false;
    // The colour a link shows while hovered.
    TColor4f colour;
    float outlineSize = 0;
    TColor4f outlineColour;
    TString linkId;

private:
    std::vector<TTextFont> mFonts;
    int mFontOverflow = 0;
    std::vector<int> mAlignments;
    int mAlignmentOverflow = 0;
};
