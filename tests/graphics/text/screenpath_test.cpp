// The screen path on real OpenGL: after the self-test has placed the span
// vertices, text drawn as line lists matches text written into pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "graphics/render/recordingrenderbackend.h"
#include "graphics/render/renderer.h"
#include "graphics/text/defaultfont.h"
#include "graphics/text/pixeltarget.h"
#include "graphics/text/qmminivecdraw.h"
#include "graphics/text/vecfont.h"
#include "tests/graphics/renderertesting.h"
#include "tests/platform/display/glfixture.h"

namespace {

// Hands the renderer's fills and line lists to the GL device's back buffer.
class BackBufferBackEnd : public TRecordingRenderBackEnd {
public:
    explicit BackBufferBackEnd(display::Device& device)
        : TRecordingRenderBackEnd(TRect(0, 0, 800, 600)), mDevice(device) {}

    void DrawVertices(int primitiveType, const TVertexSet& vertices) override {
        EXPECT_EQ(mDevice.Draw(static_cast<display::Primitive>(primitiveType), display::VertexKind::PreTransformed,
                               reinterpret_cast<const display::Vertex*>(vertices.GetVertices()), vertices.GetCount()),
                  display::Result::Ok);
    }
    bool FillRect(const TRect& rect, const TColor4f& color, const std::shared_ptr<TTexture>&) override {
        return mDevice.ColorFill(display::kBackBuffer, {rect.left, rect.top, rect.right, rect.bottom},
                                 TColor(color).ARGB()) == display::Result::Ok;
    }

private:
    display::Device& mDevice;
};

class ScreenPathTest : public displaytest::GlDeviceTest {
protected:
    void SetUp() override {
        GlDeviceTest::SetUp();
        renderer.SetBackEnd(std::make_unique<BackBufferBackEnd>(*mDevice));
        draw = std::make_unique<TQmMiniVecDraw>(renderer);
    }
    void TearDown() override {
        draw.reset();
        GlDeviceTest::TearDown();
    }

    TQmMiniVecDraw::TReadBack ReadBack() {
        return [this](std::vector<uint32_t>& pixels) {
            pixels = Pixels({0, 0, TQmMiniVecDraw::kSelfTestWidth, TQmMiniVecDraw::kSelfTestHeight});
            return true;
        };
    }

    // Draws the text the way the layout does, at 24 pixels.
    void DrawText(const std::string& text, float x, float y, TPixelTarget* target) {
        float scale = 0.8f * 24 * 4 / (font.GetAscent() + font.GetDescent());
        float pen = x * 4;
        for (unsigned char c : text) {
            int index = font.FindGlyph(c);
            draw->SetScale(scale, scale * font.GetFitScale(index));
            draw->Begin(pen / 4, y, target);
            draw->DrawShape(font.GetGlyphShape(index), 0, 0);
            pen += font.GetAdvance(index) * scale;
        }
        draw->End();
    }

    TestLog log;
    TRenderer renderer;
    std::unique_ptr<TQmMiniVecDraw> draw;
    TVecFont font{std::vector<uint8_t>(kDefaultFontData, kDefaultFontData + kDefaultFontSize)};
};

TEST_F(ScreenPathTest, AfterTheSelfTestLinesAndTargetPixelsAgree) {
    ASSERT_TRUE(draw->SelfTest(StandInTexture(), ReadBack())) << "no candidate lit exactly the span pixels";

    const std::string text = "Wag@ Text, 1234!";
    const uint32_t black = 0xFF000000;
    draw->SetColour(1, TColor4f(1, 0.75f, 0.25f, 1), 0.9f);
    draw->SetColour(255, TColor4f(0.2f, 0.4f, 1, 1), 1);
    draw->SetLineWidth(0, 1);
    Fill(black);
    ASSERT_TRUE(renderer.BeginDraw(false));
    ASSERT_TRUE(renderer.Begin2d());
    uint64_t drawCalls = mDevice->GetDrawCallCount();
    DrawText(text, 20.5f, 60.25f, nullptr);
    renderer.End2d();
    std::vector<uint32_t> screen = Pixels({0, 0, 400, 100});
    EXPECT_LE(mDevice->GetDrawCallCount() - drawCalls, 8u) << "one text's line lists share the device's draw calls";

    TPixelBuffer buffer(400, 100);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 400; ++x) buffer.SetPixel(x, y, black);
    }
    DrawText(text, 20.5f, 60.25f, &buffer);

    int inked = 0;
    int different = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 400; ++x) {
            uint32_t a = screen[y * 400 + x];
            uint32_t b = buffer.GetPixel(x, y);
            for (int shift : {0, 8, 16}) {
                int delta = std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
                // Each blend rounds on the device and truncates in memory;
                // the stroke and the fill may both blend into a pixel.
                if (delta > 2) {
                    ++different;
                    break;
                }
            }
            if ((b & 0xFFFFFF) != 0) ++inked;
        }
    }
    EXPECT_GT(inked, 500);
    EXPECT_EQ(different, 0);
}

}  // namespace
