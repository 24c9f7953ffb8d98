// A name dialog as the game's scripts build it, driven through the window
// manager as the pump drives it: Enter and Escape press its default and
// cancel buttons, and its one text field keeps the keyboard wherever the
// player clicks inside the dialog.
#include <gtest/gtest.h>

#include <string>

#include "widgets/textedit.h"
#include "widgettesting.h"

namespace {

constexpr int kEnter = 13;
constexpr int kEscape = 27;

class DialogKeysTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        Image("up.png", 100, 40, 0xFF000000u);
    }
    // A panel with a line of text, the name field, OK and Cancel; the field
    // has the focus, as the script gives it.
    TTextEdit* NameDialog(const std::string& okKeys, const std::string& cancelKeys) {
        Dialog("{ typename = 'Window', name = 'panel', x = 100, y = 100, w = 400, h = 200, "
               "  { typename = 'Text', name = 'message', x = 0, y = 0, w = 400, h = 40, label = 'Name?' }, "
               "  { typename = 'TextEdit', name = 'name', x = 50, y = 50, w = 300, h = 40, length = 20 }, "
               "  { typename = 'Button', name = 'ok', x = 50, y = 120, graphics = { 'up.png' }" + okKeys + " }, "
               "  { typename = 'Button', name = 'cancel', x = 250, y = 120, graphics = { 'up.png' }" + cancelKeys +
               " } }");
        auto* edit = dynamic_cast<TTextEdit*>(manager->GetTopModal()->FindChildWindow("name", -1));
        EXPECT_EQ(Run("SetFocus('name')"), "");
        return edit;
    }
    // Enter and Escape come as the key, then the character it types.
    void Press(int key) {
        Key(key);
        Type(std::string(1, static_cast<char>(key)));
    }
    // Pops the dialog and forgets the messages its going leaves.
    void Close() {
        ASSERT_EQ(Run("DoPopModal('dialog')"), "");
        manager->HandleEvent(Event(TPlatformEvent::kRedraw));
        Messages();
    }
};

TEST_F(DialogKeysTest, EnterAndEscapePressTheDefaultAndCancelButtonsFromTheField) {
    struct Case {
        const char* okKeys;
        const char* cancelKeys;
        int key;
        const char* messages;  // what reaches the script, after the field's own
    };
    const Case cases[] = {
        {", default = true", ", cancel = true", kEnter, "3:ok"},
        {", default = true", ", cancel = true", kEscape, "3:cancel"},
        // One button may be both, as Done is.
        {", default = true, cancel = true", "", kEscape, "3:ok"},
        {", default = true, cancel = true", "", kEnter, "3:ok"},
        // Without them the key is only the modal's default action.
        {"", "", kEnter, "2:"},
        {"", "", kEscape, "2:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.okKeys) + " / " + c.cancelKeys + " / " + std::to_string(c.key));
        TTextEdit* edit = NameDialog(c.okKeys, c.cancelKeys);
        ASSERT_NE(edit, nullptr);
        Type("Ann");
        ASSERT_EQ(Messages(), "7:name 7:name 7:name");
        Press(c.key);
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_EQ(edit->GetText(), "Ann");
        Close();
    }
}

TEST_F(DialogKeysTest, TheOnlyFieldKeepsTheKeyboardAfterClicksElsewhereInTheDialog) {
    struct Case {
        const char* where;
        int x;
        int y;
        const char* messages;
    };
    const Case cases[] = {
        {"OK", 200, 240, "3:ok"},
        {"the message", 300, 120, "4:mouse:up"},
        {"the panel", 450, 280, "4:mouse:up"},
        {"outside the panel", 700, 500, "4:mouse:up"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        TTextEdit* edit = NameDialog(", default = true", ", cancel = true");
        ASSERT_NE(edit, nullptr);
        Click(c.x, c.y);
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_EQ(manager->GetFocus(), edit);
        Type("Bo");
        EXPECT_EQ(edit->GetText(), "Bo");
        // Enter still reaches the default button.
        Messages();
        Press(kEnter);
        EXPECT_EQ(Messages(), "3:ok");
        Close();
    }
}

TEST_F(DialogKeysTest, AClickOnAnotherFieldMovesTheKeyboardThereAndItStays) {
    Dialog("{ typename = 'TextEdit', name = 'first', x = 10, y = 10, w = 200, h = 30 }, "
           "{ typename = 'TextEdit', name = 'second', x = 10, y = 60, w = 200, h = 30 }, "
           "{ typename = 'Button', name = 'ok', x = 10, y = 120, graphics = { 'up.png' }, default = true }");
    TModalWindow* dialog = manager->GetTopModal();
    auto* second = dynamic_cast<TTextEdit*>(dialog->FindChildWindow("second", -1));
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(Run("SetFocus('first')"), "");
    Click(50, 70);
    EXPECT_EQ(manager->GetFocus(), second);
    Click(50, 140);
    Type("x");
    EXPECT_EQ(second->GetText(), "x");
    EXPECT_EQ(dialog->GetFocusWindow(), second);
}

}  // namespace
