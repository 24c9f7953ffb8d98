#include "game/menus/helpwindow.h"

#include "core/app/message.h"
#include "game/widgets/disablebutton.h"
#include "widgets/text.h"
#include "tests/menus/menutesting.h"

namespace {

class HelpWindowTest : public MenuTest {
protected:
    // A book in the dialog, a page on each layer, its counter and buttons
    // on every layer, and the title beside it unless left out.
    VHelpWindow* MakeBook(bool withTitle = true) {
        if (withTitle) title = Make<TText>("{ name = 'txt_title', w = 300, h = 30 }");
        auto* book = Begin<VHelpWindow>("{ name = 'help', w = 600, h = 400 }");
        for (int page = 0; page < VHelpWindow::kPages; ++page) {
            book->SetLayer(page);
            Make<TWindow>("{ name = 'page" + std::to_string(page) + "', w = 600, h = 300 }", book);
        }
        book->SetLayer(TLayeredWindow::kAllLayers);
        Make<TText>("{ name = 'txt_page', w = 100, h = 20 }", book);
        Make<RDisableButton>("{ name = 'btn_next', w = 50, h = 20 }", book);
        Make<RDisableButton>("{ name = 'btn_back', w = 50, h = 20 }", book);
        Finish(book);
        return book;
    }
    static std::string Counter(VHelpWindow* book) {
        return dynamic_cast<TText*>(book->FindChildWindow("txt_page", -1))->GetText().c_str();
    }
    static bool Disabled(VHelpWindow* book, const char* name) {
        return dynamic_cast<RDisableButton*>(book->FindChildWindow(name, -1))->IsDisabled();
    }
    static bool PageShown(VHelpWindow* book, int page) {
        return book->FindChildWindow(TString::Format("page%d", page), -1)->IsVisible();
    }

    TText* title = nullptr;
};

TEST_F(HelpWindowTest, PagesAreLimitedToTheBook) {
    VHelpWindow* book = MakeBook();
    const struct {
        int asked;
        int page;
        const char* counter;
        bool nextDisabled;
        bool backDisabled;
        const char* title;
    } cases[] = {
        {-3, 0, "1/10", false, true, "First page"},
        {12, 9, "10/10", true, false, "Last page"},
        {4, 4, "5/10", false, false, "#####"},
        {0, 0, "1/10", false, true, "First page"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run("SetPage(" + std::to_string(c.asked) + ")"), "");
        EXPECT_EQ(book->GetLayer(), c.page) << c.asked;
        EXPECT_TRUE(PageShown(book, c.page)) << c.asked;
        EXPECT_FALSE(PageShown(book, c.page == 0 ? 1 : 0)) << c.asked;
        EXPECT_EQ(Counter(book), c.counter) << c.asked;
        EXPECT_EQ(Disabled(book, "btn_next"), c.nextDisabled) << c.asked;
        EXPECT_EQ(Disabled(book, "btn_back"), c.backDisabled) << c.asked;
        EXPECT_STREQ(title->GetText().c_str(), c.title) << c.asked;
    }
}

TEST_F(HelpWindowTest, WithoutATitleThePagesStillTurn) {
    VHelpWindow* book = MakeBook(false);
    book->SetPage(3);
    EXPECT_EQ(book->GetLayer(), 3);
    EXPECT_EQ(Counter(book), "4/10");
}

TEST_F(HelpWindowTest, ButtonPressesTurnThePageAndStillReachTheScript) {
    VHelpWindow* book = MakeBook();
    book->SetPage(0);
    TMessage next(TMessage::kButtonPress, "btn_next", nullptr);
    EXPECT_FALSE(book->OnMessage(&next));
    EXPECT_FALSE(book->OnMessage(&next));
    EXPECT_EQ(book->GetLayer(), 2);
    TMessage back(TMessage::kButtonPress, "btn_back", nullptr);
    EXPECT_FALSE(book->OnMessage(&back));
    EXPECT_EQ(book->GetLayer(), 1);
    TMessage other(TMessage::kSliderValChanged, "btn_next", nullptr);
    EXPECT_FALSE(book->OnMessage(&other));
    EXPECT_EQ(book->GetLayer(), 1);
}

TEST_F(HelpWindowTest, DestroyedTitleCounterAndButtonsAreNotUsed) {
    VHelpWindow* book = MakeBook();
    book->SetPage(2);
    for (const char* name : {"txt_page", "btn_next", "btn_back"}) {
        TWindow* window = book->FindChildWindow(name, -1);
        book->RemoveChild(window);
        delete window;
    }
    dialog->RemoveChild(title);
    delete title;
    EXPECT_EQ(Run("SetPage(5)"), "");
    EXPECT_EQ(book->GetLayer(), 5);
}

TEST_F(HelpWindowTest, SetPageGoesWithTheBook) {
    VHelpWindow* book = MakeBook();
    dialog->RemoveChild(book);
    delete book;
    EXPECT_EQ(Eval("type(SetPage)"), "nil");
}

}  // namespace
