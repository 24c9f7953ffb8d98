// string.format: the C-style conversions, %q, and the engine's %B, %Q and %b.
#include "lua/lauxlib.h"
#include "lua/stringlib.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

namespace script {

namespace {

constexpr char kFlags[] = "-+ #0";

// A conversion for snprintf: "%", at most five flags, two digits of width,
// "." and two digits of precision, the conversion letter and a zero. The
// flags, width and precision are kept apart too, for the conversions written
// here without snprintf.
struct Conversion {
    char text[16];
    bool hasPrecision;
    bool leftAlign;    // "-"
    bool zeroPad;      // "0"
    bool otherFlags;   // "+", " " or "#"
    int width;
    int precision;
};

// Reads up to two digits at p into *value (0 when there are none).
const char* scanTwoDigits(const char* p, const char* end, int* value) {
    *value = 0;
    for (int i = 0; i < 2 && p < end && std::isdigit(static_cast<unsigned char>(*p)); ++i)
        *value = *value * 10 + (*p++ - '0');
    return p;
}

// Reads the flags, width and precision of a conversion starting at p (just
// after the "%") into conversion, without the conversion letter; returns where the
// letter is.
const char* scanConversion(lua_State* L, const char* p, const char* end, Conversion& conversion) {
    const char* start = p;
    conversion.leftAlign = conversion.zeroPad = conversion.otherFlags = false;
    for (; p < end && std::strchr(kFlags, *p) != nullptr && *p != '\0'; ++p) {
        conversion.leftAlign |= *p == '-';
        conversion.zeroPad |= *p == '0';
        conversion.otherFlags |= *p != '-' && *p != '0';
    }
    if (static_cast<size_t>(p - start) >= sizeof kFlags) luaL_error(L, "invalid format (repeated flags)");
    p = scanTwoDigits(p, end, &conversion.width);
    conversion.hasPrecision = false;
    conversion.precision = 0;
    if (p < end && *p == '.') {
        conversion.hasPrecision = true;
        p = scanTwoDigits(p + 1, end, &conversion.precision);
    }
    if (p < end && std::isdigit(static_cast<unsigned char>(*p)))
        luaL_error(L, "invalid format (width or precision too long)");
    size_t length = static_cast<size_t>(p - start);
    conversion.text[0] = '%';
    std::memcpy(conversion.text + 1, start, length);
    conversion.text[length + 1] = '\0';
    return p;
}

void addFill(luaL_Buffer* b, char c, size_t count) {
    for (size_t i = 0; i < count; ++i) luaL_putchar(b, c);
}

// Appends text padded to the conversion's width as printf pads it: spaces before,
// spaces after with "-", or with "0" (when the conversion allows it) zeros
// between the sign and the digits.
void addPadded(luaL_Buffer* b, const Conversion& conversion, const char* text, size_t length, bool zerosAllowed) {
    const size_t width = static_cast<size_t>(conversion.width);
    const size_t fill = width > length ? width - length : 0;
    if (conversion.leftAlign) {
        luaL_addlstring(b, text, length);
        addFill(b, ' ', fill);
        return;
    }
    if (zerosAllowed && conversion.zeroPad) {
        if (length > 0 && *text == '-') {
            luaL_putchar(b, '-');
            ++text;
            --length;
        }
        addFill(b, '0', fill);
    } else {
        addFill(b, ' ', fill);
    }
    luaL_addlstring(b, text, length);
}

// "%d" with the flags "-" and "0" and a width, written without snprintf;
// false for the forms it leaves to snprintf.
bool addDecimal(luaL_Buffer* b, const Conversion& conversion, int value) {
    if (conversion.otherFlags || conversion.hasPrecision) return false;
    char digits[16];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    if (error != std::errc()) return false;
    addPadded(b, conversion, digits, static_cast<size_t>(end - digits), true);
    return true;
}

// Writes "%.<precision>f" of value into out when value * 10^precision is a
// whole number below 2^51, as money and coordinates mostly are; returns the
// length, or 0 for other values. Below 2^51 the rounded product is within a
// quarter of the exact one, so its digits are the correctly rounded ones.
size_t fixedFromWhole(double value, int precision, char* out) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
    constexpr double kWholeLimit = 2251799813685248.0;  // 2^51
    if (precision >= static_cast<int>(std::size(kPowers))) return 0;
    const double scaled = std::fabs(value) * kPowers[precision];
    if (!(scaled < kWholeLimit) || scaled != std::floor(scaled)) return 0;
    char* p = out;
    if (std::signbit(value)) *p++ = '-';
    char whole[24];
    const auto [wholeEnd, error] = std::to_chars(whole, whole + sizeof whole, static_cast<uint64_t>(scaled));
    (void)error;  // 2^51 has 16 digits
    int digitCount = static_cast<int>(wholeEnd - whole);
    if (digitCount <= precision) {
        // Zeros ahead of a short product, so one digit comes before the point.
        const int zeros = precision + 1 - digitCount;
        std::memmove(whole + zeros, whole, static_cast<size_t>(digitCount));
        std::memset(whole, '0', static_cast<size_t>(zeros));
        digitCount += zeros;
    }
    const int beforePoint = digitCount - precision;
    std::memcpy(p, whole, static_cast<size_t>(beforePoint));
    p += beforePoint;
    if (precision > 0) *p++ = '.';
    std::memcpy(p, whole + beforePoint, static_cast<size_t>(precision));
    p += precision;
    return static_cast<size_t>(p - out);
}

// "%f" of a finite number likewise: to_chars with a precision gives the same
// correctly rounded digits as printf.
bool addFixed(luaL_Buffer* b, const Conversion& conversion, double value) {
    if (conversion.otherFlags || !std::isfinite(value)) return false;
    const int precision = conversion.hasPrecision ? conversion.precision : 6;
    char digits[512];  // 309 integer digits, the point and 99 decimals at most
    size_t length = fixedFromWhole(value, precision, digits);
    if (length == 0) {
        auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision);
        if (error != std::errc()) return false;
        length = static_cast<size_t>(end - digits);
    }
    addPadded(b, conversion, digits, length, true);
    return true;
}

// snprintf into a string of the needed size.
template <typename T>
void addFormatted(luaL_Buffer* b, const Conversion& conversion, T value) {
    char small[128];
    int needed = std::snprintf(small, sizeof small, conversion.text, value);
    if (needed < 0) return;
    if (static_cast<size_t>(needed) < sizeof small) {
        luaL_addlstring(b, small, static_cast<size_t>(needed));
        return;
    }
    std::string large(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(large.data(), large.size(), conversion.text, value);
    luaL_addlstring(b, large.data(), static_cast<size_t>(needed));
}

// %q: a double-quoted string the compiler reads back to the same bytes.
void addQuoted(lua_State* L, luaL_Buffer* b, int arg) {
    size_t length = 0;
    const char* s = checkNarrowString(L, arg, &length);
    luaL_putchar(b, '"');
    for (size_t i = 0; i < length; ++i) {
        switch (s[i]) {
        case '"':
        case '\\':
        case '\n':
            luaL_putchar(b, '\\');
            luaL_putchar(b, s[i]);
            break;
        case '\0': luaL_addlstring(b, "\\000", 4); break;
        default: luaL_putchar(b, s[i]); break;
        }
    }
    luaL_putchar(b, '"');
}

// The escape letter of a control character in %Q, or 0.
char controlEscape(unsigned c) {
    switch (c) {
    case 7: return 'a';
    case 8: return 'b';
    case 9: return 't';
    case 10: return 'n';
    case 11: return 'v';
    case 12: return 'f';
    case 13: return 'r';
    default: return 0;
    }
}

// Appends one character (byte or unit) of a %Q text.
void addQuotedUnit(luaL_Buffer* b, unsigned c, bool wide) {
    if (char letter = controlEscape(c)) {
        luaL_putchar(b, '\\');
        luaL_putchar(b, letter);
    } else if (c == '"' || c == '\\') {
        luaL_putchar(b, '\\');
        luaL_putchar(b, static_cast<char>(c));
    } else if (c >= 256 || !std::isprint(static_cast<int>(c))) {
        char hex[8];
        int n = std::snprintf(hex, sizeof hex, wide ? "\\x%04x" : "\\x%02x", c);
        luaL_addlstring(b, hex, static_cast<size_t>(n));
    } else {
        luaL_putchar(b, static_cast<char>(c));
    }
}

// %Q: quotes an 8-bit string as "..." and a wide string as L"...", with
// escapes the engine's lexer reads back.
void addLexerQuoted(lua_State* L, luaL_Buffer* b, int arg) {
    if (lua_type(L, arg) == LUA_TWSTRING) {
        const lua_WChar* units = lua_towstring(L, arg);
        size_t count = lua_strlen(L, arg);
        luaL_addlstring(b, "L\"", 2);
        for (size_t i = 0; i < count; ++i) addQuotedUnit(b, units[i], true);
    } else {
        size_t length = 0;
        const char* s = luaL_checklstring(L, arg, &length);
        luaL_putchar(b, '"');
        for (size_t i = 0; i < length; ++i) addQuotedUnit(b, static_cast<unsigned char>(s[i]), false);
    }
    luaL_putchar(b, '"');
}

void addBoolean(lua_State* L, luaL_Buffer* b, int arg) {
    int type = lua_type(L, arg);
    if (type != LUA_TBOOLEAN && type != LUA_TNIL) luaL_typerror(L, arg, "boolean");
    luaL_addstring(b, lua_toboolean(L, arg) ? "true" : "false");
}

void addLittleEndian(luaL_Buffer* b, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) luaL_putchar(b, static_cast<char>((value >> (8 * i)) & 0xFF));
}

// %b and a letter: the number as raw little-endian bytes.
void addBinary(lua_State* L, luaL_Buffer* b, int arg, char letter) {
    switch (letter) {
    case 'F': {
        double value = luaL_checknumber(L, arg);
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        addLittleEndian(b, bits, 8);
        break;
    }
    case 'f': {
        float value = static_cast<float>(luaL_checknumber(L, arg));
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        addLittleEndian(b, bits, 4);
        break;
    }
    case 'd': addLittleEndian(b, static_cast<uint64_t>(luaL_checklong(L, arg)), 4); break;
    case 'w': addLittleEndian(b, static_cast<uint64_t>(luaL_checklong(L, arg)), 2); break;
    case 'b': addLittleEndian(b, static_cast<uint64_t>(luaL_checklong(L, arg)), 1); break;
    default: break;
    }
}

void addString(lua_State* L, luaL_Buffer* b, int arg, const Conversion& conversion) {
    size_t length = 0;
    const char* s = checkNarrowString(L, arg, &length);
    if (!conversion.hasPrecision && length >= 100) {
        // Too long for a width to matter: keep the whole string.
        lua_pushvalue(L, arg);
        luaL_addvalue(b);
        return;
    }
    if (!conversion.hasPrecision && !conversion.zeroPad && !conversion.otherFlags) {
        // As snprintf would: the text up to its first zero byte, padded.
        addPadded(b, conversion, s, strnlen(s, length), false);
        return;
    }
    addFormatted(b, conversion, s);
}

}  // namespace

int stringFormat(lua_State* L) {
    size_t length = 0;
    const char* format = checkNarrowString(L, 1, &length);
    const char* end = format + length;
    int arg = 1;
    luaL_Buffer b;
    luaL_buffinit(L, &b);
    for (const char* p = format; p < end;) {
        if (*p != '%') {
            luaL_putchar(&b, *p++);
            continue;
        }
        if (++p < end && *p == '%') {
            luaL_putchar(&b, *p++);
            continue;
        }
        if (p + 1 < end && std::isdigit(static_cast<unsigned char>(*p)) && p[1] == '$')
            return luaL_error(L, "obsolete option (d$) to `format'");
        ++arg;
        Conversion conversion;
        p = scanConversion(L, p, end, conversion);
        const char letter = p < end ? *p++ : '\0';
        const size_t textLength = std::strlen(conversion.text);
        conversion.text[textLength] = letter;
        conversion.text[textLength + 1] = '\0';
        switch (letter) {
        case 'c': addFormatted(&b, conversion, static_cast<int>(luaL_checklong(L, arg))); break;
        case 'd':
        case 'i': {
            const int value = static_cast<int>(luaL_checklong(L, arg));
            if (!addDecimal(&b, conversion, value)) addFormatted(&b, conversion, value);
            break;
        }
        case 'o':
        case 'u':
        case 'x':
        case 'X':
            addFormatted(&b, conversion, static_cast<unsigned>(luaL_checklong(L, arg)));
            break;
        case 'f': {
            const double value = luaL_checknumber(L, arg);
            if (!addFixed(&b, conversion, value)) addFormatted(&b, conversion, value);
            break;
        }
        case 'e':
        case 'E':
        case 'g':
        case 'G': addFormatted(&b, conversion, static_cast<double>(luaL_checknumber(L, arg))); break;
        case 'q': addQuoted(L, &b, arg); break;
        case 's': addString(L, &b, arg, conversion); break;
        case 'B': addBoolean(L, &b, arg); break;
        case 'Q': addLexerQuoted(L, &b, arg); break;
        case 'b':
            if (p >= end) return luaL_error(L, "invalid option to `format'");
            addBinary(L, &b, arg, *p++);
            break;
        default: return luaL_error(L, "invalid option to `format'");
        }
    }
    luaL_pushresult(&b);
    return 1;
}

}  // namespace script
