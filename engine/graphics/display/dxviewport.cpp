#include "graphics/display/dxviewport.h"

#include <algorithm>
#include <cmath>

#include "foundation/matrix.h"
#include "foundation/vector.h"

namespace {

int Width(const TRect& rect) {
    return rect.right - rect.left;
}

int Height(const TRect& rect) {
    return rect.bottom - rect.top;
}

int Scaled(int value, float scale) {
    return static_cast<int>(std::lround(value * scale));
}

}  // namespace

display::Viewport DeviceViewport(const TRect& rect, int width, int height, bool embedded, float scale) {
    int left = std::max(rect.left, 0);
    int top = std::max(rect.top, 0);
    int right = std::max(rect.right, left);
    int bottom = std::max(rect.bottom, top);
    left = std::min(left, width - 1);
    top = std::min(top, height - 1);
    display::Viewport viewport{left, top, std::min(width, right) - left, std::min(height, bottom) - top, 0, 1};
    if (!embedded) return viewport;
    if (!(scale > 0) || !std::isfinite(scale)) scale = 1.0f;
    viewport.x = Scaled(viewport.x, scale);
    viewport.y = Scaled(viewport.y, scale);
    viewport.width = std::min(Scaled(viewport.width, scale), Scaled(width, scale) - viewport.x);
    viewport.height = std::min(Scaled(viewport.height, scale), Scaled(height, scale) - viewport.y);
    return viewport;
}

TRect VisibleArea(const TRect& viewport, const TRect& screen, const TRect& view) {
    TRect onScreen;
    onScreen.Intersect(viewport, screen);
    TRect visible;
    visible.Intersect(onScreen, view);
    return visible;
}

bool Projection2d(const TRect& viewport, const TRect& screen, const TRect& view, float pixelOffset,
                  display::Matrix& matrix) {
    TRect visible = VisibleArea(viewport, screen, view);
    if (Width(visible) <= 0 || Height(visible) <= 0) return false;
    float ox = static_cast<float>(std::max(view.left - viewport.left, 0));
    float oy = static_cast<float>(std::max(view.top - viewport.top, 0));
    float left = ox - pixelOffset;
    float right = ox + static_cast<float>(Width(visible)) - pixelOffset;
    float top = oy - pixelOffset;
    float bottom = oy + static_cast<float>(Height(visible)) - pixelOffset;
    // Orthographic off-centre, y growing downwards, z kept as it is.
    matrix = display::Matrix{{2 / (right - left), 0, 0, 0,
                              0, 2 / (top - bottom), 0, 0,
                              0, 0, 1, 0,
                              (left + right) / (left - right), (top + bottom) / (bottom - top), 0, 1}};
    return true;
}

bool ProjectionPerspective(const TRect& viewport, const TRect& screen, const TRect& view, float nearPlane,
                           float farPlane, float fov, float aspect, display::Matrix& matrix) {
    TRect visible = VisibleArea(viewport, screen, view);
    float visibleWidth = static_cast<float>(Width(visible));
    float visibleHeight = static_cast<float>(Height(visible));
    float viewportWidth = static_cast<float>(Width(viewport));
    float viewportHeight = static_cast<float>(Height(viewport));
    if (visibleWidth <= 0 || visibleHeight <= 0 || viewportWidth <= 0 || viewportHeight <= 0) return false;
    if (aspect == 0) aspect = visibleHeight / visibleWidth;
    // Only the visible part of the viewport is seen through the field of view.
    if (visibleHeight != viewportHeight) fov = 2 * std::atan(std::tan(fov / 2) * visibleHeight / viewportHeight);
    TVec2 shift(static_cast<float>(visible.right - viewport.right + visible.left - viewport.left) / viewportWidth,
                static_cast<float>(visible.top - viewport.top + visible.bottom - viewport.bottom) / viewportHeight);
    TMat4 perspective;
    perspective.SetPerspective(nearPlane, farPlane, fov, aspect, shift);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) matrix.m[row * 4 + column] = perspective.m[row][column];
    }
    return true;
}
