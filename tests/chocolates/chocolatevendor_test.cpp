// The chocolate vendor: loading prototypes, handing out copies, layer
// counts, what can be ordered, the display shelves and the order picker
// with its draws.
#include "game/chocolates/chocolatevendor.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/chocolates/chocolatetesting.h"

namespace {

class ChocolateVendorTest : public ChocolatesTest {
protected:
    std::shared_ptr<VChocolate> Order(const VChocolateSpec& spec) { return vendor->CreateOrderChocolate(spec); }

    static VChocolateSpec Spec(int shape, int mix, int layers) {
        VChocolateSpec spec = VChocolateSpec::Init(0);
        spec.shape = shape;
        spec.mix = mix;
        spec.layers = layers;
        return spec;
    }

    // A shaped chocolate of the vendor's layers.
    std::shared_ptr<VChocolate> Shown(int shape, int mix, int ingredient, int topping) {
        auto chocolate = VChocolate::Create(vendor);
        chocolate->SetChocolateType(mix);
        chocolate->MakeLayer(shape, kChocolateLayer, mix);
        if (ingredient >= 0) chocolate->MakeLayer(shape, kIngredientLayer, ingredient);
        if (topping >= 0) chocolate->MakeLayer(shape, kToppingLayer, topping);
        return chocolate;
    }

    void Script(std::initializer_list<uint32_t> values) { host.scripted.assign(values); }
};

TEST_F(ChocolateVendorTest, HandsOutFreshCopiesOfItsPrototypes) {
    auto first = vendor->MakeLayer(1, kToppingLayer, 2);
    auto second = vendor->MakeLayer(1, kToppingLayer, 2);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_TRUE(first->Equals(second));
    EXPECT_EQ(first->GetLayerType(), kToppingLayer);
    EXPECT_EQ(first->GetBarType(), 1);
    EXPECT_EQ(first->GetOption(), 2);
    // Reset shows the layer's art; its drawing order follows the layer type.
    ASSERT_NE(first->GetCurrentAsset(), nullptr);
    EXPECT_EQ(first->GetCurrentAsset(), second->GetCurrentAsset());
    EXPECT_EQ(first->GetLayer(), 4);
    EXPECT_EQ(vendor->MakeLayer(1, kIngredientLayer, 0)->GetLayer(), 2);
    EXPECT_EQ(vendor->MakeLayer(1, kChocolateLayer, 0)->GetLayer(), 1);
    const struct {
        int bar, type, option;
    } missing[] = {{1, kToppingLayer, 3}, {4, kChocolateLayer, 0}, {0, kBucketLayer, 0}, {-1, kBucketLayer, 1}};
    for (const auto& triple : missing) {
        EXPECT_EQ(vendor->MakeLayer(triple.bar, triple.type, triple.option), nullptr);
    }
}

TEST_F(ChocolateVendorTest, LoadSkipsWhatItCannotTakeAndForgetsTheLastLevel) {
    vendor->AddDisplayed(Shown(0, 1, 0, -1));
    Own("kPress1");
    vendor->UpdateAvailability();
    Define(R"(
        other = {
            "a bar",
            { barType = "two", layerType = 1, option = 0 },
            { barType = 0, layerType = 2, option = 1, x = 5 },
            { barType = 0, layerType = 2, option = 1, x = 6 },
            { barType = 1, layerType = true },
            { barType = 0.5, layerType = 4, option = 2 },
        }
    )");
    std::unique_ptr<TLuaTable> table(script.GetGlobalTable("other"));
    vendor->Load(table.get());
    EXPECT_TRUE(log.Contains("\"chocolates\" entry 1 is no table"));
    EXPECT_TRUE(log.Contains("\"chocolates\" entry 2: \"barType\" is no number"));
    EXPECT_TRUE(log.Contains("\"chocolates\" entry 5: \"layerType\" is no number"));
    EXPECT_EQ(log.Count("VChocolateVendor"), 3u);
    // Non-numbers read as absent; the later of two equal triples stands.
    ASSERT_NE(vendor->MakeLayer(-1, kIngredientLayer, 0), nullptr);
    EXPECT_EQ(vendor->MakeLayer(-1, kIngredientLayer, 0)->GetBarType(), -1);
    EXPECT_STREQ(vendor->MakeLayer(0, kChocolateLayer, 1)->GetProperty("x", "").c_str(), "6");
    EXPECT_NE(vendor->MakeLayer(1, -1, -1), nullptr);
    EXPECT_NE(vendor->MakeLayer(0, kToppingLayer, 2), nullptr);
    EXPECT_EQ(vendor->MakeLayer(0, kToppingLayer, 1), nullptr);
    EXPECT_TRUE(vendor->GetShapes().empty());
    EXPECT_TRUE(vendor->GetDisplayed(VChocolateVendor::kShownMix).empty());
}

TEST_F(ChocolateVendorTest, LayerCountsStayWithinOneToThree) {
    for (auto [given, expected] : {std::pair{0, 1}, {1, 1}, {2, 2}, {3, 3}, {5, 3}, {-7, 1}}) {
        vendor->SetMaxLayers(given);
        EXPECT_EQ(vendor->GetMaxLayers(), expected) << given;
    }
    vendor->SetEndlessLayers(0.0f);
    EXPECT_EQ(vendor->GetMaxLayers(), 3) << "without the named values";
    SetValue("endless_three_layers", 10.0f);
    SetValue("endless_two_layers", 4.0f);
    for (auto [minutes, expected] : {std::pair{3.0f, 1}, {4.0f, 2}, {9.0f, 2}, {10.0f, 3}}) {
        vendor->SetEndlessLayers(minutes);
        EXPECT_EQ(vendor->GetMaxLayers(), expected) << minutes;
    }
}

TEST_F(ChocolateVendorTest, OwnedStationUpgradesDecideWhatCanBeOrdered) {
    Own("kMixer2");
    Own("kIngredient1");
    Own("kInfusion3");
    Own("kPress2");
    vendor->UpdateAvailability();
    const struct {
        int shape;
        int layerType;
        std::set<int> options;
    } cases[] = {
        {0, kChocolateLayer, {1}}, {3, kChocolateLayer, {1}}, {2, kIngredientLayer, {0}},
        {3, kIngredientLayer, {0}}, {1, kInfusionLayer, {}}, {3, kInfusionLayer, {2}},
        {1, kToppingLayer, {}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(vendor->GetOptions(test.shape, test.layerType), test.options) << test.shape << "/" << test.layerType;
    }
    // "kInfusion1" opens the infusion shape, not "kInfusion3".
    EXPECT_EQ(vendor->GetShapes(), std::set<int>{1});

    // What is no longer owned goes at the next update.
    ReleaseManagerSingleton<VUpgradeManager>();
    Own("kInfusion1");
    vendor->UpdateAvailability();
    EXPECT_EQ(vendor->GetShapes(), std::set<int>{3});
    EXPECT_TRUE(vendor->GetOptions(0, kChocolateLayer).empty());
    EXPECT_EQ(vendor->GetOptions(3, kInfusionLayer), std::set<int>{0});
}

TEST_F(ChocolateVendorTest, OrderableChocolatesHaveAnOpenShapeAndOpenOptions) {
    Own("kPress2");
    Own("kMixer1");
    Own("kTopping3");
    vendor->UpdateAvailability();
    const struct {
        const char* what;
        std::shared_ptr<VChocolate> chocolate;
        bool orderable;
    } cases[] = {
        {"dark truffle with topping 2", Shown(1, 0, -1, 2), true},
        {"dark truffle", Shown(1, 0, -1, -1), true},
        {"milk truffle", Shown(1, 1, -1, -1), false},
        {"with an ingredient", Shown(1, 0, 0, -1), false},
        {"another topping", Shown(1, 0, -1, 0), false},
        {"dark bar", Shown(0, 0, -1, -1), false},
        {"a bucket", VChocolate::Create(vendor), false},
        {"none", nullptr, false},
    };
    for (const auto& test : cases) EXPECT_EQ(vendor->IsOrderable(test.chocolate), test.orderable) << test.what;
}

TEST_F(ChocolateVendorTest, ShelvesShowTheValuesOfShapedChocolates) {
    auto nutty = Shown(1, 2, 0, 1);
    auto alsoNutty = Shown(0, 1, 0, -1);
    vendor->AddDisplayed(nutty);
    vendor->AddDisplayed(alsoNutty);
    vendor->AddDisplayed(VChocolate::Create(vendor));
    EXPECT_EQ(vendor->GetDisplayed(VChocolateVendor::kShownMix), (std::set<int>{1, 2}));
    EXPECT_EQ(vendor->GetDisplayed(VChocolateVendor::kShownIngredient), std::set<int>{0});
    EXPECT_EQ(vendor->GetDisplayed(VChocolateVendor::kShownShape), (std::set<int>{0, 1}));
    EXPECT_EQ(vendor->GetDisplayed(VChocolateVendor::kShownTopping), std::set<int>{1});
    EXPECT_TRUE(vendor->GetDisplayed(VChocolateVendor::kShownInfusion).empty());
    // The values are kept once each: taking one nutty chocolate away takes the ingredient.
    vendor->RemoveDisplayed(alsoNutty);
    EXPECT_TRUE(vendor->GetDisplayed(VChocolateVendor::kShownIngredient).empty());
    EXPECT_EQ(vendor->GetDisplayed(VChocolateVendor::kShownMix), std::set<int>{2});
    vendor->ClearDisplayed();
    EXPECT_TRUE(vendor->GetDisplayed(VChocolateVendor::kShownTopping).empty());
}

TEST_F(ChocolateVendorTest, OnlyAChocolateIsOrderedAndASauceDrawsNothing) {
    OwnEverything();
    vendor->UpdateAvailability();
    for (int kind : {1, 2, -1}) EXPECT_EQ(Order(VChocolateSpec::Init(kind)), nullptr) << kind;
    EXPECT_EQ(host.draws, 0);
}

TEST_F(ChocolateVendorTest, WithOnlyTheFirstPressAndTheMilkMixerEveryOpenOrderIsAMilkBar) {
    Own("kPress1");
    Own("kMixer2");
    vendor->UpdateAvailability();
    for (uint32_t draw : {0u, 1u, 7u, 12345u}) {
        SCOPED_TRACE(draw);
        host.draws = 0;
        Script({draw, draw, draw, draw});
        auto chocolate = Order(Spec(VChocolateSpec::kAnyShape, -1, 3));
        ASSERT_NE(chocolate, nullptr);
        EXPECT_EQ(Slots(*chocolate), "- - 0/1 - -");
        EXPECT_EQ(chocolate->GetShape(), 0);
        // One draw for the shape, one for the mix; nothing on display, no
        // influence rolls, and no options for the free layers.
        EXPECT_EQ(host.draws, 2);
    }
}

TEST_F(ChocolateVendorTest, ADisplayedShapeTakesOverWhenTheRollReachesItsWeight) {
    OwnEverything();
    vendor->UpdateAvailability();
    vendor->AddDisplayed(Shown(1, 0, -1, -1));
    const struct {
        float weight;
        uint32_t roll;
        int shape;
    } cases[] = {
        {25, 25, 1}, {25, 26, 0}, {25, 126, 1}, {25, 0, 1}, {100, 100, 1}, {-1, 0, 0}, {0, 0, 1}, {0, 1, 0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(testing::Message() << "weight " << test.weight << ", roll " << test.roll);
        SetValue("display_influence_shape", test.weight);
        SetValue("display_influence_mix", -1.0f);
        host.draws = 0;
        Script({test.roll});
        auto chocolate = Order(Spec(0, 0, 1));
        EXPECT_EQ(chocolate->GetShape(), test.shape);
        // The roll, the pick among the shown shapes, and the mix's roll.
        EXPECT_EQ(host.draws, test.shape == 1 ? 3 : 2);
    }
    // The infusion shape is never replaced.
    SetValue("display_influence_shape", 100.0f);
    EXPECT_EQ(Order(Spec(3, 0, 1))->GetShape(), 3);
}

TEST_F(ChocolateVendorTest, OneFreeLayerIsAnIngredientOrAToppingByOneDrawsParity) {
    OwnEverything();
    vendor->UpdateAvailability();
    const struct {
        uint32_t parity;
        const char* slots;
    } cases[] = {{0, "- 2/1 2/0 - -"}, {1, "- - 2/0 - 2/1"}, {6, "- 2/1 2/0 - -"}, {9, "- - 2/0 - 2/1"}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.parity);
        // The mix fixed, then the parity, then the option drawn among 0 to 2.
        Script({test.parity, 1});
        EXPECT_EQ(Slots(*Order(Spec(2, 0, 2))), test.slots);
    }
    // Two free layers buy both.
    Script({1, 2});
    EXPECT_EQ(Slots(*Order(Spec(2, 0, 3))), "- 2/1 2/0 - 2/2");
}

TEST_F(ChocolateVendorTest, MentionedLayersComeWhateverTheBudget) {
    OwnEverything();
    vendor->UpdateAvailability();
    const struct {
        const char* what;
        int shape;
        int options[5];
        const char* slots;
    } cases[] = {
        {"ingredient and topping fixed", 0, {VChocolateSpec::kNotMentioned, 2, VChocolateSpec::kNotMentioned,
                                             VChocolateSpec::kNotMentioned, 1}, "- 0/2 0/1 - 0/1"},
        // Every infusion shape carries an infusion; none has an ingredient.
        {"an infusion", 3, {VChocolateSpec::kNotMentioned, 0, VChocolateSpec::kNotMentioned,
                            VChocolateSpec::kNotMentioned, VChocolateSpec::kNotMentioned}, "- - 3/1 3/0 -"},
        {"an infusion in a bar", 0, {VChocolateSpec::kNotMentioned, VChocolateSpec::kNotMentioned,
                                     VChocolateSpec::kNotMentioned, 2, VChocolateSpec::kNotMentioned}, "- - 0/1 - -"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        VChocolateSpec spec = Spec(test.shape, 1, 1);
        std::copy(std::begin(test.options), std::end(test.options), spec.options);
        host.scripted.clear();
        EXPECT_EQ(Slots(*Order(spec)), test.slots);
    }
}

TEST_F(ChocolateVendorTest, OpenLayerCountsAreDrawnUpToTheMaximum) {
    OwnEverything();
    vendor->UpdateAvailability();
    vendor->SetMaxLayers(1);
    host.draws = 0;
    EXPECT_EQ(Order(Spec(0, 0, -1))->CountLayers(), 1);
    EXPECT_EQ(host.draws, 0);
    vendor->SetMaxLayers(3);
    // The count draw, then an ingredient and a topping option.
    Script({2, 0, 0});
    EXPECT_EQ(Order(Spec(0, 0, -1))->CountLayers(), 3);
    Script({4, 1, 0});
    EXPECT_EQ(Order(Spec(0, 0, -1))->CountLayers(), 2);
}

TEST_F(ChocolateVendorTest, TheIconIsABucketShowingItsChocolateType) {
    auto icon = vendor->MakeChocolateIcon(2, true);
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(icon->IsDecaying());
    EXPECT_EQ(icon->GetChocolateType(), 2);
    EXPECT_EQ(Slots(*icon), "-1/0 - - - -");
    std::shared_ptr<VObject> shown = icon->GetSlot(kBucketLayer)->GetChildObject("icon");
    ASSERT_NE(shown, nullptr);
    EXPECT_STREQ(shown->GetCurrentAsset()->GetName().c_str(), "choc");
    EXPECT_STREQ(shown->GetCurrentState().c_str(), "option_2");
    // Without a bucket prototype it is an empty chocolate.
    vendor->Load(nullptr);
    auto bare = vendor->MakeChocolateIcon(1, false);
    EXPECT_EQ(Slots(*bare), "- - - - -");
    EXPECT_EQ(bare->GetChocolateType(), -1);
}

}  // namespace
