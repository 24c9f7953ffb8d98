#include "core/windows/xsellwindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/scripting/script.h"
#include "core/windows/textlink.h"
#include "foundation/virtualfiles.h"
#include "foundation/xmlnode.h"
#include "platformtesting.h"
#include "tests/support/luatesting.h"
#include "windowtesting.h"

namespace {

class TextWindow : public TWindow, public TTextLink {
public:
    TString GetText() const override { return text; }
    void SetText(const TString& newText) override { text = newText; }

    TString text = "untouched";
};

// A window of that name and rectangle added to the parent.
template <typename T = TWindow>
T* AddWindow(TWindow* parent, const TString& name, TRect rect) {
    T* window = new T();
    window->SetName(name);
    window->SetPosition(rect.left, rect.top);
    window->SetSize(rect.right - rect.left, rect.bottom - rect.top);
    parent->AddChild(window, false);
    return window;
}

std::string Entry(int number, bool withLinkText = true) {
    std::string n = std::to_string(number);
    return "<gameinfo description=\"Game " + n + "\"" + (withLinkText ? " linktext=\"Play " + n + "\"" : "") +
           " link=\"http://games.test/" + n + "\"/>\n";
}

std::string Entries(int count) {
    std::string entries;
    for (int number = 1; number <= count; ++number) entries += Entry(number);
    return entries;
}

const char kSiteAndTexts[] =
    "<sitelink link=\"http://site.test/\"/>\n"
    "<centertext text1=\"More games\" text2=\"Free to try\"/>\n";

std::string Document(const std::string& inner) {
    return "<?xml version=\"1.0\"?>\n<xsell>\n" + inner + "</xsell>\n";
}

// A cross-sell window on the fixture's tree: description texts, link buttons
// of 100 x 40, the centred texts, the logos and the site button.
class XSellWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager.script = &script;
        xsell = MakeWindow();
    }
    void TearDown() override {
        xsell.reset();
        RegisterMemoryFile("xsell/xsell.xml", nullptr, 0);
    }

    std::unique_ptr<TXSellWindow> MakeWindow() {
        auto window = std::make_unique<TXSellWindow>();
        window->SetSize(800, 600);
        for (int number = 1; number <= 8; ++number) {
            AddWindow<TextWindow>(window.get(), TString::Format("descrip%d", number), TRect(0, 0, 300, 30));
            int left = 100 * number;
            AddWindow(window.get(), TString::Format("xsellbutton%d", number), TRect(left, 300, left + 100, 340));
        }
        AddWindow<TextWindow>(window.get(), "centertext1", TRect(0, 500, 400, 520));
        AddWindow<TextWindow>(window.get(), "centertext2", TRect(0, 520, 400, 540));
        TWindow* logo = AddWindow(window.get(), "sitelogo", TRect(400, 100, 460, 120));
        AddWindow(logo, "shine", TRect(50, 10, 80, 40));
        AddWindow(window.get(), "quenmarthlogo", TRect(10, 10, 30, 30));
        AddWindow(window.get(), "gamesite", TRect(600, 550, 700, 590));
        return window;
    }
    void SetFile(const std::string& text) {
        mFile = text;
        RegisterMemoryFile("xsell/xsell.xml", mFile.data(), mFile.size());
    }
    void Run(const char* code) { ASSERT_EQ(script.DoLuaString(code), 0) << code; }
    TWindow* Child(const TString& name) const { return xsell->FindChildWindow(name, -1); }
    std::string TextOf(const TString& name) const {
        return dynamic_cast<TextWindow*>(Child(name))->text.c_str();
    }
    // Numbers 1 to 8 whose description window and button are shown.
    std::vector<int> ShownEntries() const {
        std::vector<int> shown;
        for (int number = 1; number <= 8; ++number) {
            bool description = Child(TString::Format("descrip%d", number))->IsVisible();
            bool button = Child(TString::Format("xsellbutton%d", number))->IsVisible();
            EXPECT_EQ(description, button) << number;
            if (description) shown.push_back(number);
        }
        return shown;
    }

    TestLog log;
    FakeWindowManager manager;
    TScript script;
    FakePlatform platform;
    std::unique_ptr<TXSellWindow> xsell;

private:
    std::string mFile;
};

TEST(XSellWindowClass, IsAWindowCreatedByItsFactory) {
    std::unique_ptr<TWindow> window(CreateWindowOfClass(TXSellWindow::ClassId()));
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(window->GetClassName(), "TXSellWindow");
    EXPECT_TRUE(window->IsA(TXSellWindow::ClassId()));
    EXPECT_TRUE(window->IsA(TWindow::ClassId()));
    EXPECT_FALSE(TWindow().IsA(TXSellWindow::ClassId()));
}

TEST_F(XSellWindowTest, ThreeEntriesFillTheirDescriptionsAndHideTheRest) {
    SetFile(Document(Entry(1) + Entry(2, false) + Entry(3) + kSiteAndTexts));
    Run("SetupXSell()");
    EXPECT_EQ(TextOf("descrip1"),
              "Game 1 <u><font color=\"003cff\"><a id='xsellbutton1'>Play 1</a></font></u>");
    EXPECT_EQ(TextOf("descrip2"), "Game 2");
    EXPECT_EQ(TextOf("descrip4"), "untouched");
    EXPECT_EQ(ShownEntries(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(TextOf("centertext1"), "More games");
    EXPECT_EQ(TextOf("centertext2"), "Free to try");
    EXPECT_TRUE(Child("gamesite")->IsVisible());
}

TEST_F(XSellWindowTest, LaunchGameLinkOpensTheSiteOrAGameAndIgnoresOtherIndexes) {
    SetFile(Document(Entries(3) + kSiteAndTexts));
    Run("SetupXSell() LaunchGameLink(0) LaunchGameLink(2) LaunchGameLink(-1) LaunchGameLink(8) LaunchGameLink(5)");
    EXPECT_EQ(platform.addresses, (std::vector<std::string>{"http://site.test/", "http://games.test/2", ""}));
    EXPECT_TRUE(log.Contains("LaunchGameLink: no link -1"));
    EXPECT_TRUE(log.Contains("LaunchGameLink: no link 8"));
}

TEST_F(XSellWindowTest, WithoutSiteLinkTheSiteButtonIsHiddenAndMissingAttributesReadEmpty) {
    SetFile(Document("<gameinfo/>\n<centertext/>\n"));
    Run("SetupXSell() LaunchGameLink(0) LaunchGameLink(1)");
    EXPECT_FALSE(Child("gamesite")->IsVisible());
    EXPECT_EQ(TextOf("descrip1"), "");
    EXPECT_EQ(TextOf("centertext1"), "");
    EXPECT_EQ(ShownEntries(), (std::vector<int>{1}));
    EXPECT_EQ(platform.addresses, (std::vector<std::string>{"", ""}));
}

TEST_F(XSellWindowTest, EntriesPastTheSeventhKeepTheSiteLink) {
    SetFile(Document(Entries(9) + kSiteAndTexts));
    Run("SetupXSell() LaunchGameLink(0) LaunchGameLink(7)");
    EXPECT_EQ(platform.addresses, (std::vector<std::string>{"http://site.test/", "http://games.test/7"}));
    EXPECT_EQ(TextOf("descrip8"),
              "Game 8 <u><font color=\"003cff\"><a id='xsellbutton8'>Play 8</a></font></u>");
    EXPECT_EQ(ShownEntries(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(log.Count("gameinfo entries"), 1u);
}

TEST_F(XSellWindowTest, WindowsAreCentredOnTheirPositionsOnceOnly) {
    SetFile(Document(Entries(8) + kSiteAndTexts));
    Run("SetupXSell() SetupXSell()");
    EXPECT_EQ(Child("xsellbutton2")->GetRect(), TRect(150, 280, 250, 320));
    EXPECT_EQ(Child("xsellbutton7")->GetRect(), TRect(650, 280, 750, 320));
    EXPECT_EQ(Child("xsellbutton8")->GetRect(), TRect(800, 300, 900, 340));  // the eighth is not centred
    EXPECT_EQ(Child("sitelogo")->GetRect(), TRect(360, 80, 420, 100));     // its child widens it to 80 x 40
    EXPECT_EQ(Child("quenmarthlogo")->GetRect(), TRect(0, 0, 20, 20));
    EXPECT_EQ(Child("gamesite")->GetRect(), TRect(550, 530, 650, 570));
    EXPECT_EQ(Child("descrip1")->GetRect(), TRect(0, 0, 300, 30));
}

TEST_F(XSellWindowTest, AMissingOrUnusableFileHidesEveryEntryAndStillCentres) {
    const char* const files[] = {nullptr, "", "no markup here", "<other><gameinfo description=\"x\"/></other>"};
    for (const char* file : files) {
        SCOPED_TRACE(file ? file : "no file");
        xsell = MakeWindow();
        if (file) {
            SetFile(file);
        } else {
            RegisterMemoryFile("xsell/xsell.xml", nullptr, 0);
        }
        Run("SetupXSell()");
        EXPECT_TRUE(ShownEntries().empty());
        EXPECT_TRUE(Child("gamesite")->IsVisible());
        EXPECT_EQ(Child("xsellbutton1")->GetRect(), TRect(50, 280, 150, 320));
    }
}

TEST_F(XSellWindowTest, AWindowWithdrawsOnlyTheFunctionsThatStillCallIt) {
    SetFile(Document(Entries(1) + kSiteAndTexts));
    auto second = MakeWindow();
    xsell.reset();
    Run("assert(type(SetupXSell) == 'function' and type(LaunchGameLink) == 'function')");
    Run("SetupXSell() LaunchGameLink(1)");
    EXPECT_EQ(platform.addresses, (std::vector<std::string>{"http://games.test/1"}));
    EXPECT_FALSE(second->FindChildWindow("xsellbutton2", -1)->IsVisible());
    second.reset();
    Run("assert(SetupXSell == nil and LaunchGameLink == nil)");
}

TEST_F(XSellWindowTest, SetupTakesAParsedDocument) {
    TXmlNode document;
    std::string text = Document(Entries(2) + kSiteAndTexts);
    document.ParseString(text.c_str());
    xsell->Setup(document);
    EXPECT_EQ(ShownEntries(), (std::vector<int>{1, 2}));
}

}  // namespace
