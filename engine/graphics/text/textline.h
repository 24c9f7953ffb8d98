// One laid-out line of text: its metrics, its place in the box, and its runs,
// the stretches of text drawn in one style.
#pragma once

#include <vector>

#include "foundation/color.h"
#include "foundation/tstring.h"

class TVecFont;

struct TTextRun {
    TVecFont* font = nullptr;
    // Set while the run holds the glyphs its face lacks, from this font.
    TVecFont* fallbackFont = nullptr;
    // Font units to quarter pixels.
    float scale = 0;
    int size = 0;
    // Quarter pixels below the line's top.
    int baseline = 0;
    TColor4f colour;
    // Shown while the run's link is hovered.
    TColor4f linkColour;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // The text cursor stands after the run.
    bool cursor = false;
    // Byte indexes of the run's first and last character; last < first
    // while the run holds none.
    int first = 0;
    int last = -1;
    float outlineSize = 0;
    TColor4f outlineColour;
    TString linkId;
    // Pixels from the line's start: the pen before the first character and
    // after the last.
    float startX = 0;
    float endX = 0;
    int tabPos = 0;

    // The font the run's glyphs come from.
    TVecFont* DrawingFont() const { return fallbackFont ? fallbackFont : font; }
    bool HasCharacters() const { return last >= first; }
};

class TTextLine {
public:
    int height = 0;
    // Quarter pixels below the line's top.
    int baseline = 0;
    int x = 0;
    // 0, minus half the line's width, or minus the width.
    float origin = 0;
    std::vector<TTextRun> runs;

    // The pen after the last run, in pixels.
    float GetWidth() const { return runs.empty() ? 0 : runs.back().endX; }
};
