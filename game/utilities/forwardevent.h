// Passes a made-up input event to the deepest child window under a point,
// so a window lying over others can hand them the mouse.
#pragma once

#include "foundation/rect.h"

class TWindow;

// The point is in the window's coordinates. False when nothing was sent: a
// null window, no child under the point, or a window whose own forwarded
// event is still being routed.
bool ForwardEventToChildAt(TWindow* window, const TPoint& point, int eventType);
