// The shipped chocolates of the first location, as the build leaves them in
// its assets: every layer the order picker, the machines and the shelves can
// ask for has a prototype whose art loads.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "foundation/virtualfiles.h"
#include "graphics/animatedtexture.h"
#include "tests/chocolates/chocolatetesting.h"

namespace {

class ChocolateContentTest : public ChocolatesTest {
protected:
    void SetUp() override {
        ChocolatesTest::SetUp();
        ScanFolder(VANDERMOOT_ASSETS, ".");
        std::ifstream file(std::string(VANDERMOOT_ASSETS) + "/scripts/shop/chocolates.lua", std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        std::string code = "shipped = (function() " + text.str() + "\nend)()";
        Define(code);
        std::unique_ptr<TLuaTable> table(script.GetGlobalTable("shipped"));
        ASSERT_NE(table, nullptr);
        vendor->Load(table.get());
    }

    // The layer exists and shows a 64 x 64 image.
    void ExpectArt(int bar, int type, int option) {
        SCOPED_TRACE(testing::Message() << "bar " << bar << ", layer " << type << ", option " << option);
        std::shared_ptr<VChocolateLayer> layer = vendor->MakeLayer(bar, type, option);
        ASSERT_NE(layer, nullptr);
        ASSERT_NE(layer->GetTexture(), nullptr);
        EXPECT_EQ(layer->GetTexture()->GetWidth(), 64);
        EXPECT_EQ(layer->GetTexture()->GetHeight(), 64);
    }
};

TEST_F(ChocolateContentTest, EveryLayerThePickerCanAskForHasArt) {
    for (int shape = 0; shape < 4; ++shape) {
        for (int option = 0; option < 3; ++option) {
            ExpectArt(shape, kChocolateLayer, option);
            ExpectArt(shape, kToppingLayer, option);
            // No ingredient in the infusion shape; the infusion only there.
            if (shape < kInfusionShape) ExpectArt(shape, kIngredientLayer, option);
        }
    }
    for (int option = 0; option < 3; ++option) ExpectArt(kInfusionShape, kInfusionLayer, option);
    EXPECT_EQ(vendor->MakeLayer(kInfusionShape, kIngredientLayer, 0), nullptr);
}

TEST_F(ChocolateContentTest, TheBucketShowsEachChocolateTypeAndIngredient) {
    ExpectArt(-1, kBucketLayer, 0);
    for (int option = 0; option < 3; ++option) {
        SCOPED_TRACE(option);
        auto chocolate = vendor->MakeChocolateIcon(option, false);
        std::shared_ptr<VObject> icon = chocolate->GetSlot(kBucketLayer)->GetChildObject("icon");
        ASSERT_NE(icon, nullptr);
        EXPECT_STREQ(icon->GetCurrentState().c_str(), ("option_" + std::to_string(option)).c_str());
        ASSERT_NE(icon->GetTexture(), nullptr);
        chocolate->SetIngredient(option);
        std::shared_ptr<VObject> overlay = icon->GetChildObject("overlay_0");
        ASSERT_NE(overlay, nullptr);
        EXPECT_STREQ(overlay->GetCurrentState().c_str(), ("option_" + std::to_string(option)).c_str());
        EXPECT_NE(overlay->GetTexture(), nullptr);
    }
}

TEST_F(ChocolateContentTest, AChocolateShowsTheClearAnimation) {
    auto chocolate = VChocolate::Create(vendor);
    ASSERT_NE(chocolate->GetTexture(), nullptr);
    EXPECT_EQ(chocolate->GetTexture()->GetWidth(), 1);
    EXPECT_EQ(chocolate->GetTexture()->GetHeight(), 1);
}

}  // namespace
