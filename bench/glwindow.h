// Hidden OpenGL windows for the benchmarks that draw; they run headless with
// SDL_VIDEODRIVER=offscreen.
#pragma once

#include <SDL.h>

#include <memory>

#include "platform/display/glattributes.h"
#include "platform/display/gldevice.h"

// A hidden window asking for the device's OpenGL context, or null without
// SDL video.
inline SDL_Window* CreateGlWindow(const char* title, int width, int height) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !display::SetGlAttributes()) return nullptr;
    return SDL_CreateWindow(title, 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
}

// A window and a GL device for one benchmark run.
struct TGlScreen {
    TGlScreen(const char* title, int width, int height) : window(CreateGlWindow(title, width, height)) {}
    // The device lets go of its GL objects while the window still has the context.
    ~TGlScreen() {
        device.reset();
        if (window) SDL_DestroyWindow(window);
    }
    TGlScreen(const TGlScreen&) = delete;
    TGlScreen& operator=(const TGlScreen&) = delete;

    SDL_Window* window;
    std::unique_ptr<display::GlDevice> device = std::make_unique<display::GlDevice>();
};
