#include "game/progression/worldmap.h"

#include <gtest/gtest.h>

#include <string>

#include "core/app/gamestate.h"
#include "core/app/message.h"
#include "game/progression/gloweffect.h"
#include "game/sprites/alphaeffect.h"
#include "tests/progression/worldmaptesting.h"

namespace {

class WorldMapTest : public WorldMapFixture {
protected:
    int DotsOn(VWorldMap* map) {
        int dots = 0;
        for (const auto& sprite : map->GetSpriteManager()->GetSprites()) {
            auto object = std::dynamic_pointer_cast<VObject>(sprite);
            if (object && object->GetCurrentAsset() && object->GetCurrentAsset()->GetName() == "dot") ++dots;
        }
        return dots;
    }
};

TEST_F(WorldMapTest, PinsPathsAndTheDotComeFromTheDescription) {
    VWorldMap* map = OpenTwo();
    ASSERT_NE(map, nullptr);
    std::string keys;
    for (const auto& [key, pin] : map->GetPins()) keys += std::string(key.c_str()) + " ";
    EXPECT_EQ(keys, "pin1_grytviken pin2_namche ");
    EXPECT_EQ(map->GetSpriteManager()->GetSprites().size(), 2u);
    const auto& path = map->GetPaths().at("to_namche");
    ASSERT_EQ(path.size(), 3u);
    EXPECT_EQ(path[0].position, TVec2(1, 2));
    EXPECT_STREQ(path[0].state.c_str(), "far");
    EXPECT_STREQ(path[1].state.c_str(), "default");
    ASSERT_NE(map->GetDotTemplate(), nullptr);
    EXPECT_TRUE(map->GetDotTemplate()->HasAsset("dot"));
    EXPECT_EQ(windows()->GetFocus(), map);
}

TEST_F(WorldMapTest, EntriesOfTheWrongKindAreSkippedAndTheMapStillOpens) {
    VWorldMap* map = Open("pins = { a = Pin(1, 0), b = 'no table', c = 4 },"
                          " paths = { p = { { y = 7 }, 'no point', { x = 2, state = 'near' } }, q = 'no path' },"
                          " dot = 'no table'");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->GetPins().size(), 1u);
    EXPECT_EQ(map->GetPaths().size(), 1u);
    const auto& path = map->GetPaths().at("p");
    ASSERT_EQ(path.size(), 2u);
    EXPECT_EQ(path[0].position, TVec2(0, 7));
    EXPECT_EQ(path[1].position, TVec2(2, 0));
    EXPECT_STREQ(path[1].state.c_str(), "near");
    // A map without anything still takes its presses.
    VWorldMap* bare = Open("");
    ASSERT_NE(bare, nullptr);
    EXPECT_TRUE(bare->GetPins().empty());
}

TEST_F(WorldMapTest, TheCurrentPinHoldsTheNextLevelOrLiesAhead) {
    VWorldMap* map = OpenTwo();
    struct Case {
        int highest;
        const char* pin;
    } cases[] = {{0, "pin1_grytviken"}, {9, "pin1_grytviken"}, {10, "pin2_namche"}, {19, "pin2_namche"}, {20, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.highest);
        Progress(c.highest);
        std::shared_ptr<VPushPin> pin = map->FindCurrentPin();
        EXPECT_EQ(pin ? pin.get() : nullptr, *c.pin ? PinOf(map, c.pin).get() : nullptr);
    }
}

TEST_F(WorldMapTest, ResetMapOpensTheCurrentLocationAndFollowsProgress) {
    VWorldMap* map = OpenTwo();
    Progress(12);
    ASSERT_EQ(Run("ResetMap()"), "");
    std::shared_ptr<VPushPin> namche = PinOf(map, "pin2_namche");
    EXPECT_TRUE(namche->IsOpen());
    EXPECT_FALSE(PinOf(map, "pin1_grytviken")->IsOpen());
    EXPECT_EQ(namche->GetCurrentGlobe(), namche->GetGlobe(13));
    RunFor(800);
    EXPECT_EQ(namche->GetPinState(), VPushPin::kOpen);
    EXPECT_TRUE(namche->GetGlobe(13)->IsVisible());
}

TEST_F(WorldMapTest, OnlyAGlobeOfAStoryLevelStartsItAndEveryPressIsTaken) {
    VWorldMap* map = OpenTwo();
    Levels()->SetCurrentLevel(3);
    struct Case {
        const char* name;
        int level;
    } cases[] = {
        {"level_btn_", 3}, {"level_btn_x", 3},  {"level_btn_61", 3}, {"level_btn_99", 3}, {"level_btn_00", 3},
        {"level_btn_1x", 3}, {"btn_options", 3}, {"", 3},             {"level_btn_07", 7}, {"level_btn_60", 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int before = QueuedCommands();
        TMessage press(TMessage::kButtonPress, c.name, nullptr);
        EXPECT_TRUE(map->OnMessage(&press));
        EXPECT_EQ(Levels()->GetCurrentLevel(), c.level);
        EXPECT_EQ(QueuedCommands(), before + (c.level == 3 ? 0 : 1));
        Levels()->SetCurrentLevel(3);
    }
    ASSERT_EQ(Run("CloseWorldMap = function() closed = true end; gCommandQueue[1]()"), "");
    EXPECT_EQ(Eval("closed"), "true");
    TMessage other(TMessage::kGeneric, "level_btn_05", nullptr);
    EXPECT_FALSE(map->OnMessage(&other));
}

TEST_F(WorldMapTest, CheatsAddMoneyJumpAndSetProgress) {
    VWorldMap* map = OpenTwo();
    Progress(12);
    Levels()->SetLocationScore(11, 100);
    struct Case {
        int cheat;
        int argument;
        const char* answer;
        int locationScore;
        int highest;
        int queued;
    } cases[] = {
        {0, 5, "", 100, 12, 0},
        {2, 5, "", 100, 12, 0},
        {3, 50, "No location selected", 100, 12, 0},
        {3, 0, "No money added", 100, 12, 0},
        {4, 0, "Invalid Level", 100, 12, 0},
        {4, 61, "Invalid Level", 100, 12, 0},
        {5, 0, "Invalid Level", 100, 12, 0},
        {5, 61, "Invalid Level", 100, 12, 0},
        {6, 1, "Invalid Cheat", 100, 12, 0},
        {-1, 1, "Invalid Cheat", 100, 12, 0},
        {4, 60, "", 100, 12, 1},
        {5, 15, "Set highest level complete to 15", 100, 15, 0},
        {3, 50, "Added 50 to location 2 and lifetime total", 150, 15, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cheat << " " << c.argument);
        int before = QueuedCommands();
        EXPECT_STREQ(map->DoCheatMap(c.cheat, c.argument).c_str(), c.answer);
        EXPECT_EQ(Levels()->GetLocationScore(11), c.locationScore);
        EXPECT_EQ(Levels()->GetHighestComplete(), c.highest);
        EXPECT_EQ(QueuedCommands(), before + c.queued);
    }
    EXPECT_EQ(Levels()->GetCurrentLevel(), 60);
    EXPECT_EQ(Values()->GetInt("total_worth", 0), 50);
    // Setting the highest level reset the map: namche is open, level 16 next.
    EXPECT_EQ(PinOf(map, "pin2_namche")->GetCurrentGlobe(), PinOf(map, "pin2_namche")->GetGlobe(16));
    EXPECT_EQ(Levels()->GetLevelStatus(16), 0);
    EXPECT_EQ(Levels()->GetLevelStatus(15), 1);
}

TEST_F(WorldMapTest, APathLocksInputWhileItsDotsAppearThenShowsTheNewPin) {
    Progress(10);
    Levels()->SetCurrentLevel(11);
    Values()->SetValue("do_map_transition", 1, false);
    VWorldMap* map = OpenTwo();
    std::shared_ptr<VSpriteManager> manager = map->GetSpriteManager();
    std::shared_ptr<VPushPin> grytviken = PinOf(map, "pin1_grytviken");
    std::shared_ptr<VPushPin> namche = PinOf(map, "pin2_namche");
    ASSERT_FALSE(namche->IsVisible());
    ASSERT_TRUE(manager->Accepts(grytviken));
    RunFor(16);

    ASSERT_EQ(Run("PlayTransition('to_namche')"), "");
    EXPECT_STREQ(map->GetCurrentPath().c_str(), "to_namche");
    EXPECT_FALSE(manager->Accepts(grytviken));
    RunFor(16);
    EXPECT_EQ(DotsOn(map), 1);
    RunFor(150);
    EXPECT_EQ(DotsOn(map), 2);
    EXPECT_FALSE(manager->Accepts(grytviken));
    EXPECT_FALSE(namche->IsVisible());
    RunFor(400);
    EXPECT_EQ(DotsOn(map), 3);
    EXPECT_TRUE(map->GetCurrentPath().Length() == 0);
    EXPECT_TRUE(namche->IsVisible());
    EXPECT_EQ(namche->CountEffectsOf<VGlowEffect>(), 1);
    EXPECT_TRUE(manager->Accepts(grytviken));
    EXPECT_FALSE(manager->IsInputRestricted());
}

TEST_F(WorldMapTest, AnIntervalOfZeroStillMarksEveryDotAndUnlocks) {
    Values()->SetValue("map_dot_interval", 0, false);
    Progress(10);
    VWorldMap* map = OpenTwo();
    map->PlayTransition("to_namche");
    RunFor(100);
    EXPECT_EQ(DotsOn(map), 3);
    EXPECT_TRUE(map->GetCurrentPath().Length() == 0);
    EXPECT_FALSE(map->GetSpriteManager()->IsInputRestricted());
}

TEST_F(WorldMapTest, AnUnknownPathPlaysNothingAndLocksNothing) {
    VWorldMap* map = OpenTwo();
    map->PlayTransition("nowhere");
    RunFor(200);
    EXPECT_EQ(DotsOn(map), 0);
    EXPECT_FALSE(map->GetSpriteManager()->IsInputRestricted());
}

TEST_F(WorldMapTest, InEndlessModeTheOptionsButtonMovesToTheMiddle) {
    AddFile("options.lua", "MakeDialog { Button { name = 'btn_options', x = 600, y = 540, w = 100, h = 40 } }");
    windows()->RunWindowScript(dialog, "options.lua");
    TWindow* options = dialog->FindChildWindow("btn_options", -1);
    ASSERT_NE(options, nullptr);
    OpenTwo();
    EXPECT_EQ(options->GetRect().left, 600);
    VGame::Get()->SetCurrentGameMode(1);
    OpenTwo();
    EXPECT_EQ(options->GetRect().left, 341);
    EXPECT_EQ(options->GetRect().top, 540);
}

TEST_F(WorldMapTest, ClosingTheMapWithdrawsItsFunctionsAndZeroesItsScreenTime) {
    VWorldMap* map = OpenTwo();
    TGameState::Get()->SetStateInt("MetaMapScreenTime", 5);
    EXPECT_EQ(Eval("type(DoCheatMap)"), "function");
    EXPECT_EQ(Eval("DoCheatMap(7, 0)"), "Invalid Cheat");
    dialog->RemoveChild(map);
    delete map;
    EXPECT_EQ(Eval("type(ResetMap)"), "nil");
    EXPECT_EQ(Eval("type(PlayTransition)"), "nil");
    EXPECT_STREQ(TGameState::Get()->GetState("MetaMapScreenTime").c_str(), "0");
}

}  // namespace
