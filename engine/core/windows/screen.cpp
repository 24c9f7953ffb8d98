#include "core/windows/screen.h"

#include "core/windows/windowmanager.h"
#include "graphics/render/drawstate.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"

TWindow* TScreen::Create() {
    return new TScreen();
}

TScreen::TScreen() {
    SetName("_screen_");
    SetKindFlags((GetFlags() & 0xFF) | kCacheable);
    SetFlags(GetFlags() | kFullSize);
}

const char* TScreen::GetClassName() const {
    return "TScreen";
}

bool TScreen::IsA(TWindowClassId id) const {
    return id == ClassId() || TModalWindow::IsA(id);
}

void TScreen::Draw() {
    TWindowManager* manager = TWindowManager::GetInstance();
    TRenderer* renderer = TRenderer::GetInstance();
    bool onTop = manager && manager->GetTopModal() == this;
    if (!mClearingOff && (mClearAlways || onTop)) renderer->FillRect(renderer->GetViewRect(), mClearColor);
    std::shared_ptr<TTexture> background = manager ? manager->GetCacheTarget() : nullptr;
    if (!background) return;
    TBegin2dScope scope(*renderer);
    background->Draw(TDrawState(TVec2(0, 0), 1, 1, TDrawState::kUsePivot));
}
