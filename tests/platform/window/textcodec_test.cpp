#include "platform/window/textcodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<uint32_t> Decode(const std::string& text) {
    std::vector<uint32_t> codePoints(text.size() + 1);
    codePoints.resize(window::DecodeUtf8(text, codePoints.data(), codePoints.size()));
    return codePoints;
}

TEST(DecodeUtf8Test, DecodesEveryLength) {
    EXPECT_EQ(Decode("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), (std::vector<uint32_t>{'A', 0xE9, 0x20AC, 0x1F600}));
}

TEST(DecodeUtf8Test, SkipsMalformedSequencesAndKeepsTheRest) {
    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"stray continuation", "a\x80" "b"},
        {"overlong two bytes", "a\xC0\xAF" "b"},
        {"overlong three bytes", "a\xE0\x80\xAF" "b"},
        {"surrogate", "a\xED\xA0\x80" "b"},
        {"past U+10FFFF", "a\xF4\x90\x80\x80" "b"},
        {"invalid lead", "a\xFF" "b"},
        {"cut off before a letter", "a\xE2\x82" "b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Decode(c.text), (std::vector<uint32_t>{'a', 'b'})) << c.name;
    }
    EXPECT_EQ(Decode("a\xF0\x9F\x98"), (std::vector<uint32_t>{'a'})) << "cut off at the end";
}

TEST(DecodeUtf8Test, StopsAtCapacity) {
    uint32_t codePoints[2] = {};
    EXPECT_EQ(window::DecodeUtf8("abc", codePoints, 2), 2u);
    EXPECT_EQ(codePoints[1], uint32_t{'b'});
}

TEST(Windows1252Test, MapsBothWays) {
    EXPECT_EQ(window::CodePointToWindows1252(0xE9), 0xE9);
    EXPECT_EQ(window::CodePointToWindows1252(0x20AC), 0x80);
    EXPECT_EQ(window::CodePointToWindows1252(0x0178), 0x9F);
    EXPECT_EQ(window::CodePointToWindows1252(0x0081), -1) << "a C1 control the code page does not carry";
    EXPECT_EQ(window::CodePointToWindows1252(0x1F600), -1);
    for (int byte = 0; byte < 256; ++byte) {
        uint32_t codePoint = window::Windows1252ToCodePoint(static_cast<unsigned char>(byte));
        if (codePoint != 0xFFFD) {
            EXPECT_EQ(window::CodePointToWindows1252(codePoint), byte);
        }
    }
    EXPECT_EQ(window::Windows1252ToCodePoint(0x81), 0xFFFDu);
}

TEST(Windows1252Test, ConvertsTexts) {
    EXPECT_EQ(window::Windows1252ToUtf8("Caf\xE9 \x80"), "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(window::Windows1252ToUtf8("\x8D"), "\xEF\xBF\xBD");
    EXPECT_EQ(window::Utf8ToWindows1252("Caf\xC3\xA9 \xE2\x82\xAC"), "Caf\xE9 \x80");
    EXPECT_EQ(window::Utf8ToWindows1252("\xF0\x9F\x98\x80!\xFF"), "?!?");
}

TEST(SanitizeUtf8Test, ReplacesEachMalformedPart) {
    EXPECT_EQ(window::SanitizeUtf8("ok \xC3\xA9"), "ok \xC3\xA9");
    EXPECT_EQ(window::SanitizeUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(window::SanitizeUtf8("a\xE2\x82"), "a\xEF\xBF\xBD");
}

}  // namespace
