// The level's backdrop: the look its owned aesthetic upgrades give it and
// its decorations, the decorations' own upgrades, what the description may
// hold that is no object, and the decorations following it between sprite
// managers.
#include "game/floor/background.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/level/upgrademanager.h"
#include "tests/floor/floortesting.h"

namespace {

const char kCatalogue[] = R"(<upgrades><upgradetype type="aesthetic">
    <upgrade name="kBackground1"><cost>1</cost></upgrade>
    <upgrade name="kBackground2"><cost>1</cost><requires>kbackground1</requires></upgrade>
    <upgrade name="kLamp"><cost>1</cost></upgrade>
  </upgradetype><upgradetype type="station">
    <upgrade name="kMixer1"><cost>1</cost></upgrade>
  </upgradetype></upgrades>)";

class BackgroundTest : public FloorTest {
protected:
    void SetUp() override {
        FloorTest::SetUp();
        for (const char* image : {"art/back.png", "art/back1.png", "art/back2.png", "art/lamp.png", "art/lamp2.png"}) {
            WriteImage(image);
        }
        WriteAsset("locations/test/upgrades.xml", kCatalogue);
        // Three looks of the backdrop; decorations of an aesthetic upgrade,
        // of a station upgrade, of none, and entries that are no object.
        Define(R"(
            looks = { { file = "art/back.png" }, { state = "upgrade1", file = "art/back1.png" },
                      { state = "upgrade2", file = "art/back2.png" } }
            lampLooks = { { file = "art/lamp.png" }, { state = "upgrade2", file = "art/lamp2.png" } }
            backdrop = {
                assets = { anim = false, background = looks },
                statics = {
                    Lamp = { upgrade = "kLamp", assets = { anim = false, lamp = lampLooks },
                             children = { shade = { assets = { anim = false, lamp = lampLooks } } } },
                    mixer_sign = { upgrade = "kMixer1", category = "station",
                                   assets = { anim = false, lamp = lampLooks } },
                    bare = { assets = { anim = false, lamp = lampLooks } },
                    count = 3,
                    word = "text",
                },
                anims = { steam = { assets = { anim = false, lamp = lampLooks } }, junk = 7 },
            }
        )");
    }
    void TearDown() override {
        ReleaseManagerSingleton<VUpgradeManager>();
        FloorTest::TearDown();
    }

    std::shared_ptr<VUpgradeManager> Upgrades() {
        std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
        upgrades->LoadCatalogue("locations/test/upgrades.xml");
        return upgrades;
    }
    // A backdrop in the fixture's manager, loaded and reset.
    std::shared_ptr<VBackground> Backdrop() {
        std::shared_ptr<VBackground> background = VBackground::Create();
        manager->AddSprite(background);
        background->Load(Describe("backdrop"));
        background->Reset();
        return background;
    }
    static std::string Visible(const VBackground& background) {
        std::string shown;
        for (const auto& [key, object] : background.GetStatics()) {
            if (object->IsVisible()) shown += std::string(key.c_str()) + " ";
        }
        return shown;
    }
    static std::string StateOf(const VBackground& background, const char* key) {
        return background.GetStatics().at(key)->GetCurrentState().c_str();
    }
};

TEST_F(BackgroundTest, OwnedUpgradesChooseTheLookOfTheBackdropAndItsDecorations) {
    struct Case {
        std::vector<std::pair<const char*, const char*>> owned;
        const char* state;
        const char* visible;
    };
    const std::vector<Case> cases = {
        {{}, "default", ""},
        {{{"kBackground1", "aesthetic"}}, "upgrade1", ""},
        {{{"kBackground2", "aesthetic"}}, "upgrade2", ""},
        {{{"kBackground1", "aesthetic"}, {"kBackground2", "aesthetic"}, {"kLamp", "aesthetic"}}, "upgrade2", "Lamp "},
        {{{"KLAMP", "Aesthetic"}, {"kMixer1", "station"}}, "default", "Lamp mixer_sign "},
    };
    for (const Case& c : cases) {
        std::shared_ptr<VUpgradeManager> upgrades = Upgrades();
        for (const auto& [name, category] : c.owned) upgrades->GrantUpgrade(name, category, false, nullptr);
        std::shared_ptr<VBackground> background = Backdrop();
        EXPECT_EQ(background->GetName(), TString("background"));
        EXPECT_STREQ(background->GetCurrentState().c_str(), c.state) << c.state;
        EXPECT_EQ(Visible(*background), c.visible) << c.state;
        manager->RemoveAllSprites();
    }
}

TEST_F(BackgroundTest, AnOwnedDecorationAndItsChildrenShowTheBackdropsState) {
    std::shared_ptr<VUpgradeManager> upgrades = Upgrades();
    for (const char* name : {"kBackground1", "kBackground2", "kLamp"}) upgrades->GrantUpgrade(name, "aesthetic", false, nullptr);
    std::shared_ptr<VBackground> background = Backdrop();
    std::shared_ptr<VObject> lamp = background->GetStatics().at("Lamp");
    EXPECT_EQ(lamp->GetName(), TString("lamp"));
    EXPECT_STREQ(lamp->GetCurrentState().c_str(), "upgrade2");
    EXPECT_STREQ(lamp->GetChildObject("shade")->GetCurrentState().c_str(), "upgrade2");

    // A decoration whose upgrade goes hides again at the next reset.
    ReleaseManagerSingleton<VUpgradeManager>();
    Upgrades()->GrantUpgrade("kBackground1", "aesthetic", false, nullptr);
    background->Reset();
    EXPECT_STREQ(background->GetCurrentState().c_str(), "upgrade1");
    EXPECT_EQ(Visible(*background), "");
}

TEST_F(BackgroundTest, APreviewedUpgradeShowsLikeAnOwnedOne) {
    std::shared_ptr<VUpgradeManager> upgrades = Upgrades();
    upgrades->MakeAvailable("kBackground1", "aesthetic");
    upgrades->PreviewUpgrade("kBackground1", "aesthetic", nullptr);
    std::shared_ptr<VBackground> background = Backdrop();
    EXPECT_STREQ(background->GetCurrentState().c_str(), "upgrade1");
    upgrades->RevertPreviews("", "", nullptr);
    background->Load(Describe("backdrop"));
    EXPECT_STREQ(background->GetCurrentState().c_str(), "default");
}

TEST_F(BackgroundTest, WithoutUpgradeManagerTheBackdropKeepsItsLookAndDecorationsHide) {
    std::shared_ptr<VBackground> background = Backdrop();
    EXPECT_STREQ(background->GetCurrentState().c_str(), "default");
    EXPECT_EQ(Visible(*background), "");
    EXPECT_EQ(VUpgradeManager::GetIfCreated(), nullptr);
}

TEST_F(BackgroundTest, EntriesThatAreNoTablesAreSkipped) {
    std::shared_ptr<VBackground> background = Backdrop();
    std::vector<std::string> statics;
    for (const auto& [key, object] : background->GetStatics()) statics.emplace_back(key.c_str());
    EXPECT_EQ(statics, (std::vector<std::string>{"Lamp", "bare", "mixer_sign"}));
    ASSERT_EQ(background->GetAnims().size(), 1u);
    EXPECT_EQ(background->GetAnims().count("steam"), 1u);

    Define("plain = { assets = { anim = false, background = looks }, statics = 'none', anims = 4 }");
    background->Load(Describe("plain"));
    EXPECT_TRUE(background->GetStatics().empty());
    EXPECT_TRUE(background->GetAnims().empty());
    EXPECT_EQ(manager->GetSprites().size(), 1u);
}

TEST_F(BackgroundTest, DecorationsAndAnimationsFollowTheBackdropToAnotherManager) {
    std::shared_ptr<VBackground> background = Backdrop();
    EXPECT_EQ(manager->GetSprites().size(), 5u);
    for (const char* name : {"lamp", "bare", "mixer_sign", "steam"}) {
        ASSERT_NE(manager->FindSprite(name), nullptr) << name;
        EXPECT_EQ(manager->FindSprite(name)->GetManager(), manager) << name;
    }

    std::shared_ptr<VSpriteManager> other = VSpriteManager::Create();
    manager->RemoveSprite(background);
    other->AddSprite(background);
    EXPECT_TRUE(manager->GetSprites().empty());
    EXPECT_EQ(other->GetSprites().size(), 5u);
    EXPECT_EQ(other->FindSprite("steam")->GetManager(), other);

    // Loading again takes the old objects out of the manager that holds them.
    std::shared_ptr<VObject> oldLamp = background->GetStatics().at("Lamp");
    background->Load(Describe("backdrop"));
    EXPECT_EQ(oldLamp->GetManager(), nullptr);
    EXPECT_EQ(other->GetSprites().size(), 5u);
    EXPECT_EQ(other->FindSprite("lamp"), background->GetStatics().at("Lamp"));
}

}  // namespace
