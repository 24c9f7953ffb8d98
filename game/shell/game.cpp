#include "game/shell/game.h"

#include "foundation/prefs.h"

namespace {

VGame* gGame = nullptr;

const char kCurrentUserKey[] = "curuser";

}  // namespace

VGame::VGame() : mPrefs(std::make_unique<TPrefs>(true)) {}

VGame::~VGame() = default;

VGame* VGame::Create() {
    Destroy();
    gGame = new VGame();
    return gGame;
}

// Readers reached from the teardown find no half-deleted game.
void VGame::Destroy() {
    VGame* game = gGame;
    gGame = nullptr;
    delete game;
}

VGame* VGame::Get() {
    return gGame;
}

TPrefs* GetGamePrefs() {
    return gGame ? gGame->GetPrefs() : nullptr;
}

int GetCurrentUserNumber() {
    TPrefs* prefs = GetGamePrefs();
    return prefs ? prefs->GetInt(TPrefs::kGlobal, kCurrentUserKey, -1) : -1;
}
