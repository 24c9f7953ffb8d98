// A customer's order, service and money on a current level screen: what it
// orders (a definition's items, or chocolates of the level's vendor with now
// and then a sauce, a drink or a second item), what it accepts from the
// player's hands, the money it leaves and its collection, and the statistics
// each ending counts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/xmlnode.h"
#include "game/chocolates/chocolatespec.h"
#include "game/floor/player.h"
#include "game/level/customerdata.h"
#include "game/machines/station.h"
#include "game/shop/floatingtexts.h"
#include "tests/chocolates/chocolatetesting.h"
#include "tests/floor/customertesting.h"
#include "tests/shop/shoptesting.h"

namespace {

const char kCatalogue[] = "locations/test/upgrades.xml";
// One bar of milk chocolate, and the same with an ingredient on it.
const char kMilkBar[] = R"(<order type="chocolate" shape="bar" mix="1" layers="1"/>)";
const char kMilkBarWithNuts[] =
    R"(<order type="chocolate" shape="bar" mix="1" layers="2"><layer type="ingredient" option="2"/></order>)";

class CustomerOrderTest : public ShopScreenTest<CustomerTest> {
protected:
    void SetUp() override {
        ShopScreenTest<CustomerTest>::SetUp();
        WriteImage("choc/layer.png", 8, 8);
        WriteImage("choc/bucket.png", 8, 8);
        WriteImage("choc/icon.png", 4, 4);
        Define(kChocolateCatalogue);
        WriteAsset(kCatalogue, StationCatalogue({"kSauce1", "kDrink1"}));
        VUpgradeManager::Get()->LoadCatalogue(kCatalogue);
        chocolates = VChocolateVendor::Create();
        std::unique_ptr<TLuaTable> table(script.GetGlobalTable("catalogue"));
        chocolates->Load(table.get());
        chocolates->SetMaxLayers(1);
        screen->SetChocolateVendor(chocolates);
        // Level 1 is below it: one item, and no draw for a second.
        SetValue("multi_order_min_level", 5);
        SetValue("layer_price", 50);
        Define(R"( counter = { name = "station01", stationType = 1, stationID = 1, x = 200, y = 100,
                               money = { 10, -20 } } )");
        station = VStation::Create(1, VStation::kPlainStation);
        station->Load(Describe("counter"));
        screen->AddStation("station01", station);
    }
    void TearDown() override {
        station.reset();
        chocolates.reset();
        VChocolate::ClearLayerTints();
        ReleaseManagerSingleton<VUpgradeManager>();
        ShopScreenTest<CustomerTest>::TearDown();
    }

    void Own(const std::vector<const char*>& upgrades) {
        for (const char* upgrade : upgrades) {
            ASSERT_TRUE(VUpgradeManager::Get()->GrantUpgrade(upgrade, "station", false, nullptr)) << upgrade;
        }
        chocolates->UpdateAvailability();
    }

    // Orders read from "order" elements.
    static std::shared_ptr<VCustomerData> Definition(const std::string& orders) {
        TXmlNode document;
        document.ParseString(("<customer>" + orders + "</customer>").c_str());
        auto definition = VCustomerData::Create();
        definition->Read(document.FindChild("customer"));
        return definition;
    }

    // A chocolate made from the order element, as a machine would finish it.
    std::shared_ptr<VChocolate> Chocolate(const char* order) {
        TXmlNode document;
        document.ParseString(order);
        VChocolateSpec spec = VChocolateSpec::Init(0);
        spec.Read(*document.FindChild("order"));
        return chocolates->CreateOrderChocolate(spec);
    }
    // A customer at the counter that has ordered and shows its order.
    std::shared_ptr<VCustomer> Waiting(const std::string& orders) {
        std::shared_ptr<VCustomer> customer = Made();
        customer->SetDefinition(Definition(orders));
        customer->Arrive(station, 100);
        customer->SetState(VCustomer::kOrdering);
        customer->OnResume();
        return customer;
    }

    std::shared_ptr<VPlayer> Holding(const std::vector<std::shared_ptr<VCarriable>>& items) {
        auto player = VPlayer::Create(nullptr, "player", 0);
        player->SetManager(manager);
        for (const auto& item : items) EXPECT_TRUE(player->PickUp(item));
        return player;
    }

    // The customer's state once the time has passed.
    int StateAfter(const std::shared_ptr<VCustomer>& customer, uint32_t milliseconds) {
        Tick(milliseconds);
        customer->Update(false);
        return customer->GetState();
    }

    static std::vector<std::string> Names(const std::shared_ptr<VCustomer>& customer) {
        std::vector<std::string> names;
        if (customer->GetCurrentItem()) names.push_back(VCustomer::ItemName(customer->GetCurrentItem()).c_str());
        for (const auto& item : customer->GetOrder()) names.push_back(VCustomer::ItemName(item).c_str());
        return names;
    }

    std::shared_ptr<VChocolateVendor> chocolates;
    std::shared_ptr<VStation> station;
};

// Orders

TEST_F(CustomerOrderTest, ADefinitionsOrdersComeInTheirOrderWhateverTheChances) {
    SetValue("multi_order_min_level", 0);
    SetValue("multi_order_chance", 100);
    Own({"kSauce1", "kDrink1", "kPress1", "kMixer1"});
    auto customer = Made();
    customer->SetDefinition(Definition(std::string(kMilkBar) + R"(<order type="sauce"/><order type="drink"/>)"));
    customer->GenerateOrder();
    ASSERT_EQ(customer->GetOrder().size(), 3u);
    EXPECT_EQ(host.draws, 0);
    customer->ShowOrder();
    EXPECT_EQ(Names(customer), (std::vector<std::string>{"chocolate", "sauce", "drink"}));
    auto sauce = customer->GetOrder().front();
    EXPECT_STREQ(sauce->GetName().c_str(), "sauce");
    EXPECT_STREQ(sauce->GetCurrentAsset()->GetName().c_str(), "sauce");
    auto drink = customer->GetOrder().back();
    EXPECT_STREQ(drink->GetCurrentAsset()->GetName().c_str(), "drink");
    ASSERT_EQ(customer->GetBubble()->GetItemCount(), 3);
    // The milk bar cannot be made: only dark chocolate is.
    EXPECT_TRUE(customer->GetBubble()->IsUnavailable(0));
    EXPECT_FALSE(customer->GetBubble()->IsUnavailable(1));
    EXPECT_FALSE(customer->GetBubble()->IsUnavailable(2));
}

TEST_F(CustomerOrderTest, ASecondItemComesByChanceFromTheLevelsPastTheMinimum) {
    Own({"kPress1", "kMixer1"});
    struct Case {
        int level;
        int minimum;
        float chance;
        uint32_t draw;
        size_t items;
        int draws;
    };
    // Each chocolate draws its shape and its chocolate.
    for (const Case& c : {Case{12, 3, 10, 0, 1, 2}, Case{12, 0, 10, 29, 2, 5}, Case{12, 0, 10, 30, 1, 3},
                          Case{11, 0, 10, 19, 2, 5}, Case{11, 0, 10, 20, 1, 3}}) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " minimum " << c.minimum << " draw " << c.draw);
        SetValue("current_level", static_cast<float>(c.level));
        SetValue("multi_order_min_level", static_cast<float>(c.minimum));
        SetValue("multi_order_chance", c.chance);
        host.scripted = {c.minimum > c.level % 10 ? 0 : c.draw};
        host.draws = 0;
        auto customer = Made();
        customer->GenerateOrder();
        EXPECT_EQ(customer->GetOrder().size(), c.items);
        EXPECT_EQ(host.draws, c.draws);
    }
}

TEST_F(CustomerOrderTest, AFirstChocolateThatCannotBeMadeBringsASecondThatIsWantedFirst) {
    Own({"kPress1", "kMixer1"});
    // A truffle on the shelf draws the shape half the time; truffles are not made.
    auto shown = VChocolate::Create(chocolates);
    shown->MakeLayer(1, kChocolateLayer, 0);
    chocolates->AddDisplayed(shown);
    SetValue("display_influence_shape", 50);
    SetValue("display_influence_mix", 0);
    // The truffle: the shelf's shape, then dark; the bar: the shape made, then dark.
    host.scripted = {0, 0, 100, 0, 100, 0, 100, 0};
    auto customer = Made();
    customer->Arrive(station, 100);
    customer->GenerateOrder();
    ASSERT_EQ(customer->GetOrder().size(), 2u);
    auto bar = std::dynamic_pointer_cast<VChocolate>(customer->GetOrder().front());
    auto truffle = std::dynamic_pointer_cast<VChocolate>(customer->GetOrder().back());
    ASSERT_TRUE(bar && truffle);
    EXPECT_EQ(bar->GetShape(), 0);
    EXPECT_EQ(truffle->GetShape(), 1);
    customer->ShowOrder();
    EXPECT_EQ(customer->GetCurrentItem(), bar);
    // The clouds follow the order of serving: the bar, then the truffle that cannot be had.
    ASSERT_EQ(customer->GetBubble()->GetItemCount(), 2);
    EXPECT_FALSE(customer->GetBubble()->IsUnavailable(0));
    EXPECT_TRUE(customer->GetBubble()->IsUnavailable(1));
}

TEST_F(CustomerOrderTest, SaucesAndDrinksComeOneTimeInSixWhenAnyIsMade) {
    struct Case {
        const char* name;
        std::vector<const char*> owned;
        std::vector<uint32_t> draws;
        const char* item;
        bool unavailable;
    };
    const Case cases[] = {
        {"a drink", {"kDrink1"}, {6, 0}, "drink", false},
        // Without the sauce upgrade a sauce is still ordered, and shown as not to be had.
        {"a sauce nobody makes", {"kDrink1"}, {12, 1}, "sauce", true},
        {"a sauce", {"kSauce1"}, {0}, "sauce", false},
        {"a chocolate", {"kSauce1", "kDrink1", "kPress1", "kMixer1"}, {1, 0, 0}, "chocolate", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReleaseManagerSingleton<VUpgradeManager>();
        VUpgradeManager::Get()->LoadCatalogue(kCatalogue);
        Own(c.owned);
        host.scripted.assign(c.draws.begin(), c.draws.end());
        auto customer = Made();
        customer->Arrive(station, 100);
        customer->GenerateOrder();
        customer->ShowOrder();
        EXPECT_EQ(Names(customer), std::vector<std::string>{c.item});
        ASSERT_EQ(customer->GetBubble()->GetItemCount(), 1);
        EXPECT_EQ(customer->GetBubble()->IsUnavailable(0), c.unavailable);
        EXPECT_TRUE(host.scripted.empty());
        station->DetachCustomer();
    }
}

TEST_F(CustomerOrderTest, WithoutAVendorNothingIsOrderedAndWithoutABubbleTheOrderIsStillWanted) {
    screen->SetChocolateVendor(nullptr);
    auto customer = Made();
    customer->GenerateOrder();
    EXPECT_FALSE(customer->HasOutstandingOrder());

    auto plain = VCustomer::Create(nullptr);
    plain->SetDefinition(Definition(R"(<order type="chocolate"/><order type="sauce"/>)"));
    plain->GenerateOrder();
    // Neither the chocolate without a vendor nor the sauce without its art.
    EXPECT_FALSE(plain->HasOutstandingOrder());

    // A customer without a bubble still wants what it ordered.
    screen->SetChocolateVendor(chocolates);
    plain->SetDefinition(Definition(kMilkBar));
    plain->GenerateOrder();
    plain->ShowOrder();
    ASSERT_NE(plain->GetCurrentItem(), nullptr);
    EXPECT_TRUE(plain->OfferItem(Chocolate(kMilkBar)));
}

// Taking the order

TEST_F(CustomerOrderTest, TakingTheOrderThinksThenShowsTheOrder) {
    auto customer = Made();
    customer->SetDefinition(Definition(kMilkBar));
    customer->Arrive(station, 100);
    Played();
    customer->Interact(nullptr);
    EXPECT_EQ(customer->GetState(), VCustomer::kOrdering);
    EXPECT_TRUE(customer->IsSuspended());
    EXPECT_EQ(Played(), std::vector<std::string>{"audio/sfx/menu.ogg"});
    EXPECT_EQ(screen->GetLastComboKind(), ShopWindow::kMenuCombo);
    EXPECT_EQ(customer->GetBubble()->GetServedCount(), 1);
    EXPECT_EQ(StateAfter(customer, 250), VCustomer::kOrdering);
    EXPECT_EQ(StateAfter(customer, 100), VCustomer::kWaiting);
    EXPECT_EQ(Names(customer), std::vector<std::string>{"chocolate"});

    // A customer that does not think at all still orders.
    Define(R"( quick = { orderDelay = 0 } )");
    auto quick = Made();
    quick->Load(Describe("quick"));
    quick->SetDefinition(Definition(kMilkBar));
    quick->SetState(VCustomer::kArrived);
    quick->Interact(nullptr);
    EXPECT_EQ(StateAfter(quick, 1), VCustomer::kWaiting);
}

// Serving

TEST_F(CustomerOrderTest, OneItemIsServedEachTimeTheRightHandsFirst) {
    struct Case {
        const char* name;
        bool rightInRight;  // hand 2
        bool rightInLeft;   // hand 1
        bool rightKept;
        bool leftKept;
    };
    for (const Case& c : {Case{"the left hand's", false, true, true, false},
                          Case{"the right hand's only", true, true, false, true},
                          Case{"neither", false, false, true, true}}) {
        SCOPED_TRACE(c.name);
        auto customer = Waiting(std::string(kMilkBar) + kMilkBar);
        std::shared_ptr<VCarriable> right = c.rightInRight ? Chocolate(kMilkBar) : Chocolate(kMilkBarWithNuts);
        std::shared_ptr<VCarriable> left = c.rightInLeft ? Chocolate(kMilkBar) : Chocolate(kMilkBarWithNuts);
        auto player = Holding({right, left});
        customer->Interact(player);
        EXPECT_EQ(player->GetRightHand() == right, c.rightKept);
        EXPECT_EQ(player->GetLeftHand() == left, c.leftKept);
        EXPECT_EQ(customer->GetOrder().empty(), c.rightInLeft || c.rightInRight);
        EXPECT_EQ(customer->GetState(), VCustomer::kWaiting);
        station->DetachCustomer();
    }
}

TEST_F(CustomerOrderTest, AChocolateIsTakenWithTheSameLayersOnly) {
    auto customer = Waiting(kMilkBar);
    EXPECT_FALSE(customer->OfferItem(nullptr));
    EXPECT_FALSE(customer->OfferItem(Chocolate(kMilkBarWithNuts)));
    // Named as a sauce, but a chocolate is wanted.
    auto sauce = VCarriable::Create(1);
    sauce->SetName("chocolate");
    EXPECT_FALSE(customer->OfferItem(sauce));
    EXPECT_FLOAT_EQ(customer->GetMoneyOwed(), 0);
    EXPECT_TRUE(customer->HasOutstandingOrder());
    EXPECT_EQ(Played(), std::vector<std::string>());

    SetValue("order_patience_bonus", 30);
    customer->SetPatience(90);
    EXPECT_TRUE(customer->OfferItem(Chocolate(kMilkBar)));
    EXPECT_FLOAT_EQ(customer->GetMoneyOwed(), 50);
    // More than full patience is kept.
    EXPECT_FLOAT_EQ(customer->GetPatience(), 120);
    EXPECT_FALSE(customer->HasOutstandingOrder());
    EXPECT_EQ(Played(), std::vector<std::string>{"audio/sfx/customer_leaves.ogg"});
    EXPECT_EQ(State("OrderCompleted"), "1");
    EXPECT_EQ(screen->GetLastComboKind(), ShopWindow::kServiceCombo);
    EXPECT_FALSE(customer->OfferItem(Chocolate(kMilkBar)));
}

TEST_F(CustomerOrderTest, SaucesAndDrinksAreChargedAtTheirPrices) {
    SetValue("sauce_price", 20);
    SetValue("drink_price", 35);
    auto customer = Waiting(R"(<order type="sauce"/><order type="drink"/>)");
    auto drink = VCarriable::Create(1);
    drink->SetName("drink");
    EXPECT_FALSE(customer->OfferItem(drink));
    auto sauce = VCarriable::Create(1);
    sauce->SetName("sauce");
    EXPECT_TRUE(customer->OfferItem(sauce));
    EXPECT_TRUE(customer->OfferItem(drink));
    EXPECT_FLOAT_EQ(customer->GetMoneyOwed(), 55);
    EXPECT_FLOAT_EQ(Value("num_sauce_sold"), 1);
}

TEST_F(CustomerOrderTest, AGiftPleasesAWaitingCustomerOnly) {
    SetValue("complimentary_patience_bonus", 15);
    auto customer = Made();
    auto gift = VCarriable::Create(1);
    struct Case {
        int state;
        bool taken;
    };
    for (const Case& c : {Case{VCustomer::kNotArrived, false}, Case{VCustomer::kArrived, true},
                          Case{VCustomer::kOrdering, true}, Case{VCustomer::kWaiting, true},
                          Case{VCustomer::kServed, false}, Case{VCustomer::kMoneyPlaced, false}}) {
        SCOPED_TRACE(c.state);
        customer->SetState(c.state);
        customer->SetPatience(50);
        EXPECT_EQ(customer->OfferComplimentary(gift), c.taken);
        EXPECT_FLOAT_EQ(customer->GetPatience(), c.taken ? 65 : 50);
        EXPECT_EQ(Played(), c.taken ? std::vector<std::string>{"audio/sfx/chomp.ogg"} : std::vector<std::string>());
    }
    customer->SetState(VCustomer::kWaiting);
    EXPECT_FALSE(customer->OfferComplimentary(nullptr));
}

// Leaving and paying

TEST_F(CustomerOrderTest, TheLastItemLeavesCoinsForWhatIsOwed) {
    struct Case {
        float price;
        size_t coins;
    };
    for (const Case& c : {Case{7.9f, 0}, Case{8, 1}, Case{39.9f, 4}, Case{40, 5}, Case{1e9f, 5}}) {
        SCOPED_TRACE(c.price);
        SetValue("layer_price", c.price);
        auto customer = Waiting(kMilkBar);
        customer->Interact(Holding({Chocolate(kMilkBar)}));
        EXPECT_EQ(customer->GetState(), VCustomer::kMoneyPlaced);
        std::shared_ptr<VObject> money = customer->GetMoneySprite();
        EXPECT_EQ(money->GetOwner(), station);
        EXPECT_EQ(money->GetPosition(), TVec2(10, -20));
        EXPECT_STREQ(money->GetCurrentState().c_str(), "dollar");
        EXPECT_EQ(money->GetChildList().size(), c.coins);
        for (size_t index = 0; index < money->GetChildList().size(); ++index) {
            EXPECT_FLOAT_EQ(money->GetChildList()[index]->GetPosition().y, -1.0f - static_cast<float>(index));
        }
        EXPECT_NE(customer->GetFadeOut(), nullptr);
        station->DetachCustomer();
    }
    EXPECT_FLOAT_EQ(Value("num_served"), 5);
    EXPECT_FLOAT_EQ(Value("served_this_level"), 5);
}

TEST_F(CustomerOrderTest, CollectingBooksThePaymentWithThePatienceTipOnce) {
    SetValue("order_patience_bonus", 0);
    auto customer = Waiting(kMilkBar);
    customer->SetPatience(50);
    customer->Interact(Holding({Chocolate(kMilkBar)}));
    Played();
    layer->Clear();
    customer->Interact(nullptr);
    EXPECT_EQ(customer->GetState(), VCustomer::kDone);
    // 50 for the bar, and half of the tip of 40.
    EXPECT_FLOAT_EQ(Value("current_level_total"), 70);
    EXPECT_EQ(Played(), std::vector<std::string>{"audio/sfx/score_board.ogg"});
    ASSERT_GE(layer->GetTextCount(), 1u);
    auto* text = static_cast<VFloatingText*>(layer->GetText(0));
    // Over the money on the counter.
    EXPECT_EQ(text->GetX(), 210);
    EXPECT_EQ(text->GetY(), 30);
    EXPECT_NE(customer->GetMoneyFade(), nullptr);
    customer->Interact(nullptr);
    EXPECT_FLOAT_EQ(Value("current_level_total"), 70);
    EXPECT_EQ(Only(*records, {"OrderCompleted"}), std::vector<std::string>{"OrderCompleted=1"});
}

TEST_F(CustomerOrderTest, ACustomerOutOfPatienceLeavesAngryWithTheMoneyOfWhatItGot) {
    auto customer = Waiting(std::string(kMilkBar) + kMilkBar);
    customer->Interact(Holding({Chocolate(kMilkBar)}));
    ASSERT_EQ(customer->GetState(), VCustomer::kWaiting);
    customer->SetPatience(0);
    customer->UpdateMood();
    EXPECT_EQ(customer->GetState(), VCustomer::kMoneyPlaced);
    EXPECT_FLOAT_EQ(Value("angry_this_level"), 1);
    EXPECT_FLOAT_EQ(Value("num_angry"), 1);
    EXPECT_FLOAT_EQ(Value("served_this_level"), 0);
    EXPECT_EQ(Only(*records, {"TotalCustomersLost"}), std::vector<std::string>{"TotalCustomersLost=1"});
    customer->Interact(nullptr);
    EXPECT_FLOAT_EQ(Value("current_level_total"), 50);

    // Angry with nothing bought: no money, done at once.
    auto empty = Waiting(kMilkBar);
    empty->SetPatience(0);
    empty->UpdateMood();
    EXPECT_EQ(empty->GetState(), VCustomer::kDone);
    EXPECT_EQ(empty->GetMoneySprite()->GetOwner(), nullptr);
}

TEST_F(CustomerOrderTest, EndlessMoneyLeftTooLongIsLost) {
    screen->SetEndlessMode(true);
    SetValue("endless_money_decay", 1000);
    auto customer = Waiting(kMilkBar);
    customer->Interact(Holding({Chocolate(kMilkBar)}));
    ASSERT_EQ(customer->GetState(), VCustomer::kMoneyPlaced);
    EXPECT_EQ(StateAfter(customer, 1000), VCustomer::kMoneyPlaced);
    EXPECT_EQ(StateAfter(customer, 1), VCustomer::kDone);
    EXPECT_NE(customer->GetMoneyFade(), nullptr);
    EXPECT_EQ(customer->GetMoneyPlacedTime(), 0u);
    customer->Interact(nullptr);
    EXPECT_FLOAT_EQ(Value("current_level_total"), 0);
    // Endless customers count for the level only.
    EXPECT_FLOAT_EQ(Value("served_this_level"), 1);
    EXPECT_FLOAT_EQ(Value("num_served"), 0);
}

TEST_F(CustomerOrderTest, WithoutALevelScreenTheCustomerIsServedAndPaysNothing) {
    SetValue("sauce_price", 20);
    auto customer = Waiting(R"(<order type="sauce"/>)");
    dialog.reset();
    screen = nullptr;
    layer = nullptr;
    auto sauce = VCarriable::Create(1);
    sauce->SetName("sauce");
    customer->Interact(Holding({sauce}));
    EXPECT_EQ(customer->GetState(), VCustomer::kMoneyPlaced);
    customer->Interact(nullptr);
    EXPECT_EQ(customer->GetState(), VCustomer::kDone);
    EXPECT_FLOAT_EQ(Value("current_level_total"), 0);
    EXPECT_EQ(State("ServiceChainPointsEarned"), "");
}

TEST_F(CustomerOrderTest, ACustomerFromArrivalToItsEnd) {
    SetValue("customer_fade_time", 100);
    SetValue("transition_time", 100);
    Own({"kPress1", "kMixer1"});
    auto customer = Made();
    auto player = Holding({});
    customer->Arrive(station, 100);
    station->Interact(player, nullptr);
    for (int frame = 0; frame < 30 && customer->GetState() != VCustomer::kWaiting; ++frame) Frame(customer);
    ASSERT_EQ(customer->GetState(), VCustomer::kWaiting);
    auto wanted = std::dynamic_pointer_cast<VChocolate>(customer->GetCurrentItem());
    ASSERT_NE(wanted, nullptr);

    // The player brings one made to the order.
    auto made = VChocolate::Create(chocolates);
    ASSERT_NE(wanted->GetSlot(kChocolateLayer), nullptr);
    made->MakeLayer(wanted->GetShape(), kChocolateLayer, wanted->GetSlot(kChocolateLayer)->GetOption());
    ASSERT_TRUE(player->PickUp(made));
    station->Interact(player, nullptr);
    EXPECT_EQ(player->CountFreeHands(), 2);
    EXPECT_EQ(customer->GetState(), VCustomer::kMoneyPlaced);
    station->Interact(player, nullptr);
    EXPECT_EQ(customer->GetState(), VCustomer::kDone);
    EXPECT_FALSE(customer->IsFinished());
    for (int frame = 0; frame < 30 && !customer->IsFinished(); ++frame) {
        Frame(customer);
        screen->GetSpriteManager()->UpdateEffects();
    }
    EXPECT_TRUE(customer->IsFinished());
    Frame(customer);
    EXPECT_FALSE(customer->IsVisible());
    EXPECT_GT(Value("current_level_total"), 50);
    EXPECT_EQ(Only(*records, {"OrderCompleted"}), std::vector<std::string>{"OrderCompleted=1"});
}

}  // namespace
