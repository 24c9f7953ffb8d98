// Feeds arbitrary bytes as "achievements.xml" through the XML reader into
// the achievement loader, then checks and lists them all: the indices,
// given in file order, are distinct and never negative, and every one
// stands in the player's block only below its size.
#include <cstdint>
#include <set>
#include <string>

#include "foundation/xmlnode.h"
#include "fuzz/fuzzgame.h"
#include "game/progression/achievement.h"
#include "game/progression/achievementmanager.h"
#include "game/shell/block.h"
#include "game/shell/valuemanager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool prepared = (PrepareFuzzGame("achievements-fuzz"), true);
    (void)prepared;
    TXmlNode root;
    root.ParseString(reinterpret_cast<const char*>(data), static_cast<int>(size));
    std::shared_ptr<VAchievementManager> achievements = VAchievementManager::Get();
    achievements->LoadFrom(root);
    VAchievementManager::AchievementList all;
    achievements->ListAll(all);
    std::set<int> indices;
    for (const std::shared_ptr<VAchievement>& achievement : all) {
        FuzzCheck(achievement->GetIndex() >= 0);
        FuzzCheck(indices.insert(achievement->GetIndex()).second);
        VValueManager::Get()->SetValue(achievement->GetValueName(), achievement->GetThreshold(), false);
    }
    achievements->AwardNewAchievements("", false, 0);
    achievements->ShowNewAchievements(0);
    TString medals;
    achievements->GetMedalsXml(medals);
    std::shared_ptr<VBinaryBlock> block = GetPlayerBinaryBlock("achievements");
    FuzzCheck(block && block->GetSize() == 100);
    achievements->RevokeAll();
    return 0;
}
