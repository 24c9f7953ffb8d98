// An episode of the story that also sets a goal on a game value and, once
// the goal is met, hands out an upgrade of the location's catalogue. Its
// state is kept per player in the location's "quest_" record, one signed
// byte per item index: 0 met, anything else open.
#pragma once

#include <memory>

#include "game/progression/plotitem.h"

class VBinaryBlock;

class VQuestItem : public VPlotItem {
public:
    static std::shared_ptr<VQuestItem> Create(const TString& name, int index);
    VQuestItem(const TString& name, int index);
    ~VQuestItem() override;

    // The goal and reward keys, then the plot item's own.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;
    void LoadState(const TString& location) override;
    // The goal's byte, then the plot records.
    void SaveState(const TString& location) override;
    // The goal's byte alone.
    void SaveGoal(const TString& location);
    // Tests an open goal and rewards it when met; a met goal stays met.
    void Evaluate() override;
    // "quest_complete" with the reward's header and content, or
    // "quest_failed"; empty when the reward is no upgrade of the catalogue.
    TString GetMessage() const override;

    virtual void SetState(int state) { mState = state; }
    virtual int GetState() const { return mState; }
    virtual bool IsFinished() const { return mState == 0; }

    // Reveals the reward again once met: every level set-up rereads the
    // catalogue with its upgrades hidden.
    void RevealReward() const;

private:
    // The location's record when it holds the item's byte.
    std::shared_ptr<VBinaryBlock> StateBlock(const TString& location) const;

    float mThreshold = 0;
    int mCompare = 0;
    TString mCompValue;
    TString mReward;
    TString mRewardCategory;
    TString mRewardType;
    // Open until the player's record says otherwise.
    int mState = 1;
};
