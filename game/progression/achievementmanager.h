// The achievements and the current player's earned flags. This stand-in
// knows no achievements: progression's achievement manager replaces it.
#pragma once

#include "foundation/tstring.h"
#include "game/shell/managersingleton.h"

class VAchievementManager : public VManagerSingleton<VAchievementManager> {
public:
    virtual ~VAchievementManager() = default;

    // Reloads the player's earned flags; there are none to read yet.
    void LoadProgress() {}
    // Appends one "medal" line per earned achievement: none here.
    void GetMedalsXml(TString& /*text*/) const {}
    // Checks every achievement against the current values: none here.
    void CheckAll() {}
    // The end of a level's check of the achievements of the category (all
    // for an empty filter), shown at once or held for later: none here.
    void AwardNewAchievements(const TString& /*filter*/, bool /*show*/, int /*hold*/) {}

private:
    friend class VManagerSingleton<VAchievementManager>;
    VAchievementManager() = default;
};
