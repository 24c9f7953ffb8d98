// Where drawing lands: the device viewport made from a rectangle of the
// display, and the projections that map drawing coordinates into it.
#pragma once

#include "foundation/rect.h"
#include "platform/display/types.h"

// The device viewport for a rectangle of a width x height display: clamped
// to the display, then, while embedded, multiplied by the view scale and cut
// at the scaled display's edges. A scale that cannot scale counts as 1.
display::Viewport DeviceViewport(const TRect& rect, int width, int height, bool embedded, float scale);

// The part of the viewport that is on the screen and inside the view
// rectangle.
TRect VisibleArea(const TRect& viewport, const TRect& screen, const TRect& view);

// The 2D orthographic projection: the view rectangle's coordinates, less
// the pixel offset, onto the visible area; z passes unchanged. False for an
// empty visible area, which leaves the matrix as it was.
bool Projection2d(const TRect& viewport, const TRect& screen, const TRect& view, float pixelOffset,
                  display::Matrix& matrix);

// A left-handed perspective projection of the visible part of the viewport;
// aspect 0 takes the visible area's. False for an empty visible area or
// viewport, which leaves the matrix as it was.
bool ProjectionPerspective(const TRect& viewport, const TRect& screen, const TRect& view, float nearPlane,
                           float farPlane, float fov, float aspect, display::Matrix& matrix);
