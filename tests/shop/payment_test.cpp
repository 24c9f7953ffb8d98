// The level screen's money: payments with their tips, combo chains and their
// bonuses, the goal and mastery scores reached, the floating texts, and
// handing an item to the customers at the counters.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/floor/customer.h"
#include "game/floor/player.h"
#include "game/machines/station.h"
#include "game/objects/carriable.h"
#include "game/shop/floatingtexts.h"
#include "tests/shop/shoptesting.h"

namespace {

class PaymentTest : public ShopScreenTest<FloorTest> {
protected:
    void SetUp() override {
        ShopScreenTest<FloorTest>::SetUp();
        SetValue("menu_combobonus", 5);
        SetValue("service_combobonus", 10);
        SetValue("payout_combobonus", 20);
    }

    // A customer with the tip and the patience left.
    std::shared_ptr<VCustomer> Paying(float tip, float patience) {
        Define(std::string("kind = { tip = ") + std::to_string(tip) + " }");
        auto customer = VCustomer::Create(nullptr);
        customer->Load(Describe("kind"));
        customer->SetPatience(patience);
        return customer;
    }
};

TEST_F(PaymentTest, AChainPaysFromItsSecondStepAndAnotherKindStartsANewOne) {
    struct Step {
        int kind;
        float total;         // "current_level_total" after the step
        const char* text;    // the floating text shown, or none
        int serviceRecord;   // "service_multiplier_this_level"
        const char* points;  // "ServiceChainPointsEarned"
    };
    const Step steps[] = {
        {2, 0, nullptr, 0, ""},
        {2, 10, "combo_service x2\n+$10", 2, "10"},
        {2, 30, "combo_service x3\n+$20", 3, "30"},
        {1, 30, nullptr, 3, "30"},
        {2, 30, nullptr, 3, "30"},
        {2, 40, "combo_service x2\n+$10", 3, "40"},
        // A kind of its own pays and shows as the menu combo, and records nothing.
        {3, 40, nullptr, 3, "40"},
        {3, 45, "combo_menu x2\n+$5", 3, "40"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "kind " << step.kind << " to " << step.total);
        size_t shown = layer->GetTextCount();
        screen->Combo(step.kind);
        EXPECT_FLOAT_EQ(Value("current_level_total"), step.total);
        if (step.text) {
            ASSERT_EQ(layer->GetTextCount(), shown + 1);
            EXPECT_NE(Texts().back().find(step.text), std::string::npos) << Texts().back();
        } else {
            EXPECT_EQ(layer->GetTextCount(), shown);
        }
        EXPECT_EQ(Value("service_multiplier_this_level"), step.serviceRecord);
        EXPECT_EQ(State("ServiceChainPointsEarned"), step.points);
    }
    EXPECT_EQ(Value("menu_multiplier_this_level"), 0);
    EXPECT_EQ(State("MenuDeliveryChainPointsEarned"), "");
    EXPECT_EQ(Only(*records, {"ServiceChainPointsEarned"}),
              (std::vector<std::string>{"ServiceChainPointsEarned=10", "ServiceChainPointsEarned=30",
                                        "ServiceChainPointsEarned=40"}));
}

TEST_F(PaymentTest, APaymentAddsTheTipOfThePatienceLeftWithinItsLimits) {
    WriteAsset("values.xml",
               "<values><value name=\"salemodifier\" value=\"2\" min=\"0\"/>"
               "<value name=\"tipmodifier\" value=\"0.5\" min=\"0\" max=\"30\"/></values>");
    VValueManager::Get()->Load("values.xml");
    struct Case {
        const char* name;
        float amount;
        bool withCustomer;
        float tip;
        float patience;
        float total;
        const char* text;
    };
    const Case cases[] = {
        {"no customer, no tip", 40, false, 100, 100, 80, "$80"},
        {"half the patience", 40, true, 40, 50, 90, "$90"},
        {"the tip held to its most", 40, true, 100, 100, 110, "$110"},
        {"no patience left", 2.4f, true, 100, 0, 4.8f, "$04"},
        // Shown as the largest whole number rather than as any number at all.
        {"beyond the whole numbers", 1e30f, false, 0, 0, 2e30f, "$2147483647"},
    };
    float level = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        layer->Clear();
        // Another kind first: the payment pays no chain bonus.
        screen->Combo(ShopWindow::kMenuCombo);
        screen->AddPayment(c.amount, TVec2(120, 200), c.withCustomer ? Paying(c.tip, c.patience) : nullptr);
        level += c.total;
        EXPECT_NEAR(Value("current_level_total"), level, 1e-3);
        ASSERT_FALSE(Texts().empty());
        EXPECT_NE(Texts().front().find(std::string(">") + c.text + "<"), std::string::npos) << Texts().front();
        auto* text = static_cast<VFloatingText*>(layer->GetText(0));
        EXPECT_EQ(text->GetX(), 120);
        EXPECT_EQ(text->GetY(), 200);
    }
    EXPECT_EQ(screen->GetLastComboKind(), ShopWindow::kPayoutCombo);
    EXPECT_EQ(screen->GetComboCount(), 0);
    EXPECT_FLOAT_EQ(Value("current_worth"), 0);
}

TEST_F(PaymentTest, GoalAndMasteryAreShownAndSoundedOnceEach) {
    struct Case {
        const char* name;
        std::vector<float> payments;
        std::vector<std::vector<std::string>> sounds;  // after each payment
        int stage;
        int goalTexts;
    };
    const Case cases[] = {
        {"the goal, then mastery", {120, 100, 50},
         {{"audio/sfx/goal.ogg"}, {"audio/sfx/master.ogg"}, {}}, 2, 2},
        {"both at once", {250, 30}, {{"audio/sfx/master.ogg"}, {}}, 2, 1},
        {"just short", {99}, {{}}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<ShopWindow> fresh(new ShopWindow());
        dialog->AddChild(fresh.get(), false);
        fresh->PostInit(TWindowStyle(nullptr));
        layer->Clear();
        SetValue("current_level_total", 0);
        SetValue("mastery_this_level", 0);
        for (size_t index = 0; index < c.payments.size(); ++index) {
            fresh->AddPayment(c.payments[index], TVec2(0, 0), nullptr);
            EXPECT_EQ(Played(), c.sounds[index]) << "payment " << index;
        }
        EXPECT_EQ(fresh->GetGoalStage(), c.stage);
        EXPECT_EQ(Value("mastery_this_level"), c.stage == 2 ? 1.0f : 0.0f);
        std::vector<std::string> goals;
        for (const std::string& text : Texts()) {
            if (text.find("reached_") != std::string::npos) goals.push_back(text);
        }
        ASSERT_EQ(static_cast<int>(goals.size()), c.goalTexts);
        if (!goals.empty()) {
            EXPECT_NE(goals.back().find("reached_master"), std::string::npos);
        }
    }
}

TEST_F(PaymentTest, EndlessTakingsGrowTheWorthAndReachNoGoal) {
    screen->SetEndlessMode(true);
    SetValue("current_worth", 1000);
    screen->AddPayment(300, TVec2(0, 0), nullptr);
    screen->AddPayment(10, TVec2(0, 0), nullptr);
    // 300, then 10 and a payout bonus of 20.
    EXPECT_FLOAT_EQ(Value("current_level_total"), 330);
    EXPECT_FLOAT_EQ(Value("current_worth"), 1330);
    EXPECT_FLOAT_EQ(Value("endless_level_counter"), 330);
    EXPECT_EQ(screen->GetGoalStage(), 0);
    EXPECT_EQ(Played(), std::vector<std::string>());
    for (const std::string& text : Texts()) EXPECT_EQ(text.find("reached_"), std::string::npos) << text;
}

TEST_F(PaymentTest, WithoutItsTextLayerTheScreenStillBooks) {
    delete layer;
    layer = nullptr;
    EXPECT_EQ(screen->GetTextLayer(), nullptr);
    screen->AddPayment(150, TVec2(0, 0), nullptr);
    screen->Combo(4);
    EXPECT_FLOAT_EQ(Value("current_level_total"), 170);
    EXPECT_EQ(screen->GetGoalStage(), 1);
    EXPECT_EQ(Played(), std::vector<std::string>{"audio/sfx/goal.ogg"});
    EXPECT_EQ(State("CashPickupChainPointsEarned"), "20");
    EXPECT_EQ(Value("payment_multiplier_this_level"), 2);
}

TEST_F(PaymentTest, TheComboTextFloatsOverThePlayer) {
    screen->Combo(2);
    screen->Combo(2);
    ASSERT_EQ(layer->GetTextCount(), 1u);
    auto* text = static_cast<VFloatingText*>(layer->GetText(0));
    EXPECT_EQ(text->GetX(), 400);
    EXPECT_EQ(text->GetY(), 300);

    WriteAsset("zones/zones.xml", "<zonecontroller>" + AvatarRow(3) + "</zonecontroller>");
    Define(R"( player = { startZone = "avatar", startPoint = "p1" } )");
    screen->LoadZones();
    screen->LoadPlayer(Describe("player"));
    screen->Combo(2);
    text = static_cast<VFloatingText*>(layer->GetText(1));
    EXPECT_EQ(text->GetX(), 200);
    EXPECT_EQ(text->GetY(), 225);
}

TEST_F(PaymentTest, TheTextLayerComesJustInFrontOfTheScreen) {
    auto* other = new TWindow();
    dialog->AddChild(other, false);
    other->MoveNextTo(nullptr);
    layer->MoveNextTo(nullptr);
    auto* later = new ShopWindow();
    dialog->AddChild(later, false);
    later->PostInit(TWindowStyle(nullptr));
    std::vector<TWindow*> order(dialog->GetChildren().begin(), dialog->GetChildren().end());
    auto at = std::find(order.begin(), order.end(), static_cast<TWindow*>(later));
    ASSERT_NE(at, order.begin());
    EXPECT_EQ(*std::prev(at), layer);
    EXPECT_EQ(later->GetTextLayer(), layer);
}

// Each text's height and alpha at a time of its life.
struct Moment {
    uint32_t at;
    bool kept;
    int y;
    float alpha;
};

TEST_F(PaymentTest, FloatingTextsRiseStandAndFadeOverTheirLives) {
    struct Case {
        const char* name;
        std::unique_ptr<VFloatingText> text;
        std::vector<Moment> moments;
    };
    Case cases[] = {
        {"payment", std::make_unique<VPaymentText>(12, 100, 300),
         {{0, true, 300, 0}, {250, true, 263, 0.5f}, {500, true, 225, 1}, {1250, true, 224, 0.5f},
          {1750, false, 0, 0}}},
        {"combo", std::make_unique<VComboText>("Service", 2, 10, 100, 300),
         {{0, true, 300, 0}, {250, true, 263, 0.5f}, {500, true, 225, 1}, {1250, true, 225, 1},
          {1750, true, 224, 0.5f}, {2000, false, 0, 0}}},
        {"goal", std::make_unique<VGoalText>("Goal!", VGoalText::kGoal),
         {{0, true, 250, 0}, {250, true, 200, 0.5f}, {500, true, 150, 1}, {1250, true, 150, 1},
          {1750, true, 149, 0.5f}, {1900, true, 148, 0.2f}, {2000, false, 0, 0}}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint32_t age = 0;
        for (const Moment& moment : c.moments) {
            SCOPED_TRACE(moment.at);
            bool kept = c.text->Update(moment.at - age);
            age = moment.at;
            ASSERT_EQ(kept, moment.kept);
            if (!kept) break;
            EXPECT_EQ(c.text->GetY(), moment.y);
            EXPECT_FLOAT_EQ(c.text->GetAlpha(), moment.alpha);
        }
    }
    // One long frame ends a text at once.
    VPaymentText text(1, 0, 0);
    EXPECT_FALSE(text.Update(UINT32_MAX));
}

TEST_F(PaymentTest, TextsShowTheirAmountsOutlinedAndTheGoalsInTheirColours) {
    VPaymentText payment(7, 0, 0);
    EXPECT_STREQ(payment.GetLayout()->GetText().c_str(),
                 "<outline color='000000' size='2'><b>$07</b></outline>");
    VComboText combo("Menu", 3, 12, 0, 0);
    EXPECT_STREQ(combo.GetLayout()->GetText().c_str(),
                 "<outline color='000000' size='2'><b>Menu x3\n+$12</b></outline>");
    VGoalText goal("Goal", VGoalText::kGoal);
    EXPECT_STREQ(goal.GetLayout()->GetText().c_str(), "<outline color='ffffff' size='2'><b>Goal</b></outline>");
    EXPECT_EQ(goal.GetX(), 400);
    EXPECT_EQ(goal.GetColour(), TColor4f(0.25390625f, 0.69921875f, 0.1953125f, 1.0f));
    VGoalText mastery("Mastery", VGoalText::kMastery);
    EXPECT_EQ(mastery.GetColour(), TColor4f(0.8125f, 0.72265625f, 0.109375f, 1.0f));
}

// Takes only the item it is told to.
class Choosy : public VCustomer {
public:
    static std::shared_ptr<Choosy> Create(const std::shared_ptr<VCarriable>& wanted) {
        auto customer = std::make_shared<Choosy>(wanted);
        Adopt(customer);
        return customer;
    }
    explicit Choosy(const std::shared_ptr<VCarriable>& wanted) : VCustomer(nullptr), mWanted(wanted) {}
    bool OfferItem(const std::shared_ptr<VCarriable>& item) override {
        offers.push_back(item);
        return item == mWanted;
    }
    std::vector<std::shared_ptr<VCarriable>> offers;

private:
    std::shared_ptr<VCarriable> mWanted;
};

TEST_F(PaymentTest, AnItemGoesToTheFirstCounterWhoseCustomerTakesIt) {
    auto item = VCarriable::Create(1);
    auto refusing = Choosy::Create(nullptr);
    auto taking = Choosy::Create(item);
    auto beyond = Choosy::Create(item);
    // Counters 1 and 3 with customers, a mixer at 2, none at 4, a counter at 5.
    const std::pair<int, std::shared_ptr<Choosy>> places[] = {{1, refusing}, {3, taking}, {5, beyond}};
    for (const auto& [number, customer] : places) {
        auto station = VStation::Create(number, VStation::kPlainStation);
        screen->AddStation(station->GetName(), station);
        ASSERT_TRUE(station->AttachCustomer(customer));
    }
    auto mixer = VStation::Create(2, 2);
    screen->AddStation(mixer->GetName(), mixer);

    EXPECT_TRUE(screen->PassItemToStation(item));
    EXPECT_EQ(refusing->offers.size(), 1u);
    EXPECT_EQ(taking->offers.size(), 1u);
    // The walk stops at the first number without a station.
    EXPECT_FALSE(screen->PassItemToStation(VCarriable::Create(1)));
    EXPECT_TRUE(beyond->offers.empty());
}

}  // namespace
