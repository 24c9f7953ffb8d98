#include "graphics/text/fontmap.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "graphics/text/defaultfont.h"
#include "tests/graphics/text/fonttesting.h"
#include "tests/support/luatesting.h"

namespace {

// Files by name, counting every open.
class FontFiles {
public:
    TFontMap::TFileReader Reader() {
        return [this](const TString& name, std::string& contents) {
            ++opens;
            auto found = files.find(name.c_str());
            if (found == files.end()) return false;
            contents = found->second;
            return true;
        };
    }
    void Add(const std::string& name, const std::vector<TestGlyph>& glyphs) {
        std::vector<uint8_t> bytes = BuildFont(glyphs);
        files[name] = std::string(bytes.begin(), bytes.end());
    }

    std::map<std::string, std::string> files;
    int opens = 0;
};

std::vector<TestGlyph> Glyphs(uint32_t extra) {
    return {{'W', -1280, 0, 1280}, {extra, 0, 0, 640}};
}

TEST(FontMap, LoadsANamedFileOnceAndKeepsIt) {
    FontFiles files;
    files.Add("fonts/a.mvec", Glyphs('x'));
    TFontMap map(files.Reader());
    TVecFont* font = map.Get("fonts/a.mvec");
    ASSERT_NE(font, nullptr);
    EXPECT_GE(font->FindGlyph('x'), 0);
    EXPECT_EQ(map.Get("fonts/a.mvec"), font);
    EXPECT_EQ(files.opens, 1);
}

TEST(FontMap, AMissingFontFallsBackToTheDefaultFileAndIsNotLookedForAgain) {
    TestLog log;
    FontFiles files;
    files.Add(TFontMap::kDefaultFontFile, Glyphs('d'));
    TFontMap map(files.Reader());
    TVecFont* font = map.Get("fonts/missing.mvec");
    ASSERT_NE(font, nullptr);
    EXPECT_GE(font->FindGlyph('d'), 0);
    EXPECT_EQ(files.opens, 2);
    EXPECT_EQ(map.Get("fonts/missing.mvec"), font);
    EXPECT_EQ(files.opens, 2) << "the second lookup opens no file";
    EXPECT_FALSE(log.Contains("Font not found"));
}

TEST(FontMap, WithNoFileTheBuiltInFontStandsInWithALogLine) {
    TestLog log;
    FontFiles files;
    TFontMap map(files.Reader());
    TVecFont* font = map.Get("fonts/missing.mvec");
    ASSERT_NE(font, nullptr);
    EXPECT_GT(font->GetGlyphCount(), 0);
    EXPECT_TRUE(log.Contains("Font not found: fonts/missing.mvec"));
    map.Get("fonts/missing.mvec");
    EXPECT_EQ(files.opens, 2);
    EXPECT_EQ(log.Count("Font not found"), 1u);
}

TEST(FontMap, TheDefaultNameIsTheBuiltInFontWithoutOpeningAFile) {
    TestLog log;
    FontFiles files;
    files.Add(TFontMap::kDefaultFontFile, Glyphs('d'));
    TFontMap map(files.Reader());
    TVecFont* font = map.Get(TFontMap::kDefaultFontName);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(files.opens, 0);
    EXPECT_GT(font->GetGlyphCount(), 200);
    EXPECT_EQ(log.Text(), "");
}

TEST(FontMap, ClearDropsTheFontsSoTheyAreLoadedAgain) {
    FontFiles files;
    files.Add("fonts/a.mvec", Glyphs('x'));
    TFontMap map(files.Reader());
    map.Get("fonts/a.mvec");
    map.Clear();
    map.Get("fonts/a.mvec");
    EXPECT_EQ(files.opens, 2);
}

// The text of the game needs these of its fallback font.
TEST(FontMap, TheBuiltInFontIsCompleteAndWellFormed) {
    TestLog log;
    TVecFont font(std::vector<uint8_t>(kDefaultFontData, kDefaultFontData + kDefaultFontSize));
    for (uint32_t code = 32; code < 127; ++code) EXPECT_GE(font.FindGlyph(code), 0) << code;
    for (uint32_t code : {0xE9u, 0xDFu, 0xC7u, 0x152u, 0x2014u, 0x201Cu, 0x20ACu}) EXPECT_GE(font.FindGlyph(code), 0);
    EXPECT_GT(font.GetAscent(), 0);
    EXPECT_GT(font.GetDescent(), 0);
    EXPECT_EQ(log.Text(), "");
}

}  // namespace
