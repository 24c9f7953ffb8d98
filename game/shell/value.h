// One named tuning value of the game: a float with limits, optionally saved
// per user, and modifiers that raise or lower it while an upgrade is owned,
// while a plot step is queued, by another value's amount, or always.
#pragma once

#include <memory>
#include <vector>

#include "foundation/tstring.h"

class TXmlNode;

// A number as a float: beyond the float range it gives the nearest limit.
float NumberToFloat(double number);
// Text read as atof reads it (0 for no number), as a float likewise.
float TextToFloat(const TString& text);
// v within [min, max]: max when above it, min when not above min.
float ClampToLimits(float v, float min, float max);

class VValue : public std::enable_shared_from_this<VValue> {
public:
    enum ModifierKind { kUpgrade = 0, kPlot = 1, kByValue = 2, kAlways = 3 };

    struct Modifier {
        float amount = 0.0f;
        TString key;
        TString category;
        int kind = kAlways;
    };

    static std::shared_ptr<VValue> Create(const TString& name, float initial);
    VValue(const TString& name, float initial);
    virtual ~VValue() = default;
    VValue(const VValue&) = delete;
    VValue& operator=(const VValue&) = delete;

    // Reads a "value" element with its "modify" children, then the saved value.
    void Load(TXmlNode& node);
    // A saved value reads the current user's stored integer.
    void LoadSaved();
    // A saved value stores its current value, truncated, for the current user.
    void Save();

    void Set(float v, bool save);
    float Add(float amount, bool save);
    float Subtract(float amount, bool save);
    // The current value with every applying modifier, within the limits.
    float GetModified();

    const TString& GetName() const { return mName; }
    bool IsSaved() const { return mSaved; }
    float GetInitial() const { return mInitial; }
    float GetCurrent() const { return mCurrent; }
    float GetMin() const { return mMin; }
    float GetMax() const { return mMax; }
    const std::vector<Modifier>& GetModifiers() const { return mModifiers; }

private:
    void AddModifier(TXmlNode& node);
    // Whether the modifier applies, and by how much.
    bool Applies(const Modifier& modifier, float& amount) const;

    TString mName;
    bool mSaved = false;
    float mInitial;
    float mCurrent;
    float mMin;
    float mMax;
    std::vector<Modifier> mModifiers;
    // A "byval" chain that leads back here counts this value as it stands.
    bool mEvaluating = false;
    bool mLoopLogged = false;
};
