// Sprites on the recording renderer: draw order, layers, bounds, the live
// count, the tree's guards and the rectangle-only hit test.
#include "graphics/sprite.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "foundation/settings.h"
#include "texturetesting.h"

namespace {

const TDrawState kIdentity(TVec2(0, 0), 1, 1, 0);

// Counts the re-sorts a parent is asked for.
class SortCountingSprite : public TSprite {
public:
    using TSprite::TSprite;
    void SortChildren() override {
        ++sorts;
        TSprite::SortChildren();
    }
    int sorts = 0;
};

class SpriteTest : public TextureTest {
protected:
    // A sprite with a texture of its own, known by name in the draw order.
    std::shared_ptr<TSprite> Named(const std::string& name, int layer, int width = 16, int height = 16) {
        std::shared_ptr<TTexture> texture = TTexture::Create(width, height, true);
        EXPECT_NE(texture, nullptr);
        mNames[texture.get()] = name;
        return TSprite::Create(layer, texture);
    }

    // The names of the textures set for drawing, in order.
    std::vector<std::string> DrawOrder(TSprite& root, int depth) {
        recorder->ClearCalls();
        Renderer().BeginDraw(true);
        Renderer().Begin2d();
        root.Draw(kIdentity, depth);
        Renderer().End2d();
        Renderer().EndDraw(false);
        std::vector<std::string> order;
        for (const TRecordingRenderBackEnd::TCall& call : recorder->GetCalls()) {
            if (call.kind == TRecordingRenderBackEnd::kSetTexture && call.texture) order.push_back(mNames[call.texture]);
        }
        return order;
    }

    std::map<const TTexture*, std::string> mNames;
};

struct OrderCase {
    const char* what;
    std::vector<std::pair<std::string, int>> children;  // name and layer, in order of insertion
    std::vector<std::string> order;
};

TEST_F(SpriteTest, DrawOrderFollowsLayersAndInsertion) {
    const OrderCase cases[] = {
        {"behind and in front", {{"front", 0}, {"behind", -1}}, {"behind", "parent", "front"}},
        {"equal layers keep insertion", {{"a", 0}, {"b", 0}, {"c", -2}, {"d", -2}}, {"c", "d", "parent", "a", "b"}},
        {"ascending layers", {{"high", 5}, {"low", 1}, {"deep", -3}, {"shallow", -1}},
         {"deep", "shallow", "parent", "low", "high"}},
        {"no children", {}, {"parent"}},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::shared_ptr<TSprite> parent = Named("parent", 0);
        for (const auto& [name, layer] : c.children) parent->AddChild(Named(name, layer));
        EXPECT_EQ(DrawOrder(*parent, -1), c.order);
    }
}

TEST_F(SpriteTest, DepthLimitsTheTreeAndHiddenSpritesDrawNothingOfTheirs) {
    std::shared_ptr<TSprite> root = Named("root", 0);
    std::shared_ptr<TSprite> child = Named("child", 1);
    std::shared_ptr<TSprite> grandchild = Named("grandchild", -1);
    child->AddChild(grandchild);
    root->AddChild(child);
    EXPECT_EQ(DrawOrder(*root, 0), (std::vector<std::string>{"root"}));
    EXPECT_EQ(DrawOrder(*root, 1), (std::vector<std::string>{"root", "child"}));
    EXPECT_EQ(DrawOrder(*root, -1), (std::vector<std::string>{"root", "grandchild", "child"}));
    child->SetVisible(false);
    EXPECT_EQ(DrawOrder(*root, -1), (std::vector<std::string>{"root"}));
}

TEST_F(SpriteTest, SetLayerResortsOnlyOnAChange) {
    auto parent = std::make_shared<SortCountingSprite>(0);
    std::shared_ptr<TSprite> first = Named("first", 1);
    std::shared_ptr<TSprite> second = Named("second", 2);
    parent->AddChild(first);
    parent->AddChild(second);
    int sorts = parent->sorts;
    first->SetLayer(1);
    EXPECT_EQ(parent->sorts, sorts);
    first->SetLayer(3);
    EXPECT_EQ(parent->sorts, sorts + 1);
    EXPECT_EQ(parent->GetChildren().front(), second);
}

TEST_F(SpriteTest, AddChildMovesTheChildAndRemoveChildFindsItByIdentity) {
    std::shared_ptr<TSprite> oldParent = TSprite::Create(0);
    std::shared_ptr<TSprite> newParent = TSprite::Create(0);
    std::shared_ptr<TSprite> child = TSprite::Create(0);
    oldParent->AddChild(child);
    newParent->AddChild(child);
    EXPECT_TRUE(oldParent->GetChildren().empty());
    EXPECT_EQ(child->GetParent(), newParent.get());
    EXPECT_FALSE(oldParent->RemoveChild(child));
    EXPECT_TRUE(newParent->RemoveChild(child));
    EXPECT_EQ(child->GetParent(), nullptr);

    // A parent that goes leaves its children without a parent.
    newParent->AddChild(child);
    newParent.reset();
    EXPECT_EQ(child->GetParent(), nullptr);
}

TEST_F(SpriteTest, ASpriteCannotJoinItsOwnSubtree) {
    std::shared_ptr<TSprite> root = Named("root", 0);
    std::shared_ptr<TSprite> child = Named("child", 0);
    std::shared_ptr<TSprite> grandchild = Named("grandchild", 0);
    root->AddChild(child);
    child->AddChild(grandchild);
    root->AddChild(root);
    grandchild->AddChild(root);
    child->AddChild(root);
    EXPECT_EQ(log.Count("TSprite::AddChild: a sprite cannot be a child of itself"), 3u);
    EXPECT_EQ(root->GetParent(), nullptr);
    EXPECT_EQ(root->GetChildren().size(), 1u);
    EXPECT_TRUE(grandchild->GetChildren().empty());
    // The tree is still a tree: drawing and bounds end.
    EXPECT_EQ(DrawOrder(*root, -1), (std::vector<std::string>{"root", "child", "grandchild"}));
    EXPECT_EQ(root->GetBounds(kIdentity, -1), TRect(-8, -8, 8, 8));
}

struct BoundsCase {
    const char* what;
    TDrawState state;
    TRect bounds;
};

TDrawState Rotated(const TVec2& position, float angle) {
    TDrawState state(position, 1, 1, 0);
    state.matrix.Rotate(angle);
    return state;
}

TDrawState Pivoted(const TVec2& position, const TVec2& pivot) {
    TDrawState state(position, 1, 1, TDrawState::kUsePivot);
    state.pivot = pivot;
    return state;
}

TDrawState FromSource(const TVec2& position, const TRect& source) {
    TDrawState state(position, 1, 1, TDrawState::kUseSourceRect);
    state.sourceRect = source;
    return state;
}

TEST_F(SpriteTest, BoundsOfPlacedTextures) {
    // A 16 x 8 texture; half-pixel positions keep the truncation clear of
    // rounding in the rotation.
    const BoundsCase cases[] = {
        {"centred", TDrawState(TVec2(100, 50), 1, 1, 0), TRect(92, 46, 108, 54)},
        {"mirrored both ways", TDrawState(TVec2(100, 50), 1, 1, TDrawState::kMirrorHorizontal | TDrawState::kMirrorVertical),
         TRect(92, 46, 108, 54)},
        {"scaled", TDrawState(TVec2(100, 50), 1, 2, 0), TRect(84, 42, 116, 58)},
        {"pivoted", Pivoted(TVec2(100, 50), TVec2(2, 3)), TRect(98, 47, 114, 55)},
        {"source rectangle", FromSource(TVec2(100, 50), TRect(0, 0, 4, 2)), TRect(98, 49, 102, 51)},
        {"rotated a quarter", Rotated(TVec2(100.5f, 50.5f), static_cast<float>(M_PI / 2)), TRect(96, 42, 104, 58)},
        {"rotated an eighth", Rotated(TVec2(0.5f, 0.5f), static_cast<float>(M_PI / 4)), TRect(-7, -7, 8, 8)},
    };
    for (const BoundsCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::shared_ptr<TSprite> sprite = Named("sprite", 0, 16, 8);
        sprite->GetDrawState() = c.state;
        EXPECT_EQ(sprite->GetBounds(kIdentity, 0), c.bounds);
    }
}

TEST_F(SpriteTest, BoundsUniteTheChildrenHiddenOrNot) {
    std::shared_ptr<TSprite> empty = TSprite::Create(0);
    EXPECT_EQ(empty->GetBounds(kIdentity, -1), TRect(10000000, 10000000, -10000000, -10000000));

    std::shared_ptr<TSprite> child = Named("child", 0);
    child->GetDrawState() = TDrawState(TVec2(50, 0), 1, 1, 0);
    child->SetVisible(false);
    empty->AddChild(child);
    empty->GetDrawState() = TDrawState(TVec2(10, 10), 1, 1, 0);
    EXPECT_EQ(empty->GetBounds(kIdentity, -1), TRect(52, 2, 68, 18));
    EXPECT_EQ(empty->GetBounds(kIdentity, 0), TSprite::kEmptyBounds);
}

TEST_F(SpriteTest, TheLiveCountFollowsCreationAndDestruction) {
    int before = TSprite::GetCount();
    std::shared_ptr<TSprite> parent = TSprite::Create(0);
    parent->AddChild(TSprite::Create(1));
    EXPECT_EQ(GetSetting("current_sprite_count", "").ToInt(), before + 2);
    parent.reset();
    EXPECT_EQ(TSprite::GetCount(), before);
    EXPECT_EQ(GetSetting("current_sprite_count", "").ToInt(), before);
}

TEST_F(SpriteTest, ARectangleHitTestNeedsATextureAndVisibility) {
    std::shared_ptr<TSprite> sprite = Named("sprite", 0);
    sprite->GetDrawState() = TDrawState(TVec2(100, 100), 1, 1, 0);
    EXPECT_TRUE(sprite->HitTest(TPoint(92, 92), kIdentity, -1, -1));
    EXPECT_TRUE(sprite->HitTest(TPoint(107, 107), kIdentity, -1, -1));
    EXPECT_FALSE(sprite->HitTest(TPoint(108, 100), kIdentity, -1, -1));
    EXPECT_FALSE(sprite->HitTest(TPoint(91, 100), kIdentity, -1, -1));
    sprite->SetVisible(false);
    EXPECT_FALSE(sprite->HitTest(TPoint(100, 100), kIdentity, -1, -1));
    std::shared_ptr<TSprite> bare = TSprite::Create(0);
    bare->AddChild(Named("child", 0));
    EXPECT_FALSE(bare->HitTest(TPoint(0, 0), kIdentity, -1, -1));
}

TEST_F(SpriteTest, AHitTestWithoutItsTargetAnswersFalse) {
    std::shared_ptr<TSprite> sprite = Named("sprite", 0);
    // No display makes textures any more: the shared target cannot be made.
    SetTextureDataFactory(nullptr);
    recorder->ClearCalls();
    EXPECT_FALSE(sprite->HitTest(TPoint(0, 0), kIdentity, 1, -1));
    EXPECT_TRUE(recorder->GetCalls().empty());
    EXPECT_TRUE(sprite->HitTest(TPoint(0, 0), kIdentity, -1, -1));
}

TEST_F(SpriteTest, AHitTargetWhoseDisplayWentIsMadeAgain) {
    std::shared_ptr<TSprite> sprite = Named("sprite", 0);
    auto targetOfAHitTest = [&] {
        recorder->ClearCalls();
        sprite->HitTest(TPoint(0, 0), kIdentity, 1, -1);
        const std::vector<TRecordingRenderBackEnd::TCall>& calls = recorder->GetCalls();
        return calls.empty() ? nullptr : calls.front().texture;
    };
    const TTexture* first = targetOfAHitTest();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(targetOfAHitTest(), first);
    // The surfaces go with their display; the next test makes its own target.
    TDxTextureData::ForgetOwner(owner);
    const TTexture* second = targetOfAHitTest();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
}

TEST_F(SpriteTest, AHitTestDrawsTheTreeOntoPixelOneOne) {
    std::shared_ptr<TSprite> sprite = Named("sprite", 0);
    sprite->GetDrawState() = TDrawState(TVec2(100, 100), 1, 1, 0);
    recorder->ClearCalls();
    // The recording back end draws nothing: the cleared pixel stays transparent.
    EXPECT_FALSE(sprite->HitTest(TPoint(95, 97), kIdentity, 1, -1));
    using K = TRecordingRenderBackEnd;
    const std::vector<K::TCall>& calls = recorder->GetCalls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[0].kind, K::kBeginRenderTarget);
    EXPECT_EQ(calls[0].value, 1);
    EXPECT_EQ(calls[1].kind, K::kFillRect);
    EXPECT_EQ(calls[1].rect, TRect(1, 1, 2, 2));
    EXPECT_EQ(calls[1].texture, calls[0].texture);
    EXPECT_EQ(calls.back().kind, K::kEndRenderTarget);
    for (const K::TCall& call : calls) {
        if (call.kind != K::kDrawVertices) continue;
        // The 16 x 16 quad around (100, 100), moved so that (95, 97) is at (1, 1).
        EXPECT_FLOAT_EQ(call.vertices[0].x, 92 + 1 - 95);
        EXPECT_FLOAT_EQ(call.vertices[0].y, 92 + 1 - 97);
    }
}

}  // namespace
