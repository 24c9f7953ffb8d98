#include "foundation/xmlescape.h"

#include "foundation/bytefinder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct TNamedEntity {
    char character;
    const char* name; // after the "&"
};

const TNamedEntity kNamedEntities[] = {
    {'&', "amp;"}, {'<', "lt;"}, {'>', "gt;"}, {'"', "quot;"}, {'\'', "apos;"},
};

// Length of the entity at text[at] (which is "&") and its byte, or 0.
int MatchEntity(const char* text, int length, int at, TByteFinder& semicolons, char& byte)
{
    if (at + 1 < length && text[at + 1] == '#') {
        const int semicolon = int(semicolons.Find(size_t(at) + 2));
        if (semicolon >= length) {
            return 0;
        }
        // strtol rather than atoi: same reading, but defined on overflow.
        const std::string digits(text + at + 2, text + semicolon);
        byte = char(std::strtol(digits.c_str(), nullptr, 10) & 0xFF);
        return semicolon - at + 1;
    }
    for (const TNamedEntity& entity : kNamedEntities) {
        const int nameLength = int(std::strlen(entity.name));
        if (length - at - 1 >= nameLength && std::memcmp(text + at + 1, entity.name, nameLength) == 0) {
            byte = entity.character;
            return nameLength + 1;
        }
    }
    return 0;
}

} // namespace

TString XmlEscape(const TString& text)
{
    const char* bytes = text.c_str();
    const int length = text.Length();
    std::string out;
    out.reserve(size_t(length) * 2);
    for (int i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        const TNamedEntity* named = nullptr;
        for (const TNamedEntity& entity : kNamedEntities) {
            if (entity.character == char(c)) {
                named = &entity;
            }
        }
        if (named != nullptr) {
            out += '&';
            out += named->name;
        } else if (c < 32 || c >= 128) {
            char reference[8];
            std::snprintf(reference, sizeof(reference), "&#%d;", c);
            out += reference;
        } else {
            out += char(c);
        }
    }
    return TString(out.c_str(), int(out.size()));
}

TString XmlUnescape(const char* text, int length, bool* leadingEntity)
{
    if (leadingEntity != nullptr) {
        *leadingEntity = false;
    }
    std::string out;
    out.reserve(length);
    // One finder for the whole text keeps runs of "&#" without ";" linear.
    TByteFinder semicolons(text, size_t(length), ';');
    for (int at = 0; at < length;) {
        char byte = 0;
        const int matched = text[at] == '&' ? MatchEntity(text, length, at, semicolons, byte) : 0;
        if (matched == 0) {
            out += text[at++];
            continue;
        }
        if (at == 0 && leadingEntity != nullptr) {
            *leadingEntity = true;
        }
        out += byte;
        at += matched;
    }
    return TString(out.data(), int(out.size()));
}
