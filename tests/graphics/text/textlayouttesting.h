// Fonts of the text layout tests: the built-in font under every name, and
// "small.mvec", a face of three glyphs (" ", "W", "a") that the built-in
// font stands in for otherwise.
#pragma once

#include <string>
#include <vector>

#include "graphics/text/fontmap.h"
#include "graphics/text/textlayoutpass.h"
#include "tests/graphics/text/fonttesting.h"

inline TFontMap::TFileReader SmallFaceReader() {
    return [](const TString& name, std::string& contents) {
        if (std::string(name.c_str()) != "small.mvec") return false;
        std::vector<uint8_t> bytes = BuildFont({
            {' ', 0, 0, 512},
            {'W', -1024, 0, 1024},
            {'a', -768, 256, 1024},
        });
        contents.assign(bytes.begin(), bytes.end());
        return true;
    };
}

// The characters of a line's runs, tags and escapes left out.
inline std::string LineText(const TString& text, const TTextLine& line) {
    std::string result;
    for (const TTextRun& run : line.runs) {
        for (int i = run.first; i <= run.last; ++i) {
            if (text.CharAt(i) == '\\') ++i;
            result += text.CharAt(i);
        }
    }
    return result;
}
