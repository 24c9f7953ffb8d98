#include "game/menus/layeredwindow.h"

#include "tests/menus/menutesting.h"

namespace {

using LayeredWindowTest = MenuTest;

TEST_F(LayeredWindowTest, TheLayeredPanelStartsOnItsFirstLayer) {
    auto* panel = Begin<BLayeredWindow>("{ name = 'panel', w = 300, h = 200 }");
    EXPECT_TRUE(panel->IsA(TLayeredWindow::ClassId()));
    EXPECT_STREQ(panel->GetClassName(), "BLayeredWindow");
    for (int layer = 0; layer < BLayeredWindow::kLayers; ++layer) {
        panel->SetLayer(layer);
        Make<TWindow>("{ name = 'layer" + std::to_string(layer) + "', w = 10, h = 10 }", panel);
    }
    Finish(panel);
    EXPECT_EQ(panel->GetLayer(), 0);
    EXPECT_TRUE(panel->FindChildWindow("layer0", -1)->IsVisible());
    EXPECT_FALSE(panel->FindChildWindow("layer2", -1)->IsVisible());
}

}  // namespace
