// Reading marked-up text: tags such as <font color='#ff0000'>, the colour
// values of their attributes, and UTF-8 characters.
#pragma once

#include <cstdint>

#include "foundation/color.h"
#include "foundation/tstring.h"

class TMarkupTag {
public:
    // The tags, in the order in which a name is matched by prefix.
    enum TKind {
        kBreak,
        kEndParagraph,
        kLink,
        kEndLink,
        kBold,
        kEndBold,
        kItalic,
        kEndItalic,
        kUnderline,
        kEndUnderline,
        kCursor,
        kCenter,
        kLeft,
        kRight,
        kEndCenter,
        kEndLeft,
        kEndRight,
        kFont,
        kEndFont,
        kOutline,
        kEndOutline,
        kTab,
        kUnknown,
    };

    // The longest tag, in kept characters; a longer one ends there.
    static constexpr int kMaxLength = 128;

    // Reads the tag that begins with the "<" at position. False when the
    // text ends before the tag does: the "<" is then ordinary text. On
    // success end is the position after the tag.
    bool Read(const TString& text, int position, int& end);

    TKind GetKind() const { return mKind; }
    // The tag as kept: spaces outside quotes dropped, lower case outside
    // attribute values.
    const TString& GetText() const { return mText; }
    // The quoted value after the attribute's name; "" when there is none.
    TString GetAttribute(const char* name) const;
    // The value as a number, or def when the attribute is absent.
    int GetIntAttribute(const char* name, int def) const;

private:
    static TKind Match(const TString& text);

    TString mText;
    TKind mKind = kUnknown;
};

// The text shown as written: a backslash before every backslash and "<",
// so that no tag is read from it.
TString EscapeMarkup(const TString& text);

// A colour of hexadecimal digits, red, green, blue and, when alpha is
// allowed and there are exactly eight digits, alpha, with or without a
// leading "#". Missing digits read as 0, so a short value is still read
// within itself. False for an empty value.
bool ParseMarkupColor(const TString& value, bool allowAlpha, TColor4f& colour);

// Decodes the UTF-8 character at position (1 to 4 bytes) and returns the
// position after it. A sequence that is broken or cut off by the end of the
// text gives kNoCharacter and skips its first byte only.
constexpr uint32_t kNoCharacter = 0xFFFFFFFFu;
int DecodeUtf8(const TString& text, int position, uint32_t& code);
