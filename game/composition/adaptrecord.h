// The items of a composition file read into plain records, apart from any
// window, so that the reading can be tested and fuzzed alone.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/color.h"
#include "foundation/tstring.h"

class TXmlNode;

enum class RAdaptKind { kText, kImage, kAnim, kSound };

// One record serves the four kinds; each kind reads only its own attributes
// and leaves the other fields at their defaults.
struct RAdaptRecord {
    RAdaptKind kind = RAdaptKind::kText;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 800;
    int32_t height = 600;
    int horizontalAlign = 1;  // 0 left, 1 centre, 2 right
    int verticalAlign = 4;    // 0 top, 4 centre, 8 bottom
    TString label;
    TString font = "fonts/myriad_pro.mvec";
    int32_t fontSize = 20;
    int32_t padding = 0;
    float rotation = 0;
    float alpha = 1;
    TColor4f color{0, 0, 0, 0};
    TString source;
    float scale = 1;
    bool loop = false;
    int32_t delay = 0;  // ms

    int AlignFlags() const { return horizontalAlign + verticalAlign; }
};

// The items of the first top-level "adapt" element in document order;
// empty without one. Unknown elements and attributes are skipped.
std::vector<RAdaptRecord> ParseAdaptRecords(TXmlNode& document);

// The attribute conversions, exposed for the tests.
int32_t AdaptInt(const TString& text);
float AdaptFloat(const TString& text);
int AdaptHorizontalAlign(const TString& text);
int AdaptVerticalAlign(const TString& text);
// "#RRGGBB" with opaque alpha; any other length or a non-hex digit gives
// (0, 0, 0, 0).
TColor4f AdaptColor(const TString& text);
