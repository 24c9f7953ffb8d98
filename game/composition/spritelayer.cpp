#include "game/composition/spritelayer.h"

#include "core/windows/windowmanager.h"
#include "game/utilities/draw2dscope.h"
#include "game/widgets/widgetclass.h"
#include "graphics/render/drawstate.h"
#include "graphics/sprite.h"

TWindow* RSpriteLayer::Create() {
    return new RSpriteLayer();
}

RSpriteLayer::RSpriteLayer() : mRoot(TSprite::Create(0)) {}

const char* RSpriteLayer::GetClassName() const {
    return "RSpriteLayer";
}

bool RSpriteLayer::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), RWindow::ClassId(), TImage::ClassId(), TWindow::ClassId()});
}

RSpriteLayer::~RSpriteLayer() = default;

void RSpriteLayer::Draw() {
    RWindow::Draw();
    {
        TDraw2dScope scope;
        if (scope.IsOpen()) mRoot->Draw(TDrawState(TVec2(0, 0), 1, 1, 0), -1);
    }
    if (TWindowManager* manager = TWindowManager::GetInstance()) manager->Invalidate();
}

void RSpriteLayer::AddSprite(const std::shared_ptr<TSprite>& sprite) {
    if (sprite) mRoot->AddChild(sprite);
}

void RSpriteLayer::RemoveSprite(const std::shared_ptr<TSprite>& sprite) {
    if (sprite) mRoot->RemoveChild(sprite);
}
