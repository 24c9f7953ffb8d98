// The order record: its word tables and the reader of order elements, with
// the words, numbers and layer types it cannot take.
#include "game/chocolates/chocolatespec.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/xmlnode.h"
#include "tests/chocolates/chocolatetesting.h"

namespace {

// "kind shape [options] mix layers", a layer not mentioned as "x".
std::string Show(const VChocolateSpec& spec) {
    std::string text = std::to_string(spec.kind) + " " + std::to_string(spec.shape) + " [";
    for (int slot = 0; slot < VChocolateSpec::kLayerTypes; ++slot) {
        if (slot > 0) text += " ";
        int32_t option = spec.options[slot];
        text += option == VChocolateSpec::kNotMentioned ? "x" : std::to_string(option);
    }
    return text + "] " + std::to_string(spec.mix) + " " + std::to_string(spec.layers);
}

using ChocolateSpecTest = ObjectTest;

TEST_F(ChocolateSpecTest, WordsMatchInAnyCaseWithOrWithoutTheLeadingK) {
    const struct {
        int (*lookup)(const TString&);
        const char* word;
        int expected;
    } cases[] = {
        {ChocolateKindFromWord, "Chocolate", 0},        {ChocolateKindFromWord, "KSAUCE", 1},
        {ChocolateKindFromWord, "kDrink", 2},           {ChocolateKindFromWord, "k", -1},
        {ChocolateKindFromWord, "", -1},                {ChocolateShapeFromWord, "kBar", 0},
        {ChocolateShapeFromWord, "Truffle", 1},         {ChocolateShapeFromWord, "novelty", 2},
        {ChocolateShapeFromWord, "kInfusion", 3},       {ChocolateShapeFromWord, "kkbar", -1},
        {ChocolateLayerTypeFromWord, "kBucketLayer", 0}, {ChocolateLayerTypeFromWord, "ingredient", 1},
        {ChocolateLayerTypeFromWord, "ChocolateLayer", 2}, {ChocolateLayerTypeFromWord, "kinfusion", 3},
        {ChocolateLayerTypeFromWord, "TOPPING", 4},     {ChocolateLayerTypeFromWord, "sprinkles", -1},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(test.lookup(test.word), test.expected) << test.word;
    }
}

TEST_F(ChocolateSpecTest, ANewRecordAndInitLeaveEveryLayerUnmentioned) {
    VChocolateSpec fresh;
    EXPECT_EQ(Show(fresh), "-1 -2 [x x x x x] -1 -1");
    EXPECT_EQ(Show(VChocolateSpec::Init(2)), "2 -2 [x x x x x] -1 -1");
    // Nine whole integers, the unmentioned option being four bytes of 0xFE.
    EXPECT_EQ(sizeof(VChocolateSpec), 9 * sizeof(int32_t));
    EXPECT_EQ(static_cast<uint32_t>(VChocolateSpec::kNotMentioned), 0xFEFEFEFEu);
}

TEST_F(ChocolateSpecTest, ReadsOrderElements) {
    const struct {
        const char* xml;
        const char* expected;
        size_t logLines;
    } cases[] = {
        // Only a chocolate reads past the kind.
        {R"(<order type="Sauce" shape="bar" mix="1" layers="2"><layer type="topping"/></order>)",
         "1 -2 [x x x x x] -1 -1", 0},
        {R"(<order type="kDrink" layers="2"/>)", "2 -2 [x x x x x] -1 -1", 0},
        {R"(<order type="chocolate" layers="7"/>)", "0 -2 [x x x x x] -1 3", 0},
        {R"(<order type="chocolate" layers="0"/>)", "0 -2 [x x x x x] -1 1", 0},
        {R"(<order type="chocolate" layers="-4"/>)", "0 -2 [x x x x x] -1 1", 0},
        {R"(<order type="chocolate"/>)", "0 -2 [x x x x x] -1 1", 0},
        {R"(<order type="chocolate" mix=""/>)", "0 -2 [x x x x x] -1 1", 0},
        // The bucket is never ordered; a topping without option is any topping.
        {R"(<order type="chocolate"><layer type="bucket" option="1"/><layer type="topping" option=""/></order>)",
         "0 -2 [x x x x -1] -1 1", 0},
        // A milk truffle with any topping.
        {R"(<order type="chocolate" shape="truffle" mix="1" layers="2"><layer type="topping"/></order>)",
         "0 1 [x x x x -1] 1 2", 0},
        {R"(<order type="kChocolate" shape="kInfusion" layers="3"><layer type="kInfusionLayer" option="2"/>)"
         R"(<layer type="ChocolateLayer" option="0"/><layer type="kIngredient" option="1"/></order>)",
         "0 3 [x 1 0 2 x] -1 3", 0},
        // What cannot be taken: one log line each, read as not given.
        {R"(<order type="praline"/>)", "-1 -2 [x x x x x] -1 -1", 1},
        {R"(<order/>)", "-1 -2 [x x x x x] -1 -1", 1},
        {R"(<order type="chocolate" shape="square" mix="7"/>)", "0 -2 [x x x x x] -1 1", 2},
        {R"(<order type="chocolate" mix="-2" layers="many"/>)", "0 -2 [x x x x x] -1 1", 1},
        {R"(<order type="chocolate"><layer type="sprinkles" option="1"/><layer type="topping" option="9"/>)"
         R"(<layer type="ingredient" option="99999999999"/><layer type="infusion" option="2x"/></order>)",
         "0 -2 [x -1 x 2 -1] -1 1", 3},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.xml);
        size_t before = log.Count("VChocolateSpec");
        TXmlNode document;
        document.ParseString(test.xml);
        TXmlNode* order = document.FindChild("order");
        ASSERT_NE(order, nullptr);
        VChocolateSpec spec;
        spec.Read(*order);
        EXPECT_EQ(Show(spec), test.expected);
        EXPECT_EQ(log.Count("VChocolateSpec") - before, test.logLines);
    }
}

}  // namespace
