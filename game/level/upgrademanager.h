// The upgrade catalogue of the location being played
// ("locations/<location>/upgrades.xml") and the player's ownership of its
// upgrades, kept per location in the 75-byte block "upgrades_<location>":
// byte i is 1 when the upgrade of index i is bought. Names and categories
// are lower-cased before every lookup; one the catalogue lacks makes every
// operation do nothing and answer false, 0 or null.
#pragma once

#include <map>
#include <memory>
#include <set>

#include "foundation/tstring.h"
#include "game/shell/managersingleton.h"

class TXmlNode;
class VBinaryBlock;
class VLevel;
class VSpriteManager;
class VUpgrade;
class VUpgradeSpider;

class VUpgradeManager : public VManagerSingleton<VUpgradeManager> {
public:
    // Upgrades by name.
    using Category = std::map<TString, std::shared_ptr<VUpgrade>>;
    // The bytes of a location's block.
    static constexpr int kSavedUpgrades = 75;

    virtual ~VUpgradeManager() = default;

    // While set, ownership is neither read from nor written to the blocks.
    void SetEndlessMode(bool endless) { mEndless = endless; }
    bool IsEndlessMode() const { return mEndless; }

    // Keeps the level, selects its location, then (when asked) grants the
    // upgrades the level definition lists, for this level only.
    void SetupForLevel(const std::shared_ptr<VLevel>& level, const TString& cataloguePath, int minLevelOverride,
                       int enabledOverride, bool grantLevelUpgrades, const std::shared_ptr<VUpgradeSpider>& spider);
    // Reads the catalogue afresh (unless the path is empty) with the
    // player's bought upgrades, then gives those due for free from their
    // "enabled" level and offers those whose level window holds the level.
    // A negative override lifts its check.
    void SelectLocation(int levelNumber, const TString& cataloguePath, int minLevelOverride, int enabledOverride,
                        const std::shared_ptr<VUpgradeSpider>& spider);
    // Every upgrade starts locked; a missing or malformed file is logged
    // and leaves the catalogue empty.
    void LoadCatalogue(const TString& path);
    void Clear();

    bool IsUpgradeOwned(const TString& name, const TString& category) const;
    // Purchasable with its prerequisites owned.
    bool IsUpgradeActive(const TString& name, const TString& category) const;
    // Bought, whatever its state was; saved when asked. False when the
    // catalogue has no such upgrade.
    bool GrantUpgrade(const TString& name, const TString& category, bool save,
                      const std::shared_ptr<VUpgradeSpider>& spider);
    // Only a purchasable upgrade is previewed.
    void PreviewUpgrade(const TString& name, const TString& category, const std::shared_ptr<VUpgradeSpider>& spider);
    // Ends the previews that match; an empty name or category matches any.
    void RevertPreviews(const TString& name, const TString& category, const std::shared_ptr<VUpgradeSpider>& spider);
    // Only a locked upgrade becomes available.
    void MakeAvailable(const TString& name, const TString& category);
    void RevealUpgrade(const TString& name, const TString& category);
    // Neither hidden nor owned (locked ones count).
    int CountOpenUpgrades(const TString& category) const;
    // Empty for an unknown category.
    const Category& GetCategory(const TString& category) const;
    // Every category by its lower-cased name.
    const std::map<TString, Category>& GetCatalogue() const { return mCatalogue; }
    std::shared_ptr<VUpgrade> GetUpgrade(const TString& name, const TString& category) const;
    // Every prerequisite owned in the upgrade's own category.
    bool AreRequirementsOwned(const VUpgrade& upgrade) const;
    // Binds every effect to the manager's objects; nothing is switched.
    void ApplyUpgradeEffects(const VSpriteManager& sprites);

    // Bought upgrades of the block whose level window holds the level.
    void LoadOwned();
    // Writes the upgrade's one byte of the block.
    void SaveOwnership(const TString& name, const TString& category);

    int GetLevelNumber() const { return mLevelNumber; }
    const TString& GetCataloguePath() const { return mCataloguePath; }

private:
    friend class VManagerSingleton<VUpgradeManager>;
    VUpgradeManager() = default;

    void LoadUpgrade(TXmlNode& element, const TString& category, int& index);
    // The player's block of the level's location; null in endless mode or
    // without one.
    std::shared_ptr<VBinaryBlock> OwnershipBlock() const;
    // Gives or offers the upgrade as the level asks.
    void Evaluate(const VUpgrade& upgrade, int minLevelOverride, int enabledOverride,
                  const std::shared_ptr<VUpgradeSpider>& spider);

    std::map<TString, Category> mCatalogue;
    std::shared_ptr<VLevel> mLevel;
    int mLevelNumber = 0;
    TString mCataloguePath;
    bool mEndless = false;
    // Ordered by address.
    std::set<std::shared_ptr<VUpgrade>> mPreviews;
};
