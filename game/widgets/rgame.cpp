#include "game/widgets/rgame.h"

#include "core/windows/modalwindow.h"
#include "core/windows/windowmanager.h"
#include "game/utilities/luacommand.h"
#include "game/widgets/widgetclass.h"

TWindow* RGame::Create() {
    return new RGame();
}

RGame::RGame() {
    TWindowManager* manager = TWindowManager::GetInstance();
    if (TModalWindow* top = manager ? manager->GetTopModal() : nullptr) top->SetFocusWindow(this);
}

const char* RGame::GetClassName() const {
    return "RGame";
}

bool RGame::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), RWindow::ClassId(), TImage::ClassId(), TWindow::ClassId()});
}

bool RGame::OnKeyDown(int key, int) {
    if (key != kEscape) return false;
    // The dialog waits for its closing, which only the main script's
    // coroutine can do: a direct run would fail at the first wait.
    QueueLuaCommand("DoModal( 'scripts/pause.lua' );");
    return true;
}
