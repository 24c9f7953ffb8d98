#include "game/progression/plotlistener.h"

#include "game/objects/spritebutton.h"
#include "game/progression/plotmanager.h"

std::shared_ptr<VPlotListener> VPlotListener::Create(const std::shared_ptr<VPlotManager>& manager) {
    return std::make_shared<VPlotListener>(manager);
}

void VPlotListener::OnClick(const std::shared_ptr<VSprite>& sprite) {
    std::shared_ptr<VPlotManager> manager = mManager.lock();
    if (!manager || !sprite) return;
    if (std::dynamic_pointer_cast<VButton>(sprite)) {
        manager->Respond(mItemName, sprite->GetName());
    } else {
        manager->CheckItem(mItemName);
    }
}
