#include "platform/display/glattributes.h"

#include <SDL.h>

namespace display {

bool SetGlAttributes() {
    // The back buffer is a framebuffer of our own with its depth buffer, so
    // the window needs colour only.
    return SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1) == 0 && SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0) == 0;
}

}  // namespace display
