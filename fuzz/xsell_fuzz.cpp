// Runs the cross-sell set-up on arbitrary XML against a fixed window tree:
// eight description texts and link buttons, the centred texts, the logos
// with a child, and the site button. With the platform link installed every
// link the document holds can be opened.
#include <cstdint>
#include <memory>

#include "core/windows/platformlink.h"
#include "core/windows/textlink.h"
#include "core/windows/xsellwindow.h"
#include "foundation/xmlnode.h"

namespace {

class TextWindow : public TWindow, public TTextLink {
public:
    TString GetText() const override { return mText; }
    void SetText(const TString& text) override { mText = text; }

private:
    TString mText;
};

class NullPlatform : public TPlatformLink {
public:
    bool IsSystemCursorShown() const override { return true; }
    void ShowSystemCursor(bool /*show*/) override {}
    void SetMouseBlocked(bool /*blocked*/) override {}
    void FlipToGdiSurface() override {}
    void ResetMouseImage() override {}
    void FocusGameWindow() override {}
    bool OpenBrowser(const TString& /*address*/) override { return true; }
    const TStringTable* GetStringTable() const override { return nullptr; }
    TString GetClipboardText() const override { return TString(); }
};

void Add(TWindow* parent, TWindow* window, const TString& name, int left, int top) {
    window->SetName(name);
    window->SetPosition(left, top);
    window->SetSize(100, 40);
    parent->AddChild(window, false);
}

std::unique_ptr<TXSellWindow> MakeTree() {
    auto xsell = std::make_unique<TXSellWindow>();
    xsell->SetSize(800, 600);
    for (int number = 1; number <= TXSellWindow::kEntries; ++number) {
        Add(xsell.get(), new TextWindow(), TString::Format("descrip%d", number), 0, 40 * number);
        Add(xsell.get(), new TWindow(), TString::Format("xsellbutton%d", number), 300, 40 * number);
    }
    Add(xsell.get(), new TextWindow(), "centertext1", 0, 500);
    Add(xsell.get(), new TextWindow(), "centertext2", 0, 540);
    TWindow* logo = new TWindow();
    Add(xsell.get(), logo, "sitelogo", 500, 100);
    Add(logo, new TWindow(), "shine", 90, 30);
    Add(xsell.get(), new TWindow(), "quenmarthlogo", 500, 200);
    Add(xsell.get(), new TWindow(), "gamesite", 500, 300);
    return xsell;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    static NullPlatform platform;
    SetPlatformLink(&platform);
    TXmlNode document;
    document.ParseString(reinterpret_cast<const char*>(data), int(size));
    std::unique_ptr<TXSellWindow> xsell = MakeTree();
    xsell->Setup(document);
    xsell->Setup(document);
    for (int index = -1; index <= TXSellWindow::kEntries; ++index) xsell->LaunchGameLink(index);
    return 0;
}
