#include "game/floor/customer.h"

#include <gtest/gtest.h>

#include "foundation/xmlnode.h"
#include "game/level/customerdata.h"
#include "game/machines/station.h"
#include "game/sprites/alphaeffect.h"
#include "tests/floor/customertesting.h"

namespace {

TEST_F(CustomerTest, DecayIsARateBelowOneElseTheTimeAFullPatienceLasts) {
    struct Case {
        const char* decay;
        float rate;
    };
    for (const Case& c : {Case{"0.5", 0.5f}, Case{"50000", 0.002f}, Case{"nil", 0.001f}, Case{"1", 100.0f}}) {
        SCOPED_TRACE(c.decay);
        Define(std::string("kind = { decay = ") + c.decay + " }");
        auto customer = VCustomer::Create(nullptr);
        customer->Load(Describe("kind"));
        EXPECT_FLOAT_EQ(customer->GetDecayRate(), c.rate);
        EXPECT_FLOAT_EQ(customer->GetTip(), 100.0f);
        EXPECT_EQ(customer->GetOrderDelay(), 5000);
    }
}

TEST_F(CustomerTest, ADefinitionReplacesWhatItGives) {
    auto customer = Made();
    ASSERT_NE(customer, nullptr);
    TString name = customer->GetName();
    auto unset = VCustomerData::Create();
    customer->SetDefinition(unset);
    EXPECT_FLOAT_EQ(customer->GetDecayRate(), 0.002f);
    EXPECT_FLOAT_EQ(customer->GetTip(), 40.0f);
    EXPECT_EQ(customer->GetName(), name);
    EXPECT_EQ(customer->GetDefinition(), unset);

    TXmlNode document;
    document.ParseString("<customer><name>Erik</name><decay>2.0</decay><tip>0</tip></customer>");
    auto given = VCustomerData::Create();
    given->Read(document.FindChild("customer"));
    customer->SetDefinition(given);
    // Taken as it is, not as the time a full patience lasts.
    EXPECT_FLOAT_EQ(customer->GetDecayRate(), 2.0f);
    EXPECT_FLOAT_EQ(customer->GetTip(), 0.0f);
    EXPECT_STREQ(customer->GetName().c_str(), "Erik");
}

TEST_F(CustomerTest, PatienceGivesTheMoodAndItsLooks) {
    auto customer = Made();
    struct Case {
        float patience;
        int mood;
        const char* face;
        const char* cloud;
    };
    for (const Case& c :
         {Case{100, 1, "happy", "happy"}, Case{80.01f, 1, "happy", "happy"}, Case{80, 2, "happy", "content"},
          Case{60, 3, "neutral", "neutral"}, Case{40.5f, 3, "neutral", "neutral"}, Case{40, 4, "annoyed", "annoyed"},
          Case{20, 5, "angry", "angry"}, Case{0.5f, 5, "angry", "angry"}}) {
        SCOPED_TRACE(c.patience);
        customer->SetPatience(c.patience);
        customer->UpdateMood();
        EXPECT_EQ(customer->GetMood(), c.mood);
        EXPECT_STREQ(customer->GetStaticChildren().at("static_face")->GetCurrentState().c_str(), c.face);
        EXPECT_STREQ(VThoughtBubble::MoodState(customer->GetMood()), c.cloud);
    }
}

TEST_F(CustomerTest, RunningOutOfPatienceAngersOnlyAWaitingCustomer) {
    auto customer = Made();
    struct Case {
        int state;
        int after;
    };
    for (const Case& c :
         // Angry, it leaves at once: with nothing bought, it is done.
         {Case{VCustomer::kArrived, VCustomer::kDone}, Case{VCustomer::kWaiting, VCustomer::kDone},
          Case{VCustomer::kServed, VCustomer::kServed}, Case{VCustomer::kMoneyPlaced, VCustomer::kMoneyPlaced}}) {
        SCOPED_TRACE(c.state);
        customer->SetState(c.state);
        customer->SetPatience(0);
        int mood = customer->GetMood();
        customer->UpdateMood();
        EXPECT_EQ(customer->GetState(), c.after);
        EXPECT_EQ(customer->GetMood(), mood);
    }
}

TEST_F(CustomerTest, PatienceDrainsWhileWaitingAndNotWhilePaused) {
    SetValue("patience_decay_modifier", 2.0f);
    SetValue("level_customer_decay", 0.5f);
    SetValue("customer_idle_cooldown_base", 1000);
    SetValue("customer_idle_cooldown_var", 200);
    auto customer = Made();
    customer->SetState(VCustomer::kArrived);
    host.scripted = {150};
    Tick(100);
    customer->Update(true);
    EXPECT_FLOAT_EQ(customer->GetPatience(), 100.0f);
    // The idle animation is scheduled even so: 1000 + 150 - 100.
    EXPECT_EQ(customer->GetIdleCooldown(), 1050);
    Tick(100);
    customer->Update(false);
    // 100 ms x 0.002 x 2 x 0.5.
    EXPECT_NEAR(customer->GetPatience(), 99.8f, 1e-4);
    EXPECT_EQ(customer->GetIdleCooldown(), 950);

    customer->SetState(VCustomer::kMoneyPlaced);
    Tick(100);
    customer->Update(false);
    EXPECT_NEAR(customer->GetPatience(), 99.8f, 1e-4);
    EXPECT_EQ(customer->GetIdleCooldown(), 950);
}

TEST_F(CustomerTest, AnIdleAnimationPlaysOnceAndShowsTheStaticsAgain) {
    SetValue("customer_idle_cooldown_base", 50);
    auto customer = Made();
    customer->SetState(VCustomer::kArrived);
    customer->Update(false);
    EXPECT_EQ(customer->GetIdleCooldown(), 50);
    Tick(50);
    host.tasks.RunAll(0);
    customer->Update(false);
    ASSERT_TRUE(customer->IsIdlePlaying());
    EXPECT_EQ(customer->GetPlayingIdle(), customer->GetIdleChildren().at("idle_happy"));
    EXPECT_TRUE(customer->GetPlayingIdle()->IsVisible());
    EXPECT_FALSE(customer->GetStaticChildren().at("static_body")->IsVisible());
    EXPECT_EQ(VCustomer::GetIdleCount(), 1);
    // The cooldown waits while the animation plays.
    EXPECT_EQ(customer->GetIdleCooldown(), 50);
    for (int frame = 0; frame < 10 && customer->IsIdlePlaying(); ++frame) {
        Tick(16);
        customer->Update(false);
    }
    EXPECT_FALSE(customer->IsIdlePlaying());
    EXPECT_EQ(VCustomer::GetIdleCount(), 0);
    EXPECT_FALSE(customer->GetIdleChildren().at("idle_happy")->IsVisible());
    EXPECT_TRUE(customer->GetStaticChildren().at("static_body")->IsVisible());
}

TEST_F(CustomerTest, AnAngryCustomerPlaysTheAngryIdle) {
    auto customer = Made();
    customer->SetPatience(30);
    customer->UpdateMood();
    customer->StartIdle();
    EXPECT_EQ(customer->GetPlayingIdle(), customer->GetIdleChildren().at("idle_angry"));
    customer->StopIdle();
}

TEST_F(CustomerTest, AtMostFourCustomersIdleAtOnce) {
    SetValue("customer_idle_cooldown_base", 100);
    std::vector<std::shared_ptr<VCustomer>> idling;
    for (int i = 0; i < VCustomer::kMaxIdling; ++i) {
        idling.push_back(Made());
        idling.back()->StartIdle();
        ASSERT_TRUE(idling.back()->IsIdlePlaying());
    }
    auto fifth = Made();
    fifth->SetState(VCustomer::kArrived);
    fifth->Update(false);
    Tick(100);
    fifth->Update(false);
    EXPECT_FALSE(fifth->IsIdlePlaying());
    EXPECT_EQ(fifth->GetIdleCooldown(), 100);
    EXPECT_EQ(VCustomer::GetIdleCount(), 4);

    // A customer destroyed while idling gives its place back.
    idling.pop_back();
    EXPECT_EQ(VCustomer::GetIdleCount(), 3);
    fifth->StartIdle();
    EXPECT_TRUE(fifth->IsIdlePlaying());
    idling.clear();
    fifth.reset();
    EXPECT_EQ(VCustomer::GetIdleCount(), 0);
}

TEST_F(CustomerTest, StaticsShowTheMenuWhileOrdering) {
    auto customer = Made();
    customer->SetState(VCustomer::kOrdering);
    customer->SetMood(1);
    EXPECT_STREQ(customer->GetStaticChildren().at("static_face")->GetCurrentState().c_str(), "menu");
    EXPECT_STREQ(customer->GetStaticChildren().at("static_body")->GetCurrentState().c_str(), "menu");
    EXPECT_TRUE(customer->OnResume());
    EXPECT_EQ(customer->GetState(), VCustomer::kWaiting);
    EXPECT_STREQ(customer->GetStaticChildren().at("static_face")->GetCurrentState().c_str(), "happy");
    ASSERT_FALSE(triggers.empty());
    EXPECT_EQ(triggers.back().first, "customer_order");
}

TEST_F(CustomerTest, ArrivalPlacesTheCustomerAtItsStationWithTheMenuInItsBubble) {
    auto customer = Made();
    customer->Arrive(nullptr, 100);
    EXPECT_EQ(customer->GetState(), VCustomer::kNotArrived);
    EXPECT_TRUE(triggers.empty());

    auto station = VStation::Create(1, VStation::kPlainStation);
    customer->Arrive(station, 50);
    EXPECT_EQ(customer->GetState(), VCustomer::kArrived);
    EXPECT_FLOAT_EQ(customer->GetPatience(), 50);
    EXPECT_EQ(customer->GetStation(), station);
    EXPECT_EQ(station->GetCustomer(), customer);
    EXPECT_FLOAT_EQ(customer->GetAlpha(), 0.0f);  // fading in
    std::shared_ptr<VThoughtBubble> bubble = customer->GetBubble();
    ASSERT_NE(bubble, nullptr);
    EXPECT_EQ(bubble->GetOwner(), customer);
    EXPECT_FLOAT_EQ(bubble->GetPosition().y, -20);
    ASSERT_EQ(bubble->GetItemCount(), 1);
    EXPECT_EQ(customer->GetMenuSprite()->GetOwner(), bubble->GetCloud(0));
    EXPECT_EQ(customer->GetMenuSprite()->GetCurrentFrame(), 1);
    EXPECT_STREQ(bubble->GetCloud(0)->GetCurrentState().c_str(), "happy");
    ASSERT_EQ(triggers.size(), 1u);
    EXPECT_EQ(triggers[0].first, "customer_arrival");
    EXPECT_EQ(triggers[0].second, customer->GetName().c_str());

    // A second arrival shows one menu, not two.
    customer->Arrive(station, 100);
    EXPECT_EQ(bubble->GetItemCount(), 1);
    customer->DetachBubble();
    EXPECT_EQ(bubble->GetOwner(), nullptr);
    EXPECT_EQ(bubble->GetItemCount(), 0);
}

TEST_F(CustomerTest, PointerEventsGoToTheStationWhileItExists) {
    EventLog log;
    auto customer = Made();
    auto station = VStation::Create(1, VStation::kPlainStation);
    station->AddListener(std::make_shared<LoggingListener>("station", log));
    station->Update(false);
    customer->Arrive(station, 100);
    customer->OnMouseEnter();
    customer->OnClick();
    EXPECT_EQ(log, (EventLog{"station enter", "station click"}));

    station.reset();
    EXPECT_EQ(customer->GetStation(), nullptr);
    customer->OnClick();
    customer->OnMouseLeave();
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(CustomerTest, ResetShowsTheStaticsAndHidesTheIdles) {
    auto customer = Made();
    for (const auto& [name, child] : customer->GetIdleChildren()) EXPECT_FALSE(child->IsVisible()) << name.c_str();
    for (const auto& [name, child] : customer->GetStaticChildren()) EXPECT_TRUE(child->IsVisible()) << name.c_str();
    EXPECT_EQ(customer->GetMood(), 1);
    EXPECT_STREQ(customer->GetCurrentAsset()->GetName().c_str(), "base");
    EXPECT_FALSE(customer->HasOutstandingOrder());
}

TEST_F(CustomerTest, LoadingAgainReusesTheChildrenByNameAndSkipsWhatIsNoTable) {
    auto customer = VCustomer::Create(nullptr);
    customer->Load(Describe("posse")->GetSubStyle("walker"));
    std::shared_ptr<VObject> body = customer->GetStaticChildren().at("static_body");
    std::shared_ptr<VObject> happy = customer->GetIdleChildren().at("idle_happy");
    Define(R"( again = { static_body = { }, static_hat = "hat.png", idle_happy = { }, idle_extra = 3 } )");
    customer->Load(Describe("again"));
    EXPECT_EQ(customer->GetStaticChildren().size(), 1u);
    EXPECT_EQ(customer->GetStaticChildren().at("static_body"), body);
    EXPECT_EQ(customer->GetIdleChildren().size(), 1u);
    EXPECT_EQ(customer->GetIdleChildren().at("idle_happy"), happy);
    // The face and the angry idle are gone from the sprite too.
    EXPECT_EQ(customer->GetChildList().size(), 2u);
    EXPECT_EQ(body->GetOwner(), customer);
}

}  // namespace
