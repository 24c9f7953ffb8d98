#include "game/floor/customervendor.h"

#include <gtest/gtest.h>

#include "game/machines/station.h"
#include "game/objects/carriable.h"
#include "tests/floor/customertesting.h"

namespace {

class CustomerVendorTest : public CustomerTest {};

TEST_F(CustomerVendorTest, TheCommonKindWinsOverTheLevelsOfTheSameName) {
    Define(R"( level = { { name = "walker", decay = 0.5 }, other = Kind("sitter", 20000) } )");
    vendor->LoadLevelTypes(Describe("level"));
    EXPECT_EQ(vendor->GetLevelTypes().size(), 2u);
    auto walker = vendor->CreateCustomer("walker");
    ASSERT_NE(walker, nullptr);
    EXPECT_FLOAT_EQ(walker->GetDecayRate(), 0.002f);
    auto sitter = vendor->CreateCustomer("sitter");
    ASSERT_NE(sitter, nullptr);
    EXPECT_FLOAT_EQ(sitter->GetDecayRate(), 0.005f);
    EXPECT_EQ(vendor->CreateCustomer("nobody"), nullptr);
}

TEST_F(CustomerVendorTest, ArtEntriesAreNoKindsInThePosseButAreInTheLevel) {
    Define(R"( both = { anim_money = Kind("coins", 1000), thought_bubble = Kind("cloud", 1000),
                        anim_menu = Kind("card", 1000), dancer = Kind("dancer", 1000), broken = "x" } )");
    vendor->LoadCommonTypes(Describe("both"));
    EXPECT_EQ(vendor->GetCommonTypes().size(), 1u);
    EXPECT_EQ(vendor->GetCommonTypes().count("dancer"), 1u);
    vendor->LoadLevelTypes(Describe("both"));
    EXPECT_EQ(vendor->GetLevelTypes().size(), 4u);
    EXPECT_NE(vendor->CreateCustomer("coins"), nullptr);
    // Loading again starts afresh.
    vendor->LoadCommonTypes(Describe("posse"));
    EXPECT_EQ(vendor->GetCommonTypes().count("dancer"), 0u);
}

TEST_F(CustomerVendorTest, ACustomerIsAnIndependentCopyOfItsTemplate) {
    auto customer = Made();
    const std::shared_ptr<VCustomer>& walker = vendor->GetCommonTypes().at("walker");
    EXPECT_NE(customer, walker);
    EXPECT_FLOAT_EQ(customer->GetTip(), 40);
    EXPECT_EQ(customer->GetOrderDelay(), 300);
    ASSERT_EQ(customer->GetStaticChildren().size(), 2u);
    ASSERT_EQ(customer->GetIdleChildren().size(), 2u);
    for (const auto& [name, child] : customer->GetStaticChildren()) {
        EXPECT_NE(child, walker->GetStaticChildren().at(name)) << name.c_str();
        EXPECT_EQ(child->GetOwner(), customer) << name.c_str();
        EXPECT_NE(child->GetTexture(), nullptr) << name.c_str();
    }
    // The copies of the shared art, each the customer's own.
    ASSERT_NE(customer->GetBubble(), nullptr);
    EXPECT_STREQ(customer->GetBubble()->GetCurrentAsset()->GetName().c_str(), "transparent");
    EXPECT_TRUE(customer->GetBubble()->HasAsset("bubble_single"));
    ASSERT_NE(customer->GetMenuSprite(), nullptr);
    EXPECT_STREQ(customer->GetMenuSprite()->GetCurrentAsset()->GetName().c_str(), "menu");
    ASSERT_NE(customer->GetMoneySprite(), nullptr);
    EXPECT_STREQ(customer->GetMoneySprite()->GetCurrentAsset()->GetName().c_str(), "money");
    ASSERT_NE(customer->GetOrderables(), nullptr);
    EXPECT_EQ(customer->GetOrderables()->GetKind(), 1);
    EXPECT_TRUE(customer->GetOrderables()->HasAsset("sauce"));
    EXPECT_NE(customer->GetBubble(), Made()->GetBubble());

    // Templates stay where they are.
    customer->Arrive(VStation::Create(1, VStation::kPlainStation), 100);
    EXPECT_EQ(walker->GetState(), VCustomer::kNotArrived);
    EXPECT_EQ(walker->GetBubble(), nullptr);
}

TEST_F(CustomerVendorTest, RandomCustomersDrawOnlyAmongSeveralKinds) {
    auto customer = vendor->CreateRandomCustomer();
    ASSERT_NE(customer, nullptr);
    EXPECT_FLOAT_EQ(customer->GetDecayRate(), 0.002f);
    EXPECT_EQ(host.draws, 0);

    // The common kinds first, then the level's, each in name order.
    Define(R"( level = { Kind("a", 10000), Kind("b", 20000) } )");
    vendor->LoadLevelTypes(Describe("level"));
    struct Case {
        uint32_t drawn;
        float rate;
    };
    for (const Case& c : {Case{0, 0.002f}, Case{1, 0.01f}, Case{5, 0.005f}}) {
        SCOPED_TRACE(c.drawn);
        host.scripted = {c.drawn};
        customer = vendor->CreateRandomCustomer();
        ASSERT_NE(customer, nullptr);
        EXPECT_FLOAT_EQ(customer->GetDecayRate(), c.rate);
    }
    auto empty = VCustomerVendor::Create();
    EXPECT_EQ(empty->CreateRandomCustomer(), nullptr);
}

TEST_F(CustomerVendorTest, WithoutArtCustomersGoWithoutBubbleMenuAndMoney) {
    Define(R"( none = { } )");
    vendor->SetUpAssets(Describe("none"));
    EXPECT_EQ(vendor->MakeBubble(), nullptr);
    EXPECT_EQ(vendor->MakeMenu(), nullptr);
    EXPECT_EQ(vendor->MakeMoney(), nullptr);
    EXPECT_EQ(vendor->MakeOrderables(), nullptr);
    auto customer = Made();
    ASSERT_NE(customer, nullptr);
    EXPECT_EQ(customer->GetBubble(), nullptr);
    auto station = VStation::Create(1, VStation::kPlainStation);
    customer->Arrive(station, 100);
    EXPECT_EQ(customer->GetState(), VCustomer::kArrived);
    for (int frame = 0; frame < 2; ++frame) {
        Tick(100);
        customer->Update(false);
    }
    EXPECT_LT(customer->GetPatience(), 100);
    EXPECT_EQ(station->DetachCustomer(), customer);
}

}  // namespace
