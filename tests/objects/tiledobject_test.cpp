// Tiled objects: the nine pieces of the "background" texture as drawn on the
// recording back end, for insets inside, over and below the texture, areas
// of the texture's size and of no size, and the slices following the area
// and the texture.
#include "game/objects/tiledobject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "game/objects/objectasset.h"
#include "tests/objects/objecttesting.h"

namespace {

// One drawn piece: where on the screen, and from where in the texture.
struct DrawnPiece {
    TRect screen;
    TRect source;
    bool operator==(const DrawnPiece& other) const = default;
};

void PrintTo(const DrawnPiece& piece, std::ostream* out) {
    *out << "screen(" << piece.screen.left << "," << piece.screen.top << "," << piece.screen.right << ","
         << piece.screen.bottom << ") source(" << piece.source.left << "," << piece.source.top << ","
         << piece.source.right << "," << piece.source.bottom << ")";
}

class TiledObjectTest : public ObjectTest {
protected:
    void SetUp() override {
        ObjectTest::SetUp();
        WriteImage("panel16.png", 16, 16);
        WriteImage("panel8x12.png", 8, 12);
    }

    std::shared_ptr<VTiledObject> Panel(const std::string& keys, const char* file = "panel16.png") {
        Define("panel = { " + keys + ", assets = { anim = false, background = { { file = \"" + file +
               "\" }, { state = \"small\", file = \"panel8x12.png\" } } } }");
        auto panel = VTiledObject::Create("panel", "tiled", 0);
        panel->Load(Describe("panel"));
        panel->Reset();
        return panel;
    }

    // The pieces drawn, rounded to whole pixels.
    std::vector<DrawnPiece> Drawn(const std::shared_ptr<VTiledObject>& panel) {
        recorder->ClearCalls();
        DrawScene(panel);
        std::vector<DrawnPiece> pieces;
        const TTextureData* data = panel->GetTexture()->GetTextureData();
        float surfaceWidth = static_cast<float>(data->GetSurfaceWidth());
        float surfaceHeight = static_cast<float>(data->GetSurfaceHeight());
        for (const TRecordingRenderBackEnd::TCall& call : recorder->GetCalls()) {
            if (call.kind != TRecordingRenderBackEnd::kDrawVertices) continue;
            float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f, u0 = 1e9f, v0 = 1e9f, u1 = -1e9f, v1 = -1e9f;
            for (const TRenderVertex& vertex : call.vertices) {
                x0 = std::min(x0, vertex.x);
                y0 = std::min(y0, vertex.y);
                x1 = std::max(x1, vertex.x);
                y1 = std::max(y1, vertex.y);
                u0 = std::min(u0, vertex.u);
                v0 = std::min(v0, vertex.v);
                u1 = std::max(u1, vertex.u);
                v1 = std::max(v1, vertex.v);
            }
            auto round = [](float value) { return static_cast<int>(std::lround(value)); };
            pieces.push_back({TRect(round(x0), round(y0), round(x1), round(y1)),
                              TRect(round(u0 * surfaceWidth), round(v0 * surfaceHeight), round(u1 * surfaceWidth),
                                    round(v1 * surfaceHeight))});
        }
        return pieces;
    }
};

TEST_F(TiledObjectTest, NinePiecesForInsetsAndAreas) {
    struct Case {
        const char* name;
        std::string keys;
        std::vector<DrawnPiece> expected;
    };
    const Case cases[] = {
        {"stretched", "x1 = 4, x2 = 4, y1 = 4, y2 = 4, w = 40, h = 30",
         {{{0, 0, 4, 4}, {0, 0, 4, 4}},      {{4, 0, 36, 4}, {4, 0, 12, 4}},      {{36, 0, 40, 4}, {12, 0, 16, 4}},
          {{0, 4, 4, 26}, {0, 4, 4, 12}},    {{4, 4, 36, 26}, {4, 4, 12, 12}},    {{36, 4, 40, 26}, {12, 4, 16, 12}},
          {{0, 26, 4, 30}, {0, 12, 4, 16}},  {{4, 26, 36, 30}, {4, 12, 12, 16}},  {{36, 26, 40, 30}, {12, 12, 16, 16}}}},
        {"the texture's own size, moved", "x1 = 3, x2 = 5, y1 = 6, y2 = 2, w = 16, h = 16, x = 100, y = 50",
         {{{100, 50, 103, 56}, {0, 0, 3, 6}},    {{103, 50, 111, 56}, {3, 0, 11, 6}},
          {{111, 50, 116, 56}, {11, 0, 16, 6}},  {{100, 56, 103, 64}, {0, 6, 3, 14}},
          {{103, 56, 111, 64}, {3, 6, 11, 14}},  {{111, 56, 116, 64}, {11, 6, 16, 14}},
          {{100, 64, 103, 66}, {0, 14, 3, 16}},  {{103, 64, 111, 66}, {3, 14, 11, 16}},
          {{111, 64, 116, 66}, {11, 14, 16, 16}}}},
        {"insets over the texture: no middle column", "x1 = 20, x2 = 20, y1 = 4, y2 = 4, w = 40, h = 30",
         {{{0, 0, 16, 4}, {0, 0, 16, 4}},    {{24, 0, 40, 4}, {0, 0, 16, 4}},
          {{0, 4, 16, 26}, {0, 4, 16, 12}},  {{24, 4, 40, 26}, {0, 4, 16, 12}},
          {{0, 26, 16, 30}, {0, 12, 16, 16}}, {{24, 26, 40, 30}, {0, 12, 16, 16}}}},
        {"insets meeting in the middle", "x1 = 8, x2 = 8, y1 = 8, y2 = 8, w = 40, h = 30",
         {{{0, 0, 8, 8}, {0, 0, 8, 8}},    {{32, 0, 40, 8}, {8, 0, 16, 8}},
          {{0, 22, 8, 30}, {0, 8, 8, 16}}, {{32, 22, 40, 30}, {8, 8, 16, 16}}}},
        {"negative insets count as 0", "x1 = -5, x2 = 4, y1 = 0, y2 = -3, w = 40, h = 32",
         {{{0, 0, 36, 32}, {0, 0, 12, 16}}, {{36, 0, 40, 32}, {12, 0, 16, 16}}}},
        {"no width", "x1 = 4, x2 = 4, y1 = 4, y2 = 4, w = 0, h = 30", {}},
        {"no height", "x1 = 4, x2 = 4, y1 = 4, y2 = 4, w = 40, h = 0", {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(Drawn(Panel(test.keys)), test.expected);
    }
}

TEST_F(TiledObjectTest, SlicesFollowTheAreaAndTheTexture) {
    auto panel = Panel("x1 = 2, x2 = 2, y1 = 2, y2 = 2, w = 16, h = 16");
    panel->SetArea(28, 16);
    std::vector<DrawnPiece> wide = Drawn(panel);
    ASSERT_EQ(wide.size(), 9u);
    EXPECT_EQ(wide[1], (DrawnPiece{{2, 0, 26, 2}, {2, 0, 14, 2}}));

    panel->SetAssetState("small", "default");
    std::vector<DrawnPiece> small = Drawn(panel);
    ASSERT_EQ(small.size(), 9u);
    EXPECT_EQ(small[4], (DrawnPiece{{2, 2, 26, 14}, {2, 2, 6, 10}}));
}

TEST_F(TiledObjectTest, AreaAndCopies) {
    auto panel = Panel("x1 = 3, x2 = 5, y1 = 6, y2 = 2, w = 50, h = 20, x = 7.9, y = 4.2");
    TRect area;
    panel->GetArea(&area);
    EXPECT_EQ(area, TRect(7, 4, 57, 24));
    panel->GetArea(nullptr);

    auto copy = VTiledObject::Create("copy", "tiled", 0);
    panel->CopyTo(copy);
    copy->GetArea(&area);
    EXPECT_EQ(area, TRect(7, 4, 57, 24));
    EXPECT_EQ(copy->GetAsset("background"), panel->GetAsset("background"));
    EXPECT_EQ(Drawn(copy), Drawn(panel));
}

}  // namespace
