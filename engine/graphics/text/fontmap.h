// The fonts by name, loaded on first use and kept until Clear.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "foundation/tstring.h"
#include "graphics/text/vecfont.h"

class TFontMap {
public:
    // Reads a whole file by name; false when it cannot be opened.
    using TFileReader = std::function<bool(const TString& name, std::string& contents)>;

    // The name of the built-in font.
    static const char* const kDefaultFontName;
    // Tried when a named font file is missing.
    static const char* const kDefaultFontFile;

    // Reads through the engine's file layer.
    TFontMap();
    explicit TFontMap(TFileReader reader);

    // The process-wide map.
    static TFontMap& GetInstance();

    // The font of that name; a missing file falls back to "fonts/default.mvec",
    // then to the built-in font, and the fallback is kept under the name, so
    // a missing font is looked for once.
    TVecFont* Get(const TString& name);
    // Deletes every font.
    void Clear() { mFonts.clear(); }

private:
    std::unique_ptr<TVecFont> Load(const TString& name);

    TFileReader mReader;
    std::map<TString, std::unique_ptr<TVecFont>> mFonts;
};
