// Xlib ends the process from inside any call that meets an error (a window
// destroyed by another program, a lost connection), in the middle of a
// frame. These handlers record the failure instead, so that the game's loop
// can leave and tear down normally.
#pragma once

#include <string>

namespace window {

// Takes over Xlib's error handlers for the connection (an X11 Display*).
// The handlers stay for the rest of the process: the teardown of a lost
// window meets the same errors again.
void InstallX11ErrorHandlers(void* display);

// Records a failure met outside the handlers (the window destroyed by
// another program); the first one recorded is kept.
void RecordX11Failure(const std::string& failure);

// Waits for the answers to every request made on the connection so far, so
// that their errors meet these handlers: the window library puts Xlib's own
// handler back before it closes the connection.
void SettleX11Errors();

// The connection to the server is gone: nothing sent on it is answered.
bool IsX11ConnectionLost();

// Empty while no error has reached the handlers; else what the first was.
std::string GetX11Failure();

}  // namespace window
