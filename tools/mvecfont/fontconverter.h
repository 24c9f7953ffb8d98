// Turns a TrueType or OpenType face into the engine's ".mvec" vector font.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace mvecfont {

struct CodeRange {
    uint32_t first;
    uint32_t last;
};

// ASCII, Latin-1, Latin Extended-A, dashes, quotes, the ellipsis and the
// euro: what the game's strings use.
std::vector<CodeRange> DefaultRanges();
// "32-126,160-255,0x20ac": decimal or hexadecimal, single codes or ranges.
bool ParseRanges(const std::string& text, std::vector<CodeRange>& ranges);

struct ConvertOptions {
    std::vector<CodeRange> ranges = DefaultRanges();
    // Font units per em in the output, lowered when a coordinate would not fit.
    double unitsPerEm = 100;
    // Hears glyphs left out and other notes.
    std::function<void(const std::string&)> report;
};

// The font file's bytes; false, with the reason in error, when the face
// cannot be read or holds no 'W'.
bool ConvertFont(const std::string& fontPath, const ConvertOptions& options, std::vector<uint8_t>& output,
                 std::string& error);

}  // namespace mvecfont
