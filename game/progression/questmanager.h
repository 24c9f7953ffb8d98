// The quests and those active in the current level. This stand-in holds no
// quests: progression's quest manager replaces it.
#pragma once

#include "foundation/tstring.h"
#include "game/shell/managersingleton.h"

class VQuestManager : public VManagerSingleton<VQuestManager> {
public:
    virtual ~VQuestManager() = default;

    // Lets every quest load its saved state; there are none yet.
    void LoadQuestStates() {}
    // The quests of the script file and those of a level: none here, so a
    // level finishes no quest and its status text is empty.
    void LoadQuests(const TString& /*fileName*/) {}
    void SetLevel(int /*level*/) {}
    TString GetStatusText() const { return TString(); }
    void Clear() {}

private:
    friend class VManagerSingleton<VQuestManager>;
    VQuestManager() = default;
};
