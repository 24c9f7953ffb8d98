// Chocolates on the objects' fixture: a vendor loaded from a small catalogue
// with a layer for every bar type, layer type and option the tests ask for,
// named values and owned upgrades (of a catalogue of every station option)
// that each test sets, and a few helpers to read a chocolate's layers back.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/scripting/luaobject.h"
#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatelayer.h"
#include "game/chocolates/chocolatevendor.h"
#include "game/level/upgrademanager.h"
#include "game/shell/valuemanager.h"
#include "tests/objects/objecttesting.h"

// Layers for bar types 0 to 3 with layer types 1 to 4 and options 0 to 2,
// and a bucket whose icon shows the chocolate type and the ingredient; their
// images are "choc/layer.png", "choc/bucket.png" and "choc/icon.png".
inline const char kChocolateCatalogue[] = R"(
            local function look(file) return { anim = false, look = { { file = file } } } end
            local function states()
                local list = {}
                for option = 0, 2 do
                    table.insert(list, { state = "option_" .. option, file = "choc/icon.png" })
                end
                return list
            end
            catalogue = {
                { barType = -1, layerType = 0, option = 0, assets = look("choc/bucket.png"),
                  children = { icon = { assets = { anim = false, choc = states(), overlay = states() } } } },
            }
            for bar = 0, 3 do
                for layerType = 1, 4 do
                    for option = 0, 2 do
                        table.insert(catalogue, { barType = bar, layerType = layerType, option = option,
                                                  assets = look("choc/layer.png") })
                    end
                end
            end
        )";

// Options 1 to 3 and their qualities of every machine kind, and the
// upgrades given.
inline std::string StationCatalogue(const std::vector<std::string>& more = {}) {
    std::string xml = "<upgrades><upgradetype type=\"station\">";
    for (const char* kind : {"kMixer", "kIngredient", "kTopping", "kInfusion", "kPress"}) {
        for (const char* quality : {"", "Q"}) {
            for (int n = 1; n <= 3; ++n) {
                xml += std::string("<upgrade name=\"") + kind + quality + std::to_string(n) + "\"/>";
            }
        }
    }
    for (const std::string& name : more) xml += "<upgrade name=\"" + name + "\"/>";
    return xml + "</upgradetype></upgrades>";
}

class ChocolatesTest : public ObjectTest {
protected:
    void SetUp() override {
        ObjectTest::SetUp();
        WriteImage("choc/layer.png", 8, 8);
        WriteImage("choc/bucket.png", 8, 8);
        WriteImage("choc/icon.png", 4, 4);
        Define(kChocolateCatalogue);
        WriteAsset(kStationCatalogue, StationCatalogue());
        vendor = VChocolateVendor::Create();
        std::unique_ptr<TLuaTable> table(script.GetGlobalTable("catalogue"));
        vendor->Load(table.get());
    }
    void TearDown() override {
        vendor.reset();
        VChocolate::ClearLayerTints();
        ReleaseManagerSingleton<VUpgradeManager>();
        ReleaseManagerSingleton<VValueManager>();
        ObjectTest::TearDown();
    }

    static void SetValue(const char* name, float value) { VValueManager::Get()->SetValue(name, value, false); }
    // A station upgrade of the catalogue, read again by a new manager (one
    // released to own nothing).
    static void Own(const char* upgrade) {
        std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
        if (upgrades->GetCategory("station").empty()) upgrades->LoadCatalogue(kStationCatalogue);
        ASSERT_TRUE(upgrades->GrantUpgrade(upgrade, "station", false, nullptr)) << upgrade;
    }
    // Every station upgrade of the three options, presses included.
    static void OwnEverything() {
        for (const char* kind : {"kMixer", "kIngredient", "kTopping", "kInfusion", "kPress"}) {
            for (int n = 1; n <= 3; ++n) Own((kind + std::to_string(n)).c_str());
        }
    }

    static constexpr char kStationCatalogue[] = "locations/test/upgrades.xml";

    // The five slots as "bar/option" or "-", separated by blanks.
    static std::string Slots(const VChocolate& chocolate) {
        std::string text;
        for (int slot = 0; slot < VChocolate::kSlots; ++slot) {
            std::shared_ptr<VChocolateLayer> layer = chocolate.GetSlot(slot);
            if (slot > 0) text += " ";
            text += layer ? std::to_string(layer->GetBarType()) + "/" + std::to_string(layer->GetOption()) : "-";
        }
        return text;
    }

    std::shared_ptr<VChocolateVendor> vendor;
};
