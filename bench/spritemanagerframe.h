// One frame of a sprite manager's scene, as the game's sprite window runs it.
#pragma once

#include "game/sprites/spritemanager.h"
#include "graphics/render/renderer.h"

// The update, then the draw between the renderer's begin and end.
inline void UpdateAndDraw(VSpriteManager& manager) {
    manager.Update();
    TRenderer& renderer = *TRenderer::GetInstance();
    if (!renderer.BeginDraw(true)) return;
    manager.Draw();
    renderer.EndDraw(true);
}
