// The portal handler. A portal page ("-msn", "-zylom") hosts the game
// window: game state writes become text events posted to the host window in
// 8-byte pieces, the host's messages become pauses and menu and restart
// requests, and the sound is muted while the host or the game is paused.
// Its state is process-wide: one portal per process.
#pragma once

#include <cstdint>

#include "core/app/gamestatehandler.h"

class TMsnZylomHandler : public TGameStateHandler {
public:
    // Keys with a portal meaning act only in a portal mode; "windowmessage",
    // "sessionready" and "mute" are taken in any case.
    bool HandleSetState(const char* key, const char* value) override;
    // "systemmode" reads the portal ("msn" wins over "zylom"); "restartbutton"
    // reads 1 when a restart is due.
    const char* FilterGetState(const char* key, const char* value) override;
    // Each request is answered once.
    bool QueryRestartMode() override;
    bool QueryJumpToMenu() override;
    bool QueryMuteGame() override;
    // The host has paused the game.
    bool IsHoldingGame() override;
};

// Each sets its portal mode and adds a portal handler to the game state.
void InstallMsnHandler();
void InstallZylomHandler();
bool IsMsnMode();
bool IsZylomMode();
// The milliseconds of the host's finished pauses in a portal mode, else 0;
// the platform's timer leaves them out.
uint32_t GetHostPausedTime();

// The portal state a process starts with, so that each test starts afresh.
void ResetPortalState();
