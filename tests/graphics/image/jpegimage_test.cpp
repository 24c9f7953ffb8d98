#include "graphics/image/jpegimage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/virtualfiles.h"
#include "imagetesting.h"
#include "tests/foundation/virtualfilesfixture.h"
#include "tests/support/luatesting.h"

namespace {

struct Decoded {
    bool ok = false;
    int width = 0, height = 0, side = 0;
    std::vector<uint32_t> pixels;  // side x side

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * side + x]; }
};

// Lossy decoding: each channel within a few steps.
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance = 3) {
    for (int shift = 0; shift < 32; shift += 8) {
        int a = static_cast<int>(actual >> shift & 0xFF), e = static_cast<int>(expected >> shift & 0xFF);
        if (std::abs(a - e) > tolerance) {
            return ::testing::AssertionFailure() << std::hex << actual << " is not near " << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

class JpegImageTest : public VirtualFilesTest {
protected:
    Decoded Decode(const std::string& bytes) {
        mFiles.push_back(bytes);
        RegisterMemoryFile("image.jpg", mFiles.back().data(), mFiles.back().size());
        Decoded decoded;
        uint32_t* pixels = reinterpret_cast<uint32_t*>(&decoded);  // must be replaced or cleared
        decoded.ok = LoadJpeg("image.jpg", pixels, decoded.width, decoded.height, decoded.side);
        if (!decoded.ok) {
            EXPECT_EQ(pixels, nullptr);
            return decoded;
        }
        decoded.pixels.assign(pixels, pixels + static_cast<size_t>(decoded.side) * decoded.side);
        FreeJpegPixels(pixels);
        return decoded;
    }

    std::vector<std::string> mFiles;
    TestLog mLog;
};

// Left half one colour, right half another: blocks of 8 keep each flat.
std::vector<uint8_t> TwoColours(int width, int height) {
    std::vector<uint8_t> samples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t rgb = x < width / 2 ? 0x2060A0u : 0xF0C010u;
            samples.insert(samples.end(), {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                           static_cast<uint8_t>(rgb)});
        }
    }
    return samples;
}

TEST_F(JpegImageTest, ImageSitsTopLeftInAZeroedSquareWithOpaqueAlpha) {
    Decoded image = Decode(EncodeJpeg(304, 200, 3, TwoColours(304, 200)));
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.width, 304);
    EXPECT_EQ(image.height, 200);
    EXPECT_EQ(image.side, 512);
    EXPECT_TRUE(Near(image.At(0, 0), 0xFF2060A0u));
    EXPECT_TRUE(Near(image.At(303, 199), 0xFFF0C010u));
    int outside = 0, transparent = 0;
    for (int y = 0; y < image.side; ++y) {
        for (int x = 0; x < image.side; ++x) {
            bool inside = x < image.width && y < image.height;
            if (!inside && image.At(x, y) != 0) ++outside;
            if (inside && image.At(x, y) >> 24 != 0xFF) ++transparent;
        }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(transparent, 0);

    Decoded one = Decode(EncodeJpeg(1, 1, 3, FlatRgb(1, 1, 0x406080)));
    ASSERT_TRUE(one.ok);
    EXPECT_EQ(one.side, 1);
    EXPECT_TRUE(Near(one.At(0, 0), 0xFF406080u));
}

TEST_F(JpegImageTest, GreyBecomesRgb) {
    Decoded image = Decode(EncodeJpeg(8, 8, 1, std::vector<uint8_t>(64, 0x70)));
    ASSERT_TRUE(image.ok);
    EXPECT_TRUE(Near(image.At(4, 4), 0xFF707070u, 1));
}

TEST_F(JpegImageTest, ATruncatedFileStillDecodesWithAWarning) {
    // Noise, so that the picture data and not the header fills the file.
    std::vector<uint8_t> samples = FlatRgb(64, 64, 0x336699);
    for (int i = 0; i < 64 * 3; ++i) samples[static_cast<size_t>(i * 97 % (64 * 64 * 3))] ^= static_cast<uint8_t>(i);
    std::string whole = EncodeJpeg(64, 64, 3, samples);
    Decoded cut = Decode(whole.substr(0, whole.size() * 2 / 3));
    ASSERT_TRUE(cut.ok) << mLog.Text();
    EXPECT_EQ(cut.side, 64);
    EXPECT_EQ(cut.At(0, 0) >> 24, 0xFFu);
    EXPECT_TRUE(mLog.Contains("LoadJpeg: image.jpg: warning: Premature end of JPEG file")) << mLog.Text();
}

TEST_F(JpegImageTest, FilesTheLibraryCannotReadFailWithALogLine) {
    std::string good = EncodeJpeg(16, 16, 3, FlatRgb(16, 16, 0x336699));
    struct Case {
        const char* what;
        std::string bytes;
        const char* logged;
    };
    const Case cases[] = {
        {"empty", "", "LoadJpeg: image.jpg: Empty input file"},
        {"not a JPEG", "GIF89a, not a JPEG at all", "LoadJpeg: image.jpg: Not a JPEG file"},
        {"cut in the header", good.substr(0, 30), "LoadJpeg: image.jpg: "},
        {"CMYK", EncodeJpeg(8, 8, 4, std::vector<uint8_t>(256, 0x40)), "Unsupported color conversion request"},
        {"too wide", EncodeJpeg(4100, 8, 1, std::vector<uint8_t>(4100 * 8, 0)),
         "LoadJpeg: image.jpg is 4100x8 pixels; images must be 1 to 4096 pixels a side"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(Decode(c.bytes).ok);
        EXPECT_TRUE(mLog.Contains(c.logged)) << mLog.Text();
    }
    uint32_t* pixels = nullptr;
    int width, height, side;
    EXPECT_FALSE(LoadJpeg("missing.jpg", pixels, width, height, side));
    EXPECT_TRUE(mLog.Contains("LoadJpeg: cannot open missing.jpg"));
}

}  // namespace
