#include "game/chocolates/chocolatespec.h"

#include <algorithm>
#include <iterator>

#include "foundation/debuglog.h"
#include "foundation/xmlnode.h"
#include "game/objects/objectdescription.h"

namespace {

struct Word {
    const char* text;
    int value;
};

constexpr Word kKinds[] = {{"chocolate", 0}, {"sauce", 1}, {"drink", 2}};
constexpr Word kShapes[] = {{"bar", 0}, {"truffle", 1}, {"novelty", 2}, {"infusion", 3}};
constexpr Word kLayerTypes[] = {
    {"bucketlayer", 0},    {"bucket", 0},    {"ingredientlayer", 1}, {"ingredient", 1}, {"chocolatelayer", 2},
    {"chocolate", 2},      {"infusionlayer", 3}, {"infusion", 3},    {"toppinglayer", 4}, {"topping", 4},
};
// Any chocolate type or option, or one of the three.
constexpr int kLowestChoice = -1;
constexpr int kHighestChoice = 2;

template <size_t N>
int FromWord(const Word (&table)[N], const TString& word) {
    TString lower = LowerCase(word);
    for (const Word& entry : table) {
        if (lower == entry.text || lower == TString("k") + entry.text) return entry.value;
    }
    return -1;
}

// A number attribute that must be a choice: -1 for any, 0 to 2. Anything
// else is logged and read as any.
int ReadChoice(const TString& text, const char* what) {
    int value = text.ToInt();
    if (value >= kLowestChoice && value <= kHighestChoice) return value;
    DebugLog("VChocolateSpec: order %s \"%s\" is no choice of 0 to 2; read as any", what, text.c_str());
    return -1;
}

}  // namespace

int ChocolateKindFromWord(const TString& word) {
    return FromWord(kKinds, word);
}

int ChocolateShapeFromWord(const TString& word) {
    return FromWord(kShapes, word);
}

int ChocolateLayerTypeFromWord(const TString& word) {
    return FromWord(kLayerTypes, word);
}

VChocolateSpec VChocolateSpec::Init(int kind) {
    VChocolateSpec spec;
    spec.kind = kind;
    return spec;
}

void VChocolateSpec::Read(TXmlNode& element) {
    TString type = element.GetAttribute("type");
    kind = ChocolateKindFromWord(type);
    if (kind < 0) DebugLog("VChocolateSpec: order type \"%s\" is unknown; nothing is ordered", type.c_str());
    if (kind != 0) return;

    TString shapeWord = element.GetAttribute("shape");
    shape = ChocolateShapeFromWord(shapeWord);
    if (shape < 0) {
        if (shapeWord.Length() > 0) DebugLog("VChocolateSpec: order shape \"%s\" is unknown; any shape", shapeWord.c_str());
        shape = kAnyShape;
    }
    TString mixText = element.GetAttribute("mix");
    if (mixText.Length() > 0) mix = ReadChoice(mixText, "mix");
    layers = std::clamp(element.GetAttribute("layers").ToInt(), 1, kMostLayers);

    TString name;
    TXmlNode* child = nullptr;
    for (element.ResetChildIterator(); element.NextChild(name, child);) {
        if (name != "layer") continue;
        TString layerWord = child->GetAttribute("type");
        int layerType = ChocolateLayerTypeFromWord(layerWord);
        if (layerType < 0) {
            DebugLog("VChocolateSpec: order layer type \"%s\" is unknown; the layer is left out", layerWord.c_str());
            continue;
        }
        // The bucket is never ordered.
        if (layerType == 0) continue;
        TString option = child->GetAttribute("option");
        options[layerType] = option.Length() > 0 ? ReadChoice(option, "layer option") : -1;
    }
}
