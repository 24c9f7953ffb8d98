// The first level of the story as a player meets it from the main menu and
// the world map's first globe: the level screen opens with its HUD counting
// down, customers come to the counters, a click on a customer's counter
// walks the player there and the customer shows its order, and customers
// left waiting go away angry. The debug console opened with Ctrl+C ends the
// level with a cheat; the end dialog shows the result and the worth on its
// register, and its buttons go back to the world map for the next level or
// to the main menu.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/app/gamestate.h"
#include "game/floor/background.h"
#include "game/floor/customer.h"
#include "game/floor/player.h"
#include "game/level/level.h"
#include "game/level/levelmanager.h"
#include "game/machines/station.h"
#include "game/objects/spritebutton.h"
#include "game/progression/achievementmanager.h"
#include "game/progression/plotitem.h"
#include "game/progression/plotmanager.h"
#include "game/progression/pushpin.h"
#include "game/progression/worldmap.h"
#include "game/shell/block.h"
#include "game/shell/game.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "game/shop/register.h"
#include "game/progression/tutorial.h"
#include "game/progression/tutorialmanager.h"
#include "game/progression/tutorialspider.h"
#include "game/shop/shophud.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/spritemanager.h"
#include "game/sprites/tinteffect.h"
#include "game/texts/timer.h"
#include "tests/startup/gamescreentesting.h"

namespace {

const char* const kLocations[] = {"grytviken", "namche", "krakatoa", "kamchatka", "iquitos", "gaberoun"};

class PlayLevelTest : public GameScreenTest {
protected:
    void SetUp() override {
        GameScreenTest::SetUp();
        for (const char* folder : {"scripts/shop", "shop", "zones", "levels", "locations", "audio", "anim", "ui"}) {
            AddAssetTree(folder);
        }
        for (const char* name : {"assets.xml", "values.xml"}) AddFile(name, ReadAsset(name));
        // The level script reads the floor's descriptions through the working folder.
        for (const char* name : {"scripts/shop/posse.lua", "scripts/shop/floor.lua", "scripts/shop/chocolates.lua",
                                 "locations/plotparts.lua", "scripts/shop/tutorials.lua"}) {
            AddFile(std::string("assets/") + name, ReadAsset(name));
        }
        for (const char* location : kLocations) {
            for (std::string name : {std::string("scripts/shop/") + location + ".lua",
                                     std::string("locations/") + location + "/plot.lua"}) {
                AddFile("assets/" + name, ReadAsset(name));
            }
        }
    }

    // The level screen once Play has opened it. Unless the test says
    // otherwise, the player has been told the opening episode and has had
    // the tips, so the first customer starts no tutorial.
    ShopWindow* PlayFromTheMenu(bool told = true, bool tips = false) {
        if (told) Prefs().SetData(0, "plot_grytviken", "\1", 1, true);
        // The player is in the window: entering the level asks no pause.
        static_cast<window::ScriptedWindow&>(mPlatform->GetData().GetWindow()).focused = true;
        GameMainSetUp(mPlatform.get(), mSession);
        EXPECT_TRUE(RunUntilShown("play"));
        Click(FindInTop("play"));
        PressGlobe(1);
        // The opening episode may stand over the level screen.
        RunUntilShown("shop");
        if (!tips) VTutorialManager::Get()->SetTutorialsShown(false, false);
        for (TModalWindow* modal : TWindowManager::GetInstance()->GetModalStack()) {
            if (auto* shop = dynamic_cast<ShopWindow*>(modal->FindChildWindow("shop", -1))) return shop;
        }
        ADD_FAILURE() << "no level screen";
        return nullptr;
    }

    // On the world map, once the location's pin has opened, the level's
    // globe is clicked (the tests draw no images, so the pointer cannot
    // find it).
    void PressGlobe(int level) {
        ASSERT_TRUE(RunUntilShown("world_map"));
        RunFor(1200);
        auto* map = dynamic_cast<VWorldMap*>(FindInTop("world_map"));
        ASSERT_NE(map, nullptr);
        std::shared_ptr<VSprite> globe = map->FindSprite(TString::Format("level_btn_%.2i", level));
        ASSERT_NE(globe, nullptr);
        ASSERT_TRUE(globe->IsVisible() && globe->IsMouseEnabled());
        globe->SendEvent(VSprite::kEventClick, TPoint(0, 0), globe->GetDrawState(), -1);
    }

    // Ctrl+C on the level screen.
    void OpenConsole() {
        TPlatformEvent ctrlC;
        ctrlC.type = TPlatformEvent::kKeyDown;
        ctrlC.param = 'C';
        ctrlC.extra = 2;
        HandleGameEvent(mPlatform.get(), ctrlC);
        RunFor(100);
        ASSERT_NE(FindInTop("console_window"), nullptr);
    }

    void Cheat(const char* line) {
        Type(line);
        Press(13);
        RunFor(100);
    }

    static size_t LevelScreens() {
        const std::list<TModalWindow*>& modals = TWindowManager::GetInstance()->GetModalStack();
        return std::count_if(modals.begin(), modals.end(),
                             [](TModalWindow* modal) { return modal->GetName() == TString("scripts/loading.lua"); });
    }

    static int Stat(const char* key) { return StateValueToInt(TGameState::Get()->GetState(key).c_str()); }
};

TEST_F(PlayLevelTest, PlayOpensTheFirstLevelWhoseClockRunsDownOnceItsHoldIsOver) {
    ShopWindow* shop = PlayFromTheMenu();
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(ShopWindow::GetCurrent(), shop);
    EXPECT_TRUE(VGame::Get()->IsGameLoaded());
    EXPECT_TRUE(VGame::Get()->AreInsideGame());
    ASSERT_NE(shop->GetLevel(), nullptr);
    EXPECT_EQ(shop->GetLevel()->GetNumber(), 1);
    EXPECT_FALSE(shop->IsEndlessMode());
    RTimer* timer = shop->GetLevelTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_STREQ(timer->GetText().c_str(), "2:00");
    EXPECT_EQ(TextOf("goal_score"), "$300");
    EXPECT_EQ(TextOf("level_name"), "Level  1");
    EXPECT_FALSE(FindInTop("extension")->IsVisible());

    RunFor(3000);
    EXPECT_FALSE(shop->IsStartPending()) << mLog.Text();
    EXPECT_FALSE(shop->GetSpriteManager()->IsPaused());
    EXPECT_TRUE(timer->IsRunning());
    EXPECT_GT(timer->GetElapsedTime(), 0);
    EXPECT_LT(timer->GetElapsedTime(), 3000);
    EXPECT_EQ(TextOf("game_timer"), "1:58");
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(PlayLevelTest, TheFirstCustomerStartsTheIntroductionWhichHoldsTheLevel) {
    ShopWindow* shop = PlayFromTheMenu(true, true);
    ASSERT_NE(shop, nullptr);
    RunFor(3000);
    std::shared_ptr<VTutorialManager> tutorials = VTutorialManager::Get();
    ASSERT_NE(tutorials->GetActiveTutorial(), nullptr);
    EXPECT_STREQ(tutorials->GetActiveTutorial()->GetName().c_str(), "tutorial_intro");
    EXPECT_TRUE(tutorials->IsInputAllowed());
    EXPECT_TRUE(shop->GetSpriteManager()->IsPaused());
    EXPECT_NE(FindInTop("tutorial_window"), nullptr);
    // The customer and its counter stand out of the dimmed floor.
    std::shared_ptr<VTintEffect> dim = tutorials->GetActiveTutorial()->GetHighlighter()->GetDimEffect();
    ASSERT_NE(dim, nullptr);
    EXPECT_FALSE(shop->FindStation("station01")->GetCustomer()->HasEffect(dim));
    EXPECT_FALSE(shop->FindStation("station01")->HasEffect(dim));
    EXPECT_TRUE(shop->FindStation("station02")->HasEffect(dim));
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(PlayLevelTest, CustomersArriveAnOrderIsTakenAtStationOneAndTheWaitingLeaveAngry) {
    ShopWindow* shop = PlayFromTheMenu();
    ASSERT_NE(shop, nullptr);
    RunFor(3000);
    // Level 1's first customer comes at once to its own counter.
    std::shared_ptr<VStation> first = shop->FindStation("station01");
    ASSERT_NE(first, nullptr);
    std::shared_ptr<VCustomer> customer = first->GetCustomer();
    ASSERT_NE(customer, nullptr);
    EXPECT_EQ(Stat("TotalCustomers"), 1);
    EXPECT_TRUE(customer->IsVisible());

    // A click on the counter walks the player there. (Sprites are hit where
    // they are drawn, which the recording display does not show; the click
    // is handed to the counter.)
    first->OnClick();
    // The walk, then the customer's look at the menu.
    RunFor(7000);
    std::shared_ptr<VPlayer> player = shop->GetPlayer();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(shop->FindStationAtPoint(player->GetCurrentPoint()), first);
    EXPECT_TRUE(customer->HasOutstandingOrder());
    EXPECT_EQ(customer->GetState(), VCustomer::kWaiting);

    // Three minutes on, no one was served: customers came, and those whose
    // patience ran out have left angry, the first of them.
    RunFor(180000);
    EXPECT_GE(Stat("TotalCustomers"), 3);
    EXPECT_GE(Stat("TotalCustomersLost"), 2);
    EXPECT_EQ(customer->GetState(), VCustomer::kDone);
    EXPECT_EQ(first->GetCustomer(), nullptr);
    EXPECT_EQ(std::count(shop->GetActiveCustomers().begin(), shop->GetActiveCustomers().end(), customer), 0);
    EXPECT_EQ(shop->FindSprite(customer->GetName()), nullptr);
    EXPECT_TRUE(shop->IsLevelClosing());
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

// A new player is told the opening episode before the first level: three
// pages, the last with two answers; then the plot closes and the clock runs.
// The episode is recorded and not opened again.
TEST_F(PlayLevelTest, TheOpeningEpisodeIsToldOnceBeforeTheFirstLevel) {
    ShopWindow* shop = PlayFromTheMenu(false);
    ASSERT_NE(shop, nullptr);
    ASSERT_TRUE(RunUntilShown("plot_window"));
    std::shared_ptr<VPlotManager> plots = VPlotManager::Get();
    // The recording display cannot hit sprites: the answers go to the
    // manager as the page buttons' listener sends them.
    for (const char* answer : {"onward", "onward", "gladly"}) {
        SCOPED_TRACE(answer);
        RunFor(1200);
        ASSERT_TRUE(FindInTop("plot_window"));
        EXPECT_FALSE(shop->GetLevelTimer()->IsRunning());
        plots->Respond("story_01_arrival", answer);
    }
    EXPECT_TRUE(plots->FindItem("story_01_arrival")->IsDone());
    EXPECT_EQ(plots->FindItem("story_01_arrival")->GetValue(), 2);
    ASSERT_TRUE(RunUntilGone("plot_window"));
    RunFor(3000);
    EXPECT_TRUE(shop->GetLevelTimer()->IsRunning());
    EXPECT_EQ(GetPlayerBinaryBlock("plot_grytviken")->ReadByte(0), 1);

    const size_t modals = TWindowManager::GetInstance()->GetModalStack().size();
    plots->ShowPlotWindow();
    EXPECT_EQ(TWindowManager::GetInstance()->GetModalStack().size(), modals);
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(PlayLevelTest, ACheatTypedIntoTheConsoleEndsTheLevelAndNextGoesBackToTheMapForTheNext) {
    ShopWindow* shop = PlayFromTheMenu();
    ASSERT_NE(shop, nullptr);
    RunFor(1500);
    OpenConsole();
    Cheat("cheat 2");
    ASSERT_TRUE(RunUntilShown("endlevel"));
    EXPECT_TRUE(shop->HasLevelEnded());
    EXPECT_EQ(TextOf("result"), "Level mastered!");
    EXPECT_EQ(TextOf("subtitle"), "Level 1");
    for (const char* button : {"next", "replay", "menu"}) EXPECT_NE(FindInTop(button), nullptr) << button;
    // The worth rolls up to the banked mastery score.
    RunFor(600);
    auto* register_ = dynamic_cast<VRegister*>(FindInTop("register"));
    ASSERT_NE(register_, nullptr);
    EXPECT_EQ(register_->GetShownAmount(), VLevelManager::Get()->GetMasteryScore(1));
    EXPECT_EQ(register_->GetDigits()[0]->GetCurrent(), register_->GetShownAmount() % 10);

    // Next goes back to the map, where the first level is mastered and the
    // second is the one to play.
    Click(FindInTop("next"));
    ASSERT_TRUE(RunUntilShown("world_map"));
    RunFor(1200);
    auto* map = dynamic_cast<VWorldMap*>(FindInTop("world_map"));
    ASSERT_NE(map, nullptr);
    std::shared_ptr<VPushPin> pin = map->FindCurrentPin();
    ASSERT_NE(pin, nullptr);
    EXPECT_STREQ(pin->GetGlobe(1)->GetCurrentAsset()->GetName().c_str(), "mastered");
    EXPECT_EQ(pin->GetCurrentGlobe(), pin->GetGlobe(2));
    PressGlobe(2);
    ASSERT_TRUE(RunUntilShown("shop"));
    shop = dynamic_cast<ShopWindow*>(FindInTop("shop"));
    ASSERT_NE(shop, nullptr);
    ASSERT_NE(shop->GetLevel(), nullptr);
    EXPECT_EQ(shop->GetLevel()->GetNumber(), 2);
    EXPECT_FALSE(shop->HasLevelEnded());
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

// The console's jump plays the level on the screen it was typed on, so the
// jumped-to level's Next goes back to the map like any other.
TEST_F(PlayLevelTest, TheConsolesJumpReplacesTheLevelAndItsNextGoesBackToTheMap) {
    ShopWindow* shop = PlayFromTheMenu();
    ASSERT_NE(shop, nullptr);
    RunFor(1500);
    OpenConsole();
    Cheat("cheat 5 9");
    Cheat("cheat 4 10");
    for (int i = 0; i < 100 && !FindInTop("prelevel"); ++i) RunFor(20);
    if (FindInTop("prelevel")) Click(FindInTop("done"));
    RunFor(500);
    EXPECT_EQ(LevelScreens(), 1u);
    ASSERT_EQ(ShopWindow::GetCurrent(), shop);
    ASSERT_NE(shop->GetLevel(), nullptr);
    EXPECT_EQ(shop->GetLevel()->GetNumber(), 10);

    ASSERT_EQ(Run("DoCheatGame(2, '')"), "");
    ASSERT_TRUE(RunUntilShown("endlevel"));
    Click(FindInTop("next"));
    ASSERT_TRUE(RunUntilShown("world_map"));
    EXPECT_EQ(LevelScreens(), 0u);
    EXPECT_EQ(VLevelManager::Get()->GetHighestComplete(), 10);
    EXPECT_EQ(VLevelManager::Get()->GetCurrentLevel(), 11);
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(PlayLevelTest, MenuGoesBackToTheMainMenuAfterAFailedLevel) {
    ShopWindow* shop = PlayFromTheMenu();
    ASSERT_NE(shop, nullptr);
    RunFor(1500);
    ASSERT_EQ(Run("DoCheatGame(0, '')"), "");
    ASSERT_TRUE(RunUntilShown("endlevel"));
    EXPECT_EQ(TextOf("result"), "Not enough takings today");
    Click(FindInTop("menu"));
    EXPECT_TRUE(RunUntilShown("play"));
    EXPECT_EQ(FindInTop("shop"), nullptr);
    EXPECT_EQ(VLevelManager::Get()->GetCurrentLevel(), 1);
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

// The level's end awards what its values earned, and the end dialog shows
// the notification over itself.
TEST_F(PlayLevelTest, AnAchievementEarnedInTheLevelSlidesInOverTheEndDialog) {
    AddFile("achievements.xml", ReadAsset("achievements.xml"));
    AddFile("scripts/rewardnotify.lua", ReadAsset("scripts/rewardnotify.lua"));
    ShopWindow* shop = PlayFromTheMenu();
    ASSERT_NE(shop, nullptr);
    VAchievementManager::Get()->Load("achievements.xml");
    RunFor(1500);
    VValueManager::Get()->SetValue("num_served", 1, false);
    ASSERT_EQ(Run("DoCheatGame(1, '')"), "");
    ASSERT_TRUE(RunUntilShown("endlevel"));
    EXPECT_TRUE(RunUntilShown("reward_notify"));
    EXPECT_TRUE(VAchievementManager::Get()->IsEarned("first_sale", "adventure"));
    EXPECT_EQ(VAchievementManager::Get()->GetOpenNotifications().size(), 1u);
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(PlayLevelTest, TheLevelScreenHoldsEveryLocationAndSetsUpTheLevelsOwnWithItsBackdrop) {
    ShopWindow* shop = PlayFromTheMenu();
    ASSERT_NE(shop, nullptr);
    for (const char* location : kLocations) {
        std::shared_ptr<VLuaStyle> table = shop->GetLocation(location);
        ASSERT_NE(table, nullptr) << location;
        EXPECT_STREQ(table->GetString("music_01", "").c_str(), (std::string("audio/music/") + location + ".ogg").c_str());
    }
    std::shared_ptr<TTexture> firstWall = shop->GetBackground()->GetTexture();
    ASSERT_NE(firstWall, nullptr);

    AddFile("levels/level11.xml", "<level><location>namche</location><minutes>2</minutes></level>");
    VLevelManager::Get()->SetCurrentLevel(11);
    shop->LevelSetup();
    ASSERT_NE(shop->GetBackground(), nullptr);
    ASSERT_NE(shop->GetBackground()->GetTexture(), nullptr);
    EXPECT_NE(shop->GetBackground()->GetTexture(), firstWall);
    EXPECT_NE(shop->FindStationByNumber(1), nullptr);
    EXPECT_NE(shop->GetPlayer(), nullptr);
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

TEST_F(PlayLevelTest, TheHighestScoresOfAnyLevelStayOnOneLineOnTheirSign) {
    ShopWindow* shop = PlayFromTheMenu();
    ASSERT_NE(shop, nullptr);
    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    int highest = 1;
    for (int level = 2; level <= VLevelManager::kLevelCount; ++level) {
        if (levels->GetMasteryScore(level) > levels->GetMasteryScore(highest)) highest = level;
    }
    AddFile(TString::Format("levels/level%02d.xml", highest).c_str(), "<level><location>gaberoun</location></level>");
    levels->SetCurrentLevel(highest);
    shop->LevelSetup();
    EXPECT_EQ(TextOf("mastery_score"), "$" + std::to_string(levels->GetMasteryScore(highest)));
    std::vector<TRect> shown;
    for (const char* name : {"goal_label", "goal_score", "mastery_label", "mastery_score"}) {
        TText* text = CastToTText(FindInTop(name));
        ASSERT_NE(text, nullptr) << name;
        ASSERT_NE(text->GetLayout(), nullptr) << name;
        EXPECT_EQ(text->GetLayout()->GetLines().size(), 1u) << name;
        TRect letters = LettersOf(text);
        EXPECT_TRUE(Inside(FindInTop("score_board")->GetGlobalRect(), letters)) << name;
        for (const TRect& other : shown) EXPECT_FALSE(Overlap(letters, other)) << name;
        shown.push_back(letters);
    }
}

// Endless mode starts from a pin of the map; its signs count the angry
// customers and name no goal, which it does not have.
TEST_F(PlayLevelTest, AnEndlessLevelFromItsPinShowsTheAngryCountAndNoGoal) {
    static_cast<window::ScriptedWindow&>(mPlatform->GetData().GetWindow()).focused = true;
    GameMainSetUp(mPlatform.get(), mSession);
    ASSERT_TRUE(RunUntilShown("endless"));
    Click(FindInTop("endless"));
    ASSERT_TRUE(RunUntilShown("easy"));
    Click(FindInTop("easy"));
    ASSERT_TRUE(RunUntilShown("world_map"));
    auto* map = dynamic_cast<VWorldMap*>(FindInTop("world_map"));
    ASSERT_NE(map, nullptr);
    ASSERT_FALSE(map->GetPins().empty());
    std::shared_ptr<VPushPin> pin = map->GetPins().begin()->second;
    pin->SendEvent(VSprite::kEventClick, TPoint(0, 0), pin->GetDrawState(), -1);
    ASSERT_TRUE(RunUntilShown("shop"));
    auto* shop = dynamic_cast<ShopWindow*>(FindInTop("shop"));
    ASSERT_NE(shop, nullptr);
    EXPECT_TRUE(shop->IsEndlessMode());
    EXPECT_EQ(TextOf("anger_score"), "0/3");
    for (const char* name : {"goal_label", "goal_score", "mastery_label", "mastery_score"}) {
        EXPECT_EQ(TextOf(name), "") << name;
    }
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

// Escape on the floor pauses the level (its character, which follows the
// key, does not close the pause at once); Escape or Enter resumes.
TEST_F(PlayLevelTest, EscapePausesTheLevelAndEscapeOrEnterResumesIt) {
    ShopWindow* shop = PlayFromTheMenu();
    ASSERT_NE(shop, nullptr);
    RunFor(500);
    // The character comes as a byte, or as a code point in the UTF-8 mode.
    const struct {
        int resumeKey;
        int32_t charType;
    } cases[] = {{27, TPlatformEvent::kChar}, {13, TPlatformEvent::kChar}, {27, TPlatformEvent::kWideChar}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.resumeKey) + " as " + std::to_string(c.charType));
        Send(TPlatformEvent::kKeyDown, 27);
        Send(c.charType, 27);
        ASSERT_TRUE(RunUntilShown("pause"));
        RunFor(200);
        EXPECT_NE(FindInTop("pause"), nullptr);
        EXPECT_FALSE(VGame::Get()->AreInsideGame());
        Send(TPlatformEvent::kKeyDown, c.resumeKey);
        Send(c.charType, c.resumeKey);
        EXPECT_TRUE(RunUntilGone("pause"));
        RunFor(500);
        EXPECT_EQ(FindInTop("pause"), nullptr);
        EXPECT_NE(FindInTop("shop"), nullptr);
        EXPECT_TRUE(VGame::Get()->AreInsideGame());
    }
    EXPECT_FALSE(mLog.Contains("Lua error")) << mLog.Text();
}

}  // namespace
