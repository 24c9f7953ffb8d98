// The game's named values by name, read from "values.xml" and reachable from
// scripts. Reads of an undeclared name make a value from the caller's
// default, which later reads return whatever their default.
#pragma once

#include <map>
#include <memory>

#include "foundation/tstring.h"
#include "game/shell/managersingleton.h"
#include "game/shell/value.h"

class VValueManager : public VManagerSingleton<VValueManager> {
public:
    virtual ~VValueManager() = default;

    // Replaces every value by those of the file; a missing or broken file
    // leaves none and logs an error line naming it.
    void Load(const TString& fileName);

    float GetReal(const TString& name, float def);
    // The floor of the effective value; beyond the type's range the nearest limit.
    int GetInt(const TString& name, int def);
    unsigned GetUint(const TString& name, unsigned def);
    // An undeclared name gets an unsaved value, so nothing is written.
    void SetValue(const TString& name, float value, bool save);
    float AddToValue(const TString& name, float amount, float def, bool save);
    float SubtractFromValue(const TString& name, float amount, float def, bool save);
    // Limits; an undeclared name gives the smallest positive float and the
    // highest float, and nothing is made.
    float GetMin(const TString& name) const;
    float GetMax(const TString& name) const;
    // The value (1 or 0 when undeclared) times the factor or plus the
    // amount; with clamp, within its limits. Nothing is stored.
    float ScaleWithinLimits(const TString& name, float factor, bool clamp);
    float OffsetWithinLimits(const TString& name, float amount, bool clamp);
    void SaveAll();

    // The value of that name; empty (nothing made) when there is none.
    std::shared_ptr<VValue> Find(const TString& name) const;

private:
    friend class VManagerSingleton<VValueManager>;

    // Publishes the script functions and loads "values.xml".
    VValueManager();

    std::shared_ptr<VValue> GetOrCreate(const TString& name, float def);
    void LoadSection(TXmlNode& section);
    float WithinLimits(const TString& name, float v, bool clamp) const;

    std::map<TString, std::shared_ptr<VValue>> mValues;
};

// Reloads "values.xml", with the saved values of the current user.
void LoadManagedValues();
