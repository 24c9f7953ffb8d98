// Level definitions: what a level file ("levels/level%0.2i.xml") says about
// one level. VLevel reads the elements every game knows; ZqLevel adds the
// shop's customers, airship orders, layers, lockdown and decays, and shows
// its scores as money. While a level lives, scripts ask it "NeedPrelevel"
// and "NeedPlot"; the newest level answers.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "foundation/tstring.h"
#include "game/chocolates/chocolatespec.h"
#include "game/shell/screenfunctions.h"

class TXmlNode;
class VCustomerData;

class VLevel : public std::enable_shared_from_this<VLevel> {
public:
    // (category, name) in file order.
    using UpgradeList = std::vector<std::pair<TString, TString>>;

    // Publishes "NeedPrelevel" and "NeedPlot" for this level.
    explicit VLevel(int number);
    virtual ~VLevel() = default;
    VLevel(const VLevel&) = delete;
    VLevel& operator=(const VLevel&) = delete;

    // Reads the children of every top-level "level" element over the
    // current values; a file that cannot be read, or has no such element,
    // is logged and changes nothing.
    virtual void Load(const TString& fileName);
    // An element Load does not know; ignored here.
    virtual void LoadElement(const TString& name, TXmlNode& node);
    // The scores as whole numbers.
    virtual TString GetGoalText() const;
    virtual TString GetMasteryText() const;
    virtual bool NeedPrelevel() const { return mNeedsPrelevel; }
    virtual bool NeedPlot() const { return !mPlots.empty(); }

    // The level screen clears the request once it has opened the shop.
    void SetNeedPrelevel(bool need) { mNeedsPrelevel = need; }

    int GetNumber() const { return mNumber; }
    int GetMinutes() const { return mMinutes; }
    int GetSeconds() const { return mSeconds; }
    // The localised text of the file's label.
    const TString& GetName() const { return mName; }
    const TString& GetLocation() const { return mLocation; }
    float GetGoal() const { return mGoal; }
    float GetMastery() const { return mMastery; }
    const std::vector<TString>& GetPlots() const { return mPlots; }
    const UpgradeList& GetUpgrades() const { return mUpgrades; }

private:
    void LoadLevelElement(TXmlNode& level);

    int mNumber;
    int mMinutes = 0;
    int mSeconds = 0;
    TString mName;
    TString mLocation;
    float mGoal = 0.0f;
    float mMastery = 0.0f;
    bool mNeedsPrelevel = true;
    std::vector<TString> mPlots;
    UpgradeList mUpgrades;
    VScreenFunctions mFunctions;
};

class ZqLevel : public VLevel {
public:
    static constexpr int kLastLevelWithoutPrelevel = 3;

    // Loads the file unless its name is empty.
    static std::shared_ptr<ZqLevel> Create(int number, const TString& fileName);
    explicit ZqLevel(int number);

    void LoadElement(const TString& name, TXmlNode& node) override;
    // The scores as money (FormatMoney).
    TString GetGoalText() const override;
    TString GetMasteryText() const override;

    int GetMaxLayers() const { return mMaxLayers; }
    const std::vector<std::shared_ptr<VCustomerData>>& GetCustomers() const { return mCustomers; }
    const std::vector<VChocolateSpec>& GetAirshipOrders() const { return mAirshipOrders; }
    float GetLockdownMin() const { return mLockdownMin; }
    float GetLockdownMax() const { return mLockdownMax; }
    // Both ends belong to the window.
    bool InLockdown(float value) const { return mLockdownMin <= value && value <= mLockdownMax; }
    float GetCustomerDecay() const { return mCustomerDecay; }
    int GetChocolateDecay() const { return mChocolateDecay; }

private:
    void LoadAirshipOrders(TXmlNode& zeppelin);

    int mMaxLayers = 3;
    std::vector<std::shared_ptr<VCustomerData>> mCustomers;
    std::vector<VChocolateSpec> mAirshipOrders;
    float mLockdownMin = -1.0f;
    float mLockdownMax = -1.0f;
    float mCustomerDecay = 0.0f;
    int mChocolateDecay = 0;
};

// The amount as money through the platform's string table: the
// "localizer_currency_..._format" texts by size (tens, thousands, millions,
// billions), each taking the amount's groups of three digits.
TString FormatMoney(int32_t amount);
