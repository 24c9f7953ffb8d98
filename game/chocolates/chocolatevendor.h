// The level's chocolate catalogue: the layer prototypes of the location,
// what can be ordered (from the station upgrades the player owns), what
// stands on the display shelves (which pulls orders towards it), and the
// order picker that makes the chocolate a customer asks for. Draws come
// from the platform's generator, each a value modulo the number of choices.
#pragma once

#include <map>
#include <memory>
#include <set>

#include "game/chocolates/chocolatespec.h"

class TLuaTable;
class VChocolate;
class VChocolateLayer;

class VChocolateVendor : public std::enable_shared_from_this<VChocolateVendor> {
public:
    // Display keys: what the shelves show.
    enum DisplayKey { kShownMix = 0, kShownIngredient, kShownShape, kShownInfusion, kShownTopping };

    static std::shared_ptr<VChocolateVendor> Create();

    // Forgets everything, then loads one prototype per array entry of the
    // "chocolates" table; entries it cannot take are logged and skipped.
    void Load(const TLuaTable* chocolates);
    // 1 to 3 layers per order.
    void SetMaxLayers(int layers);
    // Endless mode: more layers as the minutes pass.
    void SetEndlessLayers(float minutes);
    // What can be ordered, from the owned station upgrades.
    void UpdateAvailability();
    // A fresh copy of the prototype; null when there is none.
    std::shared_ptr<VChocolateLayer> MakeLayer(int barType, int layerType, int option) const;
    // A copy of a prototype of a drawn option; null when there is none.
    std::shared_ptr<VChocolateLayer> MakeRandomLayer(int shape, int layerType);
    // What a customer orders; null unless the order record asks for a chocolate.
    std::shared_ptr<VChocolate> CreateOrderChocolate(const VChocolateSpec& spec);
    // Its shape and the options of its layers can be ordered.
    bool IsOrderable(const std::shared_ptr<VChocolate>& chocolate) const;
    // Shaped chocolates on the shelves, by the values they show.
    void AddDisplayed(const std::shared_ptr<VChocolate>& chocolate);
    void RemoveDisplayed(const std::shared_ptr<VChocolate>& chocolate);
    void ClearDisplayed();
    // A chocolate showing a bucket of the chocolate type, for a machine.
    std::shared_ptr<VChocolate> MakeChocolateIcon(int chocolateType, bool decaying);

    int GetMaxLayers() const { return mMaxLayers; }
    // Empty when nothing is.
    const std::set<int>& GetOptions(int shape, int layerType) const;
    const std::set<int>& GetShapes() const { return mShapes; }
    const std::set<int>& GetDisplayed(int key) const;

private:
    using Prototypes = std::map<int, std::map<int, std::map<int, std::shared_ptr<VChocolateLayer>>>>;

    VChocolateVendor() = default;

    void LoadEntry(std::unique_ptr<TLuaTable> entry, int index);
    // A value shown under the key, drawn with the key's named weight;
    // otherwise the fallback.
    int DisplayInfluence(int key, int fallback);
    // Which one of the values: a draw modulo their count.
    static int PickOne(const std::set<int>& values);
    // The chocolate's shown values by display key; none for an unshaped one.
    static std::map<int, int> ShownValues(const VChocolate& chocolate);

    Prototypes mPrototypes;
    std::map<int, std::map<int, std::set<int>>> mOptions;
    std::set<int> mShapes;
    std::map<int, std::set<int>> mDisplayed;
    int mMaxLayers = 3;
};
