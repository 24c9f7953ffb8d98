// Object assets: state entries and the levels above them, texture choice
// per state with the "default" fallback, unloading and reloading, images
// that appear after a failed load, and the frame bookkeeping.
#include "game/objects/objectasset.h"

#include <gtest/gtest.h>

#include "graphics/animatedtexture.h"
#include "graphics/texture.h"
#include "tests/objects/objecttesting.h"

namespace {

class ObjectAssetTest : public ObjectTest {
protected:
    void SetUp() override {
        ObjectTest::SetUp();
        WriteImage("objects/oven/idle.png", 16, 16);
        WriteImage("objects/oven/hot.png", 24, 8);
        WriteImage("objects/oven/mask.png", 16, 16);
    }

    // The asset of that name in the object's description.
    std::shared_ptr<VAsset> AssetOf(const char* global, const char* name) {
        std::shared_ptr<VAsset> asset = Loaded(global)->GetAsset(name);
        EXPECT_TRUE(asset) << name;
        return asset ? asset : VAsset::Create(name, true);
    }
};

TEST_F(ObjectAssetTest, StateEntriesAndTheLevelsAboveThem) {
    Define(R"(
        oven = { baseDir = "objects/", layer = 6,
                 assets = { anim = false,
                    Oven = { baseDir = "objects/oven/", regX = 3,
                             { file = "idle.png", play = "Bake" },
                             { state = "hot", file = "hot.png", regY = 4, layer = 2, base = 1, anim = true } },
                    shelf = { { file = "oven/idle.png", mask = "oven/mask.png" } } } }
    )");
    std::shared_ptr<VAsset> oven = AssetOf("oven", "oven");
    EXPECT_STREQ(oven->GetName().c_str(), "oven");
    EXPECT_TRUE(oven->HasState("default"));
    EXPECT_TRUE(oven->HasState("hot"));

    EXPECT_EQ(oven->GetStateTexture("default"), TTexture::GetWithOptions("objects/oven/idle.png", 0));
    EXPECT_FALSE(oven->IsAnimated("default"));  // from the "assets" table
    EXPECT_TRUE(oven->IsAnimated("hot"));
    TVec2 point;
    ASSERT_TRUE(oven->GetRegistrationPoint("default", point));
    EXPECT_FLOAT_EQ(point.x, 3);
    EXPECT_FLOAT_EQ(point.y, 1.17549435e-38f);  // not given
    ASSERT_TRUE(oven->GetRegistrationPoint("hot", point));
    EXPECT_EQ(point, TVec2(3, 4));
    EXPECT_EQ(oven->GetLayer("default", -1), 6);  // from the object description
    EXPECT_EQ(oven->GetLayer("hot", -1), 2);
    EXPECT_EQ(oven->GetBaseFrame("hot", -1), 1);
    EXPECT_EQ(oven->GetBaseFrame("cold", -1), -1);  // no such state
    EXPECT_STREQ(oven->GetPlayName("hot").c_str(), "");
    EXPECT_STREQ(oven->GetPlayName("missing").c_str(), "Bake");

    // The object's "baseDir" for an asset that sets none.
    std::shared_ptr<VAsset> shelf = AssetOf("oven", "shelf");
    EXPECT_EQ(shelf->GetStateTexture("default"),
              TTexture::GetMasked("objects/oven/idle.png", "objects/oven/mask.png", 0));
    EXPECT_FALSE(shelf->GetRegistrationPoint("default", point));
}

TEST_F(ObjectAssetTest, UndefinedStatesGiveTheDefaultTexture) {
    Define(R"(
        two = { assets = { anim = false, oven = { baseDir = "objects/oven/",
                    { state = "hot", file = "hot.png" }, { file = "idle.png" }, { file = "hot.png", state = "hot" } } } }
        none = { assets = { anim = false, oven = { { state = "hot", file = "objects/oven/hot.png" }, { state = "cold" } } } }
    )");
    std::shared_ptr<VAsset> oven = AssetOf("two", "oven");
    std::shared_ptr<TTexture> idle = oven->GetStateTexture("default");
    ASSERT_TRUE(idle);
    EXPECT_EQ(idle->GetWidth(), 16);
    EXPECT_EQ(oven->GetStateTexture("burnt"), idle);
    EXPECT_EQ(oven->GetStateTexture("hot")->GetWidth(), 24);

    std::shared_ptr<VAsset> noDefault = AssetOf("none", "oven");
    EXPECT_FALSE(noDefault->HasState("cold"));  // no file
    EXPECT_FALSE(noDefault->GetStateTexture("burnt"));
    EXPECT_TRUE(noDefault->GetStateTexture("hot"));
}

TEST_F(ObjectAssetTest, UnloadLetsTheTextureGoAndTheNextRequestLoadsItAgain) {
    Define(R"( oven = { assets = { anim = false, oven = { { file = "objects/oven/idle.png" },
                                                         { state = "hot", file = "objects/oven/hot.png" } } } } )");
    std::shared_ptr<VAsset> oven = AssetOf("oven", "oven");
    oven->Preload("all");
    std::weak_ptr<TTexture> idle = oven->GetStateTexture("default");
    std::weak_ptr<TTexture> hot = oven->GetStateTexture("hot");
    oven->Unload("hot");
    EXPECT_FALSE(idle.expired());
    EXPECT_TRUE(hot.expired());
    oven->Unload("all");
    EXPECT_TRUE(idle.expired());
    std::shared_ptr<TTexture> again = oven->GetStateTexture("default");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->GetWidth(), 16);
}

TEST_F(ObjectAssetTest, MissingImageIsRetriedOnTheNextRequest) {
    Define(R"( later = { assets = { anim = false, oven = { { file = "objects/oven/later.png" } } } } )");
    std::shared_ptr<VAsset> oven = AssetOf("later", "oven");
    EXPECT_TRUE(oven->HasState("default"));
    EXPECT_FALSE(oven->GetStateTexture("default"));
    WriteImage("objects/oven/later.png", 10, 10);
    std::shared_ptr<TTexture> texture = oven->GetStateTexture("default");
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->GetWidth(), 10);
}

TEST_F(ObjectAssetTest, RegisteredTexturesAndAnimationsComeFromTheAssetManager) {
    std::shared_ptr<TAnimatedTexture> two = TwoFrames();
    VAssetManager::Get()->RegisterAsset("oven.png", TTexture::GetWithOptions("objects/oven/hot.png", 0));
    VAssetManager::Get()->RegisterAsset("walk.xml", two);
    Define(R"( registered = { assets = { still = { { file = "oven.png", anim = false } },
                                         moving = { { file = "walk.xml" } } } } )");
    auto object = Loaded("registered");
    EXPECT_EQ(object->GetAsset("still")->GetStateTexture("default")->GetWidth(), 24);
    EXPECT_EQ(object->GetAsset("moving")->GetStateTexture("default"), two);
}

TEST_F(ObjectAssetTest, TouchCountsTheStateTextureForTheFrame) {
    std::shared_ptr<VAssetManager> assets = VAssetManager::Get();
    WriteAsset("list.xml", "<assets><texture file=\"objects/oven/idle.png\"/></assets>");
    assets->LoadAssetList("list.xml", false);
    Define(R"( oven = { assets = { anim = false, oven = { { file = "objects/oven/idle.png" } } } } )");
    std::shared_ptr<VAsset> oven = AssetOf("oven", "oven");
    assets->BeginFrame();
    oven->Touch("default", true);
    oven->Touch("default", true);
    EXPECT_NE(assets->GetMemoryReport(true).Find("x 16 : 1"), -1);  // once, however often
    oven->Touch("missing", true);  // no file: ignored
    oven->Touch("default", false);
    oven->Touch("default", false);
    EXPECT_NE(assets->GetMemoryReport(false).Find("Current VRam: 0 bytes"), -1);
}

}  // namespace
