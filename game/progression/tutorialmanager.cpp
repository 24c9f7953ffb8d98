#include "game/progression/tutorialmanager.h"

#include "game/shell/blockstore.h"
#include "game/shell/game.h"

namespace {

const char kShowTutorialsBlock[] = "show_tutorials";

std::shared_ptr<RIntBlock> ShowTutorialsBlock() {
    VGame* game = VGame::Get();
    VBlockStore* blocks = game ? game->GetBlocks() : nullptr;
    return blocks ? blocks->GetIntBlock(kShowTutorialsBlock) : nullptr;
}

}  // namespace

void VTutorialManager::LoadProgress() {
    std::shared_ptr<RIntBlock> block = ShowTutorialsBlock();
    mShown = !block || block->GetValue() != 0;
}

void VTutorialManager::SetTutorialsShown(bool shown, bool save) {
    mShown = shown;
    std::shared_ptr<RIntBlock> block = ShowTutorialsBlock();
    if (!block) return;
    block->SetValue(shown ? 1 : 0);
    if (save) block->Save();
}

void VTutorialManager::FireTrigger(const TString& type, const TString& object) {
    if (mTriggerObserver) mTriggerObserver(type, object);
}
