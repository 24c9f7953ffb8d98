// The player: size by height on the floor, the two hands and the arms that
// carry, turning to the viewer, items that expire in the hand, walking by
// route or straight, and the station's turn at the arrival.
#include "game/floor/player.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/machines/station.h"
#include "game/objects/carriable.h"
#include "tests/floor/floortesting.h"

namespace {

// A carriable whose expiry the test decides.
class Melting : public VCarriable {
public:
    explicit Melting(int hands) : VCarriable(hands) {}
    bool IsExpired() const override { return expired; }
    bool expired = false;
};

std::shared_ptr<Melting> Item(int hands) {
    auto item = std::make_shared<Melting>(hands);
    VSprite::Create("", 0);  // keeps sprite ids moving like the game's
    return item;
}

// Counts the arrivals it is told of.
class CountingStation : public VStation {
public:
    CountingStation() : VStation(16, 1) {}
    void Interact(const std::shared_ptr<VPlayer>& player, const std::shared_ptr<ZonePoint>& point) override {
        ++interactions;
        VStation::Interact(player, point);
    }
    int interactions = 0;
};

class PlayerTest : public FloorTest {
protected:
    void SetUp() override {
        FloorTest::SetUp();
        WriteImage("art/walk.png");
        Define(R"(
            local function walk() return { { file = "art/walk.png" }, { state = "carry", file = "art/walk.png" } } end
            local function art() return { walkright = walk(), walkfront = walk(), walkback = walk() } end
            player = { startZone = "avatar", startPoint = "p0", baseY = 300, rangeY = 200, scaleRange = 0.5,
                       assets = art(),
                       children = { left_arm = { assets = art() }, right_arm = { assets = art() },
                                    idle_wave = { assets = art() } } }
        )");
    }

    std::shared_ptr<VPlayer> Placed(const std::shared_ptr<ZoneController>& zones) {
        auto player = VPlayer::Create(zones, "player_character", 0);
        player->Load(Describe("player"));
        player->Reset();
        manager->AddSprite(player);
        Frame(player);
        return player;
    }

    std::string StateOf(const std::shared_ptr<VPlayer>& player, const char* child) {
        return player->GetChildObject(child)->GetCurrentState().c_str();
    }
};

TEST_F(PlayerTest, GrowsWithItsHeightOnTheFloorAndKeepsItsSizeWithoutARange) {
    struct Case {
        const char* rangeY;
        int y;
        float scale;
    } cases[] = {{"200", 400, 1.25f}, {"200", 300, 1.0f}, {"200", 100, 0.5f}, {"0", 400, 1.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.y) + " over " + c.rangeY);
        Define(std::string("player.rangeY = ") + c.rangeY);
        std::shared_ptr<ZoneController> zones =
            Zones("<zone name=\"avatar\"><point name=\"p0\" x=\"100\" y=\"" + std::to_string(c.y) + "\"/></zone>");
        std::shared_ptr<VPlayer> player = Placed(zones);
        player->SetWaypoint(zones->FindPoint("avatar", "p0"));
        player->Step();
        EXPECT_FLOAT_EQ(player->GetDepthScale(), c.scale);
        player->Step();
        manager->RemoveSprite(player);
    }
    // The flat floor is told once per player.
    EXPECT_EQ(log.Count("\"rangeY\" is 0"), 1u);
}

TEST_F(PlayerTest, HandsTakeOneItemEachOrOneItemInBoth) {
    std::shared_ptr<VPlayer> player = Placed(Zones(AvatarRow(1)));
    auto first = Item(1);
    auto second = Item(1);
    auto bucket = Item(2);
    struct Step {
        const char* what;
        std::function<bool()> act;
        const VCarriable* right;
        const VCarriable* left;
        int currentHand;
    } steps[] = {
        {"the first item goes right", [&] { return player->PickUp(first); }, first.get(), nullptr, 2},
        {"two hands are not free", [&] { return !player->PickUp(bucket); }, first.get(), nullptr, 2},
        {"the second item goes left", [&] { return player->PickUp(second); }, first.get(), second.get(), 2},
        {"no third", [&] { return !player->PickUp(Item(1)); }, first.get(), second.get(), 2},
        {"out of the right hand", [&] { return player->TakeItemFromHand(2) == first; }, nullptr, second.get(), 1},
        {"the empty right hand switches", [&] { return !player->TakeItemFromHand(2); }, nullptr, second.get(), 2},
        {"selector 0 takes the current hand", [&] { return player->TakeItemFromHand(0) == second; }, nullptr,
         nullptr, 2},
        {"an empty left hand switches to the right", [&] {
             player->TakeItemFromHand(1);  // to hand 1
             return !player->TakeItemFromHand(1);
         },
         nullptr, nullptr, 2},
        {"a two-handed item fills both", [&] { return player->PickUp(bucket); }, bucket.get(), bucket.get(), 2},
        {"and leaves both", [&] { return player->TakeItemFromHand(1) == bucket; }, nullptr, nullptr, 2},
        {"selector 0 after switching once", [&] {
             player->PickUp(first);
             player->TakeItemFromHand(1);  // empty: to hand 1, then...
             return player->TakeItemFromHand(0) == first;
         },
         nullptr, nullptr, 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        EXPECT_TRUE(step.act());
        EXPECT_EQ(player->GetRightHand().get(), step.right);
        EXPECT_EQ(player->GetLeftHand().get(), step.left);
        EXPECT_EQ(player->GetCurrentHand(), step.currentHand);
        EXPECT_EQ(player->CountFreeHands(), (step.right ? 0 : 1) + (step.left ? 0 : 1));
    }
    // Carried between both hands, not in one.
    EXPECT_STREQ(bucket->GetAnchor().c_str(), "bucket");
    EXPECT_EQ(first->GetOwner(), nullptr);
}

TEST_F(PlayerTest, FacingLeftMovesTheRightHandsItemOntoTheLeftArm) {
    std::shared_ptr<VPlayer> player = Placed(Zones(AvatarRow(1)));
    auto item = Item(1);
    ASSERT_TRUE(player->PickUp(item));
    EXPECT_EQ(item->GetOwner(), player->GetChildObject("right_arm"));
    EXPECT_STREQ(item->GetAnchor().c_str(), "righthand");
    EXPECT_EQ(StateOf(player, "right_arm"), "carry");
    EXPECT_EQ(StateOf(player, "left_arm"), "default");

    player->SetFacingAnimation(VCharacter::kFaceLeft);
    EXPECT_EQ(item->GetOwner(), player->GetChildObject("left_arm"));
    EXPECT_STREQ(item->GetAnchor().c_str(), "lefthand");
    EXPECT_EQ(StateOf(player, "left_arm"), "carry");
    EXPECT_EQ(StateOf(player, "right_arm"), "default");
    bool horizontal = false;
    bool vertical = false;
    player->GetEffectiveFlips(horizontal, vertical);
    EXPECT_TRUE(horizontal);
    EXPECT_EQ(player->GetCurrentAsset(), player->GetAsset("walkright"));

    // Out of the hand it is nobody's, at its own size.
    player->Step();
    EXPECT_EQ(player->TakeItemFromHand(2), item);
    EXPECT_EQ(item->GetOwner(), nullptr);
    EXPECT_EQ(StateOf(player, "left_arm"), "default");
}

TEST_F(PlayerTest, TurnsToTheViewerAfterTheCooldownUnlessBusy) {
    for (bool busy : {false, true}) {
        SCOPED_TRACE(busy);
        std::shared_ptr<VPlayer> player = Placed(Zones(AvatarRow(1)));
        player->Face(VCharacter::kFaceBack);
        for (int frame = 0; frame < 20; ++frame) Frame(player);
        ASSERT_EQ(player->GetFacingIndex(), VCharacter::kFaceBack);
        player->SetWorking(busy);
        player->SetFacingAnimation(VCharacter::kFaceBack);
        EXPECT_EQ(player->GetTurnaroundCooldown(), 1000);
        for (int frame = 0; frame < 62; ++frame) Frame(player);
        EXPECT_EQ(player->GetDirection(), TVec2(0, -1));
        Frame(player);
        EXPECT_EQ(player->GetDirection(), busy ? TVec2(0, -1) : TVec2(0, 1));
        manager->RemoveSprite(player);
    }
}

TEST_F(PlayerTest, AnExpiredItemLeavesTheHandByItself) {
    std::shared_ptr<VPlayer> player = Placed(Zones(AvatarRow(1)));
    auto melting = Item(1);
    auto firm = Item(1);
    player->PickUp(firm);
    player->PickUp(melting);
    Frame(player);
    EXPECT_EQ(player->GetLeftHand(), melting);
    melting->expired = true;
    Frame(player);
    EXPECT_EQ(player->GetLeftHand(), nullptr);
    EXPECT_EQ(player->GetRightHand(), firm);
    EXPECT_EQ(melting->GetOwner(), nullptr);
}

TEST_F(PlayerTest, AVisibleStation16SendsThePlayerAlongRoutesAndTheArrivalIsTheStationsTurn) {
    struct Case {
        const char* what;
        bool station16;
        bool visible;
        const char* firstWaypoint;
    } cases[] = {{"no station16", false, false, "p2"},
                 {"hidden", true, false, "p2"},
                 {"visible", true, true, "p1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<ShopWindow> screen = CurrentScreen(clock);
        std::shared_ptr<ZoneController> zones = Zones(AvatarRow(3));
        auto station = std::make_shared<CountingStation>();
        if (c.station16) screen->AddStation("Station16", station);
        station->SetVisible(c.visible);
        Define("point = { playerPoint = { \"p2\", 3 } }");
        screen->LoadZones();
        station->Load(Describe("point"));
        std::shared_ptr<VPlayer> player = Placed(screen->GetZoneController());
        std::shared_ptr<ZoneController> level = screen->GetZoneController();
        player->GoTo(level->FindPoint("avatar", "p2"));
        EXPECT_EQ(player->GetWaypoint()->GetName(), TString(c.firstWaypoint));
        for (int frame = 0; frame < 40; ++frame) Frame(player);
        EXPECT_EQ(player->GetCurrentPoint(), level->FindPoint("avatar", "p2"));
        EXPECT_EQ(station->interactions, c.station16 ? 1 : 0);
        // The station turns the player away at its point; alone it still looks where it walked.
        EXPECT_EQ(player->GetDirection(), c.station16 ? TVec2(0, -1) : TVec2(1, 0));
        manager->RemoveSprite(player);
    }
    EXPECT_EQ(ShopWindow::GetCurrent(), nullptr);
}

}  // namespace
