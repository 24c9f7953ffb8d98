#include "core/windows/xsellwindow.h"

#include <vector>

#include "core/scripting/luabinding.h"
#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "core/windows/platformlink.h"
#include "core/windows/textlink.h"
#include "core/windows/windowmanagerlink.h"
#include "foundation/debuglog.h"
#include "foundation/xmlnode.h"
#include "lua/lua.h"

namespace {

const char kSetupFunction[] = "SetupXSell";
const char kLaunchFunction[] = "LaunchGameLink";

// Pushes the global without running metamethods.
void PushRawGlobal(lua_State* L, const char* name) {
    lua_pushstring(L, name);
    lua_rawget(L, LUA_GLOBALSINDEX);
}

// The window's rectangle with those of its subtree, in its own coordinates.
TRect SubtreeBounds(const TWindow& window) {
    TRect bounds = window.GetClientRect();
    for (const TWindow* child : window.GetChildren()) {
        TRect inner = SubtreeBounds(*child);
        const TRect& at = child->GetRect();
        bounds.Union(bounds, TRect(inner.left + at.left, inner.top + at.top, inner.right + at.left,
                                   inner.bottom + at.top));
    }
    return bounds;
}

}  // namespace

TWindow* TXSellWindow::Create() {
    return new TXSellWindow();
}

TXSellWindow::TXSellWindow() : mPublished{{{kSetupFunction, nullptr}, {kLaunchFunction, nullptr}}} {
    Publish();
}

void TXSellWindow::Publish() {
    TWindowManagerLink* manager = GetWindowManagerLink();
    TScript* script = manager ? manager->GetScript() : nullptr;
    if (!script) {
        DebugLog("TXSellWindow: no window script for its functions");
        return;
    }
    lua_State* L = script->GetState();
    RegisterBinding(L, kSetupFunction, this, &TXSellWindow::SetupXSell);
    RegisterBinding(L, kLaunchFunction, this, &TXSellWindow::LaunchGameLink);
    // Pinned, so the destructor can tell whether another window has
    // published the names since.
    for (TPublished& published : mPublished) {
        PushRawGlobal(L, published.name);
        published.function = std::make_unique<TLuaObjectWrapper>(L);
    }
}

TXSellWindow::~TXSellWindow() {
    for (TPublished& published : mPublished) {
        if (!published.function) continue;
        lua_State* L = published.function->GetState();
        LuaPopState restore(L);
        PushRawGlobal(L, published.name);
        published.function->Push();
        if (lua_rawequal(L, -1, -2)) UnregisterBinding(L, published.name);
    }
}

const char* TXSellWindow::GetClassName() const {
    return "TXSellWindow";
}

bool TXSellWindow::IsA(TWindowClassId id) const {
    return id == ClassId() || TWindow::IsA(id);
}

void TXSellWindow::SetupXSell() {
    TXmlNode document;
    if (!document.LoadFile("xsell/xsell.xml")) DebugLog("TXSellWindow: cannot read xsell/xsell.xml");
    Setup(document);
}

void TXSellWindow::Setup(TXmlNode& document) {
    TXmlNode* xsell = document.FindChild("xsell");
    int shown = 0;
    if (xsell) {
        shown = ReadGameInfo(*xsell);
        ReadSiteLink(*xsell);
        ReadCenterText(*xsell);
    }
    HideUnusedEntries(shown);
    CentreWindows();
}

int TXSellWindow::ReadGameInfo(TXmlNode& xsell) {
    int count = 0;
    TString name;
    TXmlNode* entry = nullptr;
    xsell.ResetChildIterator();
    while (xsell.NextChild(name, entry)) {
        if (name != "gameinfo") continue;
        ++count;
        if (count > kEntries) continue;
        SetDescription(count, *entry);
        if (count <= kGameLinks) mGameLinks[count - 1] = entry->GetAttribute("link");
    }
    if (count > kGameLinks) {
        DebugLog("TXSellWindow: %d gameinfo entries; the eighth has no link and later ones are ignored", count);
    }
    return count < kEntries ? count : kEntries;
}

void TXSellWindow::SetDescription(int number, const TXmlNode& entry) {
    TString text = entry.GetAttribute("description");
    TString linkText = entry.GetAttribute("linktext");
    if (linkText.Length() > 0) {
        text += TString::Format(" <u><font color=\"003cff\"><a id='xsellbutton%d'>", number);
        text += linkText + "</a></font></u>";
    }
    SetChildText(TString::Format("descrip%d", number), text);
}

void TXSellWindow::ReadSiteLink(const TXmlNode& xsell) {
    TXmlNode* site = xsell.FindChild("sitelink");
    if (site) {
        mSiteLink = site->GetAttribute("link");
    } else {
        HideChild("gamesite");
    }
}

void TXSellWindow::ReadCenterText(const TXmlNode& xsell) {
    TXmlNode* centre = xsell.FindChild("centertext");
    if (!centre) return;
    SetChildText("centertext1", centre->GetAttribute("text1"));
    SetChildText("centertext2", centre->GetAttribute("text2"));
}

void TXSellWindow::SetChildText(const TString& name, const TString& text) {
    if (auto* textWindow = dynamic_cast<TTextLink*>(FindChildWindow(name, -1))) textWindow->SetText(text);
}

void TXSellWindow::HideChild(const TString& name) {
    if (TWindow* window = FindChildWindow(name, -1)) window->SetFlags(window->GetFlags() & ~kVisible);
}

void TXSellWindow::HideUnusedEntries(int shown) {
    for (int number = shown + 1; number <= kEntries; ++number) {
        HideChild(TString::Format("descrip%d", number));
        HideChild(TString::Format("xsellbutton%d", number));
    }
}

void TXSellWindow::CentreWindows() {
    std::vector<TString> names;
    for (int number = 1; number <= kGameLinks; ++number) names.push_back(TString::Format("xsellbutton%d", number));
    for (const char* name : {"sitelogo", "quenmarthlogo", "gamesite"}) names.emplace_back(name);
    for (const TString& name : names) {
        TWindow* window = FindChildWindow(name, -1);
        if (!window || !mCentred.insert(window->GetSerial()).second) continue;
        TRect bounds = SubtreeBounds(*window);
        const TRect& rect = window->GetRect();
        window->SetPosition(rect.left - (bounds.right - bounds.left) / 2, rect.top - (bounds.bottom - bounds.top) / 2);
    }
}

void TXSellWindow::LaunchGameLink(int index) {
    if (index < 0 || index > kGameLinks) {
        DebugLog("TXSellWindow::LaunchGameLink: no link %d", index);
        return;
    }
    TPlatformLink* platform = GetPlatformLink();
    if (!platform) {
        DebugLog("TXSellWindow::LaunchGameLink: no platform to open link %d", index);
        return;
    }
    platform->OpenBrowser(index == 0 ? mSiteLink : mGameLinks[index - 1]);
}
