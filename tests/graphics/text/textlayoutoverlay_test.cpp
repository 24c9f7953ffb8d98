// The statistics overlay drawn by the renderer at the end of a frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "foundation/settings.h"
#include "graphics/render/recordingrenderbackend.h"
#include "graphics/text/textlayoutoverlay.h"
#include "tests/graphics/renderertesting.h"

namespace {

using Kind = TRecordingRenderBackEnd::TCallKind;

class StatsOverlayTest : public RendererFixture {
protected:
    StatsOverlayTest() {
        auto made = std::make_unique<TTextLayoutOverlay>();
        overlay = made.get();
        renderer.SetStatsOverlay(std::move(made));
    }
    void DrawFrame() {
        ASSERT_TRUE(renderer.BeginDraw(false));
        renderer.EndDraw(true);
    }
    size_t Fills() const {
        const auto& calls = recorder->GetCalls();
        return static_cast<size_t>(std::count_if(calls.begin(), calls.end(), [](const auto& call) {
            return call.kind == Kind::kFillRect && call.rect == TRect(0, 0, 300, 64);
        }));
    }

    TTextLayoutOverlay* overlay = nullptr;
};

TEST_F(StatsOverlayTest, DrawnOnlyWhileToggledOnAndMadeOnItsFirstFrame) {
    DrawFrame();
    EXPECT_EQ(overlay->GetLayout(), nullptr);
    EXPECT_EQ(Fills(), 0u);

    EXPECT_FALSE(renderer.ToggleStatsOverlay());
    DrawFrame();
    ASSERT_NE(overlay->GetLayout(), nullptr);
    EXPECT_EQ(Fills(), 1u);
    EXPECT_EQ(overlay->GetLayout()->GetWidth(), 512);
    EXPECT_EQ(overlay->GetLayout()->GetHeight(), 512);
    EXPECT_EQ(recorder->GetCalls().back().kind, Kind::kEndDraw);
    EXPECT_FALSE(renderer.InBegin2d());

    EXPECT_TRUE(renderer.ToggleStatsOverlay());
    DrawFrame();
    EXPECT_EQ(Fills(), 1u);
}

TEST_F(StatsOverlayTest, FiguresComeFromTheSettingsDividedTowardZero) {
    SetSetting("current_sprite_count", "42");
    SetSetting("texture_ram_allocated", "-2047");
    SetSetting("max_texture_ram_allocated", "5000");
    std::string text = TTextLayoutOverlay::FormatStatistics(59.5f).c_str();
    EXPECT_EQ(text,
              "Kindlemoor Version 4.0.15.0<br>59.500000 FPS<tab pos='150'>Sprites: 42<br>"
              "Mem: 0kB<tab pos='150'>TexMem: -1kB<br>MaxMem: 0kB<tab pos='150'>MaxTexMem: 4kB<br>");
}

TEST_F(StatsOverlayTest, TheOverlayLaysOutFourLines) {
    renderer.ToggleStatsOverlay();
    DrawFrame();
    TTextLayout layout(512, 512, "", 16, TColor4f(1, 0, 0, 1), 0, overlay->GetLayout()->GetText());
    ASSERT_EQ(layout.GetLines().size(), 4u);
    // The tab moves the second column 150 pixels in.
    EXPECT_FLOAT_EQ(layout.GetLines()[1]->runs[1].startX, 150);
}

}  // namespace
