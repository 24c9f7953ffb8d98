// Hands a Lua statement to the main script as a queued command: a closure
// appended to "gCommandQueue", which the main script's loop runs later, in
// order, on its own coroutine.
#pragma once

#include "foundation/tstring.h"

// A statement that does not compile is logged by the script and queues
// nothing; without a window script the command is logged and dropped. A
// message posted with it wakes a script that waits for one.
void QueueLuaCommand(const TString& command);

// The text as a single-quoted Lua string literal: quotes, backslashes and
// control characters escaped, other bytes as they are.
TString QuoteLuaString(const TString& text);
