#include "platform/window/sdlwindow.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstring>

#include "platform/display/glattributes.h"
#include "platform/window/keymap.h"
#include "platform/window/x11errors.h"

namespace window {

namespace {

uint32_t Modifiers(uint16_t sdlModifiers) {
    uint32_t modifiers = 0;
    if (sdlModifiers & KMOD_SHIFT) modifiers |= kModShift;
    if (sdlModifiers & KMOD_CTRL) modifiers |= kModCtrl;
    if (sdlModifiers & KMOD_ALT) modifiers |= kModAlt;
    return modifiers;
}

// Mouse events carry no modifiers: they are read from the keyboard state.
uint32_t CurrentModifiers() {
    return Modifiers(static_cast<uint16_t>(SDL_GetModState()));
}

Button ToButton(uint8_t sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: return Button::kLeft;
        case SDL_BUTTON_RIGHT: return Button::kRight;
        case SDL_BUTTON_MIDDLE: return Button::kMiddle;
        case SDL_BUTTON_X1: return Button::kExtra1;
        case SDL_BUTTON_X2: return Button::kExtra2;
        default: return Button::kUnknown;
    }
}

EventKind WindowEventKind(uint8_t windowEvent) {
    switch (windowEvent) {
        case SDL_WINDOWEVENT_CLOSE: return EventKind::kClose;
        case SDL_WINDOWEVENT_EXPOSED: return EventKind::kExposed;
        case SDL_WINDOWEVENT_MINIMIZED: return EventKind::kMinimized;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED: return EventKind::kRestored;
        case SDL_WINDOWEVENT_FOCUS_GAINED: return EventKind::kFocusGained;
        case SDL_WINDOWEVENT_FOCUS_LOST: return EventKind::kFocusLost;
        case SDL_WINDOWEVENT_ENTER: return EventKind::kMouseEnter;
        case SDL_WINDOWEVENT_LEAVE: return EventKind::kMouseLeave;
        default: return EventKind::kOther;
    }
}

void TranslateKey(const SDL_KeyboardEvent& key, NativeEvent& out) {
    out.kind = key.type == SDL_KEYDOWN ? EventKind::kKeyDown : EventKind::kKeyUp;
    out.modifiers = Modifiers(key.keysym.mod);
    VirtualKey virtualKey = MapKey(key.keysym.sym, key.keysym.scancode, (key.keysym.mod & KMOD_NUM) != 0);
    out.key = virtualKey.code;
    out.extended = virtualKey.extended;
}

void TranslateButton(const SDL_MouseButtonEvent& button, NativeEvent& out) {
    out.kind = button.type == SDL_MOUSEBUTTONDOWN ? EventKind::kButtonDown : EventKind::kButtonUp;
    out.button = ToButton(button.button);
    out.x = button.x;
    out.y = button.y;
    out.modifiers = CurrentModifiers();
}

void TranslateWheel(const SDL_MouseWheelEvent& wheel, NativeEvent& out) {
    int sign = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
    out.kind = EventKind::kWheel;
    out.wheelX = wheel.x * sign;
    out.wheelY = wheel.y * sign;
    out.modifiers = CurrentModifiers();
}

// The id of the window an event belongs to; 0 for events of no window.
uint32_t EventWindowId(const SDL_Event& event) {
    switch (event.type) {
        case SDL_WINDOWEVENT: return event.window.windowID;
        case SDL_KEYDOWN:
        case SDL_KEYUP: return event.key.windowID;
        case SDL_TEXTINPUT: return event.text.windowID;
        case SDL_MOUSEMOTION: return event.motion.windowID;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: return event.button.windowID;
        case SDL_MOUSEWHEEL: return event.wheel.windowID;
        default: return 0;
    }
}

}  // namespace

SdlWindow::~SdlWindow() {
    // The server has freed everything of a lost connection; SDL would wait
    // for answers that never come.
    if (mOnX11 && IsX11ConnectionLost()) return;
    if (mCursor) SDL_FreeCursor(mCursor);
    if (mWindow) {
        SDL_StopTextInput();
        SDL_DestroyWindow(mWindow);
        if (mOnX11) SettleX11Errors();
    }
    if (mVideoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

bool SdlWindow::Fail() {
    mLastError = SDL_GetError();
    return false;
}

bool SdlWindow::Create(const WindowSetup& setup) {
    if (mWindow) {
        mLastError = "the window exists already";
        return false;
    }
    // The pump reports the close button; quitting is the game's decision.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The click that activates the window also reaches it; the pump's click
    // gate decides what becomes of it.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (!mVideoStarted) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return Fail();
        mVideoStarted = true;
    }
    if (!display::SetGlAttributes()) return Fail();
    uint32_t flags = SDL_WINDOW_OPENGL | (setup.shown ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
    mWindow = SDL_CreateWindow(setup.title.c_str(), setup.x, setup.y, setup.width, setup.height, flags);
    if (!mWindow) return Fail();
    WatchWindowSystem();
    SDL_StartTextInput();
    return true;
}

NativeEvent SdlWindow::Translate(const SDL_Event& event, uint32_t windowId, SDL_Window* window) {
    NativeEvent out;
    uint32_t eventWindow = EventWindowId(event);
    if (eventWindow != 0 && eventWindow != windowId) return out;
    switch (event.type) {
        case SDL_QUIT: out.kind = EventKind::kQuit; break;
        case SDL_WINDOWEVENT:
            out.kind = WindowEventKind(event.window.event);
            out.pointerInside = out.kind == EventKind::kFocusGained && window && SDL_GetMouseFocus() == window;
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: TranslateKey(event.key, out); break;
        case SDL_TEXTINPUT:
            out.kind = EventKind::kText;
            static_assert(sizeof(out.text) == sizeof(event.text.text));
            std::memcpy(out.text, event.text.text, sizeof(out.text));
            out.text[sizeof(out.text) - 1] = '\0';
            break;
        case SDL_MOUSEMOTION:
            out.kind = EventKind::kMouseMove;
            out.x = event.motion.x;
            out.y = event.motion.y;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: TranslateButton(event.button, out); break;
        case SDL_MOUSEWHEEL: TranslateWheel(event.wheel, out); break;
        default: break;
    }
    return out;
}

bool SdlWindow::PollEvent(NativeEvent& event) {
    if (!mVideoStarted) return false;
    // SDL_PollEvent would answer "none" once per pump at its sentinel even
    // with events waiting; the pump reads the queue as it stands.
    SDL_PumpEvents();
    SDL_Event sdlEvent;
    if (SDL_PeepEvents(&sdlEvent, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) <= 0) return false;
    if (sdlEvent.type == SDL_SYSWMEVENT) NoteWindowSystemEvent(*sdlEvent.syswm.msg);
    event = Translate(sdlEvent, mWindow ? SDL_GetWindowID(mWindow) : 0, mWindow);
    if (event.kind == EventKind::kMouseMove) {
        mPointerKnown = true;
        mPointerX = event.x;
        mPointerY = event.y;
    }
    return true;
}

void SdlWindow::WatchWindowSystem() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(mWindow, &info) || info.subsystem != SDL_SYSWM_X11) return;
    InstallX11ErrorHandlers(info.info.x11.display);
    mOnX11 = true;
    mX11Window = info.info.x11.window;
    // A window destroyed from outside shows only in the window system's own
    // events while no frame is drawn.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

void SdlWindow::NoteWindowSystemEvent(const SDL_SysWMmsg& message) {
    if (message.subsystem != SDL_SYSWM_X11) return;
    const XEvent& event = message.msg.x11.event;
    if (event.type == DestroyNotify && event.xdestroywindow.window == mX11Window) {
        RecordX11Failure("the window was destroyed by another program");
    }
}

std::string SdlWindow::GetLoss() const {
    return mOnX11 ? GetX11Failure() : std::string();
}

bool SdlWindow::IsQuitWaiting() {
    if (!mVideoStarted) return false;
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT) > 0;
}

void SdlWindow::SetTitle(const std::string& utf8) {
    if (mWindow) SDL_SetWindowTitle(mWindow, utf8.c_str());
}

bool SdlWindow::HasFocus() const {
    return mWindow && (SDL_GetWindowFlags(mWindow) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void SdlWindow::TakeFocus() {
    if (mWindow) SDL_SetWindowInputFocus(mWindow);
}

void SdlWindow::ShowCursor(bool show) {
    if (mVideoStarted) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void SdlWindow::SetColorCursor(const uint32_t* argb, int width, int height, int hotX, int hotY) {
    if (!mVideoStarted) return;
    if (!argb || width <= 0 || height <= 0) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    // SDL only reads the pixels while it makes the cursor.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(argb), width, height, 32,
                                                              width * 4, SDL_PIXELFORMAT_ARGB8888);
    SDL_Cursor* cursor = surface ? SDL_CreateColorCursor(surface, hotX, hotY) : nullptr;
    if (surface) SDL_FreeSurface(surface);
    if (!cursor) {
        SDL_LogError(SDL_LOG_CATEGORY_VIDEO, "SdlWindow: no %dx%d colour cursor: %s", width, height, SDL_GetError());
        return;
    }
    SDL_SetCursor(cursor);
    if (mCursor) SDL_FreeCursor(mCursor);
    mCursor = cursor;
    SDL_ShowCursor(SDL_ENABLE);
}

void SdlWindow::CaptureMouse(bool capture) {
    if (mWindow) SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

// The pointer of the event being handled, not of the last one SDL read:
// moves still waiting in the queue have not happened for the game yet.
void SdlWindow::GetPointer(int& x, int& y) const {
    x = mPointerX;
    y = mPointerY;
    if (!mPointerKnown && mVideoStarted) SDL_GetMouseState(&x, &y);
}

bool SdlWindow::PutClipboardText(const std::string& utf8) {
    return mVideoStarted && SDL_SetClipboardText(utf8.c_str()) == 0;
}

std::string SdlWindow::GetClipboardText() const {
    if (!mVideoStarted || !SDL_HasClipboardText()) return {};
    char* text = SDL_GetClipboardText();
    std::string result = text ? text : "";
    SDL_free(text);
    return result;
}

}  // namespace window
