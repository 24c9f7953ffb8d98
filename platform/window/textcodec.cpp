#include "platform/window/textcodec.h"

namespace window {

namespace {

const uint32_t kReplacement = 0xFFFD;

// Code points of the bytes 0x80 to 0x9F; 0 where the code page assigns none.
const uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// Reads one sequence at pos. A malformed one returns false; pos then stands
// after its longest well-formed beginning, so the next byte starts afresh.
bool ReadCodePoint(std::string_view text, size_t& pos, uint32_t& codePoint) {
    unsigned char lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        codePoint = lead;
        return true;
    }
    int extra;
    uint32_t value;
    // The first continuation byte's range rules out overlong forms,
    // surrogates and values past U+10FFFF.
    unsigned char lower = 0x80;
    unsigned char upper = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        value = lead & 0x0F;
        if (lead == 0xE0) lower = 0xA0;
        if (lead == 0xED) upper = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        value = lead & 0x07;
        if (lead == 0xF0) lower = 0x90;
        if (lead == 0xF4) upper = 0x8F;
    } else {
        return false;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= text.size()) return false;
        unsigned char next = static_cast<unsigned char>(text[pos]);
        if (next < lower || next > upper) return false;
        lower = 0x80;
        upper = 0xBF;
        value = (value << 6) | (next & 0x3F);
        ++pos;
    }
    codePoint = value;
    return true;
}

}  // namespace

size_t DecodeUtf8(std::string_view text, uint32_t* codePoints, size_t capacity) {
    size_t count = 0;
    size_t pos = 0;
    while (pos < text.size() && count < capacity) {
        uint32_t codePoint;
        if (ReadCodePoint(text, pos, codePoint)) codePoints[count++] = codePoint;
    }
    return count;
}

int CodePointToWindows1252(uint32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == codePoint) return 0x80 + i;
    }
    return -1;
}

uint32_t Windows1252ToCodePoint(unsigned char byte) {
    if (byte < 0x80 || byte >= 0xA0) return byte;
    uint32_t codePoint = kHighControls[byte - 0x80];
    return codePoint != 0 ? codePoint : kReplacement;
}

void AppendUtf8(uint32_t codePoint, std::string& out) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\0') break;
        AppendUtf8(Windows1252ToCodePoint(static_cast<unsigned char>(c)), out);
    }
    return out;
}

std::string Utf8ToWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        uint32_t codePoint;
        int byte = ReadCodePoint(text, pos, codePoint) ? CodePointToWindows1252(codePoint) : -1;
        out += byte >= 0 ? static_cast<char>(byte) : '?';
    }
    return out;
}

std::string SanitizeUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        uint32_t codePoint;
        AppendUtf8(ReadCodePoint(text, pos, codePoint) ? codePoint : kReplacement, out);
    }
    return out;
}

}  // namespace window
