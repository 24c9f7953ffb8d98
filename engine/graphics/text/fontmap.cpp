#include "graphics/text/fontmap.h"

#include <cstring>

#include "foundation/debuglog.h"
#include "foundation/readfile.h"
#include "graphics/text/defaultfont.h"

const char* const TFontMap::kDefaultFontName = "__DEFAULT";
const char* const TFontMap::kDefaultFontFile = "fonts/default.mvec";

TFontMap::TFontMap() : TFontMap(ReadWholeFile) {}

TFontMap::TFontMap(TFileReader reader) : mReader(std::move(reader)) {}

TFontMap& TFontMap::GetInstance() {
    static TFontMap instance;
    return instance;
}

TVecFont* TFontMap::Get(const TString& name) {
    auto found = mFonts.find(name);
    if (found != mFonts.end()) return found->second.get();

    return (mFonts[name] = Load(name)).get();
}

std::unique_ptr<TVecFont> TFontMap::Load(const TString& name) {
    std::string contents;
    if (std::strcmp(name.c_str(), kDefaultFontName) != 0) {
        if (mReader(name, contents) || mReader(kDefaultFontFile, contents)) {
            return std::make_unique<TVecFont>(std::vector<uint8_t>(contents.begin(), contents.end()));
        }
        // A font object always results; the line marks that the built-in
        // font stands in for a name that has no file at all.
        DebugLog("Font not found: %s", name.c_str());
    }
    return std::make_unique<TVecFont>(std::vector<uint8_t>(kDefaultFontData, kDefaultFontData + kDefaultFontSize));
}
