// Feeds arbitrary bytes to the upgrade manager: the first bytes choose the
// level and the overrides, the next ones are the player's saved block of
// the location, the rest is the catalogue file. Then every query, preview,
// grant and save runs on every upgrade, and the saved block is checked:
// only the bytes of the catalogue's indexes below 75 ever change.
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "foundation/prefs.h"
#include "foundation/virtualfiles.h"
#include "game/level/level.h"
#include "game/level/upgrade.h"
#include "game/level/upgrademanager.h"
#include "game/shell/game.h"
#include "game/sprites/spritemanager.h"
#include "fuzz/fuzzgame.h"

namespace {

const char kBlock[] = "upgrades_grytviken";
const char kCatalogue[] = "locations/grytviken/upgrades.xml";
const char kLevelFile[] = "levels/level03.xml";
const char kLevelText[] = "<level><location>grytviken</location></level>";
// The categories whose every upgrade is asked, previewed and granted.
const char* const kExercised[] = {"station", "aesthetic", "gameplay", ""};

class NoSpider : public VUpgradeSpider {
public:
    bool Visit(const std::shared_ptr<VSprite>&) override { return true; }
    void SetUpgrade(const std::shared_ptr<VUpgrade>&) override {}
    void SetRecursive(bool) override {}
};

std::vector<uint8_t> StoredBlock() {
    TPrefs& prefs = *VGame::Get()->GetPrefs();
    int length = prefs.GetData(0, kBlock, nullptr, 0);
    std::vector<uint8_t> bytes(static_cast<size_t>(length > 0 ? length : 0));
    if (length > 0) prefs.GetData(0, kBlock, bytes.data(), length);
    return bytes;
}

void Exercise(VUpgradeManager& upgrades, const std::shared_ptr<VUpgradeSpider>& spider) {
    for (const char* category : kExercised) {
        int open = 0;
        // A copy: grants and previews change states, never the catalogue.
        VUpgradeManager::Category entries = upgrades.GetCategory(category);
        for (const auto& [name, upgrade] : entries) {
            FuzzCheck(upgrades.IsUpgradeOwned(name, category) == upgrade->IsOwned());
            upgrades.IsUpgradeActive(name, category);
            upgrades.AreRequirementsOwned(*upgrade);
            upgrade->GetProperty("header");
            open += !upgrade->IsHidden() && !upgrade->IsOwned();
        }
        FuzzCheck(upgrades.CountOpenUpgrades(category) == open);
        for (const auto& [name, upgrade] : entries) {
            upgrades.PreviewUpgrade(name, category, spider);
            upgrades.RevealUpgrade(name, category);
            upgrades.MakeAvailable(name, category);
        }
        upgrades.RevertPreviews("", category, spider);
        for (const auto& [name, upgrade] : entries) {
            FuzzCheck(upgrade->GetState() != VUpgrade::kPreview);
            upgrades.GrantUpgrade(name, category, true, spider);
            FuzzCheck(upgrade->GetState() == VUpgrade::kBought);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool prepared = (PrepareFuzzGame("upgrades-fuzz"), true);
    (void)prepared;
    if (size < 4) return 0;
    int levelNumber = static_cast<int8_t>(data[0]);
    int minLevelOverride = static_cast<int8_t>(data[1]);
    int enabledOverride = static_cast<int8_t>(data[2]);
    size_t blockLength = std::min<size_t>(data[3], size - 4);
    std::string catalogue(reinterpret_cast<const char*>(data) + 4 + blockLength, size - 4 - blockLength);

    VGame::Get()->GetPrefs()->SetData(0, kBlock, data + 4, static_cast<int>(blockLength), false);
    std::vector<uint8_t> before = StoredBlock();
    static const char kNothing = 0;
    RegisterMemoryFile(kCatalogue, catalogue.empty() ? &kNothing : catalogue.data(), catalogue.size());
    RegisterMemoryFile(kLevelFile, kLevelText, sizeof(kLevelText) - 1);

    std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
    upgrades->SetupForLevel(ZqLevel::Create(levelNumber, kLevelFile), "", -1, -1, true, nullptr);
    upgrades->SelectLocation(levelNumber, kCatalogue, minLevelOverride, enabledOverride, nullptr);
    upgrades->ApplyUpgradeEffects(*VSpriteManager::Create());
    Exercise(*upgrades, std::make_shared<NoSpider>());

    // Only bytes of the catalogue's indexes changed, each to 1 (bought);
    // an empty entry loads as a fresh block of fill bytes.
    std::vector<uint8_t> after = StoredBlock();
    std::set<size_t> indexes;
    for (const auto& [category, entries] : upgrades->GetCatalogue()) {
        for (const auto& [name, upgrade] : entries) indexes.insert(static_cast<size_t>(upgrade->GetIndex()));
    }
    const size_t kSaved = VUpgradeManager::kSavedUpgrades;
    if (before.empty()) before.assign(kSaved, 0xFF);
    FuzzCheck(after.size() >= before.size() && after.size() <= std::max(before.size(), kSaved));
    for (size_t i = 0; i < after.size(); ++i) {
        uint8_t was = i < before.size() ? before[i] : 0xFF;
        FuzzCheck(after[i] == was || (after[i] == 1 && i < kSaved && indexes.count(i) == 1));
    }
    for (const char* category : kExercised) {
        for (const auto& [name, upgrade] : upgrades->GetCategory(category)) {
            size_t index = static_cast<size_t>(upgrade->GetIndex());
            FuzzCheck(index >= kSaved || after.at(index) == 1);
        }
    }
    upgrades->Clear();
    ClearVirtualFiles();
    return 0;
}
