#include "game/shell/gameassetmanager.h"

#include <gtest/gtest.h>

#include "graphics/animatedtexture.h"
#include "graphics/texture.h"
#include "tests/graphics/texturetesting.h"

namespace {

class AssetManagerTest : public TextureTest {
protected:
    void SetUp() override {
        TextureTest::SetUp();
        WriteAsset("art/crate.png", EncodePng(RgbaPng(100, 60, [](int, int) { return 0xFF00FF00u; })));
        WriteAsset("art/lamp.png", EncodePng(RgbaPng(16, 16, [](int, int) { return 0xFFFFFFFFu; })));
        WriteAsset("art/sheet.png", EncodePng(RgbaPng(32, 16, [](int, int) { return 0xFFFFFFFFu; })));
        WriteAsset("art/walk.xml", "<sequence name=\"walk\"><img name=\"sheet.png\" w=\"32\" h=\"16\"/><framelist>"
                                   "<frame x=\"0\" w=\"16\" h=\"16\"/></framelist></sequence>");
    }
    void TearDown() override {
        ReleaseManagerSingleton<VAssetManager>();
        TextureTest::TearDown();
    }

    VAssetManager& Assets() { return *VAssetManager::Get(); }

    void WriteList(const std::string& name, const std::string& elements) {
        WriteAsset(name, "<assets>" + elements + "</assets>");
    }
};

TEST_F(AssetManagerTest, SizesFormatByTheirRange) {
    const struct {
        uint32_t bytes;
        const char* text;
    } cases[] = {
        {0, "0 bytes"},          {1023, "1023 bytes"},  {1024, "1.00 kB"},
        {1048575, "1024.00 kB"}, {1048576, "1.00 MB"},  {0xFFFFFFFFu, "4096.00 MB"},
    };
    for (const auto& test : cases) EXPECT_STREQ(FormatMemorySize(test.bytes).c_str(), test.text) << test.bytes;
}

TEST_F(AssetManagerTest, ListLoadsEachKindAndIgnoresUnknownElements) {
    WriteList("level1.xml",
              "<texture file=\"art/crate.png\" flags=\"2\"/>"
              "<animatedtexture file=\"art/walk.xml\"/>"
              "<assets><texture file=\"art/lamp.png\"/></assets>"
              "<texture file=\"art/missing.png\"/>"
              "<potion file=\"art/lamp.png\"/>");
    Assets().LoadAssetList("level1.xml", true);
    EXPECT_TRUE(Assets().GetTexture("art/crate.png"));
    EXPECT_TRUE(Assets().GetTexture("art/lamp.png"));
    EXPECT_TRUE(Assets().GetAnimatedTexture("art/walk.xml"));
    EXPECT_TRUE(Assets().GetTexture("art/walk.xml"));  // an animated texture is a texture
    EXPECT_FALSE(Assets().GetAnimatedTexture("art/crate.png"));
    EXPECT_FALSE(Assets().GetTexture("art/missing.png"));
    EXPECT_FALSE(Assets().GetTexture("nothing"));
}

TEST_F(AssetManagerTest, TextureNamedByTwoListsStaysOneObject) {
    WriteList("level1.xml", "<texture file=\"art/crate.png\"/><texture file=\"art/lamp.png\"/>");
    WriteList("level2.xml", "<texture file=\"art/crate.png\"/>");
    Assets().LoadAssetList("level1.xml", true);
    std::shared_ptr<TTexture> crate = Assets().GetTexture("art/crate.png");
    std::weak_ptr<TTexture> lamp = Assets().GetTexture("art/lamp.png");
    TTexture* first = crate.get();
    crate.reset();
    Assets().LoadAssetList("level2.xml", true);
    EXPECT_EQ(Assets().GetTexture("art/crate.png").get(), first);
    EXPECT_TRUE(lamp.expired());
    EXPECT_FALSE(Assets().GetTexture("art/lamp.png"));
}

TEST_F(AssetManagerTest, MissingListChangesNothingUnlessRetiring) {
    WriteList("level1.xml", "<texture file=\"art/crate.png\"/>");
    Assets().LoadAssetList("level1.xml", true);
    Assets().LoadAssetList("nolist.xml", false);
    EXPECT_TRUE(Assets().GetTexture("art/crate.png"));
    Assets().LoadAssetList("nolist.xml", true);
    EXPECT_FALSE(Assets().GetTexture("art/crate.png"));
    EXPECT_STREQ(Assets().GetMemoryReport(false).c_str(),
                 "SystemRam: 0 bytes\nCurrent VRam: 0 bytes\nMax VRam: 0 bytes\nPeak VRam: 0 bytes\n");
}

TEST_F(AssetManagerTest, TextureCountsItsSurfaceAndImageBytes) {
    WriteList("level1.xml", "<texture file=\"art/crate.png\"/>");
    Assets().LoadAssetList("level1.xml", true);
    std::shared_ptr<TTexture> crate = Assets().GetTexture("art/crate.png");
    ASSERT_TRUE(crate);
    // The 100 x 60 image sits on a 128 x 64 surface here: 32768 texture
    // bytes and 24000 image bytes.
    ASSERT_EQ(crate->GetPaddedSize(), TPoint(128, 64));
    EXPECT_STREQ(Assets().GetMemoryReport(false).c_str(),
                 "SystemRam: 55.44 kB\nCurrent VRam: 0 bytes\nMax VRam: 32.00 kB\nPeak VRam: 0 bytes\n");
}

TEST_F(AssetManagerTest, TextureDrawnThreeTimesInAFrameCountsOnce) {
    WriteList("level1.xml", "<texture file=\"art/crate.png\"/><texture file=\"art/lamp.png\"/>");
    Assets().LoadAssetList("level1.xml", true);
    Assets().BeginFrame();
    for (int draw = 0; draw < 3; ++draw) Assets().MarkTextureUsed("art/crate.png", true);
    Assets().MarkTextureUsed("art/lamp.png", true);
    Assets().MarkTextureUsed("", true);
    Assets().MarkTextureUsed("art/unlisted.png", true);
    // The lamp's 16 x 16 surface is 1024 bytes; with the crate's 33792.
    EXPECT_STREQ(Assets().GetMemoryReport(true).c_str(),
                 "SystemRam: 57.44 kB\nCurrent VRam: 33.00 kB\nMax VRam: 33.00 kB\nPeak VRam: 33.00 kB\n"
                 "16 x 16 : 1\n128 x 128 : 1\n");
    Assets().BeginFrame();
    Assets().MarkTextureUsed("art/lamp.png", true);
    EXPECT_STREQ(Assets().GetMemoryReport(true).c_str(),
                 "SystemRam: 57.44 kB\nCurrent VRam: 1.00 kB\nMax VRam: 33.00 kB\nPeak VRam: 33.00 kB\n"
                 "16 x 16 : 1\n");
    Assets().MarkTextureUsed("art/lamp.png", false);
    EXPECT_NE(Assets().GetMemoryReport(false).Find("Current VRam: 0 bytes"), -1);
}

TEST_F(AssetManagerTest, NameListedTwiceCountsOnceAndReleaseAllReturnsToZero) {
    WriteList("level1.xml", "<texture file=\"art/lamp.png\"/><texture file=\"art/lamp.png\"/>");
    Assets().LoadAssetList("level1.xml", false);
    EXPECT_NE(Assets().GetMemoryReport(false).Find("Max VRam: 1.00 kB"), -1);
    Assets().ReleaseAll();
    EXPECT_FALSE(Assets().GetTexture("art/lamp.png"));
    EXPECT_STREQ(Assets().GetMemoryReport(false).c_str(),
                 "SystemRam: 0 bytes\nCurrent VRam: 0 bytes\nMax VRam: 0 bytes\nPeak VRam: 0 bytes\n");
}

TEST_F(AssetManagerTest, RegisteredEmptyAssetLooksUpEmpty) {
    Assets().RegisterAsset("art/none.png", nullptr);
    Assets().TrackTexture("art/none.png", true);
    EXPECT_FALSE(Assets().GetTexture("art/none.png"));
    EXPECT_FALSE(Assets().GetAnimatedTexture("art/none.png"));
    EXPECT_STREQ(Assets().GetMemoryReport(false).c_str(),
                 "SystemRam: 0 bytes\nCurrent VRam: 0 bytes\nMax VRam: 0 bytes\nPeak VRam: 0 bytes\n");
}

}  // namespace
