#include "platform/window/x11errors.h"

#include <X11/Xlib.h>

#include <atomic>
#include <cstdio>
#include <mutex>

namespace window {

namespace {

std::mutex gMutex;
std::string gFailure;
Display* gDisplay = nullptr;
std::atomic<bool> gConnectionLost{false};

// Only the codes: a handler must not talk to the server.
int OnError(Display*, XErrorEvent* error) {
    char text[96];
    std::snprintf(text, sizeof text, "X error %d on request %d for resource 0x%lx", error->error_code,
                  error->request_code, error->resourceid);
    RecordX11Failure(text);
    return 0;
}

int OnIoError(Display*) {
    gConnectionLost = true;
    RecordX11Failure("the connection to the X server was lost");
    return 0;
}

// Called in place of exit() once the connection is lost; Xlib then fails
// every later call on it without calling out again.
void OnIoErrorExit(Display*, void*) {}

}  // namespace

void InstallX11ErrorHandlers(void* display) {
    gDisplay = static_cast<Display*>(display);
    XSetErrorHandler(OnError);
    XSetIOErrorHandler(OnIoError);
    XSetIOErrorExitHandler(gDisplay, OnIoErrorExit, nullptr);
}

void RecordX11Failure(const std::string& failure) {
    std::lock_guard<std::mutex> lock(gMutex);
    if (gFailure.empty()) gFailure = failure;
}

void SettleX11Errors() {
    if (gDisplay && !gConnectionLost) XSync(gDisplay, False);
}

bool IsX11ConnectionLost() {
    return gConnectionLost;
}

std::string GetX11Failure() {
    std::lock_guard<std::mutex> lock(gMutex);
    return gFailure;
}

}  // namespace window
