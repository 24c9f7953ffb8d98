// The Lua state of the window manager's main script, where game objects
// publish their functions.
#pragma once

struct lua_State;

// Null while there is no window manager or script.
lua_State* GetMainScriptState();
