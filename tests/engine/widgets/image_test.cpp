// The image window built by "Bitmap" descriptions: its size from the
// texture, scale and quarter turn, the opaque flag and missing images.
#include <gtest/gtest.h>

#include "graphics/texture.h"
#include "widgets/image.h"
#include "widgettesting.h"

namespace {

class ImageTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        Image("wide.png", 64, 32, 0xFF804020u, false);
        Image("clear.png", 8, 8, 0x80FFFFFFu);
    }
    TImage* Find(const char* name) { return CastToTImage(manager->GetTopModal()->FindChildWindow(name, -1)); }
};

TEST_F(ImageTest, TheWindowTakesTheTextureSizeTimesTheScaleTurnedWhenRotated) {
    Dialog("{ typename = 'Bitmap', name = 'plain', image = 'wide.png', scale = 2 }, "
           "{ typename = 'Bitmap', name = 'turned', image = 'wide.png', scale = 2, rotate = true }, "
           "{ typename = 'Bitmap', name = 'odd', image = 'wide.png', scale = 0.3 }");
    ASSERT_NE(Find("plain"), nullptr);
    EXPECT_EQ(Find("plain")->GetWidth(), 128);
    EXPECT_EQ(Find("plain")->GetHeight(), 64);
    EXPECT_EQ(Find("turned")->GetWidth(), 64);
    EXPECT_EQ(Find("turned")->GetHeight(), 128);
    // 19.2 and 9.6 round to the nearest pixel.
    EXPECT_EQ(Find("odd")->GetWidth(), 19);
    EXPECT_EQ(Find("odd")->GetHeight(), 10);
    EXPECT_STREQ(Find("plain")->GetClassName(), "TImage");

    TImage* turned = Find("turned");
    turned->SetRotate(false);
    EXPECT_EQ(turned->GetWidth(), 128);
    EXPECT_EQ(turned->GetHeight(), 64);
}

TEST_F(ImageTest, OnlyFullAlphaOnAnOpaqueTextureKeepsTheOpaqueFlag) {
    Dialog("{ typename = 'Bitmap', name = 'solid', image = 'wide.png' }, { typename = 'Bitmap', name = 'clear', image = 'clear.png' }");
    struct Case {
        const char* image;
        float alpha;
        bool opaque;
    };
    const Case cases[] = {
        {"solid", 1.0f, true}, {"solid", 0.5f, false}, {"solid", 0.999f, false}, {"clear", 1.0f, false},
    };
    for (const Case& c : cases) {
        TImage* image = Find(c.image);
        image->SetAlpha(c.alpha);
        EXPECT_EQ((image->GetFlags() & TWindow::kFullSize) != 0, c.opaque) << c.image << " at " << c.alpha;
        EXPECT_FLOAT_EQ(image->GetAlpha(), c.alpha);
    }
}

TEST_F(ImageTest, AnAlphaImageLosesTheOpaqueFlagAndMirrorsAreKept) {
    Dialog("{ typename = 'Bitmap', name = 'pic', image = 'wide.png', alpha = true, hflip = true, vflip = 1 }");
    TImage* image = Find("pic");
    EXPECT_EQ(image->GetFlags() & TWindow::kFullSize, 0u);
    EXPECT_EQ(image->GetDrawFlags(), TDrawState::kMirrorHorizontal | TDrawState::kMirrorVertical);
    // The alpha option: the texture carries an alpha channel though the image has none.
    EXPECT_TRUE(image->GetTexture()->GetTextureData()->HasOption(TTextureData::kAlpha));
}

TEST_F(ImageTest, AMissingImageLeavesAnEmptyWindowWithoutTexture) {
    Dialog("{ typename = 'Bitmap', name = 'gone', image = 'none.png' }, { typename = 'Bitmap', name = 'pic', image = 'wide.png' }");
    EXPECT_FALSE(Find("gone")->HasTexture());
    EXPECT_EQ(Find("gone")->GetWidth(), 0);
    EXPECT_EQ(Eval("ImageLoaded('gone')"), "false");
    EXPECT_EQ(Eval("ImageLoaded('pic')"), "true");

    ASSERT_EQ(Run("_SetBitmap('pic', 'none.png', 1)"), "");
    EXPECT_EQ(Eval("ImageLoaded('pic')"), "false");
    EXPECT_EQ(Find("pic")->GetWidth(), 0);
    EXPECT_EQ(Find("pic")->GetHeight(), 0);
    Find("pic")->SetAlpha(1.0f);
    EXPECT_EQ(Find("pic")->GetFlags() & TWindow::kFullSize, 0u);
    Find("pic")->SetRotate(true);
    EXPECT_EQ(Find("pic")->GetWidth(), 0);

    ASSERT_EQ(Run("_SetBitmap('pic', 'wide.png', 0.5)"), "");
    EXPECT_EQ(Eval("ImageLoaded('pic')"), "true");
    EXPECT_EQ(Find("pic")->GetWidth(), 16);
    EXPECT_EQ(Find("pic")->GetHeight(), 32);
}

}  // namespace
