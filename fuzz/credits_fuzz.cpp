// Turns arbitrary bytes into the credits screen's three texts and checks
// that every text got the same number of lines.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "game/menus/credits.h"

namespace {

long CountLines(const TString& text) {
    std::string_view view(text.c_str(), static_cast<size_t>(text.Length()));
    return std::count(view.begin(), view.end(), '\n');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    std::string_view file(reinterpret_cast<const char*>(data), size);
    TCreditsTexts texts = MakeCreditsTexts(file, "ff8000ff");
    long lines = CountLines(texts.full);
    if (CountLines(texts.left) != lines || CountLines(texts.right) != lines) std::abort();
    return 0;
}
