// What the game state and its host handlers ask of the platform: the sound
// manager, the window script, the host window and the cursor. The platform
// sets its services when it is built; the game state exists only while they
// are set.
#pragma once

#include "platform/host/channel.h"

class TSoundManager;

class TGameStateServices {
public:
    virtual ~TGameStateServices() = default;

    // The platform's sound manager; null when there is none.
    virtual TSoundManager* GetSoundManager() = 0;
    // Publishes the game state's script functions in the window script
    // (PublishGameStateFunctions in core/scripting).
    virtual void PublishGameStateFunctions() = 0;
    // The command line holds "-pq=": a portal hosts the game.
    virtual bool IsHostedMode() const = 0;

    // The host window and the channel to it; null and kNoWindow when the
    // game runs on its own.
    virtual host::Channel* GetHostChannel() = 0;
    virtual host::Handle GetHostWindow() const = 0;

    virtual bool HasMouseCapture() const = 0;
    virtual void ReleaseMouseCapture() = 0;
    // TPlatform::ShowSystemCursor.
    virtual void ShowSystemCursor(bool show) = 0;
    // The system's standard arrow in place of the game's cursor.
    virtual void SetArrowCursor() = 0;
    // TPlatform::SetCursor again with the current cursor image and hot spot.
    virtual void RestoreCursor() = 0;
    // The display back end applies the system cursor again.
    virtual void UpdateSystemCursor() = 0;
};

// The platform's services; null before the platform exists.
TGameStateServices* GetGameStateServices();
// The platform sets them when built and clears them after deleting the game state.
void SetGameStateServices(TGameStateServices* services);
