#include "core/windows/screen.h"

#include "core/windows/windowmanager.h"
#include "graphics/renderer.h"

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
    if (mClearingOff) return;
    TWindowManager* manager = TWindowManager::GetInstance();
    bool onTop = manager && manager->GetTopModal() == this;
    if (!mClearAlways && !onTop) return;
    TRenderer* renderer = TRenderer::GetInstance();
    renderer->FillRect(renderer->GetViewRect(), mClearColor);
}
