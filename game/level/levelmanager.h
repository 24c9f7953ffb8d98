// The level goals and the current player's level progress. This stand-in
// keeps no levels yet: the shop floor's level manager replaces it.
#pragma once

#include "game/shell/managersingleton.h"

class VLevelManager : public VManagerSingleton<VLevelManager> {
public:
    virtual ~VLevelManager() = default;

    // Reloads the player's level records from their blocks.
    void LoadProgress();
    // The highest level the player completed ("highest_level"), 0 without one.
    int GetHighestComplete() const { return mHighestComplete; }

private:
    friend class VManagerSingleton<VLevelManager>;
    VLevelManager() = default;

    int mHighestComplete = 0;
};
