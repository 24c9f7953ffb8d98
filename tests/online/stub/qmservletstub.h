// What the stand-in hiscore server library exports for tests besides the
// server functions.
#pragma once

extern "C" {
// Every server call received since the last clear, one line each, in order:
// the function's name less "HiscoreServer_", then its arguments after the
// server between brackets, separated by ",". Null texts read "null", lists
// "[a|b]". Status and contents polls are left out.
const char* HiscoreServerStub_Calls(void);
void HiscoreServerStub_ClearCalls(void);
}
