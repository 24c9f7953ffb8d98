#include "runtime/platformdisplayhost.h"

#include <SDL.h>

#include <cstdlib>

#include "core/app/msnzylomhandler.h"
#include "runtime/platform.h"
#include "runtime/platformdata.h"
#include "core/windows/windowmanager.h"
#include "foundation/debuglog.h"
#include "graphics/display/displaylink.h"

namespace {

uint32_t BoxFlags(TMessageBoxIcon icon) {
    switch (icon) {
        case TMessageBoxIcon::kWarning: return SDL_MESSAGEBOX_WARNING;
        case TMessageBoxIcon::kError: return SDL_MESSAGEBOX_ERROR;
        default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

}  // namespace

uint32_t TPlatformDisplayHost::Timer() const {
    return mData.Timer();
}

void TPlatformDisplayHost::Sleep(uint32_t milliseconds) {
    mData.Sleep(milliseconds);
}

// A run without a window of the window system (tests) only logs the box.
void TPlatformDisplayHost::MessageBox(const char* text, const char* caption, TMessageBoxIcon icon) {
    DebugLog("%s: %s", caption, text);
    if (SDL_Window* window = GetGameWindow()) SDL_ShowSimpleMessageBox(BoxFlags(icon), caption, text, window);
}

void TPlatformDisplayHost::ExitProcess(int code) {
    std::exit(code);
}

void TPlatformDisplayHost::PostQuit() {
    mData.PostQuit();
}

// "--axtest" makes the game's own window the parent: that run is not embedded
// for the display.
bool TPlatformDisplayHost::IsEmbedded() const {
    return mData.IsEmbedded() && !mData.IsAxTest();
}

bool TPlatformDisplayHost::IsHosted() const {
    return mData.IsHostedMode();
}

bool TPlatformDisplayHost::IsZylomHost() const {
    return IsZylomMode();
}

bool TPlatformDisplayHost::HasExternalParent() const {
    return mData.GetHostWindow() != host::kNoWindow;
}

bool TPlatformDisplayHost::IsExternalParentAlive() const {
    host::Channel* channel = mData.GetHostChannel();
    return channel && channel->IsAlive(mData.GetHostWindow());
}

SDL_Window* TPlatformDisplayHost::GetGameWindow() const {
    return static_cast<SDL_Window*>(mData.GetWindow().GetNativeHandle());
}

void TPlatformDisplayHost::StyleGameWindow(bool fullScreen) {
    if (SDL_Window* window = GetGameWindow()) SDL_SetWindowBordered(window, fullScreen ? SDL_FALSE : SDL_TRUE);
}

void TPlatformDisplayHost::ShowGameWindow(bool fullScreen) {
    SDL_Window* window = GetGameWindow();
    if (!window) return;
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(window, &x, &y);
    if (x == 0 && y == 0) SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    SDL_ShowWindow(window);
    if (fullScreen) SDL_RaiseWindow(window);
}

bool TPlatformDisplayHost::IsActive() const {
    return mData.IsActive();
}

// The application counts as active until a message says otherwise.
bool TPlatformDisplayHost::IsActivationGateOpen() const {
    return mData.IsActive() && mData.IsAppActive();
}

// The window system keeps the active window in front.
bool TPlatformDisplayHost::IsForeground() const {
    return mData.IsActive();
}

bool TPlatformDisplayHost::IsSuspended() const {
    TDisplayLink* display = mData.GetDisplayLink();
    return !mData.IsActive() && display && display->IsFullScreen();
}

float TPlatformDisplayHost::GetViewScale() const {
    return mData.GetViewScale();
}

void TPlatformDisplayHost::SetViewScale(float scale) {
    mData.SetViewScale(scale);
}

void TPlatformDisplayHost::RestoreViewScale() {
    mData.RestoreViewScale();
}

void TPlatformDisplayHost::OutOfVideoMemory() {
    mPlatform.OutOfVideoMemory();
}

// The window's pointer moved by the window's origin: the window system's
// global pointer query goes stale while the mouse is captured, so a drag
// would not move.
TPoint TPlatformDisplayHost::GetCursorPosition() const {
    TPoint position;
    mData.GetWindow().GetPointer(position.x, position.y);
    if (SDL_Window* window = GetGameWindow()) {
        int left = 0, top = 0;
        SDL_GetWindowPosition(window, &left, &top);
        position.x += left;
        position.y += top;
    }
    return position;
}

// The built-in cursor is the empty image.
void TPlatformDisplayHost::SetDefaultCursor() {
    mPlatform.SetCursor(nullptr, 0, 0, 0);
}

void TPlatformDisplayHost::SetColorCursor(const uint32_t* argb, int width, int height, int hotX, int hotY) {
    mData.GetWindow().SetColorCursor(argb, width, height, hotX, hotY);
}

void TPlatformDisplayHost::SetDisplayChanged() {
    mData.RaiseDisplayNotice();
}

void TPlatformDisplayHost::Invalidate() {
    if (TWindowManager* manager = mData.GetWindowManager()) manager->Invalidate();
}

bool TPlatformDisplayHost::IsFrozen() const {
    TWindowManager* manager = mData.GetWindowManager();
    return manager && manager->IsMovieShown();
}

void TPlatformDisplayHost::RunRestoreTasks() {
    mPlatform.RunRestoreTasks();
}

void TPlatformDisplayHost::AddRestoreTask(TTask* task) {
    mPlatform.AddRestoreTask(task);
}

bool TPlatformDisplayHost::RemoveRestoreTask(TTask* task) {
    return mPlatform.RemoveRestoreTask(task);
}
