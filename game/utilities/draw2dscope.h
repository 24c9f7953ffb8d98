// 2D drawing for the life of a scope that may already lie inside 2D
// drawing: Begin2d only when no 2D block is open, End2d only when this
// scope began it.
#pragma once

#include "graphics/render/renderer.h"

class TDraw2dScope {
public:
    TDraw2dScope();
    ~TDraw2dScope();
    TDraw2dScope(const TDraw2dScope&) = delete;
    TDraw2dScope& operator=(const TDraw2dScope&) = delete;

    // 2D drawing is open, begun here or before.
    bool IsOpen() const { return mBegun || TRenderer::GetInstance()->InBegin2d(); }

private:
    bool mBegun = false;
};
