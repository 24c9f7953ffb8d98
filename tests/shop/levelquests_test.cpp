// The level screen's quests: the level set-up activates the quests of the
// level and shows them in the screen's quest window, and a catalogue read
// afresh keeps the upgrades that completed quests revealed.
#include <gtest/gtest.h>

#include <string>

#include "game/level/upgrade.h"
#include "game/level/upgrademanager.h"
#include "game/progression/questmanager.h"
#include "game/progression/questwindow.h"
#include "tests/shop/leveltesting.h"

namespace {

class LevelQuestsTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        WriteAsset("locations/quests.lua", R"(quests = {
            served = { minlevel = 1, maxlevel = 1, compvalue = "served_this_level", compare = ">=", threshold = 3 },
            secret = { minlevel = 1, maxlevel = 2, compare = "not", rewardtype = "reveal",
                       rewardcategory = "aesthetic", reward = "kSecret" },
        })");
        WriteAsset("locations/grytviken/upgrades.xml",
                   "<upgrades><upgradetype type=\"aesthetic\"><upgrade name=\"kSecret\" hidden=\"true\"/>"
                   "</upgradetype></upgrades>");
    }
    void TearDown() override {
        ReleaseManagerSingleton<VQuestManager>();
        LevelTest::TearDown();
    }

    // The screen's quest window with its two texts.
    VQuestWindow* AddQuestWindow() {
        auto* window = new VQuestWindow();
        window->SetName("quest_window");
        window->SetSize(300, 100);
        screen->AddChild(window, false);
        for (const char* name : {"txt_quest_names", "txt_quest_status"}) {
            auto* text = new TText();
            window->AddChild(text, false);
            text->SetSize(150, 100);
            text->Init(TWindowStyle(nullptr));
            text->SetName(name);
        }
        return window;
    }

    bool IsSecretHidden() {
        std::shared_ptr<VUpgrade> secret = VUpgradeManager::Get()->GetUpgrade("kSecret", "aesthetic");
        return !secret || secret->IsHidden();
    }
};

TEST_F(LevelQuestsTest, TheLevelShowsItsQuestsInTheQuestWindow) {
    VQuestWindow* window = AddQuestWindow();
    EXPECT_EQ(screen->GetQuestWindow(), window);
    screen->LevelSetup();
    EXPECT_TRUE(window->IsShown());
    std::string status = CastToTText(window->FindChildWindow("txt_quest_status", 1))->GetText().c_str();
    EXPECT_NE(status.find("0/3"), std::string::npos) << status;
}

TEST_F(LevelQuestsTest, AnUpgradeAQuestRevealedStaysRevealedInTheNextLevel) {
    screen->LevelSetup();
    EXPECT_TRUE(IsSecretHidden());
    VQuestManager::Get()->FinishLevel();
    EXPECT_FALSE(IsSecretHidden());
    screen->LevelSetup();
    EXPECT_FALSE(IsSecretHidden());
}

}  // namespace
