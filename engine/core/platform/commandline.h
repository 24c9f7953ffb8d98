// What the platform reads from the command line.
#pragma once

#include "foundation/tstring.h"

// Run by a portal: the command line holds "-pq=".
bool IsHostedMode(const TString& commandLine);
// The program given by "-host=", up to the first blank; empty when none.
TString GetHostProgram(const TString& commandLine);
