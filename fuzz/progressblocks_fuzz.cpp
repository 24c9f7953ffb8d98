// Stores arbitrary bytes as every progress block of the player (the
// tutorials, quests, plot pages and values of each location, and the
// achievements), then loads the player's progress, which runs every
// manager's loader over them, asks each achievement, and loads quest items
// of every location at indexes in and past the blocks: nothing may read
// outside a block or crash.
#include <cstdint>

#include "foundation/prefs.h"
#include "fuzz/fuzzgame.h"
#include "game/progression/achievement.h"
#include "game/progression/achievementmanager.h"
#include "game/progression/plotmanager.h"
#include "game/progression/questitem.h"

namespace {

const char* const kBlocks[] = {"tutorials", "quest_block", "achievements"};
const char* const kLocationBlocks[] = {"plot_", "plot_value_", "quest_"};
const char* const kLocations[] = {"grytviken", "namche", "krakatoa", "kamchatka", "iquitos", "gaberoun"};
// The quest record's size and one past it.
constexpr int kQuestIndexes = 61;

// A stored byte is the item's signed state; past the stored bytes the item
// keeps its new state, open.
void CheckQuestStates(const uint8_t* data, int length) {
    std::shared_ptr<VPlotManager> plots = VPlotManager::Get();
    for (const char* location : kLocations) {
        plots->Clear();
        for (int index = 0; index < kQuestIndexes; ++index) {
            std::shared_ptr<VQuestItem> item = VQuestItem::Create("story_fuzz", index);
            item->LoadState(location);
            int expected = index < length ? static_cast<int8_t>(data[index]) : 1;
            FuzzCheck(item->GetState() == expected);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool prepared = (PrepareFuzzGame("progressblocks-fuzz"), true);
    (void)prepared;
    TPrefs& prefs = *VGame::Get()->GetPrefs();
    int length = static_cast<int>(size);
    for (const char* block : kBlocks) prefs.SetData(0, block, data, length, false);
    for (const char* prefix : kLocationBlocks) {
        for (const char* location : kLocations) {
            prefs.SetData(0, TString::Format("%s%s", prefix, location), data, length, false);
        }
    }
    VGame::Get()->LoadUserProgress();
    VAchievementManager::AchievementList all;
    VAchievementManager::Get()->ListAll(all);
    for (const std::shared_ptr<VAchievement>& achievement : all) {
        achievement->LoadEarned();
        FuzzCheck(achievement->IsEarned() == (achievement->GetIndex() < length && data[achievement->GetIndex()] == 1));
    }
    CheckQuestStates(data, length);
    return 0;
}
