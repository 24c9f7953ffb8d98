#include "game/menus/upsellwindow.h"

#include "core/windows/platformlink.h"
#include "foundation/debuglog.h"
#include "foundation/xmlnode.h"
#include "game/widgets/widgetclass.h"

TWindow* VUpsellWindow::Create() {
    return new VUpsellWindow();
}

VUpsellWindow::VUpsellWindow() {
    mFunctions.Publish("SetupUpsell", this, &VUpsellWindow::SetupUpsell);
    mFunctions.Publish("LaunchGameLink", this, &VUpsellWindow::LaunchGameLink);
}

const char* VUpsellWindow::GetClassName() const {
    return "VUpsellWindow";
}

bool VUpsellWindow::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), RWindow::ClassId(), TImage::ClassId(), TWindow::ClassId()});
}

void VUpsellWindow::SetupUpsell() {
    TXmlNode document;
    if (!document.LoadFile("upsell.xml")) {
        DebugLog("VUpsellWindow: cannot read upsell.xml");
        return;
    }
    TString name;
    TXmlNode* entry = nullptr;
    document.ResetChildIterator();
    while (document.NextChild(name, entry)) {
        if (name == "gameinfo") mLinks.push_back(entry->GetAttribute("link"));
    }
}

void VUpsellWindow::LaunchGameLink(int index) {
    TPlatformLink* platform = GetPlatformLink();
    if (index < 0 || static_cast<size_t>(index) >= mLinks.size() || !platform) return;
    platform->OpenBrowser(mLinks[static_cast<size_t>(index)]);
}
