// The text edit: typing within its length and refused characters, cursor
// keys, the shown text with its blinking cursor and password stars, pastes,
// Tab through the dialog's fields, Enter left to the default button, and
// its label taken as written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/stringtable.h"
#include "widgets/textedit.h"
#include "widgettesting.h"

namespace {

// Notes the kinds of its edit events and answers as the base does.
class KindEdit : public TTextEdit {
public:
    static TWindow* Create() { return new KindEdit(); }
    bool OnEditEvent(int kind, char character) override {
        kinds.push_back(kind);
        return TTextEdit::OnEditEvent(kind, character);
    }
    // The kinds so far, as "0 0 5"; forgets them.
    std::string Kinds() {
        std::string text;
        for (int kind : kinds) {
            if (!text.empty()) text += ' ';
            text += std::to_string(kind);
        }
        kinds.clear();
        return text;
    }

    std::vector<int> kinds;
};

enum : int { kLeft = 37, kRight = 39, kInsert = 45, kDelete = 46, kCtrl = 2, kAlt = 4 };

class TextEditTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        script->RegisterWindowType("KindEdit", &KindEdit::Create);
    }
    // Edit fields of 200 x 20, one below the other, in a dialog; the first
    // has the focus.
    KindEdit* Edits(const std::vector<std::string>& keys) {
        std::string windows;
        for (size_t i = 0; i < keys.size(); ++i) {
            windows += (i ? ", " : "") + std::string("{ typename = 'KindEdit', name = 'e") + std::to_string(i + 1) +
                       "', x = 10, y = " + std::to_string(30 * i + 10) + ", w = 200, h = 20, " + keys[i] + " }";
        }
        Dialog(windows);
        KindEdit* first = Edit("e1");
        manager->SetFocus(first);
        return first;
    }
    KindEdit* Edit(const char* name) {
        return dynamic_cast<KindEdit*>(manager->GetTopModal()->FindChildWindow(name, -1));
    }
    // What the text window shows.
    static std::string Shown(TTextEdit* edit) { return edit->GetLayout()->GetText().c_str(); }
    // A blink clock reading in the hidden phase.
    void HideCursor(TTextEdit* edit) {
        timer.Set(1000);
        edit->Animate();
    }
};

TEST_F(TextEditTest, ALengthOfThreeRefusesTheFourthCharacter) {
    KindEdit* edit = Edits({"length = 3"});
    Type("abcd");
    EXPECT_EQ(edit->GetText(), "abc");
    EXPECT_EQ(edit->GetCursor(), 3);
    EXPECT_EQ(edit->Kinds(), "0 0 0 0 5");
    EXPECT_EQ(Messages(), "7:e1 7:e1 7:e1 7:e1");
    EXPECT_STREQ(edit->GetClassName(), "TTextEdit");
    EXPECT_NE(edit->GetFlags() & TWindow::kFocusable, 0u);
}

TEST_F(TextEditTest, CursorKeysMoveAndDeleteWithinTheText) {
    KindEdit* edit = Edits({""});
    Type("\b");
    Key(kRight);
    EXPECT_EQ(edit->Kinds(), "5 5");
    edit->SetText("abc");
    Key(kRight);
    EXPECT_EQ(edit->Kinds(), "5");
    Key(kLeft);
    Key(kLeft);
    EXPECT_EQ(edit->GetCursor(), 1);
    Key(kDelete);
    EXPECT_EQ(edit->GetText(), "ac");
    Type("\b");
    EXPECT_EQ(edit->GetText(), "c");
    EXPECT_EQ(edit->GetCursor(), 0);
    Key(kLeft);
    Type("X");
    EXPECT_EQ(edit->GetText(), "Xc");
    Key(kRight);
    Key(kDelete);
    EXPECT_EQ(edit->Kinds(), "1 1 1 5 0 1 5");
}

TEST_F(TextEditTest, OnlyPrintableCharactersThatAreNotIgnoredGoIn) {
    struct Case {
        const char* keys;
        const char* typed;
        const char* text;
    };
    const Case cases[] = {
        {"ignore = 'x'", "ax\x01\xe9z", "az"},
        {"ignore = 'x', password = true", "ax\x01\xe9z", "a\xe9z"},
    };
    for (const Case& c : cases) {
        KindEdit* edit = Edits({c.keys});
        Type(c.typed);
        EXPECT_EQ(edit->GetText(), c.text) << c.keys;
        Run("DoPopModal('dialog')");
    }
}

TEST_F(TextEditTest, TheShownTextBlinksItsCursorWhileFocused) {
    timer.Set(1000);
    KindEdit* edit = Edits({"password = true"});
    edit->SetText("abc");
    timer.Set(1400);
    edit->Animate();
    EXPECT_EQ(Shown(edit), "***");
    TickAt(services.now + 1000);
    ASSERT_FALSE(manager->IsInvalid());
    timer.Set(1401);
    edit->Animate();
    EXPECT_EQ(Shown(edit), "***<cursor>");
    EXPECT_TRUE(manager->IsInvalid());
    EXPECT_EQ(edit->GetText(), "abc");
    Key(kLeft);
    EXPECT_EQ(Shown(edit), "**<cursor>*");
    // Without the focus no cursor shows.
    manager->SetFocus(nullptr);
    edit->Animate();
    EXPECT_EQ(Shown(edit), "***");
}

TEST_F(TextEditTest, TypedMarkUpShowsAsTyped) {
    KindEdit* edit = Edits({"length = 20"});
    HideCursor(edit);
    Type("<b>x\\y");
    EXPECT_EQ(edit->GetText(), "<b>x\\y");
    EXPECT_EQ(Shown(edit), "\\<b>x\\\\y");
    const auto& lines = edit->GetLayout()->GetLines();
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_FALSE(lines[0]->runs.empty());
    EXPECT_FALSE(lines[0]->runs[0].bold);
    timer.Set(1500);
    edit->Animate();
    EXPECT_EQ(Shown(edit), "\\<b>x\\\\y<cursor>");
    EXPECT_TRUE(edit->GetLayout()->GetLines()[0]->runs.back().cursor);
}

TEST_F(TextEditTest, APasteIsCutToTheLengthAndLosesControlAndIgnoredCharacters) {
    KindEdit* edit = Edits({"length = 5, ignore = '#'"});
    platform.clipboard = "a\tb#c\nde";
    Key('V', kCtrl);
    // Cut to "a\tb#c" first, then cleaned.
    EXPECT_EQ(edit->GetText(), "abc");
    EXPECT_EQ(edit->GetCursor(), 3);
    platform.clipboard = "0123456789";
    Key(kInsert);
    EXPECT_EQ(edit->GetText(), "01234");
    // V without Ctrl is a letter key, not a paste.
    platform.clipboard = "zz";
    Key('V');
    EXPECT_EQ(edit->GetText(), "01234");
    EXPECT_EQ(edit->Kinds(), "4 4");
}

TEST_F(TextEditTest, TabMovesThroughTheDialogsFieldsAndWraps) {
    KindEdit* first = Edits({"", "", ""});
    ASSERT_EQ(first->GetRing()->size(), 3u);
    EXPECT_EQ(first->GetRing(), Edit("e3")->GetRing());
    Type("\t");
    EXPECT_EQ(manager->GetFocus(), Edit("e2"));
    manager->SetFocus(Edit("e3"));
    Type("\t");
    EXPECT_EQ(manager->GetFocus(), first);

    // A field that goes leaves the ring.
    TWindow* second = Edit("e2");
    second->GetParent()->RemoveChild(second);
    delete second;
    EXPECT_EQ(first->GetRing()->size(), 2u);
    Type("\t");
    EXPECT_EQ(manager->GetFocus(), Edit("e3"));
}

TEST_F(TextEditTest, AFieldOutsideADialogRingsAlone) {
    TTextEdit edit;
    manager->SetFocus(&edit);
    edit.OnChar('\t');
    ASSERT_NE(edit.GetRing(), nullptr);
    EXPECT_EQ(edit.GetRing()->size(), 1u);
    EXPECT_EQ(manager->GetFocus(), &edit);
    manager->SetFocus(nullptr);
}

TEST_F(TextEditTest, EnterIsLeftToTheDefaultButton) {
    Image("up.png", 40, 20, 0xFF000000u);
    Edits({""});
    Dialog("{ typename = 'KindEdit', name = 'name', w = 100, h = 20 }, "
           "{ typename = 'Button', name = 'ok', y = 40, default = true, graphics = { 'up.png' } }");
    KindEdit* edit = Edit("name");
    manager->SetFocus(edit);
    Type("\r");
    EXPECT_EQ(edit->Kinds(), "2");
    EXPECT_EQ(Messages(), "3:ok");
}

TEST_F(TextEditTest, KeysAreHandledUnlessTheyAreLeftToHotKeys) {
    KindEdit* edit = Edits({""});
    struct Case {
        int key;
        int modifiers;
        bool handled;
    };
    const Case cases[] = {{'A', 0, true},  {'7', 1, true},   {'A', kCtrl, false}, {'A', kAlt, false},
                          {0x70, 0, false}, {kLeft, 8, true}, {'V', kAlt, false}};
    for (const Case& c : cases) EXPECT_EQ(edit->OnKeyDown(c.key, c.modifiers), c.handled) << c.key << "/" << c.modifiers;
}

const char kStrings[] =
    "<Workbook><Worksheet><Table>"
    "<Row><Cell><Data>greeting</Data></Cell><Cell><Data>Hello there</Data></Cell></Row>"
    "</Table></Worksheet></Workbook>";

TEST_F(TextEditTest, TheLabelIsTheFirstTextAsWrittenEvenInUtf8Mode) {
    RegisterMemoryFile("strings.xml", kStrings, sizeof(kStrings) - 1);
    TStringTable strings;
    ASSERT_TRUE(strings.Load("strings.xml"));
    platform.table = &strings;
    manager->SetUtf8Mode(true);
    KindEdit* edit = Edits({"label = 'greeting'"});
    EXPECT_EQ(edit->GetText(), "greeting");
    EXPECT_EQ(edit->GetCursor(), 8);
    EXPECT_TRUE(manager->IsUtf8Mode());
    RegisterMemoryFile("strings.xml", nullptr, 0);
}

}  // namespace
