// The shipped customers of the first location, as the build leaves them in
// its assets: every kind's body, faces and idle sheets, and the art every
// customer shows, load and line up.
#include <gtest/gtest.h>

#include <string>

#include "foundation/virtualfiles.h"
#include "game/machines/station.h"
#include "game/objects/carriable.h"
#include "graphics/animatedtexture.h"
#include "tests/floor/customertesting.h"

namespace {

class CustomerContentTest : public CustomerTest {
protected:
    void SetUp() override {
        CustomerTest::SetUp();
        ScanFolder(VANDERMOOT_ASSETS, ".");
        DefineShippedLocation();
        vendor = VCustomerVendor::Create();
        vendor->LoadCommonTypes(Describe("posse"));
        vendor->SetUpAssets(Describe("objects"));
        vendor->LoadLevelTypes(Describe("customers"));
    }

    // The animated texture the sprite shows has the point.
    static void ExpectPoint(const std::shared_ptr<VSprite>& sprite, const char* point) {
        std::shared_ptr<TAnimatedTexture> texture = sprite->GetAnimatedTexture();
        ASSERT_NE(texture, nullptr) << point;
        EXPECT_TRUE(texture->GetFramePoint(0, point, nullptr, nullptr)) << point;
    }
};

TEST_F(CustomerContentTest, EveryKindShowsItsBodyFacesAndIdles) {
    EXPECT_EQ(vendor->GetCommonTypes().size(), 4u);
    EXPECT_EQ(vendor->GetLevelTypes().size(), 2u);
    for (const char* kind : {"student", "sailor", "baker", "climber", "fisher", "scientist"}) {
        SCOPED_TRACE(kind);
        auto customer = vendor->CreateCustomer(kind);
        ASSERT_NE(customer, nullptr);
        ExpectPoint(customer, "bubble_single");
        ASSERT_EQ(customer->GetStaticChildren().size(), 2u);
        for (int mood = 1; mood <= 5; ++mood) {
            customer->SetMood(mood);
            for (const auto& [name, child] : customer->GetStaticChildren()) {
                EXPECT_NE(child->GetTexture(), nullptr) << name.c_str();
            }
        }
        EXPECT_STREQ(customer->GetStaticChildren().at("static_face")->GetCurrentState().c_str(), "angry");
        ASSERT_EQ(customer->GetIdleChildren().size(), 2u);
        for (const auto& [name, child] : customer->GetIdleChildren()) {
            ASSERT_NE(child->GetAnimatedTexture(), nullptr) << name.c_str();
            EXPECT_EQ(child->GetAnimatedTexture()->GetFrameCount(), 8) << name.c_str();
        }
    }
}

TEST_F(CustomerContentTest, TheBubbleHoldsTheMenuAndShowsTheMoods) {
    auto customer = vendor->CreateCustomer("student");
    customer->Arrive(VStation::Create(1, VStation::kPlainStation), 100);
    std::shared_ptr<VThoughtBubble> bubble = customer->GetBubble();
    ASSERT_NE(bubble, nullptr);
    ASSERT_NE(bubble->GetCloud(0), nullptr);
    for (const char* slot : {"menu", "chocolate", "sauce"}) ExpectPoint(bubble->GetCloud(0), slot);
    for (int mood = 1; mood <= 5; ++mood) {
        bubble->SetMood(mood);
        EXPECT_STREQ(bubble->GetCloud(0)->GetCurrentState().c_str(), VThoughtBubble::MoodState(mood));
    }
    // The open card.
    ASSERT_NE(customer->GetMenuSprite()->GetAnimatedTexture(), nullptr);
    EXPECT_EQ(customer->GetMenuSprite()->GetCurrentFrame(), 1);
    EXPECT_NE(customer->GetMoneySprite()->GetTexture(), nullptr);
    customer->GetMoneySprite()->SetAsset("money", "dollar", "default");
    EXPECT_STREQ(customer->GetMoneySprite()->GetCurrentState().c_str(), "dollar");
    for (const char* item : {"sauce", "drink"}) {
        customer->GetOrderables()->SetAsset(item, "default", "default");
        EXPECT_NE(customer->GetOrderables()->GetTexture(), nullptr) << item;
    }
}

}  // namespace
