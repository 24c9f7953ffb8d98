// One scripted customer of a level file: which customer type comes, when,
// to which station, what it orders, and with what patience decay and tip.
#pragma once

#include <cfloat>
#include <memory>
#include <vector>

#include "foundation/tstring.h"
#include "game/chocolates/chocolatespec.h"

class TXmlNode;

class VCustomerData : public std::enable_shared_from_this<VCustomerData> {
public:
    // Decay and tip are used only when 0 or more.
    static constexpr float kUnset = -1.0f;

    static std::shared_ptr<VCustomerData> Create();

    // Empties the orders, then reads the element's children: "name",
    // "type", "station" as text; "start", "end", "decay", "tip" as numbers;
    // each "order" appended. A later child replaces an earlier value.
    // Without an element only the orders are emptied.
    void Read(TXmlNode* element);

    const TString& GetType() const { return mType; }
    const TString& GetName() const { return mName; }
    const TString& GetStation() const { return mStation; }
    // Arrival times in percent of the level time; the largest float when unset.
    float GetStart() const { return mStart; }
    float GetEnd() const { return mEnd; }
    float GetDecay() const { return mDecay; }
    float GetTip() const { return mTip; }
    const std::vector<VChocolateSpec>& GetOrders() const { return mOrders; }

private:
    TString mType;
    TString mName;
    TString mStation;
    float mStart = FLT_MAX;
    float mEnd = FLT_MAX;
    float mDecay = kUnset;
    float mTip = kUnset;
    std::vector<VChocolateSpec> mOrders;
};
