// A dialog built by the window script from registered game widget classes:
// a nine-slice panel holding a bar and a sweep dial, drawn in one frame.
#include <gtest/gtest.h>

#include <string>

#include "game/widgets/bar.h"
#include "game/widgets/split9image.h"
#include "game/widgets/sweepdial.h"
#include "tests/widgets/widgetstesting.h"

namespace {

// Builds a window and its children as the screen library's dialogs do.
const char kBuildWindow[] =
    "function BuildWindow(t) GenericCreate(t) for i, child in ipairs(t) do BuildWindow(child) end "
    "PostCreate(t) PopWindow() end";

const char kDialog[] =
    "PushModal('gauges') BuildWindow{ typename = 'KSplit9Image', name = 'panel', x = 100, y = 100, "
    "  w = 200, h = 100, x1 = 16, x2 = 16, y1 = 16, y2 = 16, image = 'panel.png', "
    "  { typename = 'KBar', name = 'bar', x = 20, y = 20, w = 100, h = 20, basepos_x = 0, basepos_y = 20, "
    "    startpos_x = 0, startpos_y = 0, endpos_x = 100, endpos_y = 0, bar = 'bar.png', startpos = 0.5 }, "
    "  { typename = 'KSweepDial', name = 'dial', x = 130, y = 10, w = 60, h = 60, center_x = 30, "
    "    center_y = 30, sweep = 'sweep.png' } }";

TEST_F(WidgetsTest, AScriptBuiltDialogOfGaugesOnAPanelDraws) {
    std::shared_ptr<TTexture> panelImage = AddImage("panel.png", 64, 64);
    std::shared_ptr<TTexture> barImage = AddImage("bar.png", 100, 20);
    std::shared_ptr<TTexture> sweepImage = AddImage("sweep.png", 60, 60);
    manager->RegisterWindowType("KSplit9Image", KSplit9Image::ClassId());
    manager->RegisterWindowType("KBar", KBar::ClassId());
    manager->RegisterWindowType("KSweepDial", KSweepDial::ClassId());
    ASSERT_EQ(Run(kBuildWindow), "");
    ASSERT_EQ(Run(kDialog), "");

    TModalWindow* gauges = manager->GetTopModal();
    ASSERT_EQ(gauges->GetName(), "gauges");
    auto* panel = dynamic_cast<KSplit9Image*>(gauges->FindChildWindow("panel", -1));
    auto* bar = dynamic_cast<KBar*>(gauges->FindChildWindow("bar", -1));
    auto* dial = dynamic_cast<KSweepDial*>(gauges->FindChildWindow("dial", -1));
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(dial, nullptr);
    EXPECT_EQ(panel->GetGlobalRect(), TRect(100, 100, 300, 200));
    EXPECT_EQ(bar->GetGlobalRect(), TRect(120, 120, 220, 140));
    dial->SetValue(0.25f);

    DrawWindow(gauges);
    std::vector<const TRecordingRenderBackEnd::TCall*> draws;
    std::vector<const TTexture*> textures;
    for (const auto& call : recorder->GetCalls()) {
        if (call.kind == TRecordingRenderBackEnd::kDrawVertices ||
            call.kind == TRecordingRenderBackEnd::kDrawIndexedVertices) {
            draws.push_back(&call);
        }
        if (call.kind == TRecordingRenderBackEnd::kSetTexture) textures.push_back(call.texture);
    }
    // Nine pieces of the panel, then the bar's fan, then the sweep.
    ASSERT_EQ(draws.size(), 11u);
    for (size_t i = 0; i < 9; ++i) EXPECT_EQ(draws[i]->kind, TRecordingRenderBackEnd::kDrawVertices) << i;
    EXPECT_EQ(draws[9]->value, TRenderer::kTriangleFan);
    EXPECT_FLOAT_EQ(draws[9]->vertices[2].x, 50);
    EXPECT_FLOAT_EQ(draws[9]->vertices[2].u, 0.5f);
    EXPECT_EQ(draws[10]->value, TRenderer::kTriangleList);
    EXPECT_EQ(draws[10]->indices.size(), 3u * static_cast<size_t>(dial->GetTriangleCount()));
    // A quarter turn and the overshoot: 9 steps of 1/32 turn.
    EXPECT_EQ(dial->GetTriangleCount(), 9);
    EXPECT_EQ(textures.front(), panelImage.get());
    EXPECT_EQ(textures[textures.size() - 2], barImage.get());
    EXPECT_EQ(textures.back(), sweepImage.get());
}

}  // namespace
