// The pump on the real SDL window, offscreen.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/platform.h"
#include "runtime/platformdata.h"
#include "runtime/platformdisplayhost.h"
#include "platform/window/sdlwindow.h"

namespace {

class SdlPumpTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto data = std::make_unique<TPlatformData>(TPlatformSetup{}, std::make_unique<window::SdlWindow>());
        data->SetSleepFunction([](uint32_t) {});
        mPlatform = std::make_unique<TPlatform>(std::move(data));
        mPlatform->OpenWindow();
        mWindow = static_cast<SDL_Window*>(mPlatform->GetData().GetWindow().GetNativeHandle());
        ASSERT_NE(mWindow, nullptr);
        // What the window system said about the new window.
        TPlatformEvent event;
        do mPlatform->GetEvent(event);
        while (event.type != TPlatformEvent::kIdle);
    }

    // Pushes the event and returns the pump's events up to the idle tick.
    std::vector<TPlatformEvent> Push(SDL_Event event) {
        EXPECT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
        std::vector<TPlatformEvent> events;
        TPlatformEvent next;
        for (mPlatform->GetEvent(next); next.type != TPlatformEvent::kIdle; mPlatform->GetEvent(next)) {
            events.push_back(next);
        }
        return events;
    }

    SDL_Event Key(SDL_Keycode keycode, SDL_Scancode scancode, uint16_t modifiers) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.windowID = SDL_GetWindowID(mWindow);
        event.key.state = SDL_PRESSED;
        event.key.keysym.sym = keycode;
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = modifiers;
        return event;
    }

    std::unique_ptr<TPlatform> mPlatform;
    SDL_Window* mWindow = nullptr;
};

TEST_F(SdlPumpTest, OpensQuenmarthAndTurnsPushedEventsIntoPlatformEvents) {
    EXPECT_STREQ(SDL_GetWindowTitle(mWindow), "Quenmarth");
    int width = 0, height = 0;
    SDL_GetWindowSize(mWindow, &width, &height);
    EXPECT_EQ(width, 480);
    EXPECT_EQ(height, 360);

    std::vector<TPlatformEvent> events = Push(Key(SDLK_RETURN, SDL_SCANCODE_RETURN, 0));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].type, TPlatformEvent::kKeyDown);
    EXPECT_EQ(events[0].param, 13);
    EXPECT_EQ(events[1].type, TPlatformEvent::kChar);
    EXPECT_EQ(events[1].param, 13);

    events = Push(Key(SDLK_INSERT, SDL_SCANCODE_INSERT, KMOD_LSHIFT));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, TPlatformEvent::kKeyDown);
    EXPECT_EQ(events[0].param, 0x2D);
    EXPECT_EQ(events[0].extra, 1 | 8);

    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    text.text.windowID = SDL_GetWindowID(mWindow);
    std::strcpy(text.text.text, "\xC3\xA9!");
    events = Push(text);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].type, TPlatformEvent::kChar);
    EXPECT_EQ(events[0].param, 0xE9);
    EXPECT_EQ(events[1].param, '!');

    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = SDL_GetWindowID(mWindow);
    wheel.wheel.y = -1;
    events = Push(wheel);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, TPlatformEvent::kMouseButton);
    EXPECT_EQ(events[0].param, 7);

    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.windowID = SDL_GetWindowID(mWindow);
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    events = Push(close);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].type, TPlatformEvent::kCloseRequest);

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    events = Push(quit);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, TPlatformEvent::kQuit);
}

// While the button is held the mouse is captured; every move still carries
// its own place, and the display host sees it on the desktop.
TEST_F(SdlPumpTest, ADragsMovesCarryThePointerOfEachMove) {
    SDL_Event down{};
    down.type = SDL_MOUSEBUTTONDOWN;
    down.button.windowID = SDL_GetWindowID(mWindow);
    down.button.button = SDL_BUTTON_LEFT;
    down.button.state = SDL_PRESSED;
    Push(down);
    const TPoint moves[] = {{30, 40}, {90, 40}, {150, 70}};
    for (const TPoint& move : moves) {
        SDL_Event motion{};
        motion.type = SDL_MOUSEMOTION;
        motion.motion.windowID = SDL_GetWindowID(mWindow);
        motion.motion.state = SDL_BUTTON_LMASK;
        motion.motion.x = move.x;
        motion.motion.y = move.y;
        std::vector<TPlatformEvent> events = Push(motion);
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].type, TPlatformEvent::kMouseMove);
        EXPECT_EQ(events[0].x, move.x);
        EXPECT_EQ(events[0].y, move.y);
    }
    TPlatformDisplayHost host(*mPlatform, mPlatform->GetData());
    int left = 0, top = 0;
    SDL_GetWindowPosition(mWindow, &left, &top);
    EXPECT_EQ(host.GetCursorPosition(), TPoint(left + 150, top + 70));
}

}  // namespace
