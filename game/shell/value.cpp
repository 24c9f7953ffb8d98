#include "game/shell/value.h"

#include <cfloat>
#include <cstdlib>

#include "foundation/debuglog.h"
#include "foundation/prefs.h"
#include "foundation/xmlnode.h"
#include "game/shell/game.h"
#include "game/shell/valueconditions.h"
#include "game/shell/valuemanager.h"
#include "lua/numbercast.h"

namespace {

// The store and the current user for saved values; null without either.
TPrefs* SavedValueStore(int& user) {
    user = GetCurrentUserNumber();
    return user >= 0 ? GetGamePrefs() : nullptr;
}

int StoredInteger(float v) {
    return script::truncateNumber<int>(v);
}

}  // namespace

float NumberToFloat(double number) {
    if (number > FLT_MAX) {
        return FLT_MAX;
    }
    if (number < -FLT_MAX) {
        return -FLT_MAX;
    }
    return static_cast<float>(number);
}

float TextToFloat(const TString& text) {
    return NumberToFloat(std::atof(text.c_str()));
}

float ClampToLimits(float v, float min, float max) {
    if (v > max) {
        v = max;
    }
    return v > min ? v : min;
}

std::shared_ptr<VValue> VValue::Create(const TString& name, float initial) {
    return std::make_shared<VValue>(name, initial);
}

VValue::VValue(const TString& name, float initial)
    : mName(name), mInitial(initial), mCurrent(initial), mMin(-FLT_MAX), mMax(FLT_MAX) {}

void VValue::Load(TXmlNode& node) {
    mModifiers.clear();
    mInitial = TextToFloat(node.GetAttribute("value"));
    mCurrent = mInitial;
    TString min = node.GetAttribute("min");
    if (min.Length() > 0) {
        mMin = TextToFloat(min);
    }
    TString max = node.GetAttribute("max");
    if (max.Length() > 0) {
        mMax = TextToFloat(max);
    }
    mSaved = node.GetAttribute("saved") == "true";
    TString name;
    TXmlNode* child = nullptr;
    node.ResetChildIterator();
    while (node.NextChild(name, child)) {
        if (name == "modify") {
            AddModifier(*child);
        }
    }
    LoadSaved();
}

void VValue::AddModifier(TXmlNode& node) {
    Modifier modifier;
    modifier.amount = TextToFloat(node.GetAttribute("value"));
    modifier.category = node.GetAttribute("category");
    const struct {
        const char* attribute;
        int kind;
    } kKeyed[] = {{"upgrade", kUpgrade}, {"plot", kPlot}, {"byval", kByValue}};
    for (const auto& keyed : kKeyed) {
        TString key = node.GetAttribute(keyed.attribute);
        if (key.Length() > 0) {
            modifier.key = key;
            modifier.kind = keyed.kind;
            break;
        }
    }
    mModifiers.push_back(modifier);
}

void VValue::LoadSaved() {
    int user = -1;
    TPrefs* prefs = mSaved ? SavedValueStore(user) : nullptr;
    if (prefs) {
        mCurrent = static_cast<float>(prefs->GetInt(user, mName, StoredInteger(mInitial)));
    }
}

void VValue::Save() {
    int user = -1;
    TPrefs* prefs = mSaved ? SavedValueStore(user) : nullptr;
    if (prefs) {
        prefs->SetInt(user, mName, StoredInteger(mCurrent), true);
    }
}

void VValue::Set(float v, bool save) {
    mCurrent = ClampToLimits(v, mMin, mMax);
    if (save) {
        Save();
    }
}

float VValue::Add(float amount, bool save) {
    mCurrent += amount;
    if (save) {
        Save();
    }
    return mCurrent;
}

float VValue::Subtract(float amount, bool save) {
    return Add(-amount, save);
}

bool VValue::Applies(const Modifier& modifier, float& amount) const {
    amount = modifier.amount;
    switch (modifier.kind) {
    case kUpgrade:
        return GetValueConditions().IsUpgradeOwned(modifier.key, modifier.category);
    case kPlot:
        return GetValueConditions().IsStepQueued(modifier.key);
    case kByValue:
        amount = VValueManager::Get()->GetReal(modifier.key, 0.0f);
        return true;
    default:
        return true;
    }
}

float VValue::GetModified() {
    if (mEvaluating) {
        if (!mLoopLogged) {
            DebugLog("VValue: \"%s\" is modified by itself; its own current value counts", mName.c_str());
            mLoopLogged = true;
        }
        return ClampToLimits(mCurrent, mMin, mMax);
    }
    mEvaluating = true;
    float sum = mCurrent;
    for (const Modifier& modifier : mModifiers) {
        float amount = 0.0f;
        if (Applies(modifier, amount)) {
            sum += amount * mCurrent;
        }
    }
    mEvaluating = false;
    return ClampToLimits(sum, mMin, mMax);
}
