// One upgrade of a location's catalogue: its category and name, cost,
// level window, prerequisites, the effects it has on named objects of the
// level scene, and its state (locked, available, bought, or previewed in
// the shop). State changes report to a spider, the shop's highlighter.
#pragma once

#include <map>
#include <memory>
#include <set>

#include "foundation/tstring.h"
#include "game/sprites/sprite.h"

class TXmlNode;
class VObject;
class VSpriteManager;
class VUpgrade;
class VUpgradeManager;

// What owning an upgrade does to one object of the scene.
struct VUpgradeEffect {
    // The target object's name in the level's sprite manager.
    TString name;
    // The asset to switch and its state; either may be empty.
    TString asset;
    TString state;
    // Whether the shop's highlight visits the target, and its children.
    bool effect = true;
    bool recursive = true;
    // Bound by VUpgrade::BindTargets; empty until then.
    std::shared_ptr<VObject> target;
};

// Told of each upgrade that changes, then led over its effects' targets.
class VUpgradeSpider : public VSpriteSpider {
public:
    virtual void SetUpgrade(const std::shared_ptr<VUpgrade>& upgrade) = 0;
    virtual void SetRecursive(bool recursive) = 0;
};

class VUpgrade : public std::enable_shared_from_this<VUpgrade> {
public:
    // The value 2 is not used.
    enum State { kLocked = 0, kAvailable = 1, kBought = 3, kPreview = 4 };
    // Never given for free, never past the last level.
    static constexpr int kNever = 2147483647;

    static std::shared_ptr<VUpgrade> Create(const TString& name, int index, const std::weak_ptr<VUpgradeManager>& manager,
                                            const TString& category);
    VUpgrade(const TString& name, int index, const std::weak_ptr<VUpgradeManager>& manager, const TString& category);

    // Reads the element's "hidden" attribute and its children; nothing for null.
    void Load(TXmlNode* element);

    // Bought or previewed.
    bool IsOwned() const { return mState == kBought || mState == kPreview; }
    // Available or previewed.
    bool IsPurchasable() const { return mState != kLocked && mState != kBought; }
    bool IsHidden() const { return mHidden; }
    bool IsLevelInRange(int level) const { return mMinLevel <= level && level <= mMaxLevel; }

    // The state a preview started from is kept, so reverting returns to it.
    void SetState(int state);
    // Bought (owned), previewed (owned and preview) or back to the state
    // before; the bound targets show it and the spider visits them.
    void SetOwned(bool owned, bool preview, const std::shared_ptr<VUpgradeSpider>& spider);
    // Finds each effect's target among the manager's sprites by name; only
    // objects are taken. Nothing is switched.
    void BindTargets(const VSpriteManager& sprites);
    // The text of that other child element; empty when there is none.
    TString GetProperty(const TString& name) const;
    void Reveal() { mHidden = false; }

    const TString& GetName() const { return mName; }
    const TString& GetCategory() const { return mCategory; }
    const std::set<TString>& GetRequires() const { return mRequires; }
    int GetEnabled() const { return mEnabled; }
    int GetMinLevel() const { return mMinLevel; }
    int GetMaxLevel() const { return mMaxLevel; }
    // Its running number in the file: its byte in the saved block.
    int GetIndex() const { return mIndex; }
    float GetCost() const { return mCost; }
    int GetState() const { return mState; }
    int GetPreviousState() const { return mPreviousState; }
    const std::map<TString, VUpgradeEffect>& GetEffects() const { return mEffects; }
    const std::map<TString, TString>& GetProperties() const { return mProperties; }
    std::shared_ptr<VUpgradeManager> GetManager() const { return mManager.lock(); }

private:
    void LoadEffect(TXmlNode& element);

    TString mName;
    TString mCategory;
    std::weak_ptr<VUpgradeManager> mManager;
    std::set<TString> mRequires;
    int mEnabled = kNever;
    int mMinLevel = 0;
    int mMaxLevel = kNever;
    int mIndex;
    float mCost = 0.0f;
    int mState = kLocked;
    int mPreviousState = kLocked;
    std::map<TString, VUpgradeEffect> mEffects;
    bool mHidden = false;
    std::map<TString, TString> mProperties;
};
