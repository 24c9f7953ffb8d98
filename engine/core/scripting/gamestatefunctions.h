// The game state's script functions: "GetState", "_SetState",
// "QueryMuteGame", "QueryRestartMode" and "QueryJumpToMenu". They act on the
// game state that exists when they run, so they outlive any one instance;
// with none, "GetState" gives "" and the others do nothing.
#pragma once

struct lua_State;

void PublishGameStateFunctions(lua_State* L);
