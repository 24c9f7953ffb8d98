// Laid-out text drawn to the screen on real OpenGL: its ink stays inside
// the extents the layout reports.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "graphics/render/recordingrenderbackend.h"
#include "graphics/render/renderer.h"
#include "graphics/text/fontmap.h"
#include "graphics/text/qmminivecdraw.h"
#include "graphics/text/textlayout.h"
#include "tests/graphics/renderertesting.h"
#include "tests/platform/display/glfixture.h"

namespace {

// Hands the renderer's line lists to the GL device's back buffer.
class LineListBackEnd : public TRecordingRenderBackEnd {
public:
    explicit LineListBackEnd(display::Device& device) : TRecordingRenderBackEnd(TRect(0, 0, 800, 600)), mDevice(device) {}

    void DrawVertices(int primitiveType, const TVertexSet& vertices) override {
        EXPECT_EQ(mDevice.Draw(static_cast<display::Primitive>(primitiveType), display::VertexKind::PreTransformed,
                               reinterpret_cast<const display::Vertex*>(vertices.GetVertices()), vertices.GetCount()),
                  display::Result::Ok);
    }

private:
    display::Device& mDevice;
};

class TextLayoutGlTest : public displaytest::GlDeviceTest {
protected:
    void SetUp() override {
        GlDeviceTest::SetUp();
        renderer.SetBackEnd(std::make_unique<LineListBackEnd>(*mDevice));
        draw = std::make_unique<TQmMiniVecDraw>(renderer);
        TQmMiniVecDraw::SetInstance(draw.get());
    }
    void TearDown() override {
        TQmMiniVecDraw::SetInstance(nullptr);
        draw.reset();
        GlDeviceTest::TearDown();
    }

    TestLog log;
    TRenderer renderer;
    std::unique_ptr<TQmMiniVecDraw> draw;
    TFontMap fonts{[](const TString&, std::string&) { return false; }};
};

TEST_F(TextLayoutGlTest, DrawnTextPutsInkOnlyInsideItsExtents) {
    const int left = 40;
    const int top = 50;
    TTextLayout layout(300, 120, "", 20, TColor4f(1, 1, 0, 1), TTextLayout::kCentre | TTextLayout::kVerticalCentre,
                       "Headless <b>text</b><br><i>on</i> <u>OpenGL</u> <outline color='#ff00ff'>too</outline>",
                       &fonts);
    TRect extents = layout.GetExtents(1);
    Fill(0xFF000000);
    ASSERT_TRUE(renderer.BeginDraw(false));
    ASSERT_TRUE(renderer.Begin2d());
    layout.Draw(TVec2(left, top), 120, 1, 0, 1);
    renderer.End2d();

    std::vector<uint32_t> screen = Pixels({0, 0, 400, 250});
    int inked = 0;
    int outside = 0;
    for (int y = 0; y < 250; ++y) {
        for (int x = 0; x < 400; ++x) {
            if ((screen[static_cast<size_t>(y * 400 + x)] & 0xFFFFFF) == 0) continue;
            ++inked;
            // Anti-aliased edges and the outline reach a pixel or two out.
            bool inside = x >= left + extents.left - 2 && x < left + extents.right + 2 &&
                          y >= top + extents.top - 1 && y < top + extents.bottom + 1;
            if (!inside) ++outside;
        }
    }
    EXPECT_GT(inked, 300);
    EXPECT_EQ(outside, 0);
}

}  // namespace
