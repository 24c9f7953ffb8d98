// Escapes the input as the hiscore screens escape names, categories and
// messages from the network, lays it out in a box wide enough for any line
// and traps when the layout read a tag from it: a styled or linked run, a
// font change, a tab, or a line that no newline began.
#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/debuglog.h"
#include "graphics/text/fontmap.h"
#include "graphics/text/markup.h"
#include "graphics/text/textlayout.h"

namespace {

constexpr int kSize = 16;
const TColor4f kColour(1, 1, 1, 1);

bool IsPlain(const TTextRun& run) {
    return !run.bold && !run.italic && !run.underline && !run.cursor && run.outlineSize == 0 &&
           run.linkId.Length() == 0 && run.tabPos == 0 && run.size == kSize && run.colour == kColour;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetLogFolder(nullptr);
    static TFontMap fonts([](const TString&, std::string&) { return false; });

    TString text(reinterpret_cast<const char*>(data), static_cast<int>(size));
    size_t newlines = 0;
    for (size_t i = 0; i < size; ++i) newlines += data[i] == '\n';
    TTextLayout layout(1 << 24, 96, "", kSize, kColour, 0, EscapeMarkup(text), &fonts);
    const auto& lines = layout.GetLines();
    if (lines.size() > newlines + 1) __builtin_trap();
    for (const auto& line : lines) {
        if (line->height > kSize) __builtin_trap();
        for (const TTextRun& run : line->runs) {
            if (!IsPlain(run)) __builtin_trap();
        }
    }
    return 0;
}
