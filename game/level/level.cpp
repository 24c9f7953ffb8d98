#include "game/level/level.h"

#include "foundation/stringtable.h"
#include "foundation/xmlnode.h"
#include "game/level/customerdata.h"
#include "game/level/datafile.h"
#include "game/shell/value.h"
#include "game/texts/scorerformat.h"
#include "game/utilities/localised.h"
#include "lua/numbercast.h"
#include "runtime/platform.h"

namespace {

int WholeNumber(float value) {
    return script::truncateNumber<int>(value);
}

}  // namespace

VLevel::VLevel(int number) : mNumber(number) {
    mFunctions.Publish("NeedPrelevel", this, &VLevel::NeedPrelevel);
    mFunctions.Publish("NeedPlot", this, &VLevel::NeedPlot);
}

void VLevel::Load(const TString& fileName) {
    ReadDataFile(fileName, "level", "VLevel::Load", [this](TXmlNode& level) { LoadLevelElement(level); });
}

void VLevel::LoadLevelElement(TXmlNode& level) {
    TString name;
    TXmlNode* child = nullptr;
    for (level.ResetChildIterator(); level.NextChild(name, child);) {
        if (name == "name") {
            mName = Localised(child->GetText());
        } else if (name == "location") {
            mLocation = child->GetText();
        } else if (name == "minutes") {
            mMinutes = child->GetText().ToInt();
        } else if (name == "seconds") {
            mSeconds = child->GetText().ToInt();
        } else if (name == "goal") {
            mGoal = TextToFloat(child->GetText());
        } else if (name == "mastery") {
            mMastery = TextToFloat(child->GetText());
        } else if (name == "plot") {
            mPlots.push_back(child->GetText());
        } else if (name == "upgrade") {
            mUpgrades.emplace_back(child->GetAttribute("category"), child->GetAttribute("name"));
        } else {
            LoadElement(name, *child);
        }
    }
}

void VLevel::LoadElement(const TString&, TXmlNode&) {}

TString VLevel::GetGoalText() const {
    return TString::Format("%i", WholeNumber(mGoal));
}

TString VLevel::GetMasteryText() const {
    return TString::Format("%i", WholeNumber(mMastery));
}

std::shared_ptr<ZqLevel> ZqLevel::Create(int number, const TString& fileName) {
    auto level = std::make_shared<ZqLevel>(number);
    if (fileName.Length() > 0) level->Load(fileName);
    return level;
}

ZqLevel::ZqLevel(int number) : VLevel(number) {
    SetNeedPrelevel(number > kLastLevelWithoutPrelevel);
}

void ZqLevel::LoadElement(const TString& name, TXmlNode& node) {
    if (name == "maxlayers") {
        mMaxLayers = node.GetText().ToInt();
    } else if (name == "customer") {
        auto customer = VCustomerData::Create();
        customer->Read(&node);
        mCustomers.push_back(customer);
    } else if (name == "zeppelin") {
        LoadAirshipOrders(node);
    } else if (name == "lockdown") {
        mLockdownMin = TextToFloat(node.GetAttribute("min"));
        mLockdownMax = TextToFloat(node.GetAttribute("max"));
    } else if (name == "chocolatedecay") {
        mChocolateDecay = node.GetText().ToInt();
    } else if (name == "customerdecay") {
        mCustomerDecay = TextToFloat(node.GetText());
    }
}

void ZqLevel::LoadAirshipOrders(TXmlNode& zeppelin) {
    TString name;
    TXmlNode* child = nullptr;
    for (zeppelin.ResetChildIterator(); zeppelin.NextChild(name, child);) {
        if (name != "order") continue;
        VChocolateSpec order;
        order.Read(*child);
        mAirshipOrders.push_back(order);
    }
}

TString ZqLevel::GetGoalText() const {
    return FormatMoney(WholeNumber(GetGoal()));
}

TString ZqLevel::GetMasteryText() const {
    return FormatMoney(WholeNumber(GetMastery()));
}

TString FormatMoney(int32_t amount) {
    TPlatform* platform = TPlatform::GetInstance();
    return FormatDigitGroups(amount, platform ? platform->GetStringTable() : nullptr, "localizer_currency");
}
