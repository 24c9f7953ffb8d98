// The keeper of level progress: every level's goal and mastery score from
// "levels/goals.xml", the current level and its definition, the highest
// completed level, and the current player's results: per level a status
// and a best score, per location a banked score. Results are written
// through to the player's blocks at once; the current and highest level
// are the saved named values "current_level" and "highest_level".
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "foundation/tstring.h"
#include "game/shell/managersingleton.h"

class VLevel;

// One level's record; made of zeros on first access.
struct LevelResult {
    int32_t bestScore = 0;
    int32_t goal = 0;
    int32_t mastery = 0;
    int32_t status = 0;
};

class VLevelManager : public VManagerSingleton<VLevelManager> {
public:
    // Levels 1 to 60 have a place in the player's blocks, ten to a location.
    static constexpr int kLevelCount = 60;
    static constexpr int kLevelsPerLocation = 10;
    static constexpr int kLocationCount = 6;
    enum Status { kNotCompleted = 0, kPassed = 1, kMastered = 2 };

    virtual ~VLevelManager() = default;

    // The location of the level, 0 to 5 for levels 1 to 60 (below 0 for
    // levels below 1).
    static int GetLocationIndex(int level);

    // Reloads the player's statuses, best scores and location scores from
    // their blocks; bytes a short block lacks read 0.
    void LoadProgress();

    int GetGoalScore(int level) { return Result(level).goal; }
    int GetMasteryScore(int level) { return Result(level).mastery; }
    int GetLevelStatus(int level) { return Result(level).status; }
    int GetBestScore(int level) { return Result(level).bestScore; }
    int GetCurrentGoal() { return GetGoalScore(GetCurrentLevel()); }
    int GetCurrentMastery() { return GetMasteryScore(GetCurrentLevel()); }
    int GetCurrentResult() { return GetLevelStatus(GetCurrentLevel()); }

    // Levels outside 1 to 60 change in memory only.
    void SetLevelStatus(int level, int status);
    // Only a score above the best is kept.
    void SetBestScore(int level, int score);
    int GetLocationScore(int level) const;
    void SetLocationScore(int level, int score);
    int GetCurrentLocationScore() const { return GetLocationScore(GetCurrentLevel()); }
    void SetCurrentLocationScore(int score) { SetLocationScore(GetCurrentLevel(), score); }

    int GetCurrentLevel() const;
    void SetCurrentLevel(int level);
    int GetHighestComplete() const;
    // Unless forced, only ever raises the highest level. Levels above it
    // lose their status, completed ones up to it keep theirs and the
    // others count as passed.
    void SetHighestComplete(int level, bool force);

    // Makes the level current (0 for none) and notes whether it is replayed.
    void SetCurrentLevelObject(const std::shared_ptr<VLevel>& level);
    const std::shared_ptr<VLevel>& GetCurrentLevelObject() const { return mCurrentLevelObject; }
    bool IsReplaying() const { return mReplaying; }

    // The status the score reaches on the current level (0 without its
    // definition), raising the stored status and best score. counted: the
    // score on a first completion, else its gain over the best score.
    int RecordResult(int score, int& counted);
    // After a completed level, the next one becomes current.
    void AdvanceLevel();

private:
    friend class VManagerSingleton<VLevelManager>;

    // Publishes the script functions and reads the goals.
    VLevelManager();

    LevelResult& Result(int level) { return mResults[level]; }
    void LoadGoals(const TString& fileName);

    std::map<int, LevelResult> mResults;
    bool mReplaying = false;
    std::shared_ptr<VLevel> mCurrentLevelObject;
    // By location index; the ones outside the blocks in memory only.
    std::map<int, int32_t> mLocationScores;
};
