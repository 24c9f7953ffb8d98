// Key translation and the text conversions of the window layer. The first
// nine bytes are a key code, a scancode and the NumLock flag; the rest is
// text as an input method or the clipboard could hand it over.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window/keymap.h"
#include "platform/window/textcodec.h"

namespace {

bool IsScalar(uint32_t codePoint) {
    return codePoint <= 0x10FFFF && (codePoint < 0xD800 || codePoint > 0xDFFF);
}

void CheckKey(const uint8_t* data) {
    int32_t keycode;
    int32_t scancode;
    std::memcpy(&keycode, data, 4);
    std::memcpy(&scancode, data + 4, 4);
    window::VirtualKey key = window::MapKey(keycode, scancode, (data[8] & 1) != 0);
    // Virtual keys are one byte; 0 means none.
    if (key.code < 0 || key.code > 0xFE) std::abort();
}

void CheckText(std::string_view text) {
    std::vector<uint32_t> codePoints(text.size());
    size_t count = window::DecodeUtf8(text, codePoints.data(), codePoints.size());
    std::string encoded;
    for (size_t i = 0; i < count; ++i) {
        if (!IsScalar(codePoints[i])) std::abort();
        window::AppendUtf8(codePoints[i], encoded);
    }
    // What was decoded is exactly what re-encodes and decodes again.
    std::vector<uint32_t> again(encoded.size());
    if (window::DecodeUtf8(encoded, again.data(), again.size()) != count) std::abort();
    if (window::SanitizeUtf8(encoded) != encoded) std::abort();

    std::string clean = window::SanitizeUtf8(text);
    if (window::SanitizeUtf8(clean) != clean) std::abort();
    std::string narrow = window::Utf8ToWindows1252(text);
    std::string wide = window::Windows1252ToUtf8(narrow);
    if (window::SanitizeUtf8(wide) != wide) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 9) return 0;
    CheckKey(data);
    CheckText(std::string_view(reinterpret_cast<const char*>(data + 9), size - 9));
    return 0;
}
