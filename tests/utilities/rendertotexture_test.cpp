// Windows and texts rendered into textures: the passes and modes used, the
// fill, the window drawn at the texture's origin and put back after.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "game/utilities/rendertotexture.h"
#include "graphics/text/qmminivecdraw.h"
#include "widgets/text.h"
#include "tests/widgets/widgetstesting.h"

namespace {

using TCallKind = TRecordingRenderBackEnd::TCallKind;

class RenderToTextureTest : public WidgetsTest {
protected:
    // A window at (30, 40) inside a panel at (100, 100) of the dialog.
    void SetUp() override {
        WidgetsTest::SetUp();
        panel = Child(dialog, "panel", TRect(100, 100, 400, 400));
        window = Child(panel, "window", TRect(30, 40, 90, 60));
        Child(window, "inner", TRect(5, 5, 15, 15));
        journal.entries.clear();
        recorder->ClearCalls();
    }
    std::vector<int> TargetModes() const {
        std::vector<int> modes;
        for (const auto& call : recorder->GetCalls()) {
            if (call.kind == TRecordingRenderBackEnd::kBeginRenderTarget) modes.push_back(call.value);
        }
        return modes;
    }

    RecordingWindow* panel = nullptr;
    RecordingWindow* window = nullptr;
};

TEST_F(RenderToTextureTest, AWindowIsDrawnAtTheOriginOverAFillAndPutBack) {
    std::shared_ptr<TTexture> texture = RenderWindowToTexture(window, false, TColor4f(0, 0, 1, 1));
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->GetWidth(), 60);
    EXPECT_EQ(texture->GetHeight(), 20);
    EXPECT_FALSE(texture->GetTextureData()->HasOption(TTextureData::kAlpha));
    EXPECT_EQ(TargetModes(), std::vector<int>{0});
    auto fills = Calls(TRecordingRenderBackEnd::kFillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, TRect(0, 0, 60, 20));
    EXPECT_EQ(fills[0].color, TColor4f(0, 0, 1, 1));
    EXPECT_EQ(fills[0].texture, texture.get());
    // The fill comes first, in its own 2D block, then the tree.
    std::vector<TCallKind> kinds = recorder->GetCallKinds();
    std::vector<TCallKind> opening(kinds.begin(), kinds.begin() + std::min<size_t>(4, kinds.size()));
    EXPECT_EQ(opening, (std::vector<TCallKind>{TRecordingRenderBackEnd::kBeginRenderTarget,
                                               TRecordingRenderBackEnd::kBegin2d, TRecordingRenderBackEnd::kFillRect,
                                               TRecordingRenderBackEnd::kEnd2d}));
    EXPECT_EQ(kinds.back(), TRecordingRenderBackEnd::kEndRenderTarget);
    EXPECT_EQ(journal.Draws(), "window:draw inner:draw");
    EXPECT_EQ(window->drawnViewRect, TRect(0, 0, 60, 20));
    EXPECT_EQ(window->GetRect(), TRect(30, 40, 90, 60));
}

TEST_F(RenderToTextureTest, TextAwareWindowsAreDrawnTwiceInModesOneAndFour) {
    std::shared_ptr<TTexture> texture = RenderWindowToTexture(window, true, TColor4f());
    ASSERT_NE(texture, nullptr);
    EXPECT_TRUE(texture->GetTextureData()->HasOption(TTextureData::kAlpha));
    EXPECT_EQ(TargetModes(), (std::vector<int>{1, 4}));
    EXPECT_TRUE(Calls(TRecordingRenderBackEnd::kFillRect).empty());
    EXPECT_EQ(journal.Draws(), "window:draw inner:draw window:draw inner:draw");
    EXPECT_EQ(window->GetRect(), TRect(30, 40, 90, 60));
}

TEST_F(RenderToTextureTest, ARefusedTargetDrawsNothingAndStillPutsTheWindowBack) {
    recorder->Results().beginRenderTarget = false;
    EXPECT_NE(RenderWindowToTexture(window, false, TColor4f()), nullptr);
    EXPECT_NE(RenderWindowToTexture(window, true, TColor4f()), nullptr);
    EXPECT_EQ(journal.Draws(), "");
    EXPECT_TRUE(Calls(TRecordingRenderBackEnd::kFillRect).empty());
    EXPECT_EQ(window->GetRect(), TRect(30, 40, 90, 60));
}

TEST_F(RenderToTextureTest, NoWindowOrAnEmptyOneGivesNothing) {
    EXPECT_EQ(RenderWindowToTexture(nullptr, false, TColor4f()), nullptr);
    RecordingWindow* empty = Child(panel, "empty", TRect(7, 8, 7, 30));
    EXPECT_EQ(RenderWindowToTexture(empty, true, TColor4f()), nullptr);
    EXPECT_EQ(empty->GetRect(), TRect(7, 8, 7, 30));
    SetTextureDataFactory(nullptr);
    EXPECT_EQ(RenderWindowToTexture(window, false, TColor4f()), nullptr);
    EXPECT_EQ(window->GetRect(), TRect(30, 40, 90, 60));
    EXPECT_TRUE(recorder->GetCalls().empty());
}

TEST_F(RenderToTextureTest, ATextWindowGivesItsTextAloneInTheTexturesPixels) {
    auto* text = new TText();
    panel->AddChild(text, false);
    text->SetPosition(10, 10);
    ASSERT_TRUE(text->CreateLayout(120, 30, 0, "", 16, TColor4f(1, 1, 1, 1), 0, "Hello"));
    TQmMiniVecDraw shapes(*TRenderer::GetInstance());
    TQmMiniVecDraw::SetInstance(&shapes);
    std::shared_ptr<TTexture> texture = RenderWindowToTexture(text, true, TColor4f());
    TQmMiniVecDraw::SetInstance(nullptr);
    ASSERT_NE(texture, nullptr);
    EXPECT_TRUE(TargetModes().empty());
    const auto& pixels = static_cast<SizedTextureData*>(texture->GetTextureData())->pixels;
    EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](uint32_t pixel) { return (pixel & 0xFFFFFF) != 0; }), 0);
    EXPECT_EQ(text->GetRect(), TRect(10, 10, 130, 40));
}

}  // namespace
