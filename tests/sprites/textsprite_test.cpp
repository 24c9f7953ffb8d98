// Text sprites: defaults and descriptions, labels, the mark-up of bold,
// italic and outline, margins and box sizes, and where the text and its
// shadow are drawn on the recording back end.
#include "game/sprites/textsprite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core/scripting/luaobject.h"
#include "core/windows/platformlink.h"
#include "foundation/stringtable.h"
#include "graphics/text/qmminivecdraw.h"
#include "graphics/text/textlayout.h"
#include "tests/objects/objecttesting.h"

namespace {

// Answers only the string table.
class StringsLink : public TPlatformLink {
public:
    bool IsSystemCursorShown() const override { return false; }
    void ShowSystemCursor(bool) override {}
    void SetMouseBlocked(bool) override {}
    void FlipToGdiSurface() override {}
    void ResetMouseImage() override {}
    void FocusGameWindow() override {}
    bool OpenBrowser(const TString&) override { return false; }
    const TStringTable* GetStringTable() const override { return &strings; }
    TString GetClipboardText() const override { return TString(); }

    TStringTable strings;
};

// What the draws since the last clear covered.
struct Ink {
    int draws = 0;
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
    uint32_t firstColour = 0;
};

class TextSpriteTest : public ObjectTest {
protected:
    void SetUp() override {
        ObjectTest::SetUp();
        shapes = std::make_unique<TQmMiniVecDraw>(Renderer());
        TQmMiniVecDraw::SetInstance(shapes.get());
    }
    void TearDown() override {
        TQmMiniVecDraw::SetInstance(nullptr);
        shapes.reset();
        ObjectTest::TearDown();
    }

    std::shared_ptr<VTextSprite> LoadedText(const char* global) {
        auto sprite = VTextSprite::Create();
        std::unique_ptr<TLuaTable> table(script.GetGlobalTable(global));
        sprite->Load(*table);
        return sprite;
    }

    Ink DrawnInk(const std::shared_ptr<VSprite>& sprite) {
        recorder->ClearCalls();
        DrawScene(sprite);
        Ink ink;
        for (const TRecordingRenderBackEnd::TCall& call : recorder->GetCalls()) {
            if (call.kind != TRecordingRenderBackEnd::kDrawVertices || call.vertices.empty()) continue;
            if (ink.draws++ == 0) ink.firstColour = call.vertices.front().diffuse;
            for (const TRenderVertex& vertex : call.vertices) {
                ink.left = std::min(ink.left, vertex.x);
                ink.top = std::min(ink.top, vertex.y);
                ink.right = std::max(ink.right, vertex.x);
                ink.bottom = std::max(ink.bottom, vertex.y);
            }
        }
        return ink;
    }

    std::unique_ptr<TQmMiniVecDraw> shapes;
};

TEST_F(TextSpriteTest, DefaultsAndADescription) {
    auto plain = VTextSprite::Create();
    EXPECT_FALSE(plain->IsMouseEnabled());
    EXPECT_EQ(plain->GetLayout()->GetFlags(), 5);
    EXPECT_EQ(plain->GetTextBounds(), TRect(0, 0, 0, 0));

    Define(R"( caption = { label = "#Fresh", name = "Caption", w = 120, h = 40, x = 5, y = 7, layer = 3,
                           spriteLayer = 2, flags = 0, bold = true, font = { "", 14, { 1, 0, 0, 1 } },
                           margin = { 4, 2 } } )");
    auto caption = LoadedText("caption");
    EXPECT_STREQ(caption->GetText().c_str(), "Fresh");
    EXPECT_STREQ(caption->GetName().c_str(), "Caption");
    EXPECT_EQ(caption->GetPosition(), TVec2(5, 7));
    EXPECT_EQ(caption->GetLayer(), 3);
    EXPECT_EQ(caption->GetSpriteLayer(), 2);
    TTextLayout* layout = caption->GetLayout();
    EXPECT_STREQ(layout->GetText().c_str(), "<b>Fresh</b>");
    EXPECT_EQ(layout->GetWidth(), 116);  // absent margins count 0
    EXPECT_EQ(layout->GetHeight(), 38);
    EXPECT_EQ(layout->GetFlags(), 0);
}

TEST_F(TextSpriteTest, LabelsAreLocalisedUnlessTheyBeginWithAHash) {
    StringsLink link;
    SetPlatformLink(&link);
    Define(R"( word = { label = "#greeting" } label = { label = "greeting" } none = { w = 10 } )");
    EXPECT_STREQ(LoadedText("word")->GetText().c_str(), "greeting");
    EXPECT_STREQ(LoadedText("label")->GetText().c_str(), "#####");  // not in the table
    EXPECT_STREQ(LoadedText("none")->GetText().c_str(), "");
    SetPlatformLink(nullptr);
}

TEST_F(TextSpriteTest, TagsNestBoldInItalicInOutline) {
    auto sprite = VTextSprite::Create();
    sprite->SetText("hi");
    sprite->SetBold(true);
    sprite->SetItalic(true);
    EXPECT_STREQ(sprite->GetLayout()->GetText().c_str(), "<i><b>hi</b></i>");

    const struct {
        TColor4f colour;
        int size;
        const char* expected;
    } cases[] = {
        {TColor4f(1, 0.5f, 0, 1), 2, "<outline color='ff7f00' size=2><i><b>hi</b></i></outline>"},
        {TColor4f(2, -1, 0.5f, 1), 1, "<outline color='ff007f' size=1><i><b>hi</b></i></outline>"},
        {TColor4f(1, 1, 1, 1), 0, "<i><b>hi</b></i>"},
    };
    for (const auto& test : cases) {
        sprite->SetOutline(test.colour, test.size);
        EXPECT_STREQ(sprite->GetLayout()->GetText().c_str(), test.expected);
    }
    sprite->SetBold(false);
    EXPECT_STREQ(sprite->GetLayout()->GetText().c_str(), "<i>hi</i>");
}

TEST_F(TextSpriteTest, MarginsWidenTheBoundsAndNeverLeaveANegativeLayout) {
    Define(R"( plain = { label = "#Wag", w = 200, h = 60, flags = 0 }
               margins = { label = "#Wag", w = 210, h = 70, flags = 0, margin = { 4, 2, 6, 8 } }
               tight = { label = "#Wag", w = 15, h = 12, margin = { 10, 10, 10, 10 } } )");
    TRect plain = LoadedText("plain")->GetTextBounds();
    ASSERT_GT(plain.right, plain.left);
    auto margins = LoadedText("margins");
    EXPECT_EQ(margins->GetLayout()->GetWidth(), 200);
    EXPECT_EQ(margins->GetTextBounds(),
              TRect(plain.left - 4, plain.top - 2, plain.right + 6, plain.bottom + 8));

    auto tight = LoadedText("tight");
    EXPECT_EQ(tight->GetLayout()->GetWidth(), 0);
    EXPECT_EQ(tight->GetLayout()->GetHeight(), 0);
    tight->SetBoxSize(30, 45);
    EXPECT_EQ(tight->GetLayout()->GetWidth(), 10);
    EXPECT_EQ(tight->GetLayout()->GetHeight(), 25);
    tight->SetBoxSize(5, 5);
    EXPECT_EQ(tight->GetLayout()->GetWidth(), 0);
}

TEST_F(TextSpriteTest, DrawsAtTheRoundedPositionPlusTheMargins) {
    Define(R"( at0 = { label = "#Wag", w = 200, h = 60, flags = 0, font = { "", 20, { 1, 1, 1, 1 } } }
               moved = { label = "#Wag", w = 200, h = 60, flags = 0, font = { "", 20, { 1, 1, 1, 1 } },
                         x = 10.6, y = 20.4, margin = { 4, 2, 0, 0 } } )");
    Ink base = DrawnInk(LoadedText("at0"));
    ASSERT_GT(base.draws, 0);
    Ink moved = DrawnInk(LoadedText("moved"));
    EXPECT_FLOAT_EQ(moved.left - base.left, 11 + 4);
    EXPECT_FLOAT_EQ(moved.top - base.top, 20 + 2);

    // An owner moves the text; its scale does not reach it.
    auto owner = VObject::Create("owner", "test", 0);
    owner->SetPosition(TVec2(100, 50));
    owner->SetScale(3, 3);
    owner->AddChild(LoadedText("at0"));
    Ink owned = DrawnInk(owner);
    EXPECT_FLOAT_EQ(owned.left - base.left, 100);
    EXPECT_FLOAT_EQ(owned.top - base.top, 50);
    EXPECT_FLOAT_EQ(owned.right - owned.left, base.right - base.left);
}

TEST_F(TextSpriteTest, ShadowIsDrawnFirstAtItsOffsetUnlessTheOffsetIsZero) {
    Define(R"( plain = { label = "#Wag", w = 200, h = 60, flags = 0, font = { "", 20, { 1, 1, 1, 1 } } }
               still = { label = "#Wag", w = 200, h = 60, flags = 0, font = { "", 20, { 1, 1, 1, 1 } },
                         shadow = { 0, 0, { 1, 0, 0, 1 } } }
               cast = { label = "#Wag", w = 200, h = 60, flags = 0, font = { "", 20, { 1, 1, 1, 1 } },
                        shadow = { 3, 5 } } )");
    Ink plain = DrawnInk(LoadedText("plain"));
    ASSERT_GT(plain.draws, 0);
    EXPECT_NE(plain.firstColour & 0x00FFFFFFu, 0u);
    Ink still = DrawnInk(LoadedText("still"));
    EXPECT_EQ(still.draws, plain.draws);
    EXPECT_EQ(still.firstColour, plain.firstColour);

    Ink cast = DrawnInk(LoadedText("cast"));
    EXPECT_GT(cast.draws, plain.draws);
    EXPECT_EQ(cast.firstColour & 0x00FFFFFFu, 0u);  // black, the default shadow colour
    EXPECT_FLOAT_EQ(cast.left, plain.left);
    EXPECT_FLOAT_EQ(cast.top, plain.top);
    EXPECT_FLOAT_EQ(cast.right, plain.right + 3);
    EXPECT_FLOAT_EQ(cast.bottom, plain.bottom + 5);
}

}  // namespace
