#include "game/chocolates/chocolatevendor.h"

#include <iterator>

#include "core/scripting/luaobject.h"
#include "foundation/debuglog.h"
#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatelayer.h"
#include "game/level/upgrademanager.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "game/utilities/gamerandom.h"

namespace {

constexpr int kShapeCount = 4;
constexpr int kOptionCount = 3;

// The named weights of the display keys, as percentages.
const char* const kInfluenceWeights[] = {"display_influence_mix", "display_influence_ingredient",
                                         "display_influence_shape", "display_influence_infusion",
                                         "display_influence_topping"};

// The station upgrades "<name><option + 1>" that offer an option of a
// layer type, for every shape or for the infusion shape only.
struct OptionUpgrade {
    const char* name;
    int layerType;
    bool infusionOnly;
};
constexpr OptionUpgrade kOptionUpgrades[] = {
    {"kMixer%i", kChocolateLayer, false},
    {"kIngredient%i", kIngredientLayer, false},
    {"kTopping%i", kToppingLayer, false},
    {"kInfusion%i", kInfusionLayer, true},
};

bool IsStationOwned(VUpgradeManager& upgrades, const char* format, int number) {
    return upgrades.IsUpgradeOwned(TString::Format(format, number), "station");
}

void Mark(std::set<int>& values, int value, bool present) {
    if (present) {
        values.insert(value);
    } else {
        values.erase(value);
    }
}

}  // namespace

std::shared_ptr<VChocolateVendor> VChocolateVendor::Create() {
    return std::shared_ptr<VChocolateVendor>(new VChocolateVendor());
}

// Prototypes

void VChocolateVendor::Load(const TLuaTable* chocolates) {
    mPrototypes.clear();
    mOptions.clear();
    mShapes.clear();
    mDisplayed.clear();
    if (!chocolates) return;
    int count = chocolates->GetCount();
    for (int index = 1; index <= count; ++index) {
        std::unique_ptr<TLuaTable> entry(chocolates->GetTableAt(index));
        if (!entry) {
            DebugLog("VChocolateVendor: \"chocolates\" entry %i is no table; skipped", index);
            continue;
        }
        LoadEntry(std::move(entry), index);
    }
}

void VChocolateVendor::LoadEntry(std::unique_ptr<TLuaTable> entry, int index) {
    const char* const keys[] = {"barType", "layerType", "option"};
    int values[std::size(keys)];
    for (size_t key = 0; key < std::size(keys); ++key) {
        if (!VChocolateLayer::ReadKey(*entry, keys[key], values[key])) {
            DebugLog("VChocolateVendor: \"chocolates\" entry %i: \"%s\" is no number; read as absent", index,
                     keys[key]);
        }
    }
    std::shared_ptr<VChocolateLayer> layer = VChocolateLayer::Create(0, -1, -1);
    layer->Load(VLuaStyle::Create(entry.release(), nullptr));
    layer->PreloadAssets("all", "all", true);
    mPrototypes[values[0]][values[1]][values[2]] = layer;
}

std::shared_ptr<VChocolateLayer> VChocolateVendor::MakeLayer(int barType, int layerType, int option) const {
    auto bar = mPrototypes.find(barType);
    if (bar == mPrototypes.end()) return nullptr;
    auto type = bar->second.find(layerType);
    if (type == bar->second.end()) return nullptr;
    auto prototype = type->second.find(option);
    if (prototype == type->second.end()) return nullptr;
    std::shared_ptr<VChocolateLayer> layer = VChocolateLayer::Create(0, -1, -1);
    prototype->second->CopyTo(layer);
    layer->Reset();
    return layer;
}

// Layer counts and availability

void VChocolateVendor::SetMaxLayers(int layers) {
    mMaxLayers = std::clamp(layers, 1, VChocolateSpec::kMostLayers);
}

void VChocolateVendor::SetEndlessLayers(float minutes) {
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    if (values->GetReal("endless_three_layers", 0.0f) <= minutes) {
        mMaxLayers = 3;
    } else if (minutes >= values->GetReal("endless_two_layers", 0.0f)) {
        mMaxLayers = 2;
    } else {
        mMaxLayers = 1;
    }
}

void VChocolateVendor::UpdateAvailability() {
    std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
    for (const OptionUpgrade& row : kOptionUpgrades) {
        for (int option = 0; option < kOptionCount; ++option) {
            bool owned = IsStationOwned(*upgrades, row.name, option + 1);
            for (int shape = row.infusionOnly ? kInfusionShape : 0; shape < kShapeCount; ++shape) {
                Mark(mOptions[shape][row.layerType], option, owned);
            }
        }
    }
    for (int shape = 0; shape < kInfusionShape; ++shape) {
        Mark(mShapes, shape, IsStationOwned(*upgrades, "kPress%i", shape + 1));
    }
    Mark(mShapes, kInfusionShape, IsStationOwned(*upgrades, "kInfusion%i", 1));
}

const std::set<int>& VChocolateVendor::GetOptions(int shape, int layerType) const {
    static const std::set<int> kNone;
    auto byShape = mOptions.find(shape);
    if (byShape == mOptions.end()) return kNone;
    auto options = byShape->second.find(layerType);
    return options != byShape->second.end() ? options->second : kNone;
}

bool VChocolateVendor::IsOrderable(const std::shared_ptr<VChocolate>& chocolate) const {
    if (!chocolate || mShapes.count(chocolate->GetShape()) == 0) return false;
    for (int slot = kIngredientLayer; slot < VChocolate::kSlots; ++slot) {
        std::shared_ptr<VChocolateLayer> layer = chocolate->GetSlot(slot);
        if (layer && GetOptions(chocolate->GetShape(), slot).count(layer->GetOption()) == 0) return false;
    }
    return true;
}

// Display shelves

std::map<int, int> VChocolateVendor::ShownValues(const VChocolate& chocolate) {
    std::map<int, int> shown;
    if (chocolate.IsUnshaped()) return shown;
    if (chocolate.GetSlot(kChocolateLayer)) {
        shown[kShownMix] = chocolate.GetChocolateType();
        shown[kShownShape] = chocolate.GetShape();
    }
    const std::pair<int, int> optionKeys[] = {
        {kIngredientLayer, kShownIngredient}, {kInfusionLayer, kShownInfusion}, {kToppingLayer, kShownTopping}};
    for (const auto& [slot, key] : optionKeys) {
        if (std::shared_ptr<VChocolateLayer> layer = chocolate.GetSlot(slot)) shown[key] = layer->GetOption();
    }
    return shown;
}

void VChocolateVendor::AddDisplayed(const std::shared_ptr<VChocolate>& chocolate) {
    if (!chocolate) return;
    for (const auto& [key, value] : ShownValues(*chocolate)) mDisplayed[key].insert(value);
}

void VChocolateVendor::RemoveDisplayed(const std::shared_ptr<VChocolate>& chocolate) {
    if (!chocolate) return;
    for (const auto& [key, value] : ShownValues(*chocolate)) mDisplayed[key].erase(value);
}

void VChocolateVendor::ClearDisplayed() {
    mDisplayed.clear();
}

const std::set<int>& VChocolateVendor::GetDisplayed(int key) const {
    static const std::set<int> kNone;
    auto found = mDisplayed.find(key);
    return found != mDisplayed.end() ? found->second : kNone;
}

// Drawing an order

int VChocolateVendor::PickOne(const std::set<int>& values) {
    auto chosen = values.begin();
    std::advance(chosen, PlatformRandom() % values.size());
    return *chosen;
}

int VChocolateVendor::DisplayInfluence(int key, int fallback) {
    const std::set<int>& shown = GetDisplayed(key);
    if (shown.empty()) return fallback;
    int roll = static_cast<int>(PlatformRandom() % 101);
    float weight = VValueManager::Get()->GetReal(kInfluenceWeights[key], 0.0f);
    return static_cast<float>(roll) <= weight ? PickOne(shown) : fallback;
}

std::shared_ptr<VChocolateLayer> VChocolateVendor::MakeRandomLayer(int shape, int layerType) {
    int option = DisplayInfluence(layerType == kChocolateLayer ? kShownMix : layerType, -1);
    if (option < 0) {
        const std::set<int>& options = GetOptions(shape, layerType);
        option = options.empty() ? -1 : PickOne(options);
    }
    return MakeLayer(shape, layerType, option);
}

std::shared_ptr<VChocolate> VChocolateVendor::CreateOrderChocolate(const VChocolateSpec& spec) {
    if (spec.kind != 0) return nullptr;
    std::shared_ptr<VChocolate> chocolate = VChocolate::Create(shared_from_this());
    int budget = spec.layers;
    if (budget < 1) budget = mMaxLayers < 2 ? 1 : 1 + static_cast<int>(PlatformRandom() % mMaxLayers);

    // A shape on display may stand in even for one the order fixes.
    int shape = spec.shape == kInfusionShape ? spec.shape : DisplayInfluence(kShownShape, spec.shape);
    if (shape == VChocolateSpec::kAnyShape) shape = mShapes.empty() ? -1 : PickOne(mShapes);

    if (spec.mix < 0) {
        chocolate->AddLayer(MakeRandomLayer(shape, kChocolateLayer));
    } else {
        chocolate->MakeLayer(shape, kChocolateLayer, DisplayInfluence(kShownMix, spec.mix));
    }
    --budget;

    // The layers the order mentions come whatever the budget.
    for (int type = kIngredientLayer; type <= kToppingLayer; ++type) {
        int wanted = spec.options[type];
        if (type == kChocolateLayer || wanted == VChocolateSpec::kNotMentioned) {
            // Every infusion shape carries an infusion.
            if (type == kInfusionLayer && shape == kInfusionShape) {
                chocolate->AddLayer(MakeRandomLayer(shape, type));
                --budget;
            }
            continue;
        }
        // Infusions only in the infusion shape, and no ingredient in it.
        if ((type == kInfusionLayer && shape != kInfusionShape) || (type == kIngredientLayer && shape == kInfusionShape)) {
            continue;
        }
        std::shared_ptr<VChocolateLayer> layer;
        if (wanted < 0) {
            layer = MakeRandomLayer(shape, type);
            chocolate->AddLayer(layer);
        } else {
            layer = chocolate->MakeLayer(shape, type, DisplayInfluence(type, wanted));
        }
        if (layer) --budget;
    }

    // The budget left buys an ingredient, a topping, or, for one layer, either.
    if (budget < 1) return chocolate;
    bool anyTopping = spec.options[kToppingLayer] < 0;
    if (spec.options[kIngredientLayer] < 0 && shape != kInfusionShape) {
        bool toppingInstead = budget < 2 && anyTopping && PlatformRandom() % 2 == 1;
        if (!toppingInstead) {
            chocolate->AddLayer(MakeRandomLayer(shape, kIngredientLayer));
            --budget;
        }
    }
    if (budget >= 1 && anyTopping) chocolate->AddLayer(MakeRandomLayer(shape, kToppingLayer));
    return chocolate;
}

// Icons

std::shared_ptr<VChocolate> VChocolateVendor::MakeChocolateIcon(int chocolateType, bool decaying) {
    std::shared_ptr<VChocolate> chocolate = VChocolate::Create(shared_from_this());
    chocolate->SetDecaying(decaying);
    std::shared_ptr<VChocolateLayer> bucket = MakeLayer(-1, kBucketLayer, 0);
    if (!bucket) return chocolate;
    chocolate->AddLayer(bucket);
    chocolate->SetChocolateType(chocolateType);
    if (std::shared_ptr<VObject> icon = bucket->GetChildObject("icon")) {
        icon->SetVisible(true);
        icon->SetAsset("choc", TString::Format("option_%i", chocolateType), "default");
    }
    return chocolate;
}
