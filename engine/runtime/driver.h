// The engine's entry: reads the command line, makes sure one copy runs,
// builds the platform, calls the game's main routine, and tears the
// platform down when it returns.
#pragma once

#include "foundation/tstring.h"

class TPlatform;

// The game's main routine: runs the whole game on the platform until quit.
// The command line is the one the test harness may have replaced. Its
// result is not used.
using TGameMainFunction = int (*)(TPlatform* platform, const TString& commandLine);

// Runs the program; returns its exit code: 0, also when another copy of the
// same executable runs (which is brought forward), -1 when the "-wnd=" host
// window is 0 or not alive, or 1 when the working folder has no "assets"
// folder (said on standard error). Unknown arguments get a line on standard
// error and the run goes on. A low flags byte of 1 lets several copies run.
int EngineMain(int argc, const char* const* argv, TGameMainFunction gameMain, int flags);
