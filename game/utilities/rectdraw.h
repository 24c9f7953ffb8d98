// A solid rectangle, a rectangle's outline and a line in one colour, drawn in the
// renderer's 2D coordinates; 2D drawing is opened for the draw unless it is
// already open.
#pragma once

#include "foundation/color.h"
#include "foundation/rect.h"

// One triangle strip over the rectangle.
void FillRectColor(const TRect& rect, const TColor4f& colour);
// A closed line strip around the rectangle.
void DrawRectOutline(const TRect& rect, const TColor4f& colour);
// One line segment.
void DrawLineColor(const TPoint& from, const TPoint& to, const TColor4f& colour);
