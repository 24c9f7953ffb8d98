#include "graphics/text/textformat.h"

namespace {

template <typename T>
void Push(std::vector<T>& stack, int& overflow, const T& entry) {
    if (static_cast<int>(stack.size()) < TTextFormat::kStackSize) {
        stack.push_back(entry);
    } else {
        ++overflow;
    }
}

template <typename T>
void Pop(std::vector<T>& stack, int& overflow) {
    if (overflow > 0) {
        --overflow;
    } else if (stack.size() > 1) {
        stack.pop_back();
    }
}

}  // namespace

void TTextFormat::Reset(const TTextFont& base) {
    mFonts.assign(1, base);
    mFontOverflow = 0;
    mAlignments.assign(1, kAlignLeft);
    mAlignmentOverflow = 0;
    bold = italic = underline = false;
    colour = base.colour;
    outlineSize = 0;
    outlineColour = TColor4f();
    linkId = TString();
}

void TTextFormat::PushFont(const TTextFont& font) {
    Push(mFonts, mFontOverflow, font);
}

void TTextFormat::PopFont() {
    Pop(mFonts, mFontOverflow);
}

void TTextFormat::PushAlignment(int alignment) {
    Push(mAlignments, mAlignmentOverflow, alignment);
}

void TTextFormat::PopAlignment() {
    Pop(mAlignments, mAlignmentOverflow);
}
