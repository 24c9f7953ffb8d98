// A host handler from a host library: every handler call goes to the
// object the library's "CreateHandler" made.
#pragma once

#include "core/app/gamestatehandler.h"
#include "foundation/tstring.h"
#include "platform/os/library.h"

class TDllGameState : public TGameStateHandler {
public:
    TDllGameState() = default;
    // Hands the object to the library's "DestroyHandler", then unloads it.
    ~TDllGameState() override;
    TDllGameState(const TDllGameState&) = delete;
    TDllGameState& operator=(const TDllGameState&) = delete;

    // Loads the library (its name resolved through the file layer) and has it
    // make its object. True only with an object; each failure is logged with
    // the name. A library without both exports, or without an object, stays
    // loaded until the handler goes.
    bool LoadHandlerDll(const TString& name);

    // Without an object: false, and reads keep their value.
    bool HandleSetState(const char* key, const char* value) override;
    const char* FilterGetState(const char* key, const char* value) override;
    bool QueryRestartMode() override;
    bool QueryJumpToMenu() override;
    bool QueryMuteGame() override;
    bool IsHoldingGame() override;

private:
    bool TakeExports(const TString& name);

    os::Library mLibrary;
    TCreateHandlerFunction mCreate = nullptr;
    TDestroyHandlerFunction mDestroy = nullptr;
    TGameStateHandler* mObject = nullptr;
};
