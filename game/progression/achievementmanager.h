// The achievements of "achievements.xml" and the current player's earned
// flags: checked when a level ends or a script asks, recorded in the
// statistics, shown in reward notifications that stack downwards, and
// listed as medals with a score submission. Publishes
// "CheckAllAchievements", "ShowNewAchievements" and "HideNotification".
#pragma once

#include <functional>
#include <list>
#include <map>
#include <memory>
#include <vector>

#include "foundation/tstring.h"
#include "game/shell/managersingleton.h"
#include "game/shell/screenfunctions.h"

class TXmlNode;
class VAchievement;
class VRewardNotify;

class VAchievementManager : public VManagerSingleton<VAchievementManager> {
public:
    using AchievementList = std::vector<std::shared_ptr<VAchievement>>;

    virtual ~VAchievementManager();

    // Replaces the achievements by those of the file; a missing or broken
    // file leaves none (logged).
    void Load(const TString& fileName);
    // Replaces them by those of the parsed document.
    void LoadFrom(TXmlNode& root);
    // Reads every earned flag of the current player.
    void LoadProgress();
    // Names are looked up lower-cased; empty when there is none.
    std::shared_ptr<VAchievement> GetAchievement(const TString& category, const TString& name) const;
    bool IsEarned(const TString& name, const TString& category) const;
    void Award(const TString& name, const TString& category);
    // Also sets the watched value back to 0 (saved).
    void Revoke(const TString& name, const TString& category);
    // True when the achievement is not earned yet and the value meets it.
    bool Check(float value, const TString& name, const TString& category, bool award);
    // The level-end check over one category, or all for an empty filter:
    // newly earned ones are recorded in "SweetRewardsEarnedID" and shown at
    // once, or kept for "ShowNewAchievements".
    void AwardNewAchievements(const TString& filter, bool show, int hold);
    // A notification listing them: held that long, or with hold 0 until
    // "HideNotification". Nothing for an empty list.
    void ShowNotification(const AchievementList& list, int hold);
    // One "medal" line per earned achievement that has a medal.
    void GetMedalsXml(TString& out) const;
    void AwardAll();
    void RevokeAll();
    void ListAll(AchievementList& out) const;
    void ListEarned(AchievementList& out) const;

    // Called by a notification that goes away.
    void DropNotification(VRewardNotify* notification);
    const std::list<VRewardNotify*>& GetOpenNotifications() const { return mOpenNotifications; }
    const AchievementList& GetNewlyEarned() const { return mNewlyEarned; }

    // The script functions.
    void CheckAllAchievements(TString filter, bool show, int hold);
    void ShowNewAchievements(int hold);
    void HideNotification();

private:
    friend class VManagerSingleton<VAchievementManager>;
    using Category = std::map<TString, std::shared_ptr<VAchievement>>;

    VAchievementManager();

    void LoadCategory(TXmlNode& parent, const TString& category, int& index);
    void RecordInStatistics() const;
    // Moves the notification below the open ones it overlaps.
    void PlaceBelowOpenNotifications(VRewardNotify& notification) const;
    void ForEach(const std::function<void(const std::shared_ptr<VAchievement>&)>& visit) const;

    std::map<TString, Category> mAchievements;
    std::list<VRewardNotify*> mOpenNotifications;
    std::vector<std::shared_ptr<bool>> mHoldFlags;
    AchievementList mNewlyEarned;
    VScreenFunctions mFunctions;
};
