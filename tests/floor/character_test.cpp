// The walking character: steps at its speed to each point of its route,
// arrivals, the queue of destinations and its filter while a tutorial
// holds the game, turning towards the walk, and a missing start point.
#include "game/floor/character.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/floor/floortesting.h"

namespace {

// Records where each walk ended.
class Walker : public VCharacter {
public:
    static std::shared_ptr<Walker> Create(const std::shared_ptr<ZoneController>& zones) {
        auto walker = std::make_shared<Walker>(zones);
        Adopt(walker);
        return walker;
    }
    explicit Walker(const std::shared_ptr<ZoneController>& zones) : VCharacter(zones, "walker", 0) {}

    void ArriveAtDestination() override {
        arrivals.push_back(GetCurrentPoint() ? GetCurrentPoint()->GetName().c_str() : "-");
        VCharacter::ArriveAtDestination();
    }

    std::vector<std::string> arrivals;
};

class CharacterTest : public FloorTest {
protected:
    // A walker loaded with the start point and on the scene.
    std::shared_ptr<Walker> Placed(const std::shared_ptr<ZoneController>& zones, const char* start) {
        Define(std::string("walker = { startZone = \"avatar\", startPoint = \"") + start + "\" }");
        auto walker = Walker::Create(zones);
        walker->Load(Describe("walker"));
        walker->Reset();
        manager->AddSprite(walker);
        // The first update only starts the frame time.
        Frame(walker);
        return walker;
    }

    // Frames of 16 ms until the walk ends; -1 when it takes over 100.
    int FramesToArrive(const std::shared_ptr<Walker>& walker) {
        for (int frames = 0; frames <= 100; ++frames) {
            if (!walker->IsWalking() && walker->GetZoneController()->IsRouteEmpty()) return frames;
            Frame(walker);
        }
        return -1;
    }

    std::shared_ptr<ZonePoint> Avatar(const std::shared_ptr<ZoneController>& zones, const char* name) {
        return zones->FindPoint("avatar", name);
    }
};

TEST_F(CharacterTest, StepsAtItsSpeedAQuarterSlowerUpAndDownAndArrivesOnThePoint) {
    struct Case {
        const char* what;
        int x, y;    // the target; the walker stands at (100, 300)
        int frames;  // of 16 ms at speed 5
    } cases[] = {
        {"already there", 100, 300, 0},
        {"one pixel", 101, 300, 1},
        {"sideways, 8 pixels a frame", 300, 300, 25},
        {"down, 7.6 pixels a frame", 100, 380, 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::shared_ptr<ZoneController> zones =
            Zones("<zone name=\"avatar\"><point name=\"s\" x=\"100\" y=\"300\"/><point name=\"t\" x=\"" +
                  std::to_string(c.x) + "\" y=\"" + std::to_string(c.y) +
                  "\"/><connection first=\"s\" second=\"t\"/></zone>");
        std::shared_ptr<Walker> walker = Placed(zones, "s");
        walker->GoTo(Avatar(zones, "t"));
        EXPECT_EQ(walker->IsWalking(), c.frames > 0);
        EXPECT_EQ(FramesToArrive(walker), c.frames);
        EXPECT_EQ(walker->GetPosition(), TVec2(c.x, c.y));
        EXPECT_EQ(walker->GetCurrentPoint(), Avatar(zones, "t"));
        EXPECT_EQ(walker->arrivals, std::vector<std::string>{"t"});
        manager->RemoveSprite(walker);
    }
}

TEST_F(CharacterTest, ARouteIsWalkedPointByPointThenTheQueuedDestination) {
    std::shared_ptr<ZoneController> zones = Zones(AvatarRow(3));
    std::shared_ptr<Walker> walker = Placed(zones, "p0");
    walker->GoTo(Avatar(zones, "p2"));
    Frame(walker);
    walker->QueueGoTo(Avatar(zones, "p1"));
    EXPECT_EQ(walker->GetWaypoint(), Avatar(zones, "p1"));
    EXPECT_EQ(walker->GetDestination(), Avatar(zones, "p2"));
    // 200 pixels there and 100 back, 8 pixels a frame.
    int frames = 0;
    while (walker->arrivals.size() < 2 && frames < 100) {
        Frame(walker);
        ++frames;
    }
    EXPECT_EQ(walker->arrivals, (std::vector<std::string>{"p2", "p1"}));
    EXPECT_EQ(frames, 24 + 1 + 13);
    EXPECT_EQ(walker->GetPosition(), TVec2(200, 300));
    EXPECT_TRUE(walker->IsQueueEmpty());
}

TEST_F(CharacterTest, WithoutAStartPointTheWalkGoesStraightToTheDestination) {
    std::shared_ptr<ZoneController> zones = Zones(AvatarRow(3));
    std::shared_ptr<Walker> walker = Placed(zones, "nowhere");
    EXPECT_EQ(walker->GetStartPoint(), nullptr);
    EXPECT_EQ(walker->GetPosition(), TVec2(0, 0));
    walker->GoTo(Avatar(zones, "p2"));
    EXPECT_EQ(walker->GetWaypoint(), Avatar(zones, "p2"));
    EXPECT_GT(FramesToArrive(walker), 0);
    EXPECT_EQ(walker->GetPosition(), TVec2(300, 300));
    EXPECT_EQ(walker->arrivals, std::vector<std::string>{"p2"});
}

TEST_F(CharacterTest, RepeatedDestinationsAreQueuedUnlessATutorialHoldsTheGame) {
    struct Case {
        bool holding;
        size_t queued;  // of: the destination of the walk, p1, p1, p2, p1
    } cases[] = {{false, 5}, {true, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.holding);
        std::shared_ptr<ZoneController> zones = Zones(AvatarRow(3));
        std::shared_ptr<Walker> walker = Placed(zones, "p0");
        VTutorialManager::Get()->SetInputAllowed(c.holding);
        walker->GoTo(Avatar(zones, "p2"));
        for (const char* name : {"p2", "p1", "p1", "p2", "p1"}) walker->QueueGoTo(Avatar(zones, name));
        walker->QueueGoTo(nullptr);
        EXPECT_EQ(walker->GetQueue().size(), c.queued);
        manager->RemoveSprite(walker);
    }
}

TEST_F(CharacterTest, TurnsByTheTurnSpeedAndShowsTheFacingOfItsAngle) {
    const float kHalfPi = 1.5707964f;
    struct Case {
        int face;
        int turns;
        float facing;
        int index;
    } cases[] = {
        {VCharacter::kFaceRight, 8, 0.0f, VCharacter::kFaceRight},
        {VCharacter::kFaceFront, 0, kHalfPi, VCharacter::kFaceFront},
        {VCharacter::kFaceLeft, 8, 3.1415927f, VCharacter::kFaceLeft},
        // Exactly half a turn away: up past pi, round to -pi and on to -pi/2.
        {VCharacter::kFaceBack, 16, -kHalfPi, VCharacter::kFaceBack},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        auto walker = Walker::Create(nullptr);
        walker->Face(c.face);
        std::vector<float> facings{walker->GetFacing()};
        for (int turn = 0; turn < 40; ++turn) {
            walker->Turn();
            if (walker->GetFacing() != facings.back()) facings.push_back(walker->GetFacing());
        }
        EXPECT_EQ(static_cast<int>(facings.size()) - 1, c.turns);
        EXPECT_NEAR(walker->GetFacing(), c.facing, 1e-5);
        EXPECT_EQ(walker->GetFacingIndex(), c.index);
        if (c.face != VCharacter::kFaceRight) continue;
        // Seven steps of 0.2, then the rest.
        EXPECT_NEAR(facings[7] - facings[8], 0.1707964f, 1e-5);
        EXPECT_NEAR(facings[6] - facings[7], 0.2f, 1e-6);
    }

    // The right-facing index shows once the facing is pi/3 or less.
    SetValue("player_turn_speed", 0.26f);
    auto walker = Walker::Create(nullptr);
    walker->Face(VCharacter::kFaceRight);
    std::vector<int> indexes;
    for (int turn = 0; turn < 3; ++turn) {
        walker->Turn();
        indexes.push_back(walker->GetFacingIndex());
    }
    // 1.3108, 1.0508, 0.7908.
    EXPECT_EQ(indexes, (std::vector<int>{VCharacter::kFaceFront, VCharacter::kFaceFront, VCharacter::kFaceRight}));
}

}  // namespace
