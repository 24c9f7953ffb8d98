// What an OpenGL window needs before it is created.
#pragma once

namespace display {

// Asks SDL for an OpenGL 3.3 core context with double buffering; the window
// layer calls it before SDL_CreateWindow. False when SDL refuses.
bool SetGlAttributes();

}  // namespace display
