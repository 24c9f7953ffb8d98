#include "game/utilities/draw2dscope.h"

TDraw2dScope::TDraw2dScope() {
    TRenderer* renderer = TRenderer::GetInstance();
    if (!renderer->InBegin2d()) mBegun = renderer->Begin2d();
}

TDraw2dScope::~TDraw2dScope() {
    if (mBegun) TRenderer::GetInstance()->End2d();
}
