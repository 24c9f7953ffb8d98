#include "game/progression/pushpin.h"

#include <gtest/gtest.h>

#include <string>

#include "game/objects/tiledobject.h"
#include "game/progression/gloweffect.h"
#include "game/sprites/alphaeffect.h"
#include "game/sprites/hoverglow.h"
#include "game/sprites/textsprite.h"
#include "tests/progression/worldmaptesting.h"

namespace {

class PushPinTest : public WorldMapFixture {};

TEST_F(PushPinTest, GlobesComeFromGlobeTablesNamedAndPlacedByTheirLevel) {
    VWorldMap* map = Open("pins = { pin = { baseLevel = 11, globes = { globe_4 = { id = 4, x = 167, y = 325 },"
                          " GLOBE_0 = { id = 0 }, globe_5 = 'no table', other = { id = 7 } } } }");
    ASSERT_NE(map, nullptr);
    std::shared_ptr<VPushPin> pin = PinOf(map, "pin");
    ASSERT_NE(pin, nullptr);
    std::string levels;
    for (const auto& [level, globe] : pin->GetGlobes()) levels += std::to_string(level) + " ";
    EXPECT_EQ(levels, "11 15 ");
    std::shared_ptr<VButton> globe = pin->GetGlobe(15);
    EXPECT_STREQ(globe->GetName().c_str(), "level_btn_15");
    EXPECT_EQ(globe->GetPosition(), TVec2(100, 200));
    ASSERT_NE(globe->GetLabel(), nullptr);
    EXPECT_STREQ(globe->GetLabel()->GetText().c_str(), "15");
    EXPECT_STREQ(pin->GetGlobe(11)->GetName().c_str(), "level_btn_11");
    EXPECT_EQ(globe->GetOwner(), pin);
}

TEST_F(PushPinTest, AtTheStartOnlyTheFirstLocationsPinsShowAndLevelOneIsTheOneToPlay) {
    VWorldMap* map = Open("pins = { a = Pin(0, 0), b = Pin(1, 100), c = Pin(11, 200), d = Pin(-1, 300) }");
    EXPECT_TRUE(PinOf(map, "a")->IsVisible());
    EXPECT_TRUE(PinOf(map, "b")->IsVisible());
    EXPECT_FALSE(PinOf(map, "c")->IsVisible());
    // Against an unsigned base the level before the first lies far ahead.
    EXPECT_FALSE(PinOf(map, "d")->IsVisible());

    std::shared_ptr<VPushPin> first = PinOf(map, "b");
    for (const auto& [level, globe] : first->GetGlobes()) {
        SCOPED_TRACE(level);
        EXPECT_EQ(LookOf(*globe), level == 1 ? "current" : "none");
        EXPECT_EQ(globe->IsDisabled(), level != 1);
        EXPECT_FALSE(globe->IsVisible());
    }
    EXPECT_EQ(first->GetCurrentGlobe(), first->GetGlobe(1));
    EXPECT_NE(first->GetHoverGlow(), nullptr);
}

TEST_F(PushPinTest, GlobesFollowEachLevelsResult) {
    Progress(13, {2, 12});
    VWorldMap* map = OpenTwo();
    std::shared_ptr<VPushPin> second = PinOf(map, "pin2_namche");
    struct Case {
        int level;
        const char* look;
        bool disabled;
        bool hoverable;
    } cases[] = {
        {11, "cleared", false, true},  {12, "mastered", false, true}, {13, "cleared", false, true},
        {14, "current", false, true},  {15, "none", true, false},     {20, "none", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        std::shared_ptr<VButton> globe = second->GetGlobe(c.level);
        EXPECT_EQ(LookOf(*globe), c.look);
        EXPECT_EQ(globe->IsDisabled(), c.disabled);
        EXPECT_EQ(globe->CountEffectsOf<VHoverGlow>(), c.hoverable ? 1 : 0);
    }
    EXPECT_EQ(second->GetCurrentGlobe(), second->GetGlobe(14));
    EXPECT_TRUE(second->IsVisible());
    // A level cleared again after a reset keeps one glow, not two.
    second->Reset();
    EXPECT_EQ(second->GetGlobe(11)->CountEffectsOf<VHoverGlow>(), 1);
    EXPECT_EQ(PinOf(map, "pin1_grytviken")->GetCurrentGlobe(), nullptr);
}

TEST_F(PushPinTest, ANewLocationsPinWaitsForThePathWhileTheTransitionIsDue) {
    Progress(10);
    Levels()->SetCurrentLevel(11);
    Values()->SetValue("do_map_transition", 1, false);
    VWorldMap* map = OpenTwo();
    EXPECT_FALSE(PinOf(map, "pin2_namche")->IsVisible());
    EXPECT_TRUE(PinOf(map, "pin1_grytviken")->IsVisible());

    Values()->SetValue("do_map_transition", 0, false);
    PinOf(map, "pin2_namche")->Reset();
    EXPECT_TRUE(PinOf(map, "pin2_namche")->IsVisible());
}

TEST_F(PushPinTest, OpeningOnePinClosesTheOtherAndTheArtMovesOutAndHome) {
    Progress(10);
    VWorldMap* map = OpenTwo();
    std::shared_ptr<VPushPin> first = PinOf(map, "pin1_grytviken");
    std::shared_ptr<VPushPin> second = PinOf(map, "pin2_namche");
    std::shared_ptr<VObject> head = first->GetChildObject("head");
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(first->GetHomePositions().at("head"), TVec2(5, 6));

    first->OnClick();
    EXPECT_TRUE(first->IsOpen());
    EXPECT_EQ(first->GetHoverGlow(), nullptr);
    RunFor(800);
    EXPECT_EQ(head->GetPosition(), TVec2(5, -34));

    second->OnClick();
    EXPECT_TRUE(second->IsOpen());
    EXPECT_FALSE(first->IsOpen());
    EXPECT_NE(first->GetHoverGlow(), nullptr);
    RunFor(400);
    EXPECT_EQ(head->GetPosition(), TVec2(5, 6));
    EXPECT_EQ(first->GetPinState(), VPushPin::kClosed);
}

TEST_F(PushPinTest, AClickWhileThePinMovesIsIgnored) {
    VWorldMap* map = OpenTwo();
    std::shared_ptr<VPushPin> pin = PinOf(map, "pin1_grytviken");
    pin->OnClick();
    Step(*pin, 0);
    Step(*pin, 0);
    ASSERT_EQ(pin->GetPinState(), VPushPin::kRevealing);
    pin->OnClick();
    EXPECT_TRUE(pin->IsOpen());
}

TEST_F(PushPinTest, GlobesAppearOneEvery25MsAndCleanOnesPulseTwoBehind) {
    Progress(4, {2});
    VWorldMap* map = OpenTwo();
    std::shared_ptr<VPushPin> pin = PinOf(map, "pin1_grytviken");
    pin->SetOpen(true);
    Step(*pin, 16);
    Step(*pin, 16);
    ASSERT_EQ(pin->GetPinState(), VPushPin::kRevealing);
    auto shown = [&] {
        int count = 0;
        for (const auto& [level, globe] : pin->GetGlobes()) count += globe->IsVisible() ? 1 : 0;
        return count;
    };
    Step(*pin, 24);
    EXPECT_EQ(shown(), 0);
    Step(*pin, 1);
    EXPECT_EQ(shown(), 1);
    EXPECT_EQ(pin->GetGlobe(1)->CountEffectsOf<VAlphaEffect>(), 1);
    EXPECT_FALSE(pin->GetGlobe(1)->IsMouseEnabled());
    Step(*pin, 25);
    EXPECT_EQ(shown(), 2);
    EXPECT_EQ(pin->GetGlobe(1)->CountEffectsOf<VGlowEffect>(), 0);
    // Revealing level 3 pulses level 1, two behind.
    Step(*pin, 25);
    EXPECT_EQ(shown(), 3);
    EXPECT_EQ(pin->GetGlobe(1)->CountEffectsOf<VGlowEffect>(), 1);
    for (int level = 4; level <= 11; ++level) Step(*pin, 25);
    EXPECT_EQ(shown(), 10);
    struct Case {
        int level;
        int glows;
    } cases[] = {{1, 1}, {2, 1}, {4, 1}, {5, 0}, {6, 0}, {10, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        EXPECT_EQ(pin->GetGlobe(c.level)->CountEffectsOf<VGlowEffect>(), c.glows);
    }
    ASSERT_EQ(pin->GetPinState(), VPushPin::kRevealing);
    Step(*pin, 25);
    EXPECT_EQ(pin->GetPinState(), VPushPin::kOpen);
    EXPECT_TRUE(pin->GetGlobe(10)->IsMouseEnabled());
    // The level to play glows on without end.
    EXPECT_EQ(pin->GetGlobe(5)->CountEffectsOf<VGlowEffect>(), 1);

    pin->SetOpen(false);
    Step(*pin, 16);
    EXPECT_EQ(shown(), 0);
    EXPECT_EQ(pin->GetGlobe(5)->CountEffectsOf<VGlowEffect>(), 0);
    EXPECT_EQ(pin->GetPinState(), VPushPin::kClosing);
    Step(*pin, 16);
    EXPECT_EQ(pin->GetPinState(), VPushPin::kClosed);
}

TEST_F(PushPinTest, HoveringAPlayedGlobeShowsItsScoresAndLeavingFadesThemLate) {
    Progress(3);
    Levels()->SetBestScore(3, 1234);
    VWorldMap* map = OpenTwo();
    std::shared_ptr<VPushPin> pin = PinOf(map, "pin1_grytviken");
    std::shared_ptr<VTiledObject> box = pin->GetBox();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->IsVisible());
    // Listeners take effect at the globes' next update.
    RunFor(16);

    std::shared_ptr<VButton> globe = pin->GetGlobe(3);
    globe->SendEvent(VSprite::kEventEnter, TPoint(0, 0), globe->GetDrawState(), -1);
    RunFor(16);
    EXPECT_TRUE(box->IsVisible());
    struct Case {
        const char* text;
        const char* shown;
    } cases[] = {{"level", "Level  3"}, {"best", "$1234"}, {"goal", "$900"}, {"mastery", "$1400"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_NE(box->GetTextSprite(c.text), nullptr);
        EXPECT_STREQ(box->GetTextSprite(c.text)->GetText().c_str(), c.shown);
    }
    globe->SendEvent(VSprite::kEventLeave, TPoint(0, 0), globe->GetDrawState(), -1);
    RunFor(400);
    EXPECT_FLOAT_EQ(box->GetAlpha(), 1.0f);
    RunFor(400);
    EXPECT_LT(box->GetAlpha(), 1.0f);

    // A locked globe says nothing.
    std::shared_ptr<VButton> locked = pin->GetGlobe(7);
    box->GetTextSprite("level")->SetText("");
    locked->SendEvent(VSprite::kEventEnter, TPoint(0, 0), locked->GetDrawState(), -1);
    RunFor(16);
    EXPECT_STREQ(box->GetTextSprite("level")->GetText().c_str(), "");
}

TEST_F(PushPinTest, InEndlessModeAPinStartsItsLocationsFirstLevel) {
    VGame::Get()->SetCurrentGameMode(2);
    VWorldMap* map = OpenTwo();
    int before = QueuedCommands();
    PinOf(map, "pin1_grytviken")->OnClick();
    RunFor(16);
    EXPECT_FALSE(PinOf(map, "pin1_grytviken")->IsOpen());
    EXPECT_EQ(Levels()->GetCurrentLevel(), 1);
    EXPECT_EQ(QueuedCommands(), before + 1);
    // A location not reached has its first globe locked.
    PinOf(map, "pin2_namche")->OnClick();
    RunFor(16);
    EXPECT_EQ(Levels()->GetCurrentLevel(), 1);
    EXPECT_EQ(QueuedCommands(), before + 1);
}

}  // namespace
