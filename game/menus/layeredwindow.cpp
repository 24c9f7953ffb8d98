#include "game/menus/layeredwindow.h"

#include "game/widgets/widgetclass.h"

TWindow* BLayeredWindow::Create() {
    return new BLayeredWindow();
}

BLayeredWindow::BLayeredWindow() : TLayeredWindow(kLayers) {}

const char* BLayeredWindow::GetClassName() const {
    return "BLayeredWindow";
}

bool BLayeredWindow::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TLayeredWindow::ClassId(), TWindow::ClassId()});
}

void BLayeredWindow::PostInit(const TWindowStyle& style) {
    TLayeredWindow::PostInit(style);
    SetLayer(0);
}
