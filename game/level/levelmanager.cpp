#include "game/level/levelmanager.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "core/scripting/luabinding.h"
#include "foundation/xmlnode.h"
#include "game/level/datafile.h"
#include "game/level/level.h"
#include "game/shell/blockstore.h"
#include "game/shell/game.h"
#include "game/shell/mainscript.h"
#include "game/shell/valuemanager.h"
#include "lua/numbercast.h"

namespace {

const char kGoalsFile[] = "levels/goals.xml";
const char kStatusBlock[] = "level_status";
const char kBestScoreBlock[] = "level_best_score";
const char kLocationScoreBlock[] = "level_score";
const char kCurrentLevelValue[] = "current_level";
const char kHighestLevelValue[] = "highest_level";

// The level's place in the per-level blocks; -1 (no place) below level 1.
int LevelIndex(int level) {
    return level >= 1 ? level - 1 : -1;
}

// Writes the value at the index of the player's block and saves it;
// nothing for an index outside the count the block is made for.
template <typename T>
void Store(const char* blockName, int index, int count, void (VBinaryBlock::*write)(int, T), T value) {
    std::shared_ptr<VBinaryBlock> block = index >= 0 && index < count ? GetPlayerBinaryBlock(blockName) : nullptr;
    if (!block) return;
    (block.get()->*write)(index, value);
    block->Save();
}

// The script functions find the manager when they run: one released at
// shutdown answers 0 and changes nothing.
template <typename M, typename... A>
auto WithManager(M method, A... args) {
    using R = decltype((std::declval<VLevelManager&>().*method)(args...));
    std::shared_ptr<VLevelManager> manager = VLevelManager::GetIfCreated();
    if (!manager) return R();
    return (manager.get()->*method)(args...);
}

int LuaGetMasteryScore(int level) {
    return WithManager(&VLevelManager::GetMasteryScore, level);
}

int LuaGetGoalScore(int level) {
    return WithManager(&VLevelManager::GetGoalScore, level);
}

int LuaGetCurrentResult() {
    return WithManager(&VLevelManager::GetCurrentResult);
}

int LuaGetHighestComplete() {
    return WithManager(&VLevelManager::GetHighestComplete);
}

int LuaGetCurrentLevel() {
    return WithManager(&VLevelManager::GetCurrentLevel);
}

void LuaSetCurrentLevel(int level) {
    WithManager(&VLevelManager::SetCurrentLevel, level);
}

}  // namespace

VLevelManager::VLevelManager() {
    if (lua_State* L = GetMainScriptState()) {
        RegisterBinding(L, "GetMasteryScore", &LuaGetMasteryScore);
        RegisterBinding(L, "GetGoalScore", &LuaGetGoalScore);
        RegisterBinding(L, "GetCurrentResult", &LuaGetCurrentResult);
        RegisterBinding(L, "GetHighestComplete", &LuaGetHighestComplete);
        RegisterBinding(L, "GetCurrentLevel", &LuaGetCurrentLevel);
        RegisterBinding(L, "SetCurrentLevel", &LuaSetCurrentLevel);
    }
    LoadGoals(kGoalsFile);
}

int VLevelManager::GetLocationIndex(int level) {
    // Rounded down, so levels below 1 stay apart from the first location.
    int64_t offset = static_cast<int64_t>(level) - 1;
    return static_cast<int>(offset >= 0 ? offset / kLevelsPerLocation : -1 - (-1 - offset) / kLevelsPerLocation);
}

void VLevelManager::LoadGoals(const TString& fileName) {
    ReadDataFile(fileName, "levelgoals", "VLevelManager", [this](TXmlNode& goals) {
        TString name;
        TXmlNode* entry = nullptr;
        for (goals.ResetChildIterator(); goals.NextChild(name, entry);) {
            if (name != "levelgoal") continue;
            LevelResult& result = Result(entry->GetAttribute("level").ToInt());
            result.goal = entry->GetAttribute("goal").ToInt();
            result.mastery = entry->GetAttribute("mastery").ToInt();
        }
    });
}

void VLevelManager::LoadProgress() {
    std::shared_ptr<VBinaryBlock> status = GetPlayerBinaryBlock(kStatusBlock);
    std::shared_ptr<VBinaryBlock> best = GetPlayerBinaryBlock(kBestScoreBlock);
    std::shared_ptr<VBinaryBlock> scores = GetPlayerBinaryBlock(kLocationScoreBlock);
    for (auto* block : {&status, &best, &scores}) {
        if (*block) (*block)->Load();
    }
    if (status) {
        for (int level = 1; level <= kLevelCount; ++level) Result(level).status = status->ReadByte(level - 1);
    }
    if (best) {
        for (int level = 1; level <= kLevelCount; ++level) Result(level).bestScore = best->ReadInt(level - 1);
    }
    if (scores) {
        for (int index = 0; index < kLocationCount; ++index) mLocationScores[index] = scores->ReadInt(index);
    }
}

void VLevelManager::SetLevelStatus(int level, int status) {
    Result(level).status = status;
    Store(kStatusBlock, LevelIndex(level), kLevelCount, &VBinaryBlock::WriteByte, static_cast<uint8_t>(status));
}

void VLevelManager::SetBestScore(int level, int score) {
    LevelResult& result = Result(level);
    if (score <= result.bestScore) return;
    result.bestScore = score;
    Store(kBestScoreBlock, LevelIndex(level), kLevelCount, &VBinaryBlock::WriteInt, static_cast<int32_t>(score));
}

int VLevelManager::GetLocationScore(int level) const {
    auto found = mLocationScores.find(GetLocationIndex(level));
    return found == mLocationScores.end() ? 0 : found->second;
}

void VLevelManager::SetLocationScore(int level, int score) {
    int index = GetLocationIndex(level);
    mLocationScores[index] = score;
    Store(kLocationScoreBlock, index, kLocationCount, &VBinaryBlock::WriteInt, static_cast<int32_t>(score));
}

int VLevelManager::GetCurrentLevel() const {
    return VValueManager::Get()->GetInt(kCurrentLevelValue, 0);
}

void VLevelManager::SetCurrentLevel(int level) {
    VValueManager::Get()->SetValue(kCurrentLevelValue, static_cast<float>(level), true);
}

int VLevelManager::GetHighestComplete() const {
    return VValueManager::Get()->GetInt(kHighestLevelValue, 0);
}

void VLevelManager::SetHighestComplete(int level, bool force) {
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    if (!force && GetHighestComplete() >= level) return;
    values->SetValue(kHighestLevelValue, static_cast<float>(level), true);
    // The sweep ends at the value's maximum, but never past the levels
    // that exist (an undeclared value has the highest float as maximum).
    float maximum = values->GetMax(kHighestLevelValue);
    int last = maximum < kLevelCount ? script::truncateNumber<int>(std::floor(maximum)) : kLevelCount;
    for (int i = 1; i <= last; ++i) {
        int status = GetLevelStatus(i);
        if (i > level && status != kNotCompleted) {
            SetLevelStatus(i, kNotCompleted);
        } else if (i <= level && status == kNotCompleted) {
            SetLevelStatus(i, kPassed);
        }
    }
}

void VLevelManager::SetCurrentLevelObject(const std::shared_ptr<VLevel>& level) {
    int number = level ? level->GetNumber() : 0;
    SetCurrentLevel(number);
    mCurrentLevelObject = level;
    mReplaying = GetLevelStatus(number) != kNotCompleted;
}

int VLevelManager::RecordResult(int score, int& counted) {
    int level = GetCurrentLevel();
    int reached = kNotCompleted;
    if (mCurrentLevelObject) {
        const LevelResult& result = Result(level);
        if (score >= result.mastery) {
            reached = kMastered;
        } else if (score >= result.goal) {
            reached = kPassed;
        }
        // Wide, so a corrupt best score cannot overflow the difference.
        int64_t gain = static_cast<int64_t>(score) - result.bestScore;
        counted = result.status == kNotCompleted ? score : static_cast<int>(std::clamp<int64_t>(gain, 0, INT32_MAX));
        if (result.status < reached) SetLevelStatus(level, reached);
    }
    SetBestScore(level, score);
    return reached;
}

void VLevelManager::AdvanceLevel() {
    int level = GetCurrentLevel();
    if (GetLevelStatus(level) == kNotCompleted) return;
    SetHighestComplete(level, false);
    SetCurrentLevel(level < INT32_MAX ? level + 1 : level);
}
