// The quests and those active in the current level. This stand-in holds no
// quests: progression's quest manager replaces it.
#pragma once

#include "game/shell/managersingleton.h"

class VQuestManager : public VManagerSingleton<VQuestManager> {
public:
    virtual ~VQuestManager() = default;

    // Lets every quest load its saved state; there are none yet.
    void LoadQuestStates() {}

private:
    friend class VManagerSingleton<VQuestManager>;
    VQuestManager() = default;
};
