// The one game-wide object: the preferences store, the hiscore client, the
// game mode, the difficulty and three run flags, the players' profiles and
// options, the current player's progress blocks, and the game's general
// script functions. The game's main routine makes it at start-up and
// destroys it at shutdown; everything else reaches it through VGame::Get.
#pragma once

#include <memory>

#include "foundation/tstring.h"

class TPrefs;
class TQmHiscores;
class VBinaryBlock;
class VBlockStore;

class VGame {
public:
    static constexpr int kNumGameModes = 4;
    static constexpr int kNumDifficulties = 3;

    // Deletes any existing instance first.
    static VGame* Create();
    static void Destroy();
    // Null before Create and from the start of Destroy on.
    static VGame* Get();

    TPrefs* GetPrefs() const { return mPrefs.get(); }
    TQmHiscores* GetHiscores() const { return mHiscores.get(); }
    // Null until a player's progress has been loaded.
    VBlockStore* GetBlocks() const { return mBlocks.get(); }

    // Options.
    bool IsFullScreen() const;
    // False, nothing stored, when the platform refuses the switch.
    bool ToggleFullScreen();
    void RecordFullScreen();
    void ToggleSoundMute();
    void ApplyDisplayMode();
    void ApplySoundLevels();
    void ApplyUserOptions();

    // Modes: modes and difficulties out of range are ignored.
    void SetCurrentGameMode(int mode);
    int GetCurrentGameMode() const { return mGameMode; }
    void SetCurrentDifficulty(int difficulty);
    int GetCurrentDifficulty() const { return mDifficulty; }

    // Users.
    int GetNumUsers() const;
    TString GetUserName(int index) const;
    // -1 for none.
    int GetCurrentUser() const;
    TString GetCurrentUserName() const;
    bool IsNameInUse(const TString& name) const;
    void CreateNewUser(const TString& name);
    // An index at or above the count does nothing; a negative one means none.
    void SetCurrentUser(int index);
    // An index outside the users is refused.
    void DeleteUser(int index);
    // Without a current user nothing changes.
    void ChangeCurrentUserName(const TString& name);
    void RemoveStaleUsers();

    // Progress.
    void LoadUserProgress();
    int GetScore() const;
    int GetLastLevelCompleted() const;

    // Run flags.
    void InsideGame(bool inside);
    bool AreInsideGame() const { return mInsideGame; }
    bool IsGameLoaded() const { return mGameLoaded; }
    // The level screen sets it once it stands and clears it when it goes.
    void SetGameLoaded(bool loaded) { mGameLoaded = loaded; }
    void SetQuitting(bool quitting) { mQuitting = quitting; }
    bool AreQuitting() const { return mQuitting; }

    // Other.
    void QuitToMainMenu();
    void LaunchURL(const TString& url);
    // 1 to n; 0 (logged) for n below 1.
    int Random(int n) const;
    // a - b * floor(a / b), truncated; 0 where that is no number (b = 0).
    int Rem(double a, double b) const;
    void LoadStringTable();

private:
    VGame();
    ~VGame();
    VGame(const VGame&) = delete;
    VGame& operator=(const VGame&) = delete;

    void Start();
    void PublishFunctions();
    void WithdrawFunctions();
    void StoreGlobal(const char* key, int value);
    void RegisterProgressBlocks();
    void RenameLocalScores(const TString& oldName, const TString& newName);

    int mDifficulty = 0;
    std::unique_ptr<TPrefs> mPrefs;
    std::unique_ptr<TQmHiscores> mHiscores;
    std::unique_ptr<VBlockStore> mBlocks;
    int mGameMode = 0;
    bool mInsideGame = false;
    bool mGameLoaded = false;
    bool mQuitting = false;
};

// The engine setting read with atoi; the default when it is empty or absent.
int GetIntSetting(const TString& key, int defaultValue);

// The live game's preferences store; null without a game.
TPrefs* GetGamePrefs();
// The current player's binary block of that name; null without a game, a
// loaded player or such a block.
std::shared_ptr<VBinaryBlock> GetPlayerBinaryBlock(const TString& name);
// The global "curuser": the current player's number, -1 for none (also
// without a game).
int GetCurrentUserNumber();
