#include "core/scripting/gamestatefunctions.h"

#include "core/app/gamestate.h"
#include "core/scripting/luabinding.h"

namespace {

TString GetState(TString key) {
    TGameState* state = TGameState::Current();
    return state ? state->GetState(key) : TString();
}

void SetState(TString key, TString value) {
    if (TGameState* state = TGameState::Current()) state->SetState(key, value);
}

bool QueryMuteGame() {
    TGameState* state = TGameState::Current();
    return state && state->QueryMuteGame();
}

bool QueryRestartMode() {
    TGameState* state = TGameState::Current();
    return state && state->QueryRestartMode();
}

bool QueryJumpToMenu() {
    TGameState* state = TGameState::Current();
    return state && state->QueryJumpToMenu();
}

}  // namespace

void PublishGameStateFunctions(lua_State* L) {
    RegisterBinding(L, "GetState", &GetState);
    RegisterBinding(L, "_SetState", &SetState);
    RegisterBinding(L, "QueryMuteGame", &QueryMuteGame);
    RegisterBinding(L, "QueryRestartMode", &QueryRestartMode);
    RegisterBinding(L, "QueryJumpToMenu", &QueryJumpToMenu);
}
