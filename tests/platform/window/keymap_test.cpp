#include "platform/window/keymap.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

struct KeyCase {
    const char* name;
    int32_t keycode;
    int32_t scancode;
    bool numLock;
    int code;
    bool extended;
};

TEST(MapKeyTest, GivesWindowsVirtualKeys) {
    const KeyCase cases[] = {
        {"letter", SDLK_q, SDL_SCANCODE_Q, false, 'Q', false},
        {"letter follows the layout", SDLK_a, SDL_SCANCODE_Q, false, 'A', false},
        {"digit", SDLK_7, SDL_SCANCODE_7, false, '7', false},
        {"digit of a layout without one", SDLK_AMPERSAND, SDL_SCANCODE_1, false, '1', false},
        {"zero", SDLK_0, SDL_SCANCODE_0, false, '0', false},
        {"letter of a non-Latin layout", 0x0444, SDL_SCANCODE_A, false, 'A', false},
        {"backspace", SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, false, 8, false},
        {"tab", SDLK_TAB, SDL_SCANCODE_TAB, false, 9, false},
        {"enter", SDLK_RETURN, SDL_SCANCODE_RETURN, false, 13, false},
        {"escape", SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, false, 27, false},
        {"space", SDLK_SPACE, SDL_SCANCODE_SPACE, false, 32, false},
        {"page up", SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, false, 0x21, true},
        {"page down", SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, false, 0x22, true},
        {"end", SDLK_END, SDL_SCANCODE_END, false, 0x23, true},
        {"home", SDLK_HOME, SDL_SCANCODE_HOME, false, 0x24, true},
        {"left", SDLK_LEFT, SDL_SCANCODE_LEFT, false, 0x25, true},
        {"up", SDLK_UP, SDL_SCANCODE_UP, false, 0x26, true},
        {"right", SDLK_RIGHT, SDL_SCANCODE_RIGHT, false, 0x27, true},
        {"down", SDLK_DOWN, SDL_SCANCODE_DOWN, false, 0x28, true},
        {"insert", SDLK_INSERT, SDL_SCANCODE_INSERT, false, 0x2D, true},
        {"delete", SDLK_DELETE, SDL_SCANCODE_DELETE, false, 0x2E, true},
        {"left shift", SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, false, 0x10, false},
        {"right shift", SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, false, 0x10, false},
        {"left ctrl", SDLK_LCTRL, SDL_SCANCODE_LCTRL, false, 0x11, false},
        {"right ctrl", SDLK_RCTRL, SDL_SCANCODE_RCTRL, false, 0x11, true},
        {"left alt", SDLK_LALT, SDL_SCANCODE_LALT, false, 0x12, false},
        {"right alt", SDLK_RALT, SDL_SCANCODE_RALT, false, 0x12, true},
        {"F1", SDLK_F1, SDL_SCANCODE_F1, false, 0x70, false},
        {"F12", SDLK_F12, SDL_SCANCODE_F12, false, 0x7B, false},
        {"keypad 5 with NumLock", SDLK_KP_5, SDL_SCANCODE_KP_5, true, 0x65, false},
        {"keypad 0 with NumLock", SDLK_KP_0, SDL_SCANCODE_KP_0, true, 0x60, false},
        {"keypad 8 without NumLock", SDLK_KP_8, SDL_SCANCODE_KP_8, false, 0x26, false},
        {"keypad 0 without NumLock", SDLK_KP_0, SDL_SCANCODE_KP_0, false, 0x2D, false},
        {"keypad point with NumLock", SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, true, 0x6E, false},
        {"keypad point without NumLock", SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, false, 0x2E, false},
        {"keypad multiply", SDLK_KP_MULTIPLY, SDL_SCANCODE_KP_MULTIPLY, true, 0x6A, false},
        {"keypad plus", SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, true, 0x6B, false},
        {"keypad minus", SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, true, 0x6D, false},
        {"keypad divide", SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE, true, 0x6F, true},
        {"keypad enter", SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, true, 13, true},
        {"semicolon", SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, false, 0xBA, false},
        {"equals", SDLK_EQUALS, SDL_SCANCODE_EQUALS, false, 0xBB, false},
        {"comma", SDLK_COMMA, SDL_SCANCODE_COMMA, false, 0xBC, false},
        {"minus", SDLK_MINUS, SDL_SCANCODE_MINUS, false, 0xBD, false},
        {"period", SDLK_PERIOD, SDL_SCANCODE_PERIOD, false, 0xBE, false},
        {"slash", SDLK_SLASH, SDL_SCANCODE_SLASH, false, 0xBF, false},
        {"grave", SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, false, 0xC0, false},
        {"left bracket", SDLK_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET, false, 0xDB, false},
        {"backslash", SDLK_BACKSLASH, SDL_SCANCODE_BACKSLASH, false, 0xDC, false},
        {"right bracket", SDLK_RIGHTBRACKET, SDL_SCANCODE_RIGHTBRACKET, false, 0xDD, false},
        {"quote", SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, false, 0xDE, false},
        {"punctuation of another layout", 0x00FC, SDL_SCANCODE_LEFTBRACKET, false, 0xDB, false},
        {"unknown key", SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY, false, 0, false},
        {"nothing at all", 0, SDL_SCANCODE_UNKNOWN, false, 0, false},
    };
    for (const KeyCase& c : cases) {
        window::VirtualKey key = window::MapKey(c.keycode, c.scancode, c.numLock);
        EXPECT_EQ(key.code, c.code) << c.name;
        EXPECT_EQ(key.extended, c.extended) << c.name;
    }
}

TEST(MapKeyTest, HotKeysReadTheLowByte) {
    // Hot keys compare key & 0xFF with an upper-case letter or a digit.
    for (int32_t keycode = SDLK_a; keycode <= SDLK_z; ++keycode) {
        window::VirtualKey key = window::MapKey(keycode, SDL_SCANCODE_UNKNOWN, false);
        EXPECT_EQ(key.code & 0xFF, keycode - 'a' + 'A');
    }
}

TEST(MapKeyTest, OutOfRangeValuesGiveNoKey) {
    EXPECT_EQ(window::MapKey(-1, -1, true).code, 0);
    EXPECT_EQ(window::MapKey(INT32_MAX, INT32_MAX, false).code, 0);
}

}  // namespace
