#include "game/shop/levelend.h"

#include <memory>

#include "game/level/level.h"
#include "game/level/levelmanager.h"
#include "game/progression/achievementmanager.h"
#include "game/progression/plotmanager.h"
#include "game/progression/questmanager.h"
#include "game/shell/game.h"
#include "game/shell/valuemanager.h"
#include "game/texts/timer.h"
#include "game/utilities/luacommand.h"
#include "online/qmhiscores.h"

namespace {

// The last level of the story.
const int kFinalLevel = 60;

const char* const kPassLabels[] = {"endlevel_fail", "endlevel_pass", "endlevel_master"};

void Award(const char* filter) {
    VAchievementManager::Get()->AwardNewAchievements(filter, false, 0);
}

// Everything a completed level adds to the player's progress.
void BankPass(const VLevel& level, int status, int previous, int total) {
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    if (previous == VLevelManager::kNotCompleted) {
        values->AddToValue(TString::Format("completed_%s", level.GetLocation().c_str()), 1, 0, false);
    }
    if (status == VLevelManager::kMastered && previous != VLevelManager::kMastered) {
        values->AddToValue("num_levels_mastered", 1, 0, false);
    }
    VQuestManager::Get()->FinishLevel();
    VPlotManager::Get()->EvaluateQueuedItems();
    values->AddToValue("total_worth", static_cast<float>(total), 0, false);
    values->AddToValue("current_worth", static_cast<float>(total), 0, false);
    levels->SetCurrentLocationScore(values->GetInt("current_worth", 0));
    levels->AdvanceLevel();
    int next = levels->GetCurrentLevel();
    // The first level of the next location is reached by the world map.
    if (next % VLevelManager::kLevelsPerLocation == 1 && levels->GetHighestComplete() < next) {
        values->SetValue("do_map_transition", 1.0f, false);
    }
}

}  // namespace

int EndStoryLevel(const VLevel& level) {
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    int number = levels->GetCurrentLevel();
    int previous = levels->GetLevelStatus(number);
    int total = values->GetInt("current_level_total", 0);
    int counted = 0;
    int status = levels->RecordResult(total, counted);
    bool passed = status != VLevelManager::kNotCompleted;
    if (passed) BankPass(level, status, previous, total);
    values->SaveAll();
    if (passed && number >= kFinalLevel) Award("endgame");
    Award("adventure");
    if (passed) SubmitLevelScore(values->GetInt("total_worth", 0), levels->GetHighestComplete(), false);
    QueueLuaCommand(TString::Format(
        "DisplayDialog { 'scripts/endlevel.lua', level_pass = '%s', level_num=%i, level_status=%i };",
        kPassLabels[status], number, status));
    return status;
}

void EndEndlessLevel(RTimer* timer) {
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    int seconds = timer ? timer->GetElapsedTime() / 1000 : 0;
    values->SetValue("endless_time", static_cast<float>(seconds), false);
    Award("endless");
    Award("adventure");
    TString time = timer ? timer->GetText() : TString();
    SubmitLevelScore(values->GetInt("current_worth", 0), seconds, true);
    QueueLuaCommand(TString::Format(
        "DisplayDialog { 'scripts/endlevel.lua', level_pass = 'endlevel_endless', time = '%s', level_status=0 };",
        time.c_str()));
}

void SubmitLevelScore(int score, int number, bool endless) {
    VGame* game = VGame::Get();
    TQmHiscores* hiscores = game ? game->GetHiscores() : nullptr;
    if (!hiscores) return;
    TString medals;
    if (!endless) VAchievementManager::Get()->GetMedalsXml(medals);
    hiscores->AddLocalScore(score, true, TString::Format("%i", number), medals);
}
