// One quest: a named value compared with a goal while the levels of its
// range are played, with a reward (money, or an upgrade revealed or given)
// when the goal holds at the end of a level. Its state keeps one byte of the
// player's "quest_block".
#pragma once

#include <memory>

#include "foundation/tstring.h"

class VBinaryBlock;
class VLuaStyle;

class VQuest : public std::enable_shared_from_this<VQuest> {
public:
    enum { kPending = 0, kComplete = 1, kFailed = 2 };

    static std::shared_ptr<VQuest> Create(const TString& name, int slot);
    VQuest(const TString& name, int slot) : mName(name), mSlot(slot) {}
    virtual ~VQuest() = default;
    VQuest(const VQuest&) = delete;
    VQuest& operator=(const VQuest&) = delete;

    // Reads the quest's description table.
    virtual void Load(VLuaStyle& style);
    // A slot outside the block leaves the state as it is (kept in memory
    // only); a byte that is no state reads pending.
    virtual void LoadState(const VBinaryBlock& block);
    // Writes nothing for a slot outside the block.
    virtual void SaveState(VBinaryBlock& block) const;
    virtual void SetState(int state) { mState = state; }
    virtual int GetState() const { return mState; }
    // How the window shows the quest now: kPending while the value lies
    // below the goal (or is no number), else whether the comparison holds.
    virtual int Evaluate() const;
    virtual bool IsComplete() const { return mState == kComplete; }
    // In its level range and not complete.
    virtual bool IsAvailable(int level) const;
    // The end-of-level test, and the reward when it holds; nothing once complete.
    virtual void Check();
    virtual TString GetResultText() const;
    // The window's status column.
    virtual TString GetProgressText() const;
    // The localised name; empty for an empty name.
    virtual TString GetDisplayName() const;

    const TString& GetName() const { return mName; }
    int GetSlot() const { return mSlot; }
    const TString& GetRewardType() const { return mRewardType; }
    const TString& GetReward() const { return mReward; }
    const TString& GetRewardCategory() const { return mRewardCategory; }

private:
    void GiveReward() const;
    float Measure() const;

    int mState = kPending;
    int mDisplay = 0;
    TString mName;
    TString mUnits;
    int mSlot;
    int mMinLevel = 0;
    int mMaxLevel = 0;
    float mThreshold = 0;
    int mCompare = 0;
    TString mCompValue;
    TString mReward;
    TString mRewardCategory;
    TString mRewardType = "activate";
    TString mFormat;
};
