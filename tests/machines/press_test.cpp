// The press: the shape layer and the counts of a whole cycle, the swap of a
// bucket for a finished chocolate (refused when the hands it leaves free
// could not take the chocolate), the art's "unlock" and "drop" calls, art
// that never stamps, calls after the press has gone, and stray calls on a
// press without parts, chocolate or layers.
#include "game/machines/press.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/scripting/script.h"
#include "game/machines/machinebutton.h"
#include "tests/machines/workingmachinetesting.h"

namespace {

class PressTest : public WorkingMachineTest {
protected:
    void SetUp() override {
        WorkingMachineTest::SetUp();
        Sheet("base", "function DoAnim() frames{4} end");
        Sheet("door", "function DoAnim() frames{1,2,3} end function DoDoor() frames{1,2} drop() frames{3,3} end");
        // Frame 6 (index 5) meets the mould.
        Sheet("weight", "function DoAnim() frames{1,2,3,4,5,6} unlock() frames{6,6,6,5,4,3,2,1} end "
                        "function Reverse() frames{6,5,4,3,2,1} end");
        Sheet("heavy", "function DoAnim() frames{1,2,3,4,5,6,5,4,3,2,1} end");
        ForwardAndBack("wheel");
        Sheet("fill", "function DoAnim_0() frames{1,2} end function DoAnim_1() frames{3,4} end "
                      "function DoAnim_2() frames{5,6} end");
        Define(R"(
            local function button(id)
                return { id = id, assets = { button = { anim = false, { file = "art/base.png" } } } }
            end
            press = { name = "press", assets = { base = { { file = "anims/base.xml", anim = true } } },
                      selections = { button1 = button(0), button2 = button(1), button3 = button(2) },
                      children = { static_door = Still(), static_largeweight = Still(), static_wheel = Still(),
                                   anim_door = Part("door"), anim_largeweight = Part("weight"),
                                   anim_wheel = Part("wheel"), anim_fill = Part("fill") } }
            stubborn = { name = "stubborn", assets = press.assets, selections = press.selections,
                         children = { anim_largeweight = Part("heavy"), anim_fill = Part("fill") } }
            bare = { name = "bare", selections = press.selections }
        )");
    }

    std::shared_ptr<VPress> Press(const char* global = "press") {
        return Working<VPress>(4, global, {"kPress1", "kPress2", "kPress3"});
    }

    // The mixer's product: a bucket of the chocolate type.
    std::shared_ptr<VChocolate> Bucket(int type = 1) { return vendor->MakeChocolateIcon(type, true); }

    static float Value(const char* name) { return VValueManager::Get()->GetReal(name, 0); }
};

TEST_F(PressTest, ACycleShapesTheChocolateAndCountsBarsAndTruffles) {
    struct Case {
        int shape;
        float bars, truffles;
    } cases[] = {{0, 1, 0}, {1, 1, 1}, {2, 1, 1}};
    float made = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shape);
        std::shared_ptr<VPress> press = Press();
        std::shared_ptr<VChocolate> chocolate = Bucket(2);
        ASSERT_TRUE(press->PutItem(chocolate, 1, false));
        press->Select(c.shape);
        ASSERT_TRUE(press->TryStartWork());
        EXPECT_EQ(Value("chocolates_made_this_level"), ++made);
        EXPECT_EQ(press->GetShape(), c.shape);
        EXPECT_STREQ(press->GetFillAnimation().c_str(), "DoAnim_2");
        ASSERT_NE(press->GetBucketSprite(), nullptr);
        EXPECT_STREQ(press->GetBucketSprite()->GetName().c_str(), "bucket");
        EXPECT_NE(press->GetBucketIcon(), nullptr);
        std::shared_ptr<VChocolateLayer> shape = chocolate->GetSlot(2);
        ASSERT_NE(shape, nullptr);
        EXPECT_EQ(shape->GetBarType(), c.shape);
        EXPECT_EQ(shape->GetOption(), 2);
        EXPECT_FALSE(chocolate->IsVisible());
        RunToIdle(press);
        EXPECT_EQ(press->GetPhase(), 0);
        EXPECT_TRUE(chocolate->IsVisible());
        EXPECT_EQ(Value("num_bars"), c.bars);
        EXPECT_EQ(Value("num_truffles"), c.truffles);
        EXPECT_EQ(press->GetShape(), -1);
        EXPECT_STREQ(press->GetFillAnimation().c_str(), "DoAnim_0");
        EXPECT_EQ(press->GetBucketSprite(), nullptr);
        EXPECT_EQ(press->GetCurrentFrame(), VPress::kRestFrame);
    }
    EXPECT_EQ(Value("chocolates_made_this_level"), 3);
}

TEST_F(PressTest, TheArtStampsFreesTheStationAndDropsTheBucketThroughTheDoor) {
    std::shared_ptr<VPress> press = Press();
    ASSERT_TRUE(press->PutItem(Bucket(), 1, false));
    press->Select(0);
    ASSERT_TRUE(press->TryStartWork());
    std::shared_ptr<VSprite> bucket = press->GetBucketSprite();
    std::shared_ptr<VCarriable> chocolate = press->GetItem();
    ASSERT_NE(bucket, nullptr);
    TVec2 start = bucket->GetPosition();

    std::vector<std::string> events;
    size_t heard = 0;
    int dropFrame = -1;
    float droppedBy = 0;
    bool pressed = false;
    for (int frame = 0; frame < 200 && press->GetPhase() != 0; ++frame) {
        Step(press);
        std::vector<std::string> sounds = Sounds();
        for (; heard < sounds.size(); ++heard) {
            events.push_back(sounds[heard] + " in phase " + std::to_string(press->GetPhase()) +
                             (station->IsSuspended() ? " held" : " free"));
            if (sounds[heard] == "barrel_trap_door") dropFrame = frame;
        }
        if (press->GetCurrentFrame() == VPress::kPressedFrame) {
            pressed = true;
            EXPECT_EQ(press->GetChildObject("anim_largeweight")->GetCurrentFrame(), VPress::kStampFrame);
        }
        // 200 ms after the move's first step, the frame after the drop.
        if (dropFrame >= 0 && frame == dropFrame + 14) droppedBy = bucket->GetPosition().y - start.y;
        if (dropFrame >= 0 && frame < dropFrame + 13) {
            EXPECT_TRUE(bucket->IsVisible());
        }
    }
    EXPECT_EQ(events, (std::vector<std::string>{"barrel_trap_door in phase 2 held", "stamp in phase 2 free"}));
    EXPECT_TRUE(pressed);
    EXPECT_FLOAT_EQ(droppedBy, 46.0f);
    EXPECT_FALSE(bucket->IsVisible());
    EXPECT_TRUE(chocolate->IsVisible());
    EXPECT_FALSE(press->GetChildObject("anim_fill")->IsVisible());
}

TEST_F(PressTest, ArtThatNeverStampsStillShowsTheChocolate) {
    std::shared_ptr<VPress> press = Press("stubborn");
    ASSERT_TRUE(press->PutItem(Bucket(), 1, false));
    press->Select(1);
    ASSERT_TRUE(press->TryStartWork());
    std::shared_ptr<VCarriable> chocolate = press->GetItem();
    RunToIdle(press);
    EXPECT_EQ(press->GetPhase(), 0);
    EXPECT_TRUE(chocolate->IsVisible());
    EXPECT_FALSE(press->IsBusy());
    EXPECT_FALSE(station->IsSuspended());
}

TEST_F(PressTest, ABucketIsSwappedForTheFinishedChocolateWhenTheHandsCanTakeIt) {
    std::shared_ptr<VPress> press = Press();
    std::shared_ptr<VPlayer> player = Player();
    ASSERT_TRUE(press->PutItem(Bucket(0), 1, false));
    press->Select(0);
    ASSERT_TRUE(press->TryStartWork());
    RunToIdle(press);
    std::shared_ptr<VCarriable> bar = press->GetItem();
    ASSERT_TRUE(press->IsProcessed());

    // Two-handed, the bar cannot go to a player who keeps a hand full.
    bar->SetKind(2);
    std::shared_ptr<VChocolate> bucket = Bucket(1);
    std::shared_ptr<VCarriable> other = VCarriable::Create(1);
    ASSERT_TRUE(player->PickUp(bucket));
    ASSERT_TRUE(player->PickUp(other));
    press->Select(1);
    press->Interact(player);
    EXPECT_EQ(press->GetItem(), bar);
    EXPECT_EQ(player->CountFreeHands(), 0);
    EXPECT_TRUE(player->GetRightHand() == bucket || player->GetLeftHand() == bucket);

    // With the other hand free the same visit swaps them.
    player->TakeItemFromHand(player->GetRightHand() == other ? VPlayer::kRightHand : VPlayer::kLeftHand);
    press->Select(1);
    press->Interact(player);
    EXPECT_EQ(press->GetItem(), bucket);
    EXPECT_TRUE(press->IsBusy());
    EXPECT_EQ(bucket->GetSlot(2)->GetBarType(), 1);
    EXPECT_EQ(player->GetRightHand(), bar);
    EXPECT_EQ(player->GetLeftHand(), bar);
}

TEST_F(PressTest, AVisitWithoutABucketHandsTheChocolateOverAndForgetsTheShapeUnheard) {
    std::shared_ptr<VPress> press = Press();
    std::shared_ptr<VPlayer> player = Player();
    ASSERT_TRUE(press->PutItem(Bucket(), 1, false));
    press->Select(0);
    ASSERT_TRUE(press->TryStartWork());
    RunToIdle(press);
    std::shared_ptr<VCarriable> bar = press->GetItem();
    press->Select(1);
    EventLog log;
    auto listener = std::make_shared<LoggingListener>("listener", log);
    press->AddListener(listener);
    Step(press);
    press->Interact(player);
    EXPECT_EQ(press->GetSelection(), -1);
    EXPECT_EQ(press->GetItem(), nullptr);
    EXPECT_EQ(player->GetRightHand(), bar);
    EXPECT_TRUE(log.empty());
}

TEST_F(PressTest, AScriptCallAfterThePressHasGoneDoesNothing) {
    std::shared_ptr<VPress> press = Press();
    std::shared_ptr<VObject> weight = press->GetChildObject("anim_largeweight");
    std::shared_ptr<VObject> door = press->GetChildObject("anim_door");
    ASSERT_NE(weight->GetScript(), nullptr);
    ASSERT_EQ(weight->GetScript()->DoLuaString("unlock()"), 0);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"stamp"});
    station->RemoveAllChildren();
    station.reset();
    std::weak_ptr<VPress> gone = press;
    press.reset();
    ASSERT_TRUE(gone.expired());
    EXPECT_EQ(weight->GetScript()->DoLuaString("unlock()"), 0);
    EXPECT_EQ(door->GetScript()->DoLuaString("drop()"), 0);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"stamp"});
}

TEST_F(PressTest, StrayCallsAndMissingPiecesDoNoHarm) {
    std::shared_ptr<VPress> bare = Press("bare");
    bare->Stamp();
    bare->DropBucket();
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"stamp", "barrel_trap_door"}));

    // A chocolate without layers, and a shape the catalogue lacks.
    std::shared_ptr<VChocolate> empty = VChocolate::Create(vendor);
    ASSERT_TRUE(bare->PutItem(empty, 1, false));
    bare->Select(0);
    ASSERT_TRUE(bare->TryStartWork());
    RunToIdle(bare);
    EXPECT_EQ(bare->GetPhase(), 0);
    EXPECT_EQ(empty->CountLayers(), 0);

    std::shared_ptr<VPress> press = Press();
    std::shared_ptr<VChocolate> bucket = Bucket();
    std::shared_ptr<VChocolateVendor> lean = VChocolateVendor::Create();
    Define("lean = { catalogue[1] }");
    std::unique_ptr<TLuaTable> table(script.GetGlobalTable("lean"));
    lean->Load(table.get());
    std::shared_ptr<VChocolate> unshapeable = lean->MakeChocolateIcon(0, true);
    ASSERT_TRUE(press->PutItem(unshapeable, 1, false));
    press->Select(1);
    ASSERT_TRUE(press->TryStartWork());
    RunToIdle(press);
    EXPECT_EQ(unshapeable->GetSlot(2), nullptr);
    EXPECT_NE(unshapeable->GetSlot(0), nullptr);
}

TEST_F(PressTest, OwnedShapesShowTheirButtonsNeverAvailable) {
    std::shared_ptr<VPress> press = Working<VPress>(4, "press", {});
    EXPECT_FALSE(press->IsEnabled());
    EXPECT_FALSE(press->IsVisible());
    Grant("kPress2", "station");
    press->ApplyUpgrades();
    EXPECT_TRUE(press->IsEnabled());
    EXPECT_TRUE(press->IsVisible());
    const auto& buttons = press->GetSelections();
    EXPECT_FALSE(buttons.at("button1")->IsVisible());
    EXPECT_TRUE(buttons.at("button2")->IsVisible());
    EXPECT_FALSE(buttons.at("button2")->IsAvailable());
}

}  // namespace
