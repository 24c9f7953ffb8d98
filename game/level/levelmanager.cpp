#include "game/level/levelmanager.h"

#include "game/shell/blockstore.h"
#include "game/shell/game.h"

void VLevelManager::LoadProgress() {
    VGame* game = VGame::Get();
    VBlockStore* blocks = game ? game->GetBlocks() : nullptr;
    std::shared_ptr<RIntBlock> highest = blocks ? blocks->GetIntBlock("highest_level") : nullptr;
    mHighestComplete = highest ? highest->GetValue() : 0;
}
