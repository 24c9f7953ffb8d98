// Text conversions at the window's edge: SDL speaks UTF-8, the engine's
// 8-bit mode speaks Windows-1252.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace window {

// Decodes UTF-8 into at most `capacity` code points and returns how many were
// written. Malformed sequences (stray continuation bytes, overlong forms,
// surrogates, values past U+10FFFF, cut-off sequences) are skipped.
size_t DecodeUtf8(std::string_view text, uint32_t* codePoints, size_t capacity);

// The Windows-1252 byte of a code point, or -1 when the code page has none.
int CodePointToWindows1252(uint32_t codePoint);
// The code point of a Windows-1252 byte; the five unassigned bytes give U+FFFD.
uint32_t Windows1252ToCodePoint(unsigned char byte);

// Windows-1252 text as UTF-8; the text ends at its first NUL.
std::string Windows1252ToUtf8(std::string_view text);
// UTF-8 as Windows-1252: characters the code page lacks and malformed
// sequences become '?'.
std::string Utf8ToWindows1252(std::string_view text);
// UTF-8 with every malformed sequence replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view text);

// Appends the UTF-8 form of a valid code point.
void AppendUtf8(uint32_t codePoint, std::string& out);

}  // namespace window
