#include "graphics/image/pngimage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/virtualfiles.h"
#include "imagetesting.h"
#include "tests/foundation/virtualfilesfixture.h"
#include "tests/support/luatesting.h"

namespace {

// What a decode gave, with the buffer freed.
struct Decoded {
    bool ok = false;
    int width = 0, height = 0, side = 0;
    bool hasAlpha = false;
    std::vector<uint32_t> pixels;  // side x side

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * side + x]; }
};

class PngImageTest : public VirtualFilesTest {
protected:
    // Decodes the bytes as the memory file "image.png".
    Decoded Decode(const std::string& bytes) {
        mFiles.push_back(bytes);
        RegisterMemoryFile("image.png", mFiles.back().data(), mFiles.back().size());
        return DecodeFile("image.png");
    }

    Decoded DecodeFile(const char* name) {
        Decoded decoded;
        uint32_t* pixels = reinterpret_cast<uint32_t*>(&decoded);  // must be replaced or cleared
        decoded.ok = LoadPng(name, pixels, decoded.width, decoded.height, decoded.side, decoded.hasAlpha);
        if (!decoded.ok) {
            EXPECT_EQ(pixels, nullptr);
            return decoded;
        }
        decoded.pixels.assign(pixels, pixels + static_cast<size_t>(decoded.side) * decoded.side);
        FreePngPixels(pixels);
        return decoded;
    }

    std::vector<std::string> mFiles;
    TestLog mLog;
};

// A colour for every pixel that tells where it came from.
uint32_t Pattern(int x, int y) {
    return 0x80000000u | static_cast<uint32_t>(x % 256) << 16 | static_cast<uint32_t>(y % 256) << 8 | 0x5A;
}

TEST_F(PngImageTest, ImageSitsTopLeftInAZeroedPowerOfTwoSquare) {
    struct Case {
        int width, height, side;
    };
    for (Case c : {Case{300, 200, 512}, Case{1, 1, 1}, Case{2, 3, 4}, Case{64, 64, 64}, Case{1, 129, 256}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        Decoded image = Decode(EncodePng(RgbaPng(c.width, c.height, Pattern)));
        ASSERT_TRUE(image.ok);
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        EXPECT_EQ(image.side, c.side);
        EXPECT_TRUE(image.hasAlpha);
        int outside = 0, wrong = 0;
        for (int y = 0; y < image.side; ++y) {
            for (int x = 0; x < image.side; ++x) {
                bool inside = x < c.width && y < c.height;
                if (!inside && image.At(x, y) != 0) ++outside;
                if (inside && image.At(x, y) != Pattern(x, y)) ++wrong;
            }
        }
        EXPECT_EQ(outside, 0);
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(PngImageTest, EveryColourTypeBecomesBlueGreenRedAlpha) {
    struct Case {
        const char* what;
        PngSpec spec;
        bool hasAlpha;
        std::vector<uint32_t> expected;  // the first row
    };
    PngSpec rgb16;
    rgb16.width = 2;
    rgb16.colorType = PNG_COLOR_TYPE_RGB;
    rgb16.bitDepth = 16;
    rgb16.rows = {0x12, 0xFF, 0x34, 0x00, 0x56, 0x80, 0xFF, 0xFF, 0x00, 0x01, 0x7F, 0xFF};
    PngSpec palette;
    palette.width = 3;
    palette.colorType = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {{0xFF, 0, 0}, {0, 0xFF, 0}, {0x10, 0x20, 0x30}};
    palette.rows = {2, 0, 1};
    PngSpec paletteTrns = palette;
    paletteTrns.transparency = {0x00, 0x80};
    PngSpec grey1;
    grey1.width = 3;
    grey1.colorType = PNG_COLOR_TYPE_GRAY;
    grey1.bitDepth = 1;
    grey1.rows = {0xA0};  // 1, 0, 1
    PngSpec greyAlpha;
    greyAlpha.width = 2;
    greyAlpha.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.rows = {0x40, 0x10, 0xC0, 0xFF};
    PngSpec rgb = WithoutAlpha(RgbaPng(2, 1, [](int x, int) { return x ? 0x00ABCDEFu : 0x00010203u; }));

    const Case cases[] = {
        {"16-bit RGB", rgb16, false, {0xFF123456u, 0xFFFF007Fu}},
        {"palette", palette, false, {0xFF102030u, 0xFFFF0000u, 0xFF00FF00u}},
        {"palette with tRNS", paletteTrns, true, {0xFF102030u, 0x00FF0000u, 0x8000FF00u}},
        {"1-bit grey", grey1, false, {0xFFFFFFFFu, 0xFF000000u, 0xFFFFFFFFu}},
        {"grey with alpha", greyAlpha, true, {0x10404040u, 0xFFC0C0C0u}},
        {"RGB", rgb, false, {0xFF010203u, 0xFFABCDEFu}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Decoded image = Decode(EncodePng(c.spec));
        ASSERT_TRUE(image.ok);
        EXPECT_EQ(image.hasAlpha, c.hasAlpha);
        for (size_t x = 0; x < c.expected.size(); ++x) EXPECT_EQ(image.At(static_cast<int>(x), 0), c.expected[x]) << x;
    }
}

TEST_F(PngImageTest, InterlacedDecodesAsPlain) {
    PngSpec plain = RgbaPng(37, 21, Pattern);
    PngSpec interlaced = plain;
    interlaced.interlaced = true;
    Decoded a = Decode(EncodePng(plain));
    Decoded b = Decode(EncodePng(interlaced));
    ASSERT_TRUE(a.ok && b.ok);
    EXPECT_EQ(a.pixels, b.pixels);
}

TEST_F(PngImageTest, FileGammaIsCorrectedToTheScreen) {
    PngSpec grey;
    grey.colorType = PNG_COLOR_TYPE_GRAY;
    grey.rows = {128};
    Decoded none = Decode(EncodePng(grey));
    grey.gamma = 1 / 2.2;
    Decoded matching = Decode(EncodePng(grey));
    grey.gamma = 1.0;
    Decoded linear = Decode(EncodePng(grey));
    ASSERT_TRUE(none.ok && matching.ok && linear.ok);
    EXPECT_EQ(none.At(0, 0), 0xFF808080u);
    EXPECT_EQ(matching.At(0, 0), 0xFF808080u);
    // 255 x (128 / 255)^(1 / 2.2) = 186.
    EXPECT_NEAR(static_cast<int>(linear.At(0, 0) & 0xFF), 186, 1);
}

TEST_F(PngImageTest, BadFilesFailWithALogLine) {
    std::string good = EncodePng(RgbaPng(40, 40, Pattern));
    struct Case {
        const char* what;
        std::string bytes;
        const char* logged;
    };
    std::string badCrc = good;
    badCrc[30] = static_cast<char>(badCrc[30] ^ 0x55);  // inside IHDR
    const Case cases[] = {
        {"empty", "", "is not a PNG file"},
        {"not a PNG", "GIF89a, not at all a PNG", "is not a PNG file"},
        {"signature only", good.substr(0, 8), "Read Error"},
        {"cut in the image data", good.substr(0, good.size() / 2), "image.png:"},
        {"corrupt header", badCrc, "image.png:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(Decode(c.bytes).ok);
        EXPECT_TRUE(mLog.Contains(c.logged)) << mLog.Text();
    }
    EXPECT_FALSE(DecodeFile("missing.png").ok);
    EXPECT_TRUE(mLog.Contains("LoadPng: cannot open missing.png"));
}

TEST_F(PngImageTest, SidesAbove4096AreRefusedBeforeAllocating) {
    PngSpec wide = WithoutAlpha(RgbaPng(4097, 1, Pattern));
    EXPECT_FALSE(Decode(EncodePng(wide)).ok);
    EXPECT_TRUE(mLog.Contains("LoadPng: image.png is 4097x1 pixels; images must be 1 to 4096 pixels a side"));
    // 60,000 pixels would once have asked for 16 GB.
    PngSpec huge;
    huge.width = 1;
    huge.height = 60000;
    huge.colorType = PNG_COLOR_TYPE_GRAY;
    huge.bitDepth = 1;
    huge.rows.assign(60000, 0);
    EXPECT_FALSE(Decode(EncodePng(huge)).ok);
    EXPECT_TRUE(mLog.Contains("is 1x60000 pixels"));

    Decoded largest = Decode(EncodePng(WithoutAlpha(RgbaPng(4096, 1, Pattern))));
    ASSERT_TRUE(largest.ok);
    EXPECT_EQ(largest.side, 4096);
    EXPECT_EQ(largest.At(4095, 0), Pattern(4095, 0) | 0xFF000000u);
}

TEST_F(PngImageTest, ReadsFromPacksAndDiskFilesByVirtualName) {
    std::string png = EncodePng(RgbaPng(3, 2, Pattern));
    std::string pack = "QMPK";
    pack += std::string("\x01\x00\x00\x00", 4);
    pack += static_cast<char>(12);
    pack += "art/pack.png";
    uint32_t offset = static_cast<uint32_t>(pack.size() + 8), size = static_cast<uint32_t>(png.size());
    pack.append(reinterpret_cast<const char*>(&offset), 4);
    pack.append(reinterpret_cast<const char*>(&size), 4);
    mTemp.Write("assets/images.qmp", pack + png);
    mTemp.Write("assets/art/loose.png", png);
    ScanFolder("assets", "");
    for (const char* name : {"art/pack.png", "art/loose.png", "assets/art/Pack.PNG"}) {
        SCOPED_TRACE(name);
        Decoded image = DecodeFile(name);
        ASSERT_TRUE(image.ok);
        EXPECT_EQ(image.At(2, 1), Pattern(2, 1));
    }
}

}  // namespace
