// SIGTERM and SIGINT: a request to end that the program honours even when
// its main thread never comes back to its event loop.
#pragma once

namespace os {

// Takes SIGTERM and SIGINT for the program. The first signal raises a
// request that the event pump turns into a quit; when the process still
// runs a second later, it ends with 128 + the signal's number. A second
// signal ends it at once. Stored files are replaced by renaming a complete
// temporary copy, so an ending at any point leaves none half written.
// Calls after the first change nothing.
void InstallTerminationHandlers();

// True once for each request raised by a signal.
bool TakeTerminationRequest();

}  // namespace os
