// The game state: one board of named text values shared by the game, its
// scripts and the host the game may run inside. Every write is offered to
// the host handlers, which may take it; every read passes their filters.
// The engine itself reads two kinds of key: "++Name" counts Name up by one,
// and "mute" mutes the sound while it reads non-zero.
#pragma once

#include <map>

#include "foundation/tstring.h"

class TGameStateHandler;

// atoi's reading of a value, held to the int range rather than undefined past it.
int StateValueToInt(const char* text);

class TGameState {
public:
    // The process's game state, made on first use once the platform exists
    // (which publishes its script functions); null before.
    static TGameState* Get();
    // The game state when one exists; never makes one.
    static TGameState* Current();

    // Deletes every handler and forgets the instance; a later Get makes a new one.
    virtual ~TGameState();
    TGameState(const TGameState&) = delete;
    TGameState& operator=(const TGameState&) = delete;

    void SetState(const TString& key, const TString& value);
    void SetStateInt(const TString& key, int value);
    // The stored value (an absent key is stored empty), passed through
    // every handler's filter in list order.
    TString GetState(const TString& key);

    // Appends to the process-wide handler list, which owns its handlers and
    // may be filled before the game state exists. A null or already listed
    // handler is not added (logged).
    static void AddHandler(TGameStateHandler* handler);

    // Some handler holds the game: the message pump only idles.
    bool IsGameHeld();
    // Each true when any handler answers true, asked in list order.
    bool QueryRestartMode();
    bool QueryJumpToMenu();
    // Also true when "mute" reads non-zero.
    bool QueryMuteGame();

private:
    TGameState();
    // The engine's own "mute": saves the master volume and silences it, or
    // gives it back, when the value turns non-zero or zero.
    void ApplyMute(bool wasMuted, bool muted);

    std::map<TString, TString> mTable;
    float mSavedVolume = 0;
};
