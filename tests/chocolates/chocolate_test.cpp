// Chocolates: the stages from bucket to topping, removing and comparing
// layers, layer types outside the slots, decay and fading, the price and the
// layer tints.
#include "game/chocolates/chocolate.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/sprites/alphaeffect.h"
#include "graphics/animatedtexture.h"
#include "tests/chocolates/chocolatetesting.h"

namespace {

using Step = std::function<void(VChocolate&)>;

Step Bucket() {
    return [](VChocolate& c) { c.MakeLayer(-1, kBucketLayer, 0); };
}
Step Mix(int type) {
    return [type](VChocolate& c) { c.SetChocolateType(type); };
}
Step Ingredient(int option) {
    return [option](VChocolate& c) { c.SetIngredient(option); };
}
Step Layer(int bar, int type, int option) {
    return [=](VChocolate& c) { c.MakeLayer(bar, type, option); };
}
Step Remove(int type) {
    return [type](VChocolate& c) { c.RemoveLayer(type); };
}

class ChocolateTest : public ChocolatesTest {
protected:
    std::shared_ptr<VChocolate> Made(const std::vector<Step>& steps) {
        auto chocolate = VChocolate::Create(vendor);
        for (const Step& step : steps) step(*chocolate);
        return chocolate;
    }

    // A shaped milk bar with an ingredient and a topping, on the scene and decaying.
    std::shared_ptr<VChocolate> DecayingBar() {
        auto chocolate = Made({Bucket(), Mix(1), Ingredient(0), Layer(0, kChocolateLayer, 1),
                               Layer(0, kToppingLayer, 2)});
        chocolate->SetDecaying(true);
        manager->AddSprite(chocolate);
        // The first update only starts the chocolate's frame time.
        Frame(chocolate);
        return chocolate;
    }
};

TEST_F(ChocolateTest, ANewChocolateIsAnEmptyFreshCarriableOnTheTransparentAnimation) {
    WriteImage("anim/transparent.png", 1, 1, 0);
    WriteAsset("anim/transparent.xml",
               "<sequence name=\"transparent\"><img name=\"transparent.png\" w=\"1\" h=\"1\"/>"
               "<framelist><frame x=\"0\" y=\"0\" w=\"1\" h=\"1\"/></framelist></sequence>");
    auto first = VChocolate::Create(vendor);
    auto second = VChocolate::Create(nullptr);
    std::string firstName = first->GetName().c_str();
    ASSERT_EQ(firstName.rfind("chocolate_", 0), 0u);
    EXPECT_EQ(std::string(second->GetName().c_str()), "chocolate_" + std::to_string(std::stoi(firstName.substr(10)) + 1));
    EXPECT_STREQ(first->GetType().c_str(), "chocolate");
    EXPECT_EQ(first->GetKind(), 1);
    EXPECT_EQ(first->GetLayer(), 2);
    EXPECT_EQ(first->GetTexture(), TAnimatedTexture::Get("anim/transparent"));
    ASSERT_NE(first->GetTexture(), nullptr);
    EXPECT_EQ(first->GetTopLayer(), -1);
    EXPECT_EQ(first->GetShape(), -1);
    EXPECT_EQ(first->GetIngredient(), -1);
    EXPECT_EQ(first->GetChocolateType(), -1);
    EXPECT_FLOAT_EQ(first->GetFreshness(), 100.0f);
    EXPECT_FALSE(first->IsDecaying());
    EXPECT_EQ(first->GetVendor(), vendor);
    EXPECT_FALSE(first->IsExpired());
}

TEST_F(ChocolateTest, StagesFromBucketToTopping) {
    const struct {
        const char* what;
        std::vector<Step> steps;
        const char* slots;
        int top;
        int shape;
        int count;
        const char* description;
    } cases[] = {
        {"nothing", {}, "- - - - -", -1, -1, 0, "()"},
        {"a bucket", {Bucket(), Mix(0)}, "-1/0 - - - -", 0, -1, 0, "(dark)"},
        {"an ingredient marked on the bucket", {Bucket(), Mix(0), Ingredient(1)}, "-1/0 - - - -", 1, -1, 0,
         "(dark,ingredient:1)"},
        // Shaping replaces the bucket and makes the ingredient again for the bar.
        {"pressed into a bar", {Bucket(), Mix(0), Ingredient(1), Layer(0, kChocolateLayer, 0)}, "- 0/1 0/0 - -", 2,
         0, 2, "(dark,ingredient:1,bar)"},
        // An infusion brings the chocolate body of the chocolate type along.
        {"infused", {Bucket(), Mix(2), Layer(3, kInfusionLayer, 1)}, "- - 3/2 3/1 -", 3, 3, 2,
         "(white,infusion,filling:1)"},
        {"infused with an ingredient", {Bucket(), Mix(2), Ingredient(0), Layer(3, kInfusionLayer, 1)},
         "- 3/0 3/2 3/1 -", 3, 3, 3, "(white,ingredient:0,infusion,filling:1)"},
        {"a milk truffle with a topping",
         {Bucket(), Mix(1), Ingredient(2), Layer(1, kChocolateLayer, 1), Layer(1, kToppingLayer, 0)},
         "- 1/2 1/1 - 1/0", 4, 1, 3, "(milk,ingredient:2,truffle,topping:0)"},
        // Removing a layer lowers the top to the highest layer left.
        {"the topping taken off",
         {Bucket(), Mix(1), Layer(1, kChocolateLayer, 1), Layer(1, kToppingLayer, 0), Remove(kToppingLayer)},
         "- - 1/1 - -", 2, 1, 1, "(milk,truffle)"},
        {"the body taken from an infusion", {Bucket(), Mix(0), Layer(3, kInfusionLayer, 2), Remove(kChocolateLayer)},
         "- - - 3/2 -", 3, 3, 1, "(dark,infusion,filling:2)"},
        {"everything taken off", {Bucket(), Remove(kToppingLayer), Remove(kBucketLayer)}, "- - - - -", -1, -1, 0,
         "()"},
        // A layer the vendor has no prototype for is not there.
        {"a missing prototype", {Layer(7, kChocolateLayer, 0)}, "- - - - -", -1, -1, 0, "()"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        auto chocolate = Made(test.steps);
        EXPECT_EQ(Slots(*chocolate), test.slots);
        EXPECT_EQ(chocolate->GetTopLayer(), test.top);
        EXPECT_EQ(chocolate->GetShape(), test.shape);
        EXPECT_EQ(chocolate->CountLayers(), test.count);
        EXPECT_STREQ(chocolate->Describe().c_str(), test.description);
        // The layers are the chocolate's children, and nothing else is.
        size_t layers = 0;
        for (int slot = 0; slot < VChocolate::kSlots; ++slot) {
            if (std::shared_ptr<VChocolateLayer> layer = chocolate->GetSlot(slot)) {
                ++layers;
                EXPECT_EQ(layer->GetOwner(), chocolate);
            }
        }
        EXPECT_EQ(chocolate->GetChildList().size(), layers);
    }
}

TEST_F(ChocolateTest, EachStageAcceptsOnlyTheNextLayers) {
    // CanAddLayer for the layer types 0 to 4, as "+" or "-".
    const struct {
        const char* what;
        std::vector<Step> steps;
        const char* accepts;
    } cases[] = {
        {"empty", {}, "++++-"},
        {"bucket", {Bucket()}, "-+++-"},
        {"ingredient", {Bucket(), Ingredient(0)}, "--+--"},
        {"shaped", {Bucket(), Ingredient(0), Layer(0, kChocolateLayer, 0)}, "----+"},
        {"infused", {Bucket(), Layer(3, kInfusionLayer, 0)}, "----+"},
        {"topped", {Bucket(), Layer(2, kChocolateLayer, 0), Layer(2, kToppingLayer, 0)}, "-----"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        auto chocolate = Made(test.steps);
        std::string accepts;
        for (int type = 0; type < VChocolate::kSlots; ++type) accepts += chocolate->CanAddLayer(type) ? "+" : "-";
        EXPECT_EQ(accepts, test.accepts);
    }
}

TEST_F(ChocolateTest, LayerTypesOutsideTheSlotsAreRefusedAndLoggedOnce) {
    auto chocolate = Made({Bucket(), Layer(0, kChocolateLayer, 1)});
    auto other = Made({Bucket(), Layer(0, kChocolateLayer, 1)});
    const std::string before = Slots(*chocolate);
    for (int type : {7, -1, 5}) {
        SCOPED_TRACE(type);
        EXPECT_FALSE(chocolate->CanAddLayer(type));
        chocolate->AddLayer(VChocolateLayer::Create(type, 0, 0));
        chocolate->RemoveLayer(type);
        EXPECT_FALSE(chocolate->GetSlot(type));
    }
    for (int count : {5, 7}) EXPECT_FALSE(chocolate->ExtendsWith(other, count, 1));
    EXPECT_EQ(Slots(*chocolate), before);
    EXPECT_EQ(chocolate->GetTopLayer(), kChocolateLayer);
    EXPECT_EQ(chocolate->GetChildList().size(), 1u);
    EXPECT_LE(log.Count("none of the five; refused"), 1u);
}

TEST_F(ChocolateTest, AChocolateWithoutVendorMakesNoLayers) {
    auto chocolate = VChocolate::Create(nullptr);
    EXPECT_EQ(chocolate->MakeLayer(0, kChocolateLayer, 0), nullptr);
    // Shaping asks for the ingredient and the body again: none come.
    chocolate->SetIngredient(1);
    chocolate->AddLayer(vendor->MakeLayer(3, kInfusionLayer, 0));
    EXPECT_EQ(Slots(*chocolate), "- - - 3/0 -");
    EXPECT_EQ(chocolate->GetShape(), 3);
}

TEST_F(ChocolateTest, ComparesLayerBySlot) {
    auto truffle = Made({Bucket(), Layer(1, kChocolateLayer, 1), Layer(1, kIngredientLayer, 2), Layer(1, kToppingLayer, 0)});
    const struct {
        const char* what;
        std::vector<Step> steps;
        bool same;
    } cases[] = {
        {"the same layers", {Bucket(), Layer(1, kChocolateLayer, 1), Layer(1, kIngredientLayer, 2),
                             Layer(1, kToppingLayer, 0)}, true},
        {"another topping", {Bucket(), Layer(1, kChocolateLayer, 1), Layer(1, kIngredientLayer, 2),
                             Layer(1, kToppingLayer, 1)}, false},
        {"no topping yet", {Bucket(), Layer(1, kChocolateLayer, 1), Layer(1, kIngredientLayer, 2)}, false},
        {"another shape", {Bucket(), Layer(0, kChocolateLayer, 1), Layer(0, kIngredientLayer, 2),
                           Layer(0, kToppingLayer, 0)}, false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        auto chocolate = Made(test.steps);
        EXPECT_EQ(chocolate->SameLayers(truffle), test.same);
        EXPECT_EQ(truffle->SameLayers(chocolate), test.same);
    }
    EXPECT_FALSE(truffle->SameLayers(nullptr));
    EXPECT_TRUE(VChocolate::Create(vendor)->SameLayers(VChocolate::Create(nullptr)));

    // The truffle goes on from a chocolate with its first slots.
    auto body = Made({Bucket(), Layer(1, kChocolateLayer, 1), Layer(1, kIngredientLayer, 2)});
    const struct {
        std::shared_ptr<VChocolate> other;
        int count;
        int option;
        bool extends;
    } extensions[] = {
        {body, 3, 0, false},  // slot 3 (infusion) is empty in the truffle
        {body, 4, 0, true},   {body, 4, 1, false}, {body, 4, -1, false}, {body, 0, 0, false},
        {nullptr, 4, 0, false}, {Made({Layer(1, kChocolateLayer, 0)}), 4, 0, false},
    };
    for (const auto& test : extensions) {
        EXPECT_EQ(truffle->ExtendsWith(test.other, test.count, test.option), test.extends)
            << test.count << " " << test.option;
    }
}

TEST_F(ChocolateTest, AnIngredientShowsOnTheBucketsIcon) {
    auto chocolate = Made({Bucket()});
    std::shared_ptr<VObject> icon = chocolate->GetSlot(kBucketLayer)->GetChildObject("icon");
    ASSERT_NE(icon, nullptr);
    chocolate->SetIngredient(2);
    std::shared_ptr<VObject> overlay = icon->GetChildObject("overlay_0");
    ASSERT_NE(overlay, nullptr);
    EXPECT_STREQ(overlay->GetCurrentState().c_str(), "option_2");
    // Without a bucket the ingredient is only recorded.
    auto bare = Made({Ingredient(1)});
    EXPECT_EQ(bare->GetIngredient(), 1);
    EXPECT_EQ(bare->GetTopLayer(), 1);
}

TEST_F(ChocolateTest, AShapedChocolateOnADecayingHolderMeltsThenFadesOnce) {
    SetValue("chocolate_decay_rate", 0.01f);
    SetValue("chocolate_fade_time", 400.0f);
    SetValue("decayed_this_level", 0.0f);
    auto chocolate = DecayingBar();
    for (int frame = 0; frame < 624; ++frame) Frame(chocolate);
    EXPECT_GT(chocolate->GetFreshness(), 0.0f);
    EXPECT_EQ(chocolate->GetFadeEffect(), nullptr);
    Frame(chocolate);
    EXPECT_LE(chocolate->GetFreshness(), 0.0f);
    std::shared_ptr<VAlphaEffect> fade = chocolate->GetFadeEffect();
    ASSERT_NE(fade, nullptr);
    EXPECT_TRUE(chocolate->HasEffect(fade));
    EXPECT_FALSE(chocolate->IsGone());
    float melted = chocolate->GetFreshness();
    for (int frame = 0; frame < 30; ++frame) Frame(chocolate);
    EXPECT_FLOAT_EQ(chocolate->GetFreshness(), melted);
    EXPECT_EQ(chocolate->GetFadeEffect(), fade);
    EXPECT_FLOAT_EQ(VValueManager::Get()->GetReal("decayed_this_level", -1.0f), 1.0f);
    EXPECT_TRUE(chocolate->IsGone());
    EXPECT_TRUE(chocolate->IsExpired());
}

TEST_F(ChocolateTest, NoDecayWithoutRateShapeHolderOrWhilePaused) {
    const struct {
        const char* what;
        float rate;
        bool shaped;
        bool decaying;
        bool paused;
        bool decays;
    } cases[] = {
        {"decaying", 0.01f, true, true, false, true},   {"rate 0", 0.0f, true, true, false, false},
        {"unshaped", 0.01f, false, true, false, false}, {"held where it keeps", 0.01f, true, false, false, false},
        {"paused", 0.01f, true, true, true, false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        SetValue("chocolate_decay_rate", test.rate);
        auto chocolate = test.shaped ? Made({Bucket(), Layer(2, kChocolateLayer, 0)}) : Made({Bucket()});
        chocolate->SetDecaying(test.decaying);
        manager->AddSprite(chocolate);
        chocolate->Update(false);
        for (int frame = 0; frame < 1000; ++frame) {
            Tick(16);
            chocolate->Update(test.paused);
        }
        if (test.decays) {
            EXPECT_LE(chocolate->GetFreshness(), 0.0f);
        } else {
            EXPECT_FLOAT_EQ(chocolate->GetFreshness(), 100.0f);
        }
    }
}

TEST_F(ChocolateTest, DetachingEffectsKeepsTheFade) {
    SetValue("chocolate_decay_rate", 1000.0f);
    auto chocolate = DecayingBar();
    Frame(chocolate);
    std::shared_ptr<VAlphaEffect> fade = chocolate->GetFadeEffect();
    ASSERT_NE(fade, nullptr);
    auto other = VAlphaEffect::Create(true, 1.0f, 100, 0.0f, 0);
    chocolate->AddEffect(other);
    chocolate->DetachEffects();
    EXPECT_TRUE(chocolate->HasEffect(fade));
    EXPECT_FALSE(chocolate->HasEffect(other));
}

TEST_F(ChocolateTest, PriceCountsLayersAndOwnedQualityUpgrades) {
    SetValue("layer_price", 10.0f);
    SetValue("layer_quality_modifier", 0.5f);
    const struct {
        const char* what;
        std::vector<const char*> owned;
        float price;
    } cases[] = {
        {"no upgrades", {}, 30.0f},
        {"the milk quality", {"kMixerQ2"}, 35.0f},
        {"qualities of other options", {"kMixerQ1", "kIngredientQ1", "kToppingQ1", "kInfusionQ3"}, 30.0f},
        {"every layer's quality", {"kMixerQ2", "kIngredientQ3", "kToppingQ2"}, 45.0f},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        ReleaseManagerSingleton<VUpgradeManager>();
        for (const char* upgrade : test.owned) Own(upgrade);
        // Milk, ingredient 2, topping 1; the bucket earns nothing.
        auto chocolate = Made({Bucket(), Mix(1), Ingredient(2), Layer(0, kChocolateLayer, 1), Layer(0, kToppingLayer, 1)});
        EXPECT_FLOAT_EQ(chocolate->GetPrice(), test.price);
    }
    EXPECT_FLOAT_EQ(Made({Bucket()})->GetPrice(), 0.0f);
}

TEST_F(ChocolateTest, TintedLayerTypesTakeTheirColourAsTheyAreAdded) {
    const TColor4f red(1, 0, 0, 1);
    VChocolate::SetLayerTint(kToppingLayer, red);
    auto chocolate = Made({Bucket(), Layer(0, kChocolateLayer, 0), Layer(0, kToppingLayer, 0)});
    EXPECT_EQ(chocolate->GetSlot(kToppingLayer)->GetDrawState().color, red);
    EXPECT_EQ(chocolate->GetSlot(kChocolateLayer)->GetDrawState().color,
              vendor->MakeLayer(0, kChocolateLayer, 0)->GetDrawState().color);
    TColor4f found;
    EXPECT_TRUE(VChocolate::GetLayerTint(kToppingLayer, found));
    EXPECT_EQ(found, red);
    EXPECT_FALSE(VChocolate::GetLayerTint(kChocolateLayer, found));
}

}  // namespace
