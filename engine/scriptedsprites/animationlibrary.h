// The animation library "ganimationscript" that every animated sprite's
// script state runs first: the globals alpha, alphadelta and alphacount and
// the functions animation scripts are written with (delay, pause, showFrame,
// fadeout, fadein, setAlpha, frames, loop, run, die, halt, isPlaying,
// endReferences, stop, random), on top of the sprite's own functions.
#pragma once

struct lua_State;

// Runs the library in the state; false, with a log line, when it fails.
bool RunAnimationLibrary(lua_State* L);
