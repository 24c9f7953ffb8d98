// The bin: both hands in one visit, hand 2 first, and what they held in
// "TrashUsedItemID"; an empty-handed visit; the counts inside and outside a
// tutorial; a bin not owned.
#include "game/machines/disposal.h"

#include <gtest/gtest.h>

#include <string>

#include "game/shell/valuemanager.h"
#include "tests/machines/specialstationtesting.h"

namespace {

class DisposalTest : public SpecialStationTest {
protected:
    static std::string Trashed() { return TGameState::Get()->GetState("TrashUsedItemID").c_str(); }
};

TEST_F(DisposalTest, BothHandsGoInOneVisitHandTwoFirst) {
    struct Case {
        const char* before;
        std::string prefix;
    } cases[] = {{"-1", ""}, {"", ""}, {"chocolate(old)", "chocolate(old),"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        TGameState::Get()->SetState("TrashUsedItemID", c.before);
        std::shared_ptr<VDisposal> bin = Bin();
        std::shared_ptr<VPlayer> player = Player();
        std::shared_ptr<VChocolate> right = Finished(0);
        std::shared_ptr<VChocolate> left = Finished(1);
        player->PickUp(right);
        player->PickUp(left);
        bin->Interact(player, nullptr);
        EXPECT_EQ(player->CountFreeHands(), 2);
        EXPECT_EQ(Trashed(), c.prefix + "chocolate" + right->Describe().c_str() + ",chocolate" +
                                 left->Describe().c_str());
    }
}

TEST_F(DisposalTest, AnEmptyHandedVisitStillOpensTheLidAndCounts) {
    std::shared_ptr<VDisposal> bin = Bin();
    TGameState::Get()->SetState("TrashUsedItemID", "-1");
    bin->Interact(Player(), nullptr);
    EXPECT_TRUE(LidMoves(*bin));
    EXPECT_EQ(Sounds(), std::vector<std::string>{"disposal"});
    EXPECT_EQ(TGameState::Get()->GetState("TrashUsed"), TString("1"));
    EXPECT_EQ(Trashed(), "");
    EXPECT_EQ(VValueManager::Get()->GetInt("disposed_this_level", 0), 0);

    // Without a player nothing happens.
    bin->Interact(nullptr, nullptr);
    EXPECT_EQ(TGameState::Get()->GetState("TrashUsed"), TString("1"));
}

TEST_F(DisposalTest, DisposalsInATutorialCountForTheLevelOnly) {
    struct Case {
        bool tutorial;
        int total;
    } cases[] = {{false, 1}, {true, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tutorial);
        std::shared_ptr<VValueManager> values = VValueManager::Get();
        values->SetValue("num_disposed", 0, false);
        values->SetValue("disposed_this_level", 0, false);
        VTutorialManager::Get()->SetInputAllowed(c.tutorial);
        std::shared_ptr<VPlayer> player = Player();
        player->PickUp(VCarriable::Create(1));
        Bin()->Interact(player, nullptr);
        EXPECT_EQ(values->GetInt("num_disposed", -1), c.total);
        EXPECT_EQ(values->GetInt("disposed_this_level", -1), 1);
    }
    VTutorialManager::Get()->SetInputAllowed(false);
}

TEST_F(DisposalTest, ABinNotOwnedIsHidden) {
    auto bin = std::dynamic_pointer_cast<VDisposal>(VStation::Create(15, VStation::kDisposalStation));
    ASSERT_NE(bin, nullptr);
    bin->Load(Describe("bin"));
    bin->ApplyUpgrades();
    EXPECT_FALSE(bin->IsVisible());
    Grant("kDisposal", "station");
    bin->ApplyUpgrades();
    EXPECT_TRUE(bin->IsVisible());
}

}  // namespace
