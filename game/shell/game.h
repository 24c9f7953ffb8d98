// The one game-wide object: it owns the preferences store of the game's
// players. The game's main routine makes it at start-up and destroys it at
// shutdown; everything else reaches it through VGame::Get.
#pragma once

#include <memory>

class TPrefs;

class VGame {
public:
    // Deletes any existing instance first.
    static VGame* Create();
    static void Destroy();
    // Null before Create and from the start of Destroy on.
    static VGame* Get();

    TPrefs* GetPrefs() const { return mPrefs.get(); }

private:
    VGame();
    ~VGame();
    VGame(const VGame&) = delete;
    VGame& operator=(const VGame&) = delete;

    std::unique_ptr<TPrefs> mPrefs;
};

// The live game's preferences store; null without a game.
TPrefs* GetGamePrefs();
// The global "curuser": the current player's number, -1 for none (also
// without a game).
int GetCurrentUserNumber();
