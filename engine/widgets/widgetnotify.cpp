#include "widgets/widgetnotify.h"

#include "core/app/message.h"
#include "core/windows/windowmanager.h"

void RedrawScreen() {
    if (TWindowManager* manager = TWindowManager::GetInstance()) manager->Invalidate();
}

void PostWidgetMessage(int32_t type, const TString& name, TWindow* target) {
    if (TWindowManager* manager = TWindowManager::GetInstance()) {
        manager->PostMessage(new TMessage(type, name, target));
    }
}
