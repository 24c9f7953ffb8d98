// A host handler: the game state offers it every write and every read, and
// asks it whether the game is muted, restarting, going to the menu or held.
//
// Host libraries are built against this class: their object derives from it,
// "CreateHandler" (no arguments) makes it and "DestroyHandler" (the object)
// deletes it. Everything here is inline so that a library needs nothing else.
#pragma once

class TGameStateHandler {
public:
    virtual ~TGameStateHandler() = default;
    // True when the write is taken: later handlers and the game state's own
    // handling are skipped.
    virtual bool HandleSetState(const char* key, const char* value) = 0;
    // The value to read for the key; null keeps the value.
    virtual const char* FilterGetState(const char* /*key*/, const char* value) { return value; }
    virtual bool QueryRestartMode() { return false; }
    virtual bool QueryJumpToMenu() { return false; }
    virtual bool QueryMuteGame() { return false; }
    // While true the message pump only idles.
    virtual bool IsHoldingGame() { return false; }
};

// The exports of a host library, declared extern "C" there.
using TCreateHandlerFunction = TGameStateHandler* (*)();
using TDestroyHandlerFunction = void (*)(TGameStateHandler*);

inline constexpr char kCreateHandlerExport[] = "CreateHandler";
inline constexpr char kDestroyHandlerExport[] = "DestroyHandler";
