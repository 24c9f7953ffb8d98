// What an order asks for, or what the order picker is told to make: a plain
// record of nine integers, copied as a whole. Its words: kind 0 chocolate,
// 1 sauce, 2 drink; shape 0 bar, 1 truffle, 2 novelty, 3 infusion; layer
// type 0 bucket, 1 ingredient, 2 chocolate, 3 infusion, 4 topping;
// chocolate type (mix) 0 dark, 1 milk, 2 white; options 0 to 2.
#pragma once

#include <cstdint>

#include "foundation/tstring.h"

class TXmlNode;

// Layer types, which are also the slots of a chocolate.
enum ChocolateLayerType { kBucketLayer = 0, kIngredientLayer, kChocolateLayer, kInfusionLayer, kToppingLayer };
// The shape that carries an infusion and no ingredient.
constexpr int kInfusionShape = 3;

// The words of the order descriptions, lower-cased first and also taken with
// a leading "k"; -1 for any other word.
int ChocolateKindFromWord(const TString& word);
int ChocolateShapeFromWord(const TString& word);
int ChocolateLayerTypeFromWord(const TString& word);

struct VChocolateSpec {
    // An option slot whose layer the order does not mention (four bytes 0xFE).
    static constexpr int32_t kNotMentioned = -16843010;
    static constexpr int32_t kAnyShape = -2;
    static constexpr int kLayerTypes = 5;
    static constexpr int kMostLayers = 3;

    // A record of the kind, every other field as a new record has it.
    static VChocolateSpec Init(int kind);

    // Reads an order element over this record (made as a new record is).
    // Only a chocolate reads on past the kind; words, numbers and layer
    // types it cannot take are logged and read as not given.
    void Read(TXmlNode& element);

    int32_t kind = -1;
    int32_t shape = kAnyShape;
    // Per layer type: kNotMentioned, -1 for any option, else the option.
    int32_t options[kLayerTypes] = {kNotMentioned, kNotMentioned, kNotMentioned, kNotMentioned, kNotMentioned};
    // The chocolate type; -1 any.
    int32_t mix = -1;
    // 1 to 3; -1 or less when not given.
    int32_t layers = -1;
};
