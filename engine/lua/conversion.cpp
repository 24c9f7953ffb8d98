#include "lua/conversion.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "lua/strings.h"

namespace script {

namespace {

bool isSpaceChar(unsigned c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigitChar(unsigned c) { return c >= '0' && c <= '9'; }

int hexDigitValue(unsigned c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    return -1;
}

// Length of the decimal numeral at s (digits, optional fraction, optional
// exponent with digits; no sign); 0 when there is none.
template <typename Unit>
size_t scanDecimal(const Unit* s)
{
    size_t i = 0;
    size_t digits = 0;
    while (isDigitChar(s[i]))
        ++i, ++digits;
    if (s[i] == '.') {
        ++i;
        while (isDigitChar(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    if (s[i] == 'e' || s[i] == 'E') {
        size_t j = i + 1;
        if (s[j] == '+' || s[j] == '-')
            ++j;
        if (isDigitChar(s[j])) {
            while (isDigitChar(s[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

// Whether a numeral out of a double's range is above it: the decimal
// exponent of its first significant digit, with the written exponent, is
// positive.
bool aboveRange(const char* s, const char* end)
{
    long long magnitude = 0;
    bool point = false;
    bool significant = false;
    for (; s < end && *s != 'e' && *s != 'E'; ++s) {
        if (*s == '.') {
            point = true;
            continue;
        }
        significant |= *s != '0';
        if (significant && !point)
            ++magnitude;
        else if (!significant && point)
            --magnitude;
    }
    long long exponent = 0;
    if (s < end) {
        const bool negative = s[1] == '-';
        for (++s; s < end; ++s)
            if (isDigitChar(static_cast<unsigned char>(*s)) && exponent < 1000000000)
                exponent = exponent * 10 + (*s - '0');
        if (negative)
            exponent = -exponent;
    }
    return magnitude + exponent > 0;
}

// Value of a numeral that scanDecimal accepted (plain ASCII characters).
lua_Number decimalValue(const char* s, size_t length)
{
    double value = 0;
    auto [end, error] = std::from_chars(s, s + length, value, std::chars_format::general);
    (void)end;
    if (error == std::errc::result_out_of_range)
        value = aboveRange(s, s + length) ? HUGE_VAL : 0.0;  // as strtod gives
    return value;
}

template <typename Unit>
bool onlySpacesFrom(const Unit* s)
{
    while (*s && static_cast<unsigned>(*s) < 256 && isSpaceChar(static_cast<unsigned>(*s)))
        ++s;
    return *s == 0;
}

// Hexadecimal wide text after "0x": digits, an optional fraction, and after a
// fraction an optional binary exponent.
bool wideHexToNumber(const lua_WChar* s, lua_Number* result)
{
    double value = 0;
    size_t digits = 0;
    int d;
    while ((d = hexDigitValue(*s)) >= 0)
        value = value * 16 + d, ++s, ++digits;
    bool fraction = false;
    if (*s == '.') {
        fraction = true;
        ++s;
        double weight = 1.0 / 16;
        while ((d = hexDigitValue(*s)) >= 0)
            value += d * weight, weight /= 16, ++s, ++digits;
    }
    if (digits == 0)
        return false;
    if (fraction && (*s == 'p' || *s == 'P')) {
        const lua_WChar* p = s + 1;
        bool negative = *p == '-';
        if (*p == '+' || *p == '-')
            ++p;
        if (isDigitChar(*p)) {
            int exponent = 0;
            while (isDigitChar(*p)) {
                if (exponent < 100000)
                    exponent = exponent * 10 + (*p - '0');
                ++p;
            }
            value = std::ldexp(value, negative ? -exponent : exponent);
            s = p;
        }
    }
    if (!onlySpacesFrom(s))
        return false;
    *result = value;
    return true;
}

// Whole numbers below 10^14 print as "%.14g" prints them, all digits and no
// exponent: the common case, written without the general conversion. Returns
// 0 for any other number (and for -0, which keeps its sign there).
int integerToText(lua_Number n, char* buffer)
{
    constexpr lua_Number kLimit = 1e14;
    if (!(n > -kLimit && n < kLimit) || n != static_cast<lua_Number>(static_cast<long long>(n)) ||
        (n == 0 && std::signbit(n)))
        return 0;
    auto [end, error] = std::to_chars(buffer, buffer + kNumberTextSize - 1, static_cast<long long>(n));
    (void)error;  // 15 characters at most
    *end = '\0';
    return static_cast<int>(end - buffer);
}

}  // namespace

int numberToText(lua_Number n, char* buffer)
{
    if (const int length = integerToText(n, buffer); length > 0)
        return length;
    auto [end, error] = std::to_chars(buffer, buffer + kNumberTextSize - 1, n, std::chars_format::general, 14);
    (void)error;  // the buffer always fits 14 significant digits
    *end = '\0';
    return static_cast<int>(end - buffer);
}

bool textToNumber(const char* s, lua_Number* result)
{
    while (isSpaceChar(static_cast<unsigned char>(*s)))
        ++s;
    bool negative = *s == '-';
    if (*s == '-' || *s == '+')
        ++s;
    size_t length = scanDecimal(s);
    if (length == 0 || !onlySpacesFrom(reinterpret_cast<const unsigned char*>(s + length)))
        return false;
    lua_Number value = decimalValue(s, length);
    *result = negative ? -value : value;
    return true;
}

bool wideTextToNumber(const lua_WChar* s, lua_Number* result)
{
    if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        return wideHexToNumber(s + 2, result);
    bool negative = *s == '-';
    if (*s == '-' || *s == '+')
        ++s;
    size_t length = scanDecimal(s);
    if (length == 0 || !onlySpacesFrom(s + length))
        return false;
    std::string text(s, s + length);  // the numeral is plain ASCII
    lua_Number value = decimalValue(text.data(), length);
    *result = negative ? -value : value;
    return true;
}

bool valueToNumber(const Value* v, lua_Number* result)
{
    switch (v->tag) {
    case LUA_TNUMBER:
        *result = v->n;
        return true;
    case LUA_TSTRING:
        return textToNumber(asString(v)->chars(), result);
    case LUA_TWSTRING:
        return wideTextToNumber(asString(v)->units(), result);
    default:
        return false;
    }
}

bool numberToStringInPlace(lua_State* L, Value* v)
{
    if (v->tag == LUA_TSTRING)
        return true;
    if (v->tag != LUA_TNUMBER)
        return false;
    char text[kNumberTextSize];
    int length = numberToText(v->n, text);
    setString(v, newString(L, text, static_cast<size_t>(length)));
    return true;
}

bool numberToWideStringInPlace(lua_State* L, Value* v)
{
    if (v->tag == LUA_TWSTRING)
        return true;
    if (v->tag != LUA_TNUMBER)
        return false;
    char text[kNumberTextSize];
    int length = numberToText(v->n, text);
    lua_WChar units[kNumberTextSize];
    for (int i = 0; i < length; ++i)
        units[i] = static_cast<unsigned char>(text[i]);
    setString(v, newWideString(L, units, static_cast<size_t>(length)));
    return true;
}

}  // namespace script
