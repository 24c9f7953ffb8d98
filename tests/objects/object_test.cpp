// Game objects: loading descriptions over earlier ones, what a child takes
// from the descriptions around it, properties, asset choice and states,
// child objects made from assets, unloading, deep copies and descriptions
// that hold themselves.
#include "game/objects/object.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "game/objects/carriable.h"
#include "game/objects/objectasset.h"
#include "game/sprites/textsprite.h"
#include "graphics/texture.h"
#include "tests/objects/objecttesting.h"

namespace {

bool InChildList(const VSprite& parent, const std::shared_ptr<VSprite>& child) {
    const auto& list = parent.GetChildList();
    return std::find(list.begin(), list.end(), child) != list.end();
}

class GameObjectTest : public ObjectTest {
protected:
    void SetUp() override {
        ObjectTest::SetUp();
        WriteImage("art/a.png", 16, 16);
        WriteImage("art/b.png", 20, 10);
        WriteImage("art/open.png", 8, 8);
    }
};

TEST_F(GameObjectTest, LoadingAgainReusesAssetsChildrenAndTextsByName) {
    Define(R"(
        full = { assets = { anim = false, door = { { file = "art/a.png" } } },
                 children = { Lamp = { } },
                 text = { price = { label = "#9" } } }
        bare = { assets = { anim = false, door = { { file = "art/b.png" } } } }
    )");
    auto object = Loaded("full");
    std::shared_ptr<VAsset> asset = object->GetAsset("door");
    std::shared_ptr<VObject> lamp = object->GetChildObject("lamp");
    std::shared_ptr<VTextSprite> price = object->GetTextSprite("price");
    ASSERT_TRUE(asset && lamp && price);
    EXPECT_STREQ(lamp->GetName().c_str(), "lamp");
    EXPECT_STREQ(lamp->GetType().c_str(), "autochild");

    object->Load(Describe("full"));
    EXPECT_EQ(object->GetAsset("door"), asset);
    EXPECT_EQ(object->GetChildObject("lamp"), lamp);
    EXPECT_EQ(object->GetTextSprite("price"), price);
    EXPECT_EQ(object->GetChildList().size(), 2u);

    object->Load(Describe("bare"));
    EXPECT_EQ(object->GetAsset("door"), asset);
    EXPECT_FALSE(object->GetChildObject("lamp"));
    EXPECT_FALSE(object->GetTextSprite("price"));
    EXPECT_TRUE(object->GetChildList().empty());
    EXPECT_FALSE(lamp->GetOwner());
}

TEST_F(GameObjectTest, PropertiesAreLowerCasedAndKeptAcrossLoads) {
    Define(R"(
        first = { Price = 12, Label = "Truffle", empty = "", flag = true, nested = { x = 1 } }
        second = { price = "15" }
    )");
    auto object = Loaded("first");
    object->Load(Describe("second"));
    object->SetProperty("Colour", "dark");
    const struct {
        const char* key;
        const char* expected;
    } cases[] = {
        {"price", "15"},    {"PRICE", "15"},      {"label", "Truffle"},  // kept from the first description
        {"empty", "none"},  {"flag", "none"},     {"nested", "none"},    // no text form, or a table
        {"colour", "dark"}, {"missing", "none"},
    };
    for (const auto& test : cases) {
        EXPECT_STREQ(object->GetProperty(test.key, "none").c_str(), test.expected) << test.key;
    }
}

TEST_F(GameObjectTest, ResetShowsTheCurrentAutoOrFirstAsset) {
    Define(R"(
        plain = { assets = { anim = false, b = { { file = "art/b.png" } }, a = { { file = "art/a.png" } } } }
        auto = { autoAsset = "b", assets = { anim = false, b = { { file = "art/b.png" } }, a = { { file = "art/a.png" } } } }
    )");
    auto plain = Loaded("plain");
    plain->Reset();
    ASSERT_TRUE(plain->GetCurrentAsset());
    EXPECT_STREQ(plain->GetCurrentAsset()->GetName().c_str(), "a");
    ASSERT_TRUE(plain->GetTexture());
    EXPECT_EQ(plain->GetTexture()->GetWidth(), 16);

    auto chosen = Loaded("auto");
    chosen->Reset();
    EXPECT_STREQ(chosen->GetCurrentAsset()->GetName().c_str(), "b");
    chosen->SetAsset("a", "default", "default");
    chosen->Reset();
    EXPECT_STREQ(chosen->GetCurrentAsset()->GetName().c_str(), "a");
}

TEST_F(GameObjectTest, SetAssetTakesTheStateOrTheFallbackElseChangesNothing) {
    Define(R"(
        door = { assets = { anim = false,
            door = { { file = "art/a.png", layer = 3, base = 0 },
                     { state = "open", file = "art/open.png", regX = 2, regY = 5, layer = 7 } },
            sign = { { state = "lit", file = "art/b.png" } } } }
    )");
    auto object = Loaded("door");
    object->SetAsset("DOOR", "open", "default");
    EXPECT_STREQ(object->GetCurrentState().c_str(), "open");
    EXPECT_EQ(object->GetLayer(), 7);
    EXPECT_EQ(object->GetDrawState().pivot, TVec2(2, 5));
    ASSERT_TRUE(object->GetTexture());
    EXPECT_NE(object->GetDrawState().flags & TDrawState::kUsePivot, 0);
    EXPECT_EQ(object->GetTexture()->GetWidth(), 8);

    object->SetAsset("door", "shut", "default");
    EXPECT_STREQ(object->GetCurrentState().c_str(), "default");
    EXPECT_EQ(object->GetLayer(), 3);
    EXPECT_EQ(object->GetTexture()->GetWidth(), 16);

    // Neither state: the asset becomes current, the rest stays.
    object->SetAsset("sign", "dark", "default");
    EXPECT_STREQ(object->GetCurrentAsset()->GetName().c_str(), "sign");
    EXPECT_STREQ(object->GetCurrentState().c_str(), "default");
    EXPECT_EQ(object->GetLayer(), 3);
    EXPECT_EQ(object->GetTexture()->GetWidth(), 16);

    object->SetAssetState("lit", "default");
    EXPECT_EQ(object->GetTexture()->GetWidth(), 20);
    EXPECT_EQ(object->GetLayer(), 3);  // the state keeps the layer

    object->SetAsset("nothing", "default", "default");
    EXPECT_FALSE(object->GetCurrentAsset());
    EXPECT_FALSE(object->GetTexture());
}

TEST_F(GameObjectTest, ChildObjectsFromAnAssetAreNumberedLeaves) {
    Define(R"( lamps = { assets = { anim = false, Lamp = { { file = "art/a.png" } } } } )");
    auto object = Loaded("lamps");
    auto first = object->AddChildObject("lamp", "default", 2);
    auto second = object->AddChildObject("Lamp", "default", 2);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(object->GetChildObject("lamp_0"), first);
    EXPECT_EQ(object->GetChildObject("lamp_1"), second);
    EXPECT_TRUE(first->IsLeaf());
    EXPECT_EQ(first->GetLayer(), 2);
    EXPECT_STREQ(first->GetType().c_str(), "test");
    EXPECT_EQ(first->GetCurrentAsset(), object->GetAsset("lamp"));
    EXPECT_TRUE(InChildList(*object, first));
    EXPECT_FALSE(object->AddChildObject("candle", "default", 0));
}

TEST_F(GameObjectTest, UnloadingUnusedAssetsKeepsTheCurrentTextures) {
    Define(R"( two = { assets = { anim = false, a = { { file = "art/a.png", anim = false } },
                                   b = { { file = "art/b.png", anim = false } } } } )");
    auto object = Loaded("two");
    object->PreloadAssets("all", "all", false);
    std::weak_ptr<TTexture> a = object->GetAsset("a")->GetStateTexture("default");
    std::weak_ptr<TTexture> b = object->GetAsset("b")->GetStateTexture("default");
    object->SetAsset("a", "default", "default");
    object->SetAnimation(nullptr);  // only the assets hold the textures now

    object->UnloadAssets("unused", "", false);
    EXPECT_FALSE(a.expired());
    EXPECT_TRUE(b.expired());
    object->UnloadAssets("all", "", false);
    EXPECT_TRUE(a.expired());
}

TEST_F(GameObjectTest, ChildInheritsFromTheEnclosingDescriptionsAsFarAsEachKeyReaches) {
    Define(R"(
        room = { layer = 4, mouse = false, spriteLayer = 9, x = 30, type = "furniture",
                 assets = { anim = false, chair = { { file = "art/a.png" } } },
                 children = { spriteLayer = 7, stool = { }, desk = { layer = 1, x = 5, y = 6 } } }
        hall = { spriteLayer = 9, children = { bench = { } } }
    )");
    auto room = Loaded("room");
    auto stool = room->GetChildObject("stool");
    auto desk = room->GetChildObject("desk");
    ASSERT_TRUE(stool && desk);
    EXPECT_EQ(stool->GetLayer(), 4);
    EXPECT_FALSE(stool->IsMouseEnabled());
    EXPECT_TRUE(stool->HasAsset("chair"));
    EXPECT_STREQ(stool->GetType().c_str(), "furniture");
    EXPECT_EQ(stool->GetSpriteLayer(), 7);
    EXPECT_EQ(stool->GetPosition(), TVec2(0, 0));
    EXPECT_EQ(desk->GetLayer(), 1);
    EXPECT_EQ(desk->GetPosition(), TVec2(5, 6));
    EXPECT_EQ(room->GetPosition(), TVec2(30, 0));

    auto bench = Loaded("hall")->GetChildObject("bench");
    ASSERT_TRUE(bench);
    EXPECT_EQ(bench->GetSpriteLayer(), 0);  // "spriteLayer" reaches one level only
}

TEST_F(GameObjectTest, ScalarKeysSetTheSprite) {
    Define(R"(
        d = { name = "Crate", anchor = "hand", hflip = true, blend = 2, alpha = 1.5,
              tint = { 1, 0.5, 0.25, 1 }, scale = { 2 }, visible = false, clickable = true,
              leaf = true, continuous = true }
        wide = { scale = { 2, 3 }, rotation = { 0, 0 } }
    )");
    auto object = Loaded("d");
    EXPECT_STREQ(object->GetName().c_str(), "Crate");
    EXPECT_STREQ(object->GetAnchor().c_str(), "hand");
    EXPECT_EQ(object->GetDrawState().flags & TDrawState::kMirrorHorizontal, TDrawState::kMirrorHorizontal);
    EXPECT_EQ(object->GetDrawState().blendMode, 2);
    EXPECT_FLOAT_EQ(object->GetAlpha(), 1.0f);
    EXPECT_EQ(object->GetDrawState().color, TColor4f(1, 0.5f, 0.25f, 1));
    EXPECT_FLOAT_EQ(object->GetDrawState().matrix.m[0][0], 2);
    EXPECT_FLOAT_EQ(object->GetDrawState().matrix.m[1][1], 2);
    EXPECT_FALSE(object->IsVisible());
    EXPECT_TRUE(object->IsClickable());
    EXPECT_TRUE(object->IsLeaf());

    // "hflip" reads false when missing; a second scale element is the vertical factor.
    object->Load(Describe("wide"));
    EXPECT_EQ(object->GetDrawState().flags & TDrawState::kMirrorHorizontal, 0);
    EXPECT_FLOAT_EQ(object->GetDrawState().matrix.m[0][0], 2);
    EXPECT_FLOAT_EQ(object->GetDrawState().matrix.m[1][1], 3);
    EXPECT_STREQ(object->GetName().c_str(), "Crate");
}

TEST_F(GameObjectTest, WrongEntriesAreSkipped) {
    Define(R"(
        odd = { assets = { anim = false, plain = "art/a.png", ok = { { file = "art/a.png" } } },
                children = { 5, kid = { x = "far" } },
                text = { "caption" },
                rotation = { nil, 3 }, layer = "high" }
    )");
    auto object = Loaded("odd");
    EXPECT_FALSE(object->HasAsset("plain"));
    EXPECT_TRUE(object->HasAsset("ok"));
    EXPECT_EQ(object->GetChildObjects().size(), 1u);
    EXPECT_EQ(object->GetChildObject("kid")->GetPosition(), TVec2(0, 0));
    EXPECT_TRUE(object->GetTextSprites().empty());
    EXPECT_EQ(object->GetLayer(), 0);
    object->Load(nullptr);
    EXPECT_TRUE(object->GetChildList().empty());
}

TEST_F(GameObjectTest, DeepCopySharesAssetsAndMakesItsOwnChildrenAndTexts) {
    Define(R"(
        crate = { type = "box", continuous = false, Price = 4,
                  assets = { anim = false, wood = { { file = "art/a.png" } } },
                  children = { lid = { assets = { anim = false, top = { { file = "art/b.png" } } } } },
                  text = { tag = { label = "#SALE", w = 40, h = 20 } } }
        used = { children = { stale = { } } }
    )");
    auto crate = Loaded("crate");
    crate->SetPosition(TVec2(12, 34));
    crate->Reset();
    auto copy = VObject::Create("", "other", 0);
    copy->Load(Describe("used"));
    std::shared_ptr<VObject> stale = copy->GetChildObject("stale");
    TString name = copy->GetName();

    crate->CopyObjectTo(copy);
    EXPECT_EQ(copy->GetAsset("wood"), crate->GetAsset("wood"));
    EXPECT_EQ(copy->GetCurrentAsset(), crate->GetCurrentAsset());
    EXPECT_STREQ(copy->GetType().c_str(), "box");
    EXPECT_STREQ(copy->GetProperty("price", "").c_str(), "4");
    EXPECT_STREQ(copy->GetName().c_str(), name.c_str());  // a named target keeps its name
    EXPECT_FALSE(copy->GetChildObject("stale"));
    EXPECT_EQ(copy->GetPosition(), TVec2(12, 34));

    auto lid = copy->GetChildObject("lid");
    ASSERT_TRUE(lid);
    EXPECT_NE(lid, crate->GetChildObject("lid"));
    EXPECT_EQ(lid->GetAsset("top"), crate->GetChildObject("lid")->GetAsset("top"));
    auto tag = copy->GetTextSprite("tag");
    ASSERT_TRUE(tag);
    EXPECT_NE(tag, crate->GetTextSprite("tag"));
    EXPECT_STREQ(tag->GetText().c_str(), "SALE");
    EXPECT_TRUE(tag->GetLayout());
    EXPECT_EQ(copy->GetChildList().size(), 2u);
    EXPECT_FALSE(InChildList(*copy, stale));
}

TEST_F(GameObjectTest, CopyOntoItselfChangesNothing) {
    Define(R"( crate = { assets = { anim = false, wood = { { file = "art/a.png" } } }, children = { lid = { } } } )");
    auto crate = Loaded("crate");
    crate->Reset();
    std::shared_ptr<VObject> lid = crate->GetChildObject("lid");
    crate->CopyObjectTo(crate);
    EXPECT_EQ(crate->GetChildObject("lid"), lid);
    EXPECT_TRUE(InChildList(*crate, lid));
    EXPECT_TRUE(crate->HasAsset("wood"));
    EXPECT_STREQ(crate->GetName().c_str(), "thing");
}

TEST_F(GameObjectTest, DescriptionHoldingItselfStopsAt32Levels) {
    Define(R"( loop = { x = 1 } loop.children = { me = loop } )");
    auto object = Loaded("loop");
    int depth = 0;
    for (auto level = object->GetChildObject("me"); level; level = level->GetChildObject("me")) ++depth;
    EXPECT_EQ(depth, 32);
    EXPECT_TRUE(log.Contains("nested deeper than 32 levels"));
}

TEST_F(GameObjectTest, AnimationRunsOnlyForAnimatedStatesWithTheirPlayName) {
    TwoFrames();
    Define(R"(
        lamp = { continuous = true, assets = { anim = false,
            glow = { { file = "anims/two.xml", anim = true, play = "Wave", base = 1 } },
            still = { { file = "art/a.png", anim = false } } } }
    )");
    auto object = Loaded("lamp");
    object->SetManager(manager);
    object->SetAsset("glow", "default", "default");
    EXPECT_STREQ(object->GetPendingAnimation().c_str(), "Wave");
    EXPECT_EQ(object->GetCurrentFrame(), 1);
    object->StopAnimation(false);
    EXPECT_EQ(object->GetCurrentFrame(), 1);

    object->SetAsset("still", "default", "default");
    EXPECT_STREQ(object->GetPendingAnimation().c_str(), "");
    object->DoAnim("Wave", false, false, 0);
    EXPECT_STREQ(object->GetPendingAnimation().c_str(), "");
}

TEST_F(GameObjectTest, DrawingCountsTheShownTextureInTheFrame) {
    Define(R"( crate = { assets = { anim = false, wood = { { file = "art/a.png", anim = false } } } } )");
    auto object = Loaded("crate");
    object->Reset();
    VAssetManager::Get()->RegisterAsset("art/a.png", object->GetTexture());
    VAssetManager::Get()->BeginFrame();
    EXPECT_NE(VAssetManager::Get()->GetMemoryReport(false).Find("Current VRam: 0 bytes"), -1);
    DrawScene(object);
    EXPECT_EQ(VAssetManager::Get()->GetMemoryReport(false).Find("Current VRam: 0 bytes"), -1);
}

// Drawing remembers the shown state's file between frames: another state,
// or any reload of the asset (here by the owner of a copy sharing it), must
// count what the asset names now.
TEST_F(GameObjectTest, DrawingCountsTheFileTheShownStateNamesNow) {
    Define(R"(
        crate = { assets = { anim = false, door = { { file = "art/a.png" }, { state = "open", file = "art/open.png" } } } }
        shut = { assets = { anim = false, door = { { file = "art/a.png" } } } }
    )");
    for (const char* file : {"art/a.png", "art/open.png"}) {
        VAssetManager::Get()->RegisterAsset(file, TTexture::GetWithOptions(file, 0));
    }
    auto object = Loaded("crate");
    object->Reset();
    auto drawnSizes = [&](const std::shared_ptr<VObject>& drawn) {
        VAssetManager::Get()->BeginFrame();
        DrawScene(drawn);
        std::string report = VAssetManager::Get()->GetMemoryReport(true).c_str();
        return report.substr(report.find("Peak VRam"));  // the size lines follow
    };
    for (int frame = 0; frame < 2; ++frame) {  // the second one draws from what the first found
        EXPECT_NE(drawnSizes(object).find("\n16 x 16 : 1\n"), std::string::npos) << frame;
    }

    object->SetAssetState("open", "default");
    std::string sizes = drawnSizes(object);
    EXPECT_NE(sizes.find("\n8 x 8 : 1\n"), std::string::npos) << sizes;
    EXPECT_EQ(sizes.find("16 x 16"), std::string::npos) << sizes;

    auto copy = VObject::Create("", "test", 0);
    object->CopyObjectTo(copy);
    EXPECT_NE(drawnSizes(copy).find("\n8 x 8 : 1\n"), std::string::npos);
    object->Load(Describe("shut"));  // the shared asset loses "open"
    ASSERT_EQ(copy->GetCurrentAsset(), object->GetCurrentAsset());
    EXPECT_EQ(drawnSizes(copy).find(" : "), std::string::npos);  // no file: nothing counted
    EXPECT_EQ(drawnSizes(object).find(" : "), std::string::npos);
}

TEST_F(GameObjectTest, GeneratedNamesAndCarriableKinds) {
    auto object = VObject::Create("", "crate", 0);
    EXPECT_STREQ(object->GetName().c_str(), TString::Format("object_crate%i", object->GetObjectId()).c_str());
    auto next = VObject::Create("", "crate", 0);
    EXPECT_EQ(next->GetObjectId(), object->GetObjectId() + 1);
    auto carriable = VCarriable::Create(3);
    EXPECT_EQ(carriable->GetKind(), 3);
    EXPECT_EQ(carriable->GetShared(), carriable);
}

}  // namespace
