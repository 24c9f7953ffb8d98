#include "game/level/upgrademanager.h"

#include "foundation/xmlnode.h"
#include "game/level/datafile.h"
#include "game/level/level.h"
#include "game/level/upgrade.h"
#include "game/objects/objectdescription.h"
#include "game/shell/block.h"
#include "game/shell/game.h"

namespace {

const VUpgradeManager::Category kNoCategory;

}  // namespace

void VUpgradeManager::SetupForLevel(const std::shared_ptr<VLevel>& level, const TString& cataloguePath,
                                    int minLevelOverride, int enabledOverride, bool grantLevelUpgrades,
                                    const std::shared_ptr<VUpgradeSpider>& spider) {
    mLevel = level;
    SelectLocation(level ? level->GetNumber() : 0, cataloguePath, minLevelOverride, enabledOverride, spider);
    if (!level || !grantLevelUpgrades) return;
    for (const auto& [category, name] : level->GetUpgrades()) GrantUpgrade(name, category, false, spider);
}

void VUpgradeManager::SelectLocation(int levelNumber, const TString& cataloguePath, int minLevelOverride,
                                     int enabledOverride, const std::shared_ptr<VUpgradeSpider>& spider) {
    mLevelNumber = levelNumber;
    if (cataloguePath.Length() > 0) {
        mCataloguePath = cataloguePath;
        LoadCatalogue(cataloguePath);
    }
    LoadOwned();
    // Prerequisites see the states as this pass has left them so far.
    for (const auto& [category, upgrades] : mCatalogue) {
        for (const auto& [name, upgrade] : upgrades) {
            if (!upgrade->IsOwned() && AreRequirementsOwned(*upgrade)) {
                Evaluate(*upgrade, minLevelOverride, enabledOverride, spider);
            }
        }
    }
}

void VUpgradeManager::Evaluate(const VUpgrade& upgrade, int minLevelOverride, int enabledOverride,
                               const std::shared_ptr<VUpgradeSpider>& spider) {
    int enabled = upgrade.GetEnabled();
    int minLevel = upgrade.GetMinLevel();
    if ((enabledOverride < 0 || enabledOverride >= enabled) && mLevelNumber >= enabled) {
        GrantUpgrade(upgrade.GetName(), upgrade.GetCategory(), true, spider);
    } else if ((minLevelOverride < 0 || minLevelOverride >= minLevel) && upgrade.IsLevelInRange(mLevelNumber)) {
        MakeAvailable(upgrade.GetName(), upgrade.GetCategory());
    }
}

void VUpgradeManager::LoadCatalogue(const TString& path) {
    Clear();
    int index = 0;
    TString category;
    ReadDataFile(path, "upgrades", "VUpgradeManager", [&](TXmlNode& upgrades) {
        TString name;
        TXmlNode* child = nullptr;
        for (upgrades.ResetChildIterator(); upgrades.NextChild(name, child);) {
            if (name == "upgradetype") {
                category = LowerCase(child->GetAttribute("type"));
                TXmlNode* element = nullptr;
                for (child->ResetChildIterator(); child->NextChild(name, element);) {
                    if (LowerCase(name) == "upgrade") LoadUpgrade(*element, category, index);
                }
            } else if (name == "upgrade") {
                LoadUpgrade(*child, category, index);
            }
        }
    });
}

void VUpgradeManager::LoadUpgrade(TXmlNode& element, const TString& category, int& index) {
    TString name = LowerCase(element.GetAttribute("name"));
    if (name.Length() == 0) return;
    auto upgrade = VUpgrade::Create(name, index++, weak_from_this(), category);
    upgrade->Load(&element);
    mCatalogue[category][name] = upgrade;
}

void VUpgradeManager::Clear() {
    mCatalogue.clear();
    mPreviews.clear();
}

std::shared_ptr<VUpgrade> VUpgradeManager::GetUpgrade(const TString& name, const TString& category) const {
    const Category& upgrades = GetCategory(category);
    auto found = upgrades.find(LowerCase(name));
    return found == upgrades.end() ? nullptr : found->second;
}

const VUpgradeManager::Category& VUpgradeManager::GetCategory(const TString& category) const {
    auto found = mCatalogue.find(LowerCase(category));
    return found == mCatalogue.end() ? kNoCategory : found->second;
}

bool VUpgradeManager::IsUpgradeOwned(const TString& name, const TString& category) const {
    std::shared_ptr<VUpgrade> upgrade = GetUpgrade(name, category);
    return upgrade && upgrade->IsOwned();
}

bool VUpgradeManager::IsUpgradeActive(const TString& name, const TString& category) const {
    std::shared_ptr<VUpgrade> upgrade = GetUpgrade(name, category);
    return upgrade && AreRequirementsOwned(*upgrade) && upgrade->IsPurchasable();
}

bool VUpgradeManager::AreRequirementsOwned(const VUpgrade& upgrade) const {
    for (const TString& required : upgrade.GetRequires()) {
        if (!IsUpgradeOwned(required, upgrade.GetCategory())) return false;
    }
    return true;
}

bool VUpgradeManager::GrantUpgrade(const TString& name, const TString& category, bool save,
                                   const std::shared_ptr<VUpgradeSpider>& spider) {
    std::shared_ptr<VUpgrade> upgrade = GetUpgrade(name, category);
    if (!upgrade) return false;
    upgrade->SetOwned(true, false, spider);
    mPreviews.erase(upgrade);
    if (save) SaveOwnership(name, category);
    return true;
}

void VUpgradeManager::PreviewUpgrade(const TString& name, const TString& category,
                                     const std::shared_ptr<VUpgradeSpider>& spider) {
    std::shared_ptr<VUpgrade> upgrade = GetUpgrade(name, category);
    if (!upgrade || !upgrade->IsPurchasable()) return;
    mPreviews.insert(upgrade);
    upgrade->SetOwned(true, true, spider);
}

void VUpgradeManager::RevertPreviews(const TString& name, const TString& category,
                                     const std::shared_ptr<VUpgradeSpider>& spider) {
    TString lowerName = LowerCase(name);
    TString lowerCategory = LowerCase(category);
    for (auto it = mPreviews.begin(); it != mPreviews.end();) {
        const VUpgrade& upgrade = **it;
        bool matches = (lowerName.Length() == 0 || upgrade.GetName() == lowerName) &&
                       (lowerCategory.Length() == 0 || upgrade.GetCategory() == lowerCategory);
        if (!matches) {
            ++it;
            continue;
        }
        (*it)->SetOwned(false, false, spider);
        it = mPreviews.erase(it);
    }
}

void VUpgradeManager::MakeAvailable(const TString& name, const TString& category) {
    std::shared_ptr<VUpgrade> upgrade = GetUpgrade(name, category);
    if (upgrade && upgrade->GetState() == VUpgrade::kLocked) upgrade->SetState(VUpgrade::kAvailable);
}

void VUpgradeManager::RevealUpgrade(const TString& name, const TString& category) {
    if (std::shared_ptr<VUpgrade> upgrade = GetUpgrade(name, category)) upgrade->Reveal();
}

int VUpgradeManager::CountOpenUpgrades(const TString& category) const {
    int count = 0;
    for (const auto& [name, upgrade] : GetCategory(category)) {
        if (!upgrade->IsHidden() && !upgrade->IsOwned()) ++count;
    }
    return count;
}

void VUpgradeManager::ApplyUpgradeEffects(const VSpriteManager& sprites) {
    for (const auto& [category, upgrades] : mCatalogue) {
        for (const auto& [name, upgrade] : upgrades) upgrade->BindTargets(sprites);
    }
}

std::shared_ptr<VBinaryBlock> VUpgradeManager::OwnershipBlock() const {
    if (mEndless) return nullptr;
    return GetPlayerBinaryBlock(mLevel ? TString("upgrades_") + mLevel->GetLocation() : TString("upgrades"));
}

void VUpgradeManager::LoadOwned() {
    std::shared_ptr<VBinaryBlock> block = OwnershipBlock();
    if (!block) return;
    block->Load();
    for (const auto& [category, upgrades] : mCatalogue) {
        for (const auto& [name, upgrade] : upgrades) {
            int index = upgrade->GetIndex();
            if (index < kSavedUpgrades && upgrade->IsLevelInRange(mLevelNumber) && block->ReadByte(index) == 1) {
                upgrade->SetState(VUpgrade::kBought);
            }
        }
    }
    block->Save();
}

void VUpgradeManager::SaveOwnership(const TString& name, const TString& category) {
    std::shared_ptr<VUpgrade> upgrade = GetUpgrade(name, category);
    std::shared_ptr<VBinaryBlock> block = upgrade ? OwnershipBlock() : nullptr;
    int index = upgrade ? upgrade->GetIndex() : -1;
    if (!block || index < 0 || index >= kSavedUpgrades) return;
    block->WriteByte(index, upgrade->GetState() == VUpgrade::kBought ? 1 : 0);
    block->Save();
}
