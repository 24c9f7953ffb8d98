// The display shelf: shown and sized by its upgrades, chocolates named by
// their places and counted by the vendor, the choice of the one to take by a
// click on the station or on the chocolate, a full shelf, expiry, a bottle
// that is no chocolate, a shrinking shelf and a running tutorial.
#include "game/machines/display.h"

#include <gtest/gtest.h>

#include <string>

#include "game/sprites/spritemanager.h"
#include "tests/machines/specialstationtesting.h"

namespace {

class DisplayTest : public SpecialStationTest {
protected:
    std::shared_ptr<VDisplay> Shelf(std::initializer_list<const char*> owned = {"kDisplay1"}) {
        for (const char* upgrade : owned) Grant(upgrade, "station");
        return Loaded<VDisplay>(11, VStation::kDisplayStation, "{ playerPoint = 'a' }");
    }

    // The shapes the vendor counts as shown.
    std::set<int> ShownShapes() const { return vendor->GetDisplayed(VChocolateVendor::kShownShape); }

    // A click on a shelved chocolate, its listeners up to date.
    void ClickOn(const std::shared_ptr<VChocolate>& chocolate) {
        chocolate->Update(false);
        chocolate->SendEvent(VSprite::kEventClick, TPoint(), Identity(), 0);
    }
};

TEST_F(DisplayTest, TheUpgradesShowTheShelfAndGiveItASecondPlace) {
    struct Case {
        std::initializer_list<const char*> owned;
        bool visible;
        int capacity;
    } cases[] = {{{}, false, 1}, {{"kDisplay1"}, true, 1}, {{"kDisplay1", "kDisplay2"}, true, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.capacity);
        std::shared_ptr<VDisplay> shelf = Shelf(c.owned);
        EXPECT_EQ(shelf->IsVisible(), c.visible);
        EXPECT_EQ(shelf->GetCapacity(), c.capacity);
        EXPECT_EQ(shelf->GetSlots().size(), static_cast<size_t>(c.capacity));
    }
}

TEST_F(DisplayTest, ShelvedChocolatesAreNamedByPlaceAndCountedByTheVendorUntilTaken) {
    std::shared_ptr<VDisplay> shelf = Shelf({"kDisplay1", "kDisplay2"});
    std::shared_ptr<VChocolate> bar = Finished(1, 0);
    std::shared_ptr<VChocolate> truffle = Finished(1, 1);
    shelf->PlaceChocolate(bar);
    shelf->PlaceChocolate(truffle);
    shelf->PlaceChocolate(Finished(1, 2));
    EXPECT_EQ(shelf->GetCount(), 2);
    EXPECT_STREQ(bar->GetName().c_str(), "chocolate1");
    EXPECT_STREQ(truffle->GetName().c_str(), "chocolate2");
    EXPECT_TRUE(truffle->IsClickable());
    EXPECT_FALSE(truffle->IsLeaf());
    EXPECT_EQ(truffle->GetLayer(), 2);
    EXPECT_EQ(ShownShapes(), (std::set<int>{0, 1}));
    EXPECT_EQ(TGameState::Get()->GetState("DisplayUsed"), TString("2"));

    shelf->RemoveChocolate(bar);
    EXPECT_EQ(shelf->GetCount(), 1);
    EXPECT_EQ(shelf->GetSlots()[0], nullptr);
    EXPECT_EQ(bar->GetOwner(), nullptr);
    EXPECT_FALSE(bar->IsClickable());
    EXPECT_EQ(ShownShapes(), (std::set<int>{1}));
    // The freed first place is taken first.
    std::shared_ptr<VChocolate> novelty = Finished(1, 2);
    shelf->PlaceChocolate(novelty);
    EXPECT_STREQ(novelty->GetName().c_str(), "chocolate1");

    // A new level's shelf starts empty and the vendor forgets what it showed.
    shelf->Load(Describe("special"));
    EXPECT_EQ(shelf->GetCount(), 0);
    EXPECT_TRUE(ShownShapes().empty());
}

TEST_F(DisplayTest, OnePlaceIsChosenByAStationClickTwoNeedAClickOnTheChocolate) {
    std::shared_ptr<VPlayer> player = Player();
    std::shared_ptr<VDisplay> single = Shelf();
    std::shared_ptr<VChocolate> shelved = Finished();
    single->PlaceChocolate(shelved);
    single->OnClick();
    EXPECT_EQ(single->GetSelected(), shelved);
    single->Interact(player, nullptr);
    EXPECT_EQ(player->GetHeldItem(VPlayer::kRightHand, nullptr), shelved);
    EXPECT_EQ(single->GetCount(), 0);
    EXPECT_EQ(single->GetSelected(), nullptr);

    // With two places a station click chooses nothing: the arrival shelves
    // the current hand's chocolate.
    std::shared_ptr<VDisplay> pair = Shelf({"kDisplay1", "kDisplay2"});
    std::shared_ptr<VChocolate> first = Finished();
    pair->PlaceChocolate(first);
    pair->OnClick();
    EXPECT_EQ(pair->GetSelected(), nullptr);
    pair->Interact(player, nullptr);
    EXPECT_EQ(pair->GetCount(), 2);
    EXPECT_EQ(player->CountFreeHands(), 2);

    ClickOn(first);
    EXPECT_EQ(pair->GetSelected(), first);
    pair->Interact(player, nullptr);
    EXPECT_EQ(player->GetHeldItem(VPlayer::kCurrentHand, nullptr), first);
    EXPECT_EQ(pair->GetCount(), 1);
}

TEST_F(DisplayTest, AFullShelfOrABottleLeavesTheHandsAsTheyWere) {
    std::shared_ptr<VPlayer> player = Player();
    std::shared_ptr<VDisplay> full = Shelf();
    full->PlaceChocolate(Finished());
    std::shared_ptr<VChocolate> held = Finished();
    player->PickUp(held);
    full->Interact(player, nullptr);
    EXPECT_EQ(player->GetHeldItem(VPlayer::kCurrentHand, nullptr), held);
    EXPECT_EQ(full->GetCount(), 1);

    std::shared_ptr<VDisplay> empty = Shelf();
    player->TakeItemFromHand(VPlayer::kCurrentHand);
    std::shared_ptr<VCarriable> bottle = VCarriable::Create(1);
    player->PickUp(bottle);
    empty->Interact(player, nullptr);
    EXPECT_EQ(player->GetHeldItem(VPlayer::kCurrentHand, nullptr), bottle);
    EXPECT_EQ(empty->GetCount(), 0);
    EXPECT_EQ(empty->GetSlots()[0], nullptr);
}

TEST_F(DisplayTest, AnExpiredChocolateLeavesTheShelfUnlessPaused) {
    std::shared_ptr<VDisplay> shelf = Shelf();
    VValueManager::Get()->SetValue("chocolate_decay_rate", 1000, false);
    VValueManager::Get()->SetValue("chocolate_fade_time", 16, false);
    std::shared_ptr<VChocolate> spoiled = Finished(1, 2);
    spoiled->SetManager(manager);
    spoiled->SetDecaying(true);
    shelf->PlaceChocolate(spoiled);
    for (int n = 0; n < 40 && !spoiled->IsExpired(); ++n) Frame(spoiled);
    ASSERT_TRUE(spoiled->IsExpired());
    Tick(16);
    shelf->Update(true);
    EXPECT_EQ(shelf->GetCount(), 1);
    Run(shelf);
    EXPECT_EQ(shelf->GetCount(), 0);
    EXPECT_TRUE(ShownShapes().empty());
}

TEST_F(DisplayTest, AShrinkingShelfKeepsTheChocolateOfItsLostPlace) {
    VUpgradeManager::Get()->MakeAvailable("kDisplay2", "station");
    VUpgradeManager::Get()->PreviewUpgrade("kDisplay2", "station", nullptr);
    std::shared_ptr<VDisplay> shelf = Shelf();
    ASSERT_EQ(shelf->GetCapacity(), 2);
    std::shared_ptr<VChocolate> second = Finished();
    shelf->PlaceChocolate(Finished());
    shelf->PlaceChocolate(second);
    VUpgradeManager::Get()->RevertPreviews("kDisplay2", "station", nullptr);
    shelf->ApplyUpgrades();
    EXPECT_EQ(shelf->GetCapacity(), 1);
    ASSERT_EQ(shelf->GetSlots().size(), 2u);
    EXPECT_EQ(shelf->GetSlots()[1], second);

    // Taken back, its place goes; then the shelf holds one again.
    ClickOn(second);
    std::shared_ptr<VPlayer> player = Player();
    shelf->Interact(player, nullptr);
    EXPECT_EQ(player->GetHeldItem(VPlayer::kCurrentHand, nullptr), second);
    EXPECT_EQ(shelf->GetSlots().size(), 1u);
    EXPECT_EQ(shelf->GetCount(), 1);
}

TEST_F(DisplayTest, ARunningTutorialLetsTheShelvedChocolateBeClicked) {
    std::shared_ptr<VPlayer> player = Player();
    std::shared_ptr<VSpriteManager> sprites = screen->GetSpriteManager();
    sprites->SetInputRestricted(true);
    for (bool tutorial : {false, true}) {
        SCOPED_TRACE(tutorial);
        VTutorialManager::Get()->SetInputAllowed(tutorial);
        std::shared_ptr<VDisplay> shelf = Shelf();
        shelf->SetManager(sprites);
        std::shared_ptr<VChocolate> chocolate = Finished();
        player->PickUp(chocolate);
        shelf->Interact(player, nullptr);
        ASSERT_EQ(shelf->GetSlots()[0], chocolate);
        EXPECT_EQ(sprites->Accepts(chocolate), tutorial);
    }
    VTutorialManager::Get()->SetInputAllowed(false);
}

}  // namespace
