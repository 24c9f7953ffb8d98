// A window that draws a tree of sprites above its image and keeps the
// screen redrawing every frame while it shows.
#pragma once

#include <memory>

#include "game/widgets/gamewindow.h"

class TSprite;

class RSpriteLayer : public RWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    RSpriteLayer();
    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~RSpriteLayer() override;
    // The window, the sprites, then the whole screen is invalidated.
    void Draw() override;

    void AddSprite(const std::shared_ptr<TSprite>& sprite);
    void RemoveSprite(const std::shared_ptr<TSprite>& sprite);
    const std::shared_ptr<TSprite>& GetRootSprite() const { return mRoot; }

private:
    std::shared_ptr<TSprite> mRoot;
};
