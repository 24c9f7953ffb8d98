// The mixer: a whole cycle step by step with its sounds, the option's tint
// of the tube and spray, the chocolate filling the mould from below, no
// vendor, missing parts, the next chocolate in the visit that takes the
// last one, and the upgrades that show tanks and buttons.
#include "game/machines/mixer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/machines/machinebutton.h"
#include "tests/machines/workingmachinetesting.h"

namespace {

class MixerMachineTest : public WorkingMachineTest {
protected:
    void SetUp() override {
        WorkingMachineTest::SetUp();
        ForwardAndBack("arm");
        ForwardAndBack("tube");
        ForwardAndBack("spray");
        Define(R"(
            local function button(id, icon)
                return { id = id, icon = icon, assets = { button = { anim = false, { file = "art/base.png" } },
                                                          icon = { anim = false, { file = "art/base.png" } } } }
            end
            local function option(sheet)
                local asset = {}
                for n = 0, 2 do
                    table.insert(asset, { state = "option_" .. n, file = "anims/" .. sheet .. ".xml", anim = true })
                end
                return { assets = { look = asset } }
            end
            mixer = { name = "mixer", assets = { base = { anim = false, { file = "art/base.png" } } },
                      selections = { button1 = button(0, "dark"), button2 = button(1, "milk"),
                                     button3 = button(2, "white") },
                      children = { anim_arm = Part("arm"), anim_tube = option("tube"), anim_spray = option("spray"),
                                   tank1 = Still(), tank2 = Still(), tank3 = Still() } }
            bare = { name = "bare", assets = mixer.assets, selections = mixer.selections,
                     children = { anim_arm = Part("arm") } }
        )");
    }

    std::shared_ptr<VMixer> Mixer(const char* global = "mixer") {
        return Working<VMixer>(2, global, {"kMixer1", "kMixer2"});
    }
};

TEST_F(MixerMachineTest, ACycleRunsItsPhasesWithTheirSoundsAndFillsTheMouldFromBelow) {
    std::shared_ptr<VMixer> mixer = Mixer();
    ASSERT_NE(mixer, nullptr);
    EXPECT_EQ(mixer->GetAnimationDelay(), 20.0f);
    mixer->Select(1);
    ASSERT_TRUE(mixer->TryStartWork());
    auto chocolate = std::dynamic_pointer_cast<VChocolate>(mixer->GetItem());
    ASSERT_NE(chocolate, nullptr);
    EXPECT_EQ(chocolate->GetChocolateType(), 1);
    EXPECT_EQ(chocolate->GetLayer(), 2);
    std::shared_ptr<VSprite> product = mixer->GetProductSprite();
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(product, chocolate->GetSlot(0)->GetChildObject("icon"));
    EXPECT_FALSE(product->IsVisible());

    std::vector<std::string> log = Cycle(mixer);
    EXPECT_EQ(log, (std::vector<std::string>{"pickup_drop", "robot_arm", "phase 1 held", "spray", "phase 2 held",
                                             "phase 3 held", "phase 4 free", "robot_arm_2", "phase 5 free",
                                             "phase 0 free"}));
    ASSERT_EQ(frames.size(), 6u);
    // The spray lasts 800 ms: fifty frames.
    EXPECT_EQ(frames[3] - frames[2], 50);
    EXPECT_TRUE(product->IsVisible());
    EXPECT_EQ(mixer->GetProductSprite(), nullptr);
    EXPECT_TRUE(mixer->IsProcessed());
    EXPECT_EQ(mixer->GetItem(), chocolate);
}

TEST_F(MixerMachineTest, HalfWayThroughTheSprayTheLowerHalfOfTheBucketShows) {
    std::shared_ptr<VMixer> mixer = Mixer();
    mixer->Select(0);
    ASSERT_TRUE(mixer->TryStartWork());
    std::shared_ptr<VSprite> product = mixer->GetProductSprite();
    while (mixer->GetPhase() < 3) Step(mixer);
    for (int frame = 0; frame < 25; ++frame) Step(mixer);
    Renderer().SetViewRect(TRect(0, 0, 800, 600));
    TRect bounds = product->GetBounds(product->GetOwner()->GetDrawState(), -1);
    recorder->ClearCalls();
    DrawScene(mixer);
    std::vector<TRect> clips;
    for (const TRecordingRenderBackEnd::TCall& call : recorder->GetCalls()) {
        if (call.kind == TRecordingRenderBackEnd::kSetViewRect) clips.push_back(call.rect);
    }
    ASSERT_EQ(clips.size(), 2u);
    int half = bounds.top + (bounds.bottom - bounds.top) / 2;
    EXPECT_NEAR(clips[0].top, half, 1);
    EXPECT_EQ(clips[0].bottom, 600);
    EXPECT_EQ(clips[1], TRect(0, 0, 800, 600));
}

TEST_F(MixerMachineTest, TheTubeAndTheSprayTakeTheOptionsLookTheFirstGreyed) {
    struct Case {
        int option;
        const char* state;
        float shade;
    } cases[] = {{0, "option_0", 0.5f}, {1, "option_1", 1.0f}, {2, "option_2", 1.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        std::shared_ptr<VMixer> mixer = Working<VMixer>(2, "mixer", {"kMixer1", "kMixer2", "kMixer3"});
        mixer->Select(c.option);
        ASSERT_TRUE(mixer->TryStartWork());
        for (const char* part : {"anim_tube", "anim_spray"}) {
            std::shared_ptr<VObject> child = mixer->GetChildObject(part);
            EXPECT_STREQ(child->GetCurrentState().c_str(), c.state) << part;
            EXPECT_EQ(child->GetDrawState().color, TColor4f(c.shade, c.shade, c.shade, 1.0f)) << part;
        }
    }
}

TEST_F(MixerMachineTest, NothingStartsWithoutAVendorAnOptionOrWhileAChocolateWaits) {
    std::shared_ptr<VMixer> mixer = Mixer();
    EXPECT_FALSE(mixer->TryStartWork());
    mixer->Select(0);
    screen->SetChocolateVendor(nullptr);
    EXPECT_FALSE(mixer->TryStartWork());
    EXPECT_EQ(mixer->GetItem(), nullptr);
    EXPECT_FALSE(mixer->IsBusy());
    screen->SetChocolateVendor(vendor);
    ASSERT_TRUE(mixer->TryStartWork());
    Cycle(mixer);
    mixer->Select(1);
    EXPECT_FALSE(mixer->TryStartWork());
}

TEST_F(MixerMachineTest, MissingPartsPauseOneMillisecond) {
    std::shared_ptr<VMixer> mixer = Mixer("bare");
    mixer->Select(0);
    ASSERT_TRUE(mixer->TryStartWork());
    std::vector<std::string> log = Cycle(mixer);
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(log.back(), "phase 0 free");
    // The tube's phase and its way back each take one frame.
    EXPECT_EQ(frames[2] - frames[1], 1);
    EXPECT_EQ(frames[4] - frames[3], 1);
}

TEST_F(MixerMachineTest, AVisitTakesTheFinishedChocolateAndStartsTheNext) {
    std::shared_ptr<VMixer> mixer = Mixer();
    std::shared_ptr<VPlayer> player = Player();
    mixer->Select(0);
    mixer->Interact(player);
    std::shared_ptr<VCarriable> first = mixer->GetItem();
    ASSERT_NE(first, nullptr);
    Cycle(mixer);
    mixer->Select(1);
    mixer->Interact(player);
    EXPECT_EQ(player->GetHeldItem(VPlayer::kCurrentHand, nullptr), first);
    ASSERT_NE(mixer->GetItem(), nullptr);
    EXPECT_NE(mixer->GetItem(), first);
    EXPECT_TRUE(mixer->IsBusy());
    EXPECT_EQ(std::dynamic_pointer_cast<VChocolate>(mixer->GetItem())->GetChocolateType(), 1);
}

TEST_F(MixerMachineTest, OwnedOptionsShowTheirTanksAndButtons) {
    std::shared_ptr<VMixer> mixer = Working<VMixer>(2, "mixer", {"kMixer1", "kMixer3", "kMixerQ3"});
    EXPECT_TRUE(mixer->IsEnabled());
    EXPECT_TRUE(mixer->IsVisible());
    const auto& buttons = mixer->GetSelections();
    struct Case {
        int option;
        bool shown;
        bool available;
    } cases[] = {{1, true, false}, {2, false, false}, {3, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        EXPECT_EQ(mixer->GetChildObject(TString::Format("tank%i", c.option))->IsVisible(), c.shown);
        const std::shared_ptr<VMachineButton>& button = buttons.at(TString::Format("button%i", c.option));
        EXPECT_EQ(button->IsVisible(), c.shown);
        EXPECT_EQ(button->IsAvailable(), c.available);
    }
    // The owned buttons were rebuilt after the tint cleared them.
    EXPECT_NE(buttons.at("button1")->GetIcon(), nullptr);

    ReleaseManagerSingleton<VUpgradeManager>();
    VUpgradeManager::Get()->LoadCatalogue("locations/test/machines.xml");
    mixer->ApplyUpgrades();
    EXPECT_FALSE(mixer->IsEnabled());
    EXPECT_FALSE(mixer->IsVisible());
}

}  // namespace
