// Levels, progress and upgrades on the shell's platform: data files as
// memory files, texts added to the platform's string table, and a game
// whose first player's progress is loaded.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "foundation/stringtable.h"
#include "game/chocolates/chocolatespec.h"
#include "game/chocolates/chocolatevendor.h"
#include "game/shell/block.h"
#include "game/shell/blockstore.h"
#include "tests/shell/shelltesting.h"

// A fixed order of a level that the vendor, with the machines owned, can
// make: a chocolate of a shape, chocolate and layers it offers, within the
// level's layers.
inline void ExpectMakeable(const VChocolateVendor& vendor, const VChocolateSpec& order, int maxLayers) {
    EXPECT_EQ(order.kind, 0);
    EXPECT_LE(order.layers, maxLayers);
    ASSERT_EQ(vendor.GetShapes().count(order.shape), 1u) << order.shape;
    EXPECT_EQ(vendor.GetOptions(order.shape, kChocolateLayer).count(order.mix), 1u) << order.mix;
    for (int type : {kIngredientLayer, kInfusionLayer, kToppingLayer}) {
        if (order.options[type] == VChocolateSpec::kNotMentioned) continue;
        EXPECT_EQ(vendor.GetOptions(order.shape, type).count(order.options[type]), 1u) << type;
    }
}

class LevelTestBase : public ShellTest {
protected:
    using Rows = std::vector<std::pair<std::string, std::string>>;

    // The labels and texts as rows of the platform's string table.
    void AddStrings(const Rows& rows) {
        std::string xml = "<Workbook><Worksheet><Table>";
        for (const auto& [label, text] : rows) {
            xml += "<Row><Cell><Data>" + label + "</Data></Cell><Cell><Data>" + text + "</Data></Cell></Row>";
        }
        xml += "</Table></Worksheet></Workbook>";
        std::string name = "teststrings" + std::to_string(mFiles.size()) + ".xml";
        AddFile(name, xml);
        ASSERT_TRUE(mPlatform->GetData().GetStringTable()->AddFile(name.c_str()));
    }

    // The current and highest level as the shipped game declares them.
    void DeclareLevelValues() {
        AddFile("values.xml",
                "<values><value name=\"current_level\" value=\"1\" min=\"1\" max=\"60\" saved=\"true\"/>"
                "<value name=\"highest_level\" value=\"0\" min=\"0\" max=\"60\" saved=\"true\"/></values>");
    }

    // A game whose first player's progress is loaded.
    void StartPlayer() {
        CreateGameWithUser();
        VGame::Get()->LoadUserProgress();
    }

    // The same, with the block stored for the player before the progress loads.
    void StartPlayerWith(const char* block, const std::vector<uint8_t>& bytes) {
        CreateGameWithUser();
        Store(block, bytes);
        VGame::Get()->LoadUserProgress();
    }

    // The player's block as stored in the preferences.
    std::vector<uint8_t> Stored(const char* block) {
        int length = Prefs().GetData(0, block, nullptr, 0);
        std::vector<uint8_t> bytes(static_cast<size_t>(std::max(length, 0)));
        if (length > 0) Prefs().GetData(0, block, bytes.data(), length);
        return bytes;
    }

    void Store(const char* block, const std::vector<uint8_t>& bytes) {
        Prefs().SetData(0, block, bytes.data(), static_cast<int>(bytes.size()), true);
    }

    static int32_t IntAt(const std::vector<uint8_t>& bytes, size_t index) {
        uint32_t value = 0;
        for (size_t i = 4; i-- > 0;) value = value << 8 | bytes.at(index * 4 + i);
        return static_cast<int32_t>(value);
    }
};
