#include "graphics/text/markup.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Matched by prefix in this order, so "br" wins over "b" and any name
// beginning with "a" is a link.
struct TTagName {
    const char* name;
    TMarkupTag::TKind kind;
};
const TTagName kTagNames[] = {
    {"br", TMarkupTag::kBreak},       {"/p", TMarkupTag::kEndParagraph},  {"a", TMarkupTag::kLink},
    {"/a", TMarkupTag::kEndLink},     {"b", TMarkupTag::kBold},           {"/b", TMarkupTag::kEndBold},
    {"i", TMarkupTag::kItalic},       {"/i", TMarkupTag::kEndItalic},     {"u", TMarkupTag::kUnderline},
    {"/u", TMarkupTag::kEndUnderline}, {"cursor", TMarkupTag::kCursor},   {"center", TMarkupTag::kCenter},
    {"left", TMarkupTag::kLeft},      {"right", TMarkupTag::kRight},      {"/center", TMarkupTag::kEndCenter},
    {"/left", TMarkupTag::kEndLeft},  {"/right", TMarkupTag::kEndRight},  {"font", TMarkupTag::kFont},
    {"/font", TMarkupTag::kEndFont},  {"outline", TMarkupTag::kOutline},  {"/outline", TMarkupTag::kEndOutline},
    {"tab", TMarkupTag::kTab},
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

// The byte pair at index as a channel of 0..1; digits past the end read 0.
float Channel(const char* digits, int length, int index) {
    int high = index < length ? HexDigit(digits[index]) : 0;
    int low = index + 1 < length ? HexDigit(digits[index + 1]) : 0;
    return static_cast<float>(high * 16 + low) / 255.0f;
}

// The text between the first quote character from there and its twin.
bool QuotedFrom(const char* from, TString& value) {
    const char* open = std::strpbrk(from, "\"'");
    if (!open) return false;
    const char* close = std::strchr(open + 1, *open);
    if (!close) return false;
    value = TString(open + 1, static_cast<int>(close - open - 1));
    return true;
}

}  // namespace

bool TMarkupTag::Read(const TString& text, int position, int& end) {
    const char* bytes = text.c_str();
    int length = text.Length();
    std::string kept;
    bool quoted = false;
    bool lowering = true;
    int at = position + 1;
    for (; at < length; ++at) {
        char c = bytes[at];
        if (c == '>') break;
        if (c == '"' || c == '\'') quoted = !quoted;
        if (c == '=') lowering = false;
        if (c == ' ') lowering = true;
        if (c == ' ' && !quoted) continue;
        kept += lowering ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : c;
        if (static_cast<int>(kept.size()) >= kMaxLength) break;
    }
    if (at >= length) return false;
    end = at + 1;
    mText = TString(kept.c_str(), static_cast<int>(kept.size()));
    mKind = Match(mText);
    return true;
}

TMarkupTag::TKind TMarkupTag::Match(const TString& text) {
    for (const TTagName& tag : kTagNames) {
        if (std::strncmp(text.c_str(), tag.name, std::strlen(tag.name)) == 0) return tag.kind;
    }
    return kUnknown;
}

TString TMarkupTag::GetAttribute(const char* name) const {
    const char* found = std::strstr(mText.c_str(), name);
    if (!found) return TString();
    const char* after = found + std::strlen(name);
    TString value;
    // The nearer quote kind, so that a value in single quotes is not
    // taken from a later attribute in double quotes.
    if (QuotedFrom(after, value)) return value;
    return TString();
}

int TMarkupTag::GetIntAttribute(const char* name, int def) const {
    TString value = GetAttribute(name);
    if (value.Length() == 0) return def;
    return static_cast<int>(std::strtol(value.c_str(), nullptr, 10));
}

TString EscapeMarkup(const TString& text) {
    TString escaped;
    const char* bytes = text.c_str();
    for (int i = 0; i < text.Length(); ++i) {
        if (bytes[i] == '\\' || bytes[i] == '<') escaped += '\\';
        escaped += bytes[i];
    }
    return escaped;
}

bool ParseMarkupColor(const TString& value, bool allowAlpha, TColor4f& colour) {
    const char* digits = value.c_str();
    int length = value.Length();
    if (length > 0 && digits[0] == '#') {
        ++digits;
        --length;
    }
    if (length == 0) return false;
    colour = TColor4f(Channel(digits, length, 0), Channel(digits, length, 2), Channel(digits, length, 4), 1.0f);
    if (allowAlpha && length == 8) colour.a = Channel(digits, length, 6);
    return true;
}

int DecodeUtf8(const TString& text, int position, uint32_t& code) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.c_str());
    int length = text.Length();
    unsigned char lead = bytes[position];
    int extra = 0;
    if (lead < 0x80) {
        code = lead;
        return position + 1;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        code = lead & 0x07;
    } else {
        code = kNoCharacter;
        return position + 1;
    }
    if (length - position - 1 < extra) {
        code = kNoCharacter;
        return position + 1;
    }
    for (int i = 1; i <= extra; ++i) {
        unsigned char next = bytes[position + i];
        if ((next & 0xC0) != 0x80) {
            code = kNoCharacter;
            return position + 1;
        }
        code = (code << 6) | (next & 0x3F);
    }
    return position + 1 + extra;
}
