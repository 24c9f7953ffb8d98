#include "platform/window/keymap.h"

#include <SDL.h>

namespace window {

namespace {

// Virtual-key codes the map hands out by name.
enum : int {
    kBack = 0x08,
    kTab = 0x09,
    kClear = 0x0C,
    kReturn = 0x0D,
    kShift = 0x10,
    kControl = 0x11,
    kMenu = 0x12,
    kPause = 0x13,
    kCapital = 0x14,
    kEscape = 0x1B,
    kSpace = 0x20,
    kPrior = 0x21,
    kNext = 0x22,
    kEnd = 0x23,
    kHome = 0x24,
    kLeft = 0x25,
    kUp = 0x26,
    kRight = 0x27,
    kDown = 0x28,
    kSnapshot = 0x2C,
    kInsert = 0x2D,
    kDelete = 0x2E,
    kLeftWin = 0x5B,
    kRightWin = 0x5C,
    kApps = 0x5D,
    kNumpad0 = 0x60,
    kMultiply = 0x6A,
    kAdd = 0x6B,
    kSubtract = 0x6D,
    kDecimal = 0x6E,
    kDivide = 0x6F,
    kF1 = 0x70,
    kF13 = 0x7C,
    kNumLock = 0x90,
    kScroll = 0x91,
};

// The US punctuation keys, by the character they type unshifted.
int PunctuationKey(int32_t character) {
    switch (character) {
        case ';': return 0xBA;
        case '=': return 0xBB;
        case ',': return 0xBC;
        case '-': return 0xBD;
        case '.': return 0xBE;
        case '/': return 0xBF;
        case '`': return 0xC0;
        case '[': return 0xDB;
        case '\\': return 0xDC;
        case ']': return 0xDD;
        case '\'': return 0xDE;
        default: return 0;
    }
}

// Letters, digits and punctuation by the character the layout gives the key.
int CharacterKey(int32_t keycode) {
    if (keycode >= 'a' && keycode <= 'z') return keycode - 'a' + 'A';
    if (keycode >= '0' && keycode <= '9') return keycode;
    return PunctuationKey(keycode);
}

// Keypad digits: with NumLock their numbers, else the editing keys, which
// stay unextended because they are the keypad's own.
VirtualKey KeypadDigit(int digit, bool numLock) {
    static const int kEditing[10] = {kInsert, kEnd, kDown, kNext, kLeft, kClear, kRight, kHome, kUp, kPrior};
    return {numLock ? kNumpad0 + digit : kEditing[digit], false};
}

// The scancodes of the US layout's punctuation keys, in the order of the
// characters they type.
int ScancodePunctuation(int32_t scancode) {
    switch (scancode) {
        case SDL_SCANCODE_SEMICOLON: return PunctuationKey(';');
        case SDL_SCANCODE_EQUALS: return PunctuationKey('=');
        case SDL_SCANCODE_COMMA: return PunctuationKey(',');
        case SDL_SCANCODE_MINUS: return PunctuationKey('-');
        case SDL_SCANCODE_PERIOD: return PunctuationKey('.');
        case SDL_SCANCODE_SLASH: return PunctuationKey('/');
        case SDL_SCANCODE_GRAVE: return PunctuationKey('`');
        case SDL_SCANCODE_LEFTBRACKET: return PunctuationKey('[');
        case SDL_SCANCODE_BACKSLASH: return PunctuationKey('\\');
        case SDL_SCANCODE_RIGHTBRACKET: return PunctuationKey(']');
        case SDL_SCANCODE_APOSTROPHE: return PunctuationKey('\'');
        default: return 0;
    }
}

// Keys whose code does not depend on the layout's character.
VirtualKey ScancodeKey(int32_t scancode, bool numLock) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return {'A' + scancode - SDL_SCANCODE_A, false};
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return {'1' + scancode - SDL_SCANCODE_1, false};
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return {kF1 + scancode - SDL_SCANCODE_F1, false};
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) return {kF13 + scancode - SDL_SCANCODE_F13, false};
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) {
        return KeypadDigit(1 + scancode - SDL_SCANCODE_KP_1, numLock);
    }
    switch (scancode) {
        case SDL_SCANCODE_0: return {'0', false};
        case SDL_SCANCODE_RETURN: return {kReturn, false};
        case SDL_SCANCODE_ESCAPE: return {kEscape, false};
        case SDL_SCANCODE_BACKSPACE: return {kBack, false};
        case SDL_SCANCODE_TAB: return {kTab, false};
        case SDL_SCANCODE_SPACE: return {kSpace, false};
        case SDL_SCANCODE_CAPSLOCK: return {kCapital, false};
        case SDL_SCANCODE_PRINTSCREEN: return {kSnapshot, true};
        case SDL_SCANCODE_SCROLLLOCK: return {kScroll, false};
        case SDL_SCANCODE_PAUSE: return {kPause, false};
        case SDL_SCANCODE_INSERT: return {kInsert, true};
        case SDL_SCANCODE_HOME: return {kHome, true};
        case SDL_SCANCODE_PAGEUP: return {kPrior, true};
        case SDL_SCANCODE_DELETE: return {kDelete, true};
        case SDL_SCANCODE_END: return {kEnd, true};
        case SDL_SCANCODE_PAGEDOWN: return {kNext, true};
        case SDL_SCANCODE_RIGHT: return {kRight, true};
        case SDL_SCANCODE_LEFT: return {kLeft, true};
        case SDL_SCANCODE_DOWN: return {kDown, true};
        case SDL_SCANCODE_UP: return {kUp, true};
        case SDL_SCANCODE_NUMLOCKCLEAR: return {kNumLock, true};
        case SDL_SCANCODE_KP_DIVIDE: return {kDivide, true};
        case SDL_SCANCODE_KP_MULTIPLY: return {kMultiply, false};
        case SDL_SCANCODE_KP_MINUS: return {kSubtract, false};
        case SDL_SCANCODE_KP_PLUS: return {kAdd, false};
        case SDL_SCANCODE_KP_ENTER: return {kReturn, true};
        case SDL_SCANCODE_KP_0: return KeypadDigit(0, numLock);
        case SDL_SCANCODE_KP_PERIOD: return {numLock ? kDecimal : kDelete, false};
        case SDL_SCANCODE_LSHIFT:
        case SDL_SCANCODE_RSHIFT: return {kShift, false};
        case SDL_SCANCODE_LCTRL: return {kControl, false};
        case SDL_SCANCODE_RCTRL: return {kControl, true};
        case SDL_SCANCODE_LALT: return {kMenu, false};
        case SDL_SCANCODE_RALT: return {kMenu, true};
        case SDL_SCANCODE_LGUI: return {kLeftWin, true};
        case SDL_SCANCODE_RGUI: return {kRightWin, true};
        case SDL_SCANCODE_APPLICATION: return {kApps, true};
        default: return {ScancodePunctuation(scancode), false};
    }
}

}  // namespace

VirtualKey MapKey(int32_t keycode, int32_t scancode, bool numLock) {
    int code = CharacterKey(keycode);
    if (code != 0) return {code, false};
    return ScancodeKey(scancode, numLock);
}

}  // namespace window
