// The sprite layer: sprites drawn over the window, removed ones not, and
// the screen invalidated by each draw.
#include <gtest/gtest.h>

#include "game/composition/spritelayer.h"
#include "graphics/sprite.h"
#include "tests/widgets/widgetstesting.h"

namespace {

class SpriteLayerTest : public WidgetsTest {
protected:
    size_t Quads() {
        size_t count = 0;
        for (const auto& call : recorder->GetCalls()) {
            if (call.kind == TRecordingRenderBackEnd::kDrawVertices ||
                call.kind == TRecordingRenderBackEnd::kDrawIndexedVertices) {
                ++count;
            }
        }
        return count;
    }
};

TEST_F(SpriteLayerTest, DrawsItsSpritesAndInvalidatesTheScreen) {
    auto* layer = Make<RSpriteLayer>("{ x = 0, y = 0, w = 800, h = 600 }");
    DrawWindow(layer);
    size_t empty = Quads();
    auto sprite = TSprite::Create(0, AddImage("s.png", 16, 16));
    layer->AddSprite(sprite);
    layer->AddSprite(nullptr);
    DrawWindow(layer);
    EXPECT_GT(Quads(), empty);
    EXPECT_TRUE(manager->IsInvalid());
    layer->RemoveSprite(sprite);
    DrawWindow(layer);
    EXPECT_EQ(Quads(), empty);
    EXPECT_EQ(sprite->GetParent(), nullptr);
}

}  // namespace
