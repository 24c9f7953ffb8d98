// A window tree, or a text window's text, drawn into a new texture.
#pragma once

#include <memory>

#include "foundation/color.h"

class TText;
class TTexture;
class TWindow;

// A texture of the window's size holding the window and its children. Text
// aware: the texture has alpha, a text window gives its text alone and other
// windows are drawn in render-target modes 1 and then 4; otherwise the
// window is drawn over a fill of the colour in mode 0. Empty for a null or
// empty window or when no texture could be made; the window keeps its place.
std::shared_ptr<TTexture> RenderWindowToTexture(TWindow* window, bool textAware, const TColor4f& colour);
// Draws the text window's layout over the whole texture at scale 1.
void RenderTextToTexture(TText* text, const std::shared_ptr<TTexture>& texture);
