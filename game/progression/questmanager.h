// The quests of "locations/quests.lua", those active in the current level,
// and the player's "quest_block" of 100 bytes, one byte of state per quest.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "foundation/tstring.h"
#include "game/shell/managersingleton.h"

class VBinaryBlock;
class VQuest;

class VQuestManager : public VManagerSingleton<VQuestManager> {
public:
    static constexpr int kQuestBlockSize = 100;

    virtual ~VQuestManager() = default;

    // Replaces the quests by those of the script's global table "quests",
    // with their saved states. A script that fails, or has no such table,
    // leaves none (logged).
    void LoadQuests(const TString& fileName);
    // Reloads the player's block and every quest's state from it.
    void LoadQuestStates();
    // The quests available in the level become the active ones.
    void SetLevel(int level);
    // Checks and rewards the active quests, saves their states, and returns
    // their result lines.
    TString FinishLevel();
    // The result lines of the last finished level.
    const TString& GetStatusText() const { return mResultText; }
    // In slot order.
    std::vector<std::shared_ptr<VQuest>> GetActiveQuests() const { return mActive; }
    void Clear();
    // Reveals again, in the catalogue just read, the upgrades that completed
    // quests revealed.
    void ApplyReveals();

    // Made and loaded from the player's profile on first use.
    std::shared_ptr<VBinaryBlock> GetQuestBlock();
    // By lower-cased name; null when there is none.
    std::shared_ptr<VQuest> FindQuest(const TString& name) const;

private:
    friend class VManagerSingleton<VQuestManager>;
    VQuestManager() = default;

    std::map<TString, std::shared_ptr<VQuest>> mQuests;
    std::vector<std::shared_ptr<VQuest>> mActive;
    std::shared_ptr<VBinaryBlock> mBlock;
    TString mResultText;
};
