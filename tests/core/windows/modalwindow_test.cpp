#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/windows/windowstyle.h"
#include "tests/support/luatesting.h"
#include "notinglistener.h"
#include "windowmanagertesting.h"

namespace {

// Modifier flags of key events.
constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr int kAlt = 4;

TEST(ModalWindowKeys, NormalizeHotKeyOrdersModifiersAndUpperCasesTheKey) {
    const struct {
        const char* key;
        const char* normalized;
    } cases[] = {
        {"Ctrl-Shift-s", "shift-ctrl-S"},
        {"shift-control-S", "shift-ctrl-S"},
        {"alt-f", "alt-F"},
        {"x", "X"},
        {"@q", "@Q"},
        {"@shift-q", "@Q"},
        {"@", "@"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(TModalWindow::NormalizeHotKey(c.key).c_str(), c.normalized) << c.key;
    }
}

TEST(ModalWindowKeys, ModalWindowsAreFocusableModalWindowsOfTheirOwnClass) {
    TModalWindow modal;
    EXPECT_EQ(modal.GetFlags(), TWindow::kVisible | TWindow::kModal | TWindow::kFocusable);
    EXPECT_STREQ(modal.GetClassName(), "TModalWindow");
    EXPECT_TRUE(modal.IsA(TModalWindow::ClassId()));
    EXPECT_TRUE(modal.IsA(TWindow::ClassId()));
    EXPECT_FALSE(TWindow().IsA(TModalWindow::ClassId()));
    std::unique_ptr<TWindow> created(CreateWindowOfClass(TModalWindow::ClassId()));
    ASSERT_NE(created, nullptr);
    EXPECT_STREQ(created->GetClassName(), "TModalWindow");
}

TEST(ModalWindowLayout, AModalGrowsToItsChildrenWithoutBeingAskedToFit) {
    TModalWindow modal;
    auto* child = new TWindow();
    child->SetPosition(20, 10);
    child->SetSize(280, 190);
    modal.AddChild(child, false);
    TWindowStyle noDescription(nullptr);
    modal.PostInit(noDescription);
    EXPECT_EQ(modal.GetRect(), TRect(0, 0, 300, 200));
}

class ModalWindowTest : public WindowManagerTest {
protected:
    void SetUp() override {
        WindowManagerTest::SetUp();
        dialog = Push("dialog");
        journal.entries.clear();
    }
    FakeButton* AddButton(TWindow* parent, const char* name, uint32_t kindBits = 0) {
        auto* button = new FakeButton(name, kindBits);
        parent->AddChild(button, false);
        return button;
    }
    bool Key(int key, int modifiers) {
        return dialog->OnKeyDown(key, modifiers);
    }

    RecordingModal* dialog = nullptr;
};

TEST_F(ModalWindowTest, ExactHotKeysWinAndAtSignKeysFireWithAnyModifiers) {
    FakeButton* file = AddButton(dialog, "file");
    FakeButton* find = AddButton(dialog, "find");
    dialog->AddHotKey("alt-F", "file");
    const struct {
        int modifiers;
        int fileClicks;
    } exactOnly[] = {{kAlt, 1}, {0, 0}, {kCtrl | kAlt, 0}, {kShift | kAlt, 0}};
    for (const auto& c : exactOnly) {
        SCOPED_TRACE(c.modifiers);
        file->clicks = 0;
        EXPECT_EQ(Key('F', c.modifiers), c.fileClicks == 1);
        EXPECT_EQ(file->clicks, c.fileClicks);
    }

    dialog->AddHotKey("@f", "find");
    for (int modifiers : {0, kShift, kCtrl | kAlt}) {
        SCOPED_TRACE(modifiers);
        find->clicks = file->clicks = 0;
        EXPECT_TRUE(Key('F', modifiers));
        EXPECT_EQ(find->clicks, 1);
        EXPECT_EQ(file->clicks, 0);
    }
    find->clicks = 0;
    EXPECT_TRUE(Key('F', kAlt));
    EXPECT_EQ(file->clicks, 1);
    EXPECT_EQ(find->clicks, 0);

    // An empty button name removes the mapping.
    dialog->AddHotKey("ALT-f", "");
    file->clicks = find->clicks = 0;
    EXPECT_TRUE(Key('F', kAlt));
    EXPECT_EQ(file->clicks, 0);
    EXPECT_EQ(find->clicks, 1);
    EXPECT_FALSE(Key('G', 0));
}

TEST_F(ModalWindowTest, HotKeysReachButtonsThroughKeyEventsAndMissingButtonsAreLogged) {
    FakeButton* save = AddButton(AddButton(dialog, "panel"), "save");
    dialog->AddHotKey("ctrl-s", "save");
    dialog->AddHotKey("ctrl-q", "quit");
    manager->HandleEvent(Event(TPlatformEvent::kKeyDown, 0, 0, 'S', kCtrl));
    EXPECT_EQ(save->clicks, 1);

    TestLog log;
    EXPECT_TRUE(Key('Q', kCtrl));
    EXPECT_TRUE(log.Contains("ERROR: Hot key button not found. Button:'quit'"));
    // A window of that name that is no button is not pressed either.
    RecordingWindow* plain = Child(dialog, "plain", TRect(0, 0, 10, 10));
    dialog->AddHotKey("p", "plain");
    EXPECT_TRUE(Key('P', 0));
    EXPECT_TRUE(log.Contains("Button:'plain'"));
    EXPECT_EQ(plain->GetParent(), dialog);
}

TEST_F(ModalWindowTest, OnlyLetterAndDigitKeysFireCharacterHotKeys) {
    FakeButton* print = AddButton(dialog, "print");
    FakeButton* add = AddButton(dialog, "add");
    FakeButton* one = AddButton(dialog, "one");
    dialog->AddHotKey("p", "print");
    dialog->AddHotKey("@a", "add");
    dialog->AddHotKey("1", "one");
    const struct {
        int key;
        FakeButton* pressed;
    } cases[] = {
        {0x70, nullptr},  // F1
        {'P', print},
        {0x61, nullptr},  // numpad 1
        {'A', add},
        {'1', one},
        {0x7B, nullptr},  // F12, "{"
        {0x141, add},     // the low byte is the key
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        print->clicks = add->clicks = one->clicks = 0;
        EXPECT_EQ(Key(c.key, 0), c.pressed != nullptr);
        for (FakeButton* button : {print, add, one}) EXPECT_EQ(button->clicks, button == c.pressed ? 1 : 0);
    }
}

TEST_F(ModalWindowTest, EnterAndEscapePressTheVisibleDefaultAndCancelButtons) {
    struct Case {
        char character;
        bool defaultHidden;
        bool defaultTakes;
        int defaultClicks;
        int cancelClicks;
        const char* focusJournal;  // what the focus window received
    };
    const Case cases[] = {
        {13, false, true, 1, 0, ""},
        {27, false, true, 0, 1, ""},
        {13, true, true, 0, 0, "field:msg2:"},
        {13, false, false, 1, 0, "field:msg2:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.character == 13 ? 'E' : 'X') + (c.defaultHidden ? " hidden" : "") +
                     (c.defaultTakes ? "" : " refused"));
        RecordingModal* modal = Push("modal");
        // The buttons sit one level down, the default one behind a panel.
        RecordingWindow* panel = Child(modal, "panel", TRect(0, 0, 100, 100));
        FakeButton* ok = AddButton(panel, "ok", TWindow::kDefaultButton);
        FakeButton* cancel = AddButton(modal, "cancel", TWindow::kCancelButton);
        RecordingWindow* field = Child(modal, "field", TRect(0, 0, 10, 10));
        field->handles = true;
        if (c.defaultHidden) panel->SetFlags(panel->GetFlags() & ~TWindow::kVisible);
        ok->takesClick = c.defaultTakes;
        manager->SetFocus(field);
        journal.entries.clear();
        EXPECT_TRUE(modal->OnChar(c.character));
        EXPECT_EQ(ok->clicks, c.defaultClicks);
        EXPECT_EQ(cancel->clicks, c.cancelClicks);
        EXPECT_EQ(journal.Joined(), c.focusJournal);
        manager->PopTopModal();
        manager->HandleEvent(Event(TPlatformEvent::kRedraw));
    }
}

TEST_F(ModalWindowTest, WithoutAFocusWindowTheDefaultActionGoesToTheModalAndOtherCharactersPass) {
    manager->SetFocus(nullptr);
    EXPECT_TRUE(dialog->OnChar(13));
    EXPECT_FALSE(dialog->OnChar('a'));
    EXPECT_EQ(journal.Joined(), "dialog:msg2: dialog:char:a");
}

TEST_F(ModalWindowTest, CloseMessagesPopByNameOrIdAndAnEmptyTextIsSwallowed) {
    RecordingModal* popup = Push("popup");
    TMessage empty(TMessage::kCloseWindow, "", nullptr);
    EXPECT_TRUE(popup->OnMessage(&empty));
    EXPECT_EQ(Stack(), "popup dialog _screen_");
    TMessage other(TMessage::kGeneric, "popup", nullptr);
    EXPECT_FALSE(popup->OnMessage(&other));

    // A close message posted to the popup closes the modal it names.
    manager->PostMessage(new TMessage(TMessage::kCloseWindow, dialog->GetIdString(), popup));
    manager->DeliverMessages();
    EXPECT_EQ(Stack(), "_screen_");
}

TEST_F(ModalWindowTest, DeletingAModalPostsExactlyOneClosingNoticeWithItsId) {
    std::vector<std::string> seen;
    manager->AddMessageListener(new NotingListener(seen, true));
    RecordingModal* popped = Push("popped");
    std::string poppedId = popped->GetIdString().c_str();
    manager->PopTopModal();
    auto* loose = new TModalWindow();
    std::string looseId = loose->GetIdString().c_str();
    delete loose;
    manager->HandleEvent(Event(TPlatformEvent::kRedraw));
    manager->HandleEvent(Event(TPlatformEvent::kRedraw));
    EXPECT_EQ(seen, (std::vector<std::string>{"6:" + looseId, "6:" + poppedId}));
    EXPECT_EQ(poppedId.size(), 8u);
}

TEST_F(ModalWindowTest, TheFocusWindowIsRememberedAcrossNewerModals) {
    RecordingWindow* field = Child(dialog, "field", TRect(0, 0, 10, 10));
    dialog->SetFocusWindow(field);
    EXPECT_EQ(manager->GetFocus(), field);

    Push("popup");
    EXPECT_EQ(dialog->GetFocusWindow(), field);
    manager->PopTopModal();
    EXPECT_EQ(manager->GetFocus(), field);

    // A focus window that goes is forgotten by its modal as well.
    delete field;
    EXPECT_EQ(dialog->GetFocusWindow(), nullptr);
    EXPECT_EQ(manager->GetFocus(), nullptr);
}

TEST_F(ModalWindowTest, AWindowGivenTheFocusIsRememberedByItsOwnModal) {
    RecordingWindow* panel = Child(dialog, "panel", TRect(0, 0, 100, 100));
    RecordingWindow* field = Child(panel, "field", TRect(0, 0, 10, 10));
    manager->SetFocus(field);
    EXPECT_EQ(dialog->GetFocusWindow(), field);
    // A click that gives the focus to the modal itself hands it back.
    manager->SetFocus(dialog);
    EXPECT_EQ(manager->GetFocus(), field);

    // A window of a modal nested inside belongs to that one.
    auto* inner = new RecordingModal("inner", &journal, TRect(0, 0, 50, 50));
    panel->AddChild(inner, false);
    RecordingWindow* innerField = Child(inner, "inner_field", TRect(0, 0, 10, 10));
    manager->SetFocus(innerField);
    EXPECT_EQ(inner->GetFocusWindow(), innerField);
    EXPECT_EQ(dialog->GetFocusWindow(), field);
    manager->SetFocus(nullptr);
    EXPECT_EQ(dialog->GetFocusWindow(), field);
}

TEST_F(ModalWindowTest, FullSizeChildrenMakeTheModalCovering) {
    RecordingWindow* cover = Child(dialog, "cover", TRect(0, 0, 800, 600));
    RecordingWindow* small = Child(dialog, "small", TRect(0, 0, 80, 60));
    small->SetFlags(small->GetFlags() | TWindow::kFullSize);
    EXPECT_FALSE(dialog->GetFlags() & TWindow::kFullSize);
    cover->SetFlags(cover->GetFlags() | TWindow::kFullSize);
    EXPECT_TRUE(dialog->GetFlags() & TWindow::kFullSize);
    cover->SetSize(700, 600);
    EXPECT_FALSE(dialog->GetFlags() & TWindow::kFullSize);
    cover->SetSize(800, 600);
    EXPECT_TRUE(dialog->GetFlags() & TWindow::kFullSize);
    dialog->RemoveChild(cover);
    EXPECT_FALSE(dialog->GetFlags() & TWindow::kFullSize);
    delete cover;
}

TEST_F(ModalWindowTest, ASubtreeThatLeavesTheModalTakesItsCoveringWindowsAlong) {
    enum Way { kRemove, kDelete, kDeleteChildren };
    uint32_t now = 1000;
    for (Way way : {kRemove, kDelete, kDeleteChildren}) {
        SCOPED_TRACE(way);
        RecordingWindow* panel = Child(dialog, "panel", TRect(0, 0, 800, 600));
        RecordingWindow* cover = Child(panel, "cover", TRect(0, 0, 800, 600));
        cover->SetFlags(cover->GetFlags() | TWindow::kFullSize);
        ASSERT_TRUE(dialog->GetFlags() & TWindow::kFullSize);
        if (way == kRemove) {
            dialog->RemoveChild(panel);
            manager->DestroyWindowDeferred(panel);
        } else if (way == kDelete) {
            delete panel;
        } else {
            dialog->DeleteChildren();
        }
        EXPECT_FALSE(dialog->GetFlags() & TWindow::kFullSize);
        // The screen behind the dialog is drawn again.
        journal.entries.clear();
        TickAt(now += 100);
        EXPECT_EQ(journal.Draws(), "_screen_:draw dialog:draw");
    }
}

TEST_F(ModalWindowTest, WindowsOfANestedModalStayInItsCoveringSet) {
    RecordingWindow* panel = Child(dialog, "panel", TRect(0, 0, 800, 600));
    auto* inner = new RecordingModal("inner", &journal, TRect(0, 0, 800, 600));
    panel->AddChild(inner, false);
    RecordingWindow* cover = Child(inner, "cover", TRect(0, 0, 800, 600));
    cover->SetFlags(cover->GetFlags() | TWindow::kFullSize);
    ASSERT_TRUE(inner->GetFlags() & TWindow::kFullSize);
    dialog->RemoveChild(panel);
    EXPECT_TRUE(inner->GetFlags() & TWindow::kFullSize);
    EXPECT_FALSE(dialog->GetFlags() & TWindow::kFullSize);
    delete panel;
}

}  // namespace
