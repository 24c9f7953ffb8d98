#include "game/menus/helpwindow.h"

#include <algorithm>

#include "core/app/message.h"
#include "core/windows/modalwindowlink.h"
#include "core/windows/platformlink.h"
#include "foundation/stringtable.h"
#include "game/utilities/findchild.h"
#include "game/widgets/disablebutton.h"
#include "game/widgets/widgetclass.h"
#include "widgets/text.h"

TWindow* VHelpWindow::Create() {
    return new VHelpWindow();
}

VHelpWindow::VHelpWindow() : TLayeredWindow(kPages) {
    mFunctions.Publish("SetPage", this, &VHelpWindow::SetPage);
}

const char* VHelpWindow::GetClassName() const {
    return "VHelpWindow";
}

bool VHelpWindow::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TLayeredWindow::ClassId(), TWindow::ClassId()});
}

bool VHelpWindow::OnMessage(TMessage* message) {
    if (message->GetType() != TMessage::kButtonPress) return false;
    if (message->GetName() == "btn_back") SetPage(GetLayer() - 1);
    if (message->GetName() == "btn_next") SetPage(GetLayer() + 1);
    return false;
}

void VHelpWindow::SetPage(int page) {
    page = std::clamp(page, 0, kPages - 1);
    SetLayer(page);
    auto* title = dynamic_cast<TText*>(FindTitle());
    TPlatformLink* platform = GetPlatformLink();
    const TStringTable* strings = platform ? platform->GetStringTable() : nullptr;
    if (title && strings) title->SetText(strings->GetString(TString::Format("help_title_%i", page)));
    if (auto* counter = FindChildAs<TText>(this, "txt_page")) {
        counter->SetText(TString::Format("%i/%i", page + 1, kPages));
    }
    if (auto* next = FindChildAs<RDisableButton>(this, "btn_next")) next->SetDisabled(page == kPages - 1);
    if (auto* back = FindChildAs<RDisableButton>(this, "btn_back")) back->SetDisabled(page == 0);
}

TWindow* VHelpWindow::FindTitle() const {
    auto* modal = dynamic_cast<TWindow*>(GetParentModal());
    return modal ? modal->FindChildWindow("txt_title", -1) : nullptr;
}
