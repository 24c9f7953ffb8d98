#include "platform/window/sdlwindow.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

namespace {

using window::EventKind;
using window::NativeEvent;

class SdlWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window::WindowSetup setup;
        setup.title = "Quenmarth";
        setup.width = 480;
        setup.height = 360;
        ASSERT_TRUE(mWindow.Create(setup)) << mWindow.GetLastError();
        mSdlWindow = static_cast<SDL_Window*>(mWindow.GetNativeHandle());
        ASSERT_NE(mSdlWindow, nullptr);
        mId = SDL_GetWindowID(mSdlWindow);
        NativeEvent drained;
        while (mWindow.PollEvent(drained)) {
        }
    }

    // Pushes the event and reads it back through the window.
    NativeEvent RoundTrip(SDL_Event event) {
        EXPECT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
        NativeEvent native;
        EXPECT_TRUE(mWindow.PollEvent(native));
        return native;
    }

    SDL_Event KeyEvent(uint32_t type, SDL_Keycode keycode, SDL_Scancode scancode, uint16_t modifiers) {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = mId;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = keycode;
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = modifiers;
        return event;
    }

    SDL_Event WindowEvent(uint8_t windowEvent) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = mId;
        event.window.event = windowEvent;
        return event;
    }

    window::SdlWindow mWindow;
    SDL_Window* mSdlWindow = nullptr;
    uint32_t mId = 0;
};

TEST_F(SdlWindowTest, OpensTheWindowAsAsked) {
    EXPECT_STREQ(SDL_GetWindowTitle(mSdlWindow), "Quenmarth");
    int width = 0, height = 0;
    SDL_GetWindowSize(mSdlWindow, &width, &height);
    EXPECT_EQ(width, 480);
    EXPECT_EQ(height, 360);
    EXPECT_TRUE(SDL_GetWindowFlags(mSdlWindow) & SDL_WINDOW_OPENGL);
    EXPECT_FALSE(SDL_GetWindowFlags(mSdlWindow) & SDL_WINDOW_RESIZABLE);
    EXPECT_STREQ(SDL_GetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE), "0");
    EXPECT_TRUE(SDL_IsTextInputActive());
    EXPECT_FALSE(mWindow.Create({})) << "one window per object";

    mWindow.SetTitle("Caf\xC3\xA9");
    EXPECT_STREQ(SDL_GetWindowTitle(mSdlWindow), "Caf\xC3\xA9");
}

TEST_F(SdlWindowTest, TranslatesKeys) {
    NativeEvent down = RoundTrip(KeyEvent(SDL_KEYDOWN, SDLK_INSERT, SDL_SCANCODE_INSERT, KMOD_LSHIFT));
    EXPECT_EQ(down.kind, EventKind::kKeyDown);
    EXPECT_EQ(down.key, 0x2D);
    EXPECT_TRUE(down.extended);
    EXPECT_EQ(down.modifiers, window::kModShift);

    NativeEvent up = RoundTrip(KeyEvent(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_RALT | KMOD_LCTRL));
    EXPECT_EQ(up.kind, EventKind::kKeyUp);
    EXPECT_EQ(up.key, 13);
    EXPECT_EQ(up.modifiers, window::kModAlt | window::kModCtrl);

    NativeEvent keypad = RoundTrip(KeyEvent(SDL_KEYDOWN, SDLK_KP_4, SDL_SCANCODE_KP_4, KMOD_NUM));
    EXPECT_EQ(keypad.key, 0x64) << "NumLock is read from the event";
}

TEST_F(SdlWindowTest, TranslatesTextAndWindowEvents) {
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    text.text.windowID = mId;
    std::strcpy(text.text.text, "\xE2\x82\xAC");
    NativeEvent native = RoundTrip(text);
    EXPECT_EQ(native.kind, EventKind::kText);
    EXPECT_STREQ(native.text, "\xE2\x82\xAC");

    struct Case {
        uint8_t sdl;
        EventKind kind;
    };
    const Case cases[] = {
        {SDL_WINDOWEVENT_CLOSE, EventKind::kClose},           {SDL_WINDOWEVENT_EXPOSED, EventKind::kExposed},
        {SDL_WINDOWEVENT_MINIMIZED, EventKind::kMinimized},   {SDL_WINDOWEVENT_RESTORED, EventKind::kRestored},
        {SDL_WINDOWEVENT_FOCUS_GAINED, EventKind::kFocusGained}, {SDL_WINDOWEVENT_FOCUS_LOST, EventKind::kFocusLost},
        {SDL_WINDOWEVENT_ENTER, EventKind::kMouseEnter},      {SDL_WINDOWEVENT_LEAVE, EventKind::kMouseLeave},
        {SDL_WINDOWEVENT_MOVED, EventKind::kOther},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoundTrip(WindowEvent(c.sdl)).kind, c.kind) << int{c.sdl};
    }
}

TEST_F(SdlWindowTest, TranslatesTheMouse) {
    SDL_Event button{};
    button.type = SDL_MOUSEBUTTONDOWN;
    button.button.windowID = mId;
    button.button.button = SDL_BUTTON_X2;
    button.button.x = 12;
    button.button.y = 34;
    NativeEvent down = RoundTrip(button);
    EXPECT_EQ(down.kind, EventKind::kButtonDown);
    EXPECT_EQ(down.button, window::Button::kExtra2);
    EXPECT_EQ(down.x, 12);
    EXPECT_EQ(down.y, 34);

    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = mId;
    wheel.wheel.y = 2;
    wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    NativeEvent turned = RoundTrip(wheel);
    EXPECT_EQ(turned.kind, EventKind::kWheel);
    EXPECT_EQ(turned.wheelY, -2) << "flipped wheels are turned back";

    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = mId;
    motion.motion.x = 7;
    motion.motion.y = 9;
    NativeEvent moved = RoundTrip(motion);
    EXPECT_EQ(moved.kind, EventKind::kMouseMove);
    EXPECT_EQ(moved.x, 7);
}

// SDL's own record already holds the moves still waiting in its queue.
TEST_F(SdlWindowTest, ThePointerIsWhereTheMoveHandedOutLastLeftIt) {
    for (int x : {30, 90}) {
        SDL_Event motion{};
        motion.type = SDL_MOUSEMOTION;
        motion.motion.windowID = mId;
        motion.motion.x = x;
        motion.motion.y = 40;
        ASSERT_EQ(SDL_PushEvent(&motion), 1) << SDL_GetError();
    }
    for (int x : {30, 90}) {
        NativeEvent moved;
        ASSERT_TRUE(mWindow.PollEvent(moved));
        int pointerX = 0, pointerY = 0;
        mWindow.GetPointer(pointerX, pointerY);
        EXPECT_EQ(pointerX, x);
        EXPECT_EQ(pointerY, 40);
    }
}

TEST_F(SdlWindowTest, IgnoresOtherWindowsAndSeesQuit) {
    SDL_Event foreign = KeyEvent(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, 0);
    foreign.key.windowID = mId + 100;
    EXPECT_EQ(RoundTrip(foreign).kind, EventKind::kOther);

    EXPECT_FALSE(mWindow.IsQuitWaiting());
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 1);
    EXPECT_TRUE(mWindow.IsQuitWaiting());
    NativeEvent native;
    ASSERT_TRUE(mWindow.PollEvent(native));
    EXPECT_EQ(native.kind, EventKind::kQuit);
}

TEST_F(SdlWindowTest, KeepsClipboardText) {
    EXPECT_TRUE(mWindow.PutClipboardText("Caf\xC3\xA9"));
    EXPECT_EQ(mWindow.GetClipboardText(), "Caf\xC3\xA9");
}

TEST_F(SdlWindowTest, ATerminationSignalBecomesAQuit) {
    ASSERT_EQ(raise(SIGTERM), 0);
    EXPECT_TRUE(mWindow.IsQuitWaiting());
    NativeEvent native;
    ASSERT_TRUE(mWindow.PollEvent(native));
    EXPECT_EQ(native.kind, EventKind::kQuit);
}

TEST(SdlWindowBareTest, WorksWithoutAWindow) {
    window::SdlWindow window;
    NativeEvent native;
    EXPECT_FALSE(window.PollEvent(native));
    EXPECT_FALSE(window.HasFocus());
    EXPECT_EQ(window.GetClipboardText(), "");
    int x = 1, y = 1;
    window.GetPointer(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

}  // namespace
