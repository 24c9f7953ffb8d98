// One goal on a managed value: the value compared with a threshold. Once the
// comparison holds the achievement is earned for the current player for
// good; the flag is the byte at its index of the player's "achievements"
// block (1 earned).
#pragma once

#include <memory>

#include "foundation/tstring.h"

class TXmlNode;

class VAchievement {
public:
    // The name is lower-cased.
    static std::shared_ptr<VAchievement> Create(const TString& name, const TString& category, int index);
    VAchievement(const TString& name, const TString& category, int index);

    // "title", "description", "compare", "threshold", "value" and "medal"
    // children; other children are ignored, missing ones leave the field.
    void Load(TXmlNode& element);
    bool Evaluate(float value) const;
    // Not earned without a player's block, or for an index past its end.
    void LoadEarned();
    // Writes the flag and saves the block at once; nothing without a byte
    // for the index.
    void SaveEarned();
    void SetEarned(bool earned);

    const TString& GetName() const { return mName; }
    const TString& GetCategory() const { return mCategory; }
    const TString& GetTitle() const { return mTitle; }
    const TString& GetDescription() const { return mDescription; }
    const TString& GetValueName() const { return mValueName; }
    const TString& GetMedal() const { return mMedal; }
    int GetIndex() const { return mIndex; }
    float GetThreshold() const { return mThreshold; }
    int GetCompareFlags() const { return mCompareFlags; }
    bool IsEarned() const { return mEarned; }

private:
    TString mName;
    TString mCategory;
    TString mTitle;
    TString mDescription;
    TString mValueName;
    TString mMedal;
    int mIndex;
    float mThreshold = 0;
    int mCompareFlags = 0;
    bool mEarned = false;
};
