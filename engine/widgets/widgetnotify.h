// What the widgets tell the window manager: the screen needs a new frame, and
// a message for a window or the script. Without a window manager nothing is
// redrawn and messages are dropped.
#pragma once

#include <cstdint>

#include "foundation/tstring.h"

class TWindow;

void RedrawScreen();
// Queues a message of the type naming the sender, for the target (null:
// untargeted).
void PostWidgetMessage(int32_t type, const TString& name, TWindow* target);
