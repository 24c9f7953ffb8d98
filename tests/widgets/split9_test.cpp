// Nine-slice panels: the pieces cut from the image, pieces skipped when
// empty, the expander around its children and the text panel around its text.
#include <gtest/gtest.h>

#include <string>

#include "game/widgets/split9image.h"
#include "game/widgets/split9text.h"
#include "graphics/sprite.h"
#include "graphics/text/qmminivecdraw.h"
#include "tests/widgets/widgetstesting.h"

namespace {

// Where a piece's source rectangle lands: its corners, drawn centred, through
// the piece's matrix.
TRect Destination(TSprite& piece) {
    const TDrawState& state = piece.GetDrawState();
    float halfWidth = static_cast<float>(state.sourceRect.right - state.sourceRect.left) / 2;
    float halfHeight = static_cast<float>(state.sourceRect.bottom - state.sourceRect.top) / 2;
    TVec2 topLeft = state.matrix.TransformPoint(TVec2(-halfWidth, -halfHeight));
    TVec2 bottomRight = state.matrix.TransformPoint(TVec2(halfWidth, halfHeight));
    return TRect(static_cast<int>(std::lround(topLeft.x)), static_cast<int>(std::lround(topLeft.y)),
                 static_cast<int>(std::lround(bottomRight.x)), static_cast<int>(std::lround(bottomRight.y)));
}

const char kPanel[] = "{ w = 200, h = 100, x1 = 16, x2 = 16, y1 = 16, y2 = 16, image = 'panel.png'";

TEST_F(WidgetsTest, NinePiecesMapTheImageOntoTheWindow) {
    AddImage("panel.png", 64, 64);
    KSplit9Image* panel = Make<KSplit9Image>(std::string(kPanel) + " }");
    const auto& pieces = panel->GetRootSprite()->GetChildren();
    ASSERT_EQ(pieces.size(), 9u);
    const TRect expected[9][2] = {
        {TRect(0, 0, 16, 16), TRect(0, 0, 16, 16)},       {TRect(16, 0, 48, 16), TRect(16, 0, 184, 16)},
        {TRect(48, 0, 64, 16), TRect(184, 0, 200, 16)},   {TRect(0, 16, 16, 48), TRect(0, 16, 16, 84)},
        {TRect(16, 16, 48, 48), TRect(16, 16, 184, 84)},  {TRect(48, 16, 64, 48), TRect(184, 16, 200, 84)},
        {TRect(0, 48, 16, 64), TRect(0, 84, 16, 100)},    {TRect(16, 48, 48, 64), TRect(16, 84, 184, 100)},
        {TRect(48, 48, 64, 64), TRect(184, 84, 200, 100)},
    };
    for (size_t i = 0; i < 9; ++i) {
        TDrawState& state = pieces[i]->GetDrawState();
        EXPECT_TRUE(state.flags & TDrawState::kUseSourceRect) << i;
        EXPECT_EQ(state.sourceRect, expected[i][0]) << i;
        EXPECT_EQ(Destination(*pieces[i]), expected[i][1]) << i;
        EXPECT_EQ(pieces[i]->GetTexture(), panel->GetImage()) << i;
    }
    // The top edge stretches 32 pixels to 168.
    EXPECT_FLOAT_EQ(pieces[1]->GetDrawState().matrix.m[0][0], 5.25f);
    EXPECT_FLOAT_EQ(pieces[1]->GetDrawState().matrix.m[1][1], 1.0f);
    EXPECT_EQ(panel->InnerRect(), TRect(16, 16, 184, 84));

    DrawWindow(panel);
    auto draws = Calls(TRecordingRenderBackEnd::kDrawVertices);
    ASSERT_EQ(draws.size(), 9u);
    EXPECT_FLOAT_EQ(draws[1].vertices[0].x, 16);
    EXPECT_FLOAT_EQ(draws[1].vertices[2].x, 184);
}

TEST_F(WidgetsTest, EmptyOrInvertedPiecesAreSkipped) {
    AddImage("panel.png", 64, 64);
    struct Case {
        const char* description;
        size_t pieces;
    };
    const Case cases[] = {
        {"{ w = 200, h = 100, x1 = 0, x2 = 16, y1 = 16, y2 = 16, image = 'panel.png' }", 6},
        {"{ w = 200, h = 100, image = 'panel.png' }", 1},
        {"{ w = 20, h = 100, x1 = 16, x2 = 16, y1 = 16, y2 = 16, image = 'panel.png' }", 6},
        {"{ w = 200, h = 100, x1 = 40, x2 = 40, y1 = 16, y2 = 16, image = 'panel.png' }", 6},
        // A window smaller than its borders keeps its corners alone.
        {"{ w = 0, h = 0, x1 = 16, x2 = 16, y1 = 16, y2 = 16, image = 'panel.png' }", 4},
        {"{ w = 200, h = 100, x1 = 16, x2 = 16, y1 = 16, y2 = 16 }", 0},
    };
    for (const Case& c : cases) {
        KSplit9Image* panel = Make<KSplit9Image>(c.description);
        const auto& pieces = panel->GetRootSprite()->GetChildren();
        EXPECT_EQ(pieces.size(), c.pieces) << c.description;
        for (const auto& piece : pieces) {
            TRect source = piece->GetDrawState().sourceRect;
            TRect destination = Destination(*piece);
            EXPECT_GT(source.right, source.left) << c.description;
            EXPECT_GT(destination.right, destination.left) << c.description;
            EXPECT_GT(destination.bottom, destination.top) << c.description;
        }
    }
}

TEST_F(WidgetsTest, AnExpanderEnclosesItsChildrenOrKeepsItsSize) {
    AddImage("panel.png", 64, 64);
    EXPECT_EQ(Make<RSplit9Expander>(std::string(kPanel) + " }")->GetClientRect(), TRect(0, 0, 200, 100));

    EXPECT_EQ(Run("description = " + std::string(kPanel) + ", padding = 4 }"), "");
    std::unique_ptr<TLuaTable> table(script->GetGlobalTable("description"));
    TWindowStyle style(table.get());
    auto* expander = new RSplit9Expander();
    dialog->AddChild(expander, false);
    expander->SetPosition(30, 40);
    expander->Init(style);
    Child(expander, "label", TRect(10, 10, 150, 60));
    Child(expander, "button", TRect(20, 70, 90, 80));
    expander->PostInit(style);
    // The children reach 150 x 80; the right and bottom borders less the
    // padding go around them.
    EXPECT_EQ(expander->GetClientRect(), TRect(0, 0, 162, 92));
    EXPECT_EQ(expander->InnerRect(), TRect(12, 12, 150, 80));
    EXPECT_EQ(expander->GetRootSprite()->GetChildren().size(), 9u);
}

TEST_F(WidgetsTest, ATextPanelIsSizedAroundItsText) {
    AddImage("panel.png", 64, 64);
    RSplit9Text* text = Make<RSplit9Text>("{ w = 300, h = 50, label = 'Hello there', padding = 4, "
                                          "x1 = 10, x2 = 12, y1 = 6, y2 = 8, image = 'panel.png' }");
    TTextLayout* layout = text->GetLayout();
    ASSERT_NE(layout, nullptr);
    TRect extents = layout->GetExtents(1.0f);
    int width = extents.right - extents.left;
    int height = extents.bottom - extents.top;
    ASSERT_GT(width, 0);
    ASSERT_GT(height, 0);
    EXPECT_EQ(layout->GetWidth(), width + 8);
    EXPECT_EQ(layout->GetHeight(), height + 8);
    EXPECT_EQ(text->GetWidth(), 10 + 12 + width);
    EXPECT_EQ(text->GetHeight(), 6 + 8 + height);

    // The panel's pieces come first, the text after them.
    TQmMiniVecDraw shapes(*TRenderer::GetInstance());
    TQmMiniVecDraw::SetInstance(&shapes);
    DrawWindow(text);
    TQmMiniVecDraw::SetInstance(nullptr);
    auto draws = Calls(TRecordingRenderBackEnd::kDrawVertices);
    ASSERT_GT(draws.size(), 9u);
    for (size_t i = 0; i < 9; ++i) EXPECT_EQ(draws[i].vertexKind, TVertexSet::kLit2d) << i;
    EXPECT_EQ(draws[9].vertexKind, TVertexSet::kTransformed);

    // Later texts keep the panel's size.
    text->SetText("A much longer text than before");
    EXPECT_EQ(text->GetWidth(), 10 + 12 + width);
}

}  // namespace
