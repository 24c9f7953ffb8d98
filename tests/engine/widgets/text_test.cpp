// The text window in a window manager: its description keys, labels through
// the string table, the window without a size, redraws, scrolling and links
// that press buttons, and its font size and padding set from code.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "core/windows/windowscriptlink.h"
#include "core/windows/windowstyle.h"
#include "foundation/stringtable.h"
#include "foundation/virtualfiles.h"
#include "widgets/text.h"
#include "tests/core/windows/platformtesting.h"
#include "tests/core/windows/windowmanagertesting.h"
#include "tests/support/luatesting.h"

namespace {

// Reads window descriptions and keeps the UTF-8 flag.
class StyleScript final : public TWindowScriptLink {
public:
    TScript* GetScript() override { return script; }
    void SetCurrentModal(TWindow*) override {}
    void PushWindow(TWindow*) override {}
    void PopWindow() override {}
    void OnWindowDestroyed(TWindow*) override {}
    void RegisterWindowType(const TString&, TWindowClassId) override {}
    bool QueueMessage(TMessage* message, const TLuaFunction*) override {
        delete message;
        return true;
    }
    bool SetUtf8Mode(bool on) override {
        bool previous = utf8;
        utf8 = on;
        return previous;
    }
    bool IsUtf8Mode() const override { return utf8; }

    TScript* script = new TScript();  // owned by the task list once attached
    bool utf8 = false;
};

const char kStrings[] =
    "<Workbook><Worksheet><Table>"
    "<Row><Cell><Data>greeting</Data></Cell><Cell><Data>Hello there</Data></Cell></Row>"
    "</Table></Worksheet></Workbook>";

class TextTest : public WindowManagerTest {
protected:
    void SetUp() override {
        WindowManagerTest::SetUp();
        manager->AttachScript(&windowScript);
        RegisterMemoryFile("strings.xml", kStrings, sizeof(kStrings) - 1);
        ASSERT_TRUE(strings.Load("strings.xml"));
        platform.table = &strings;
        dialog = Push("dialog", TRect(0, 0, 400, 300));
    }
    void TearDown() override {
        RegisterMemoryFile("strings.xml", nullptr, 0);
        WindowManagerTest::TearDown();
    }

    // A text window made from a description, inside the dialog.
    TText* MakeText(const std::string& description) {
        ASSERT_RESULT(windowScript.script->DoLuaString(("d = " + description).c_str()));
        std::unique_ptr<TLuaTable> table(windowScript.script->GetGlobalTable("d"));
        auto* text = new TText();
        dialog->AddChild(text, false);
        text->Init(TWindowStyle(table.get()));
        return text;
    }
    static void ASSERT_RESULT(int result) { ASSERT_EQ(result, 0); }
    // The middle of the run that holds the link.
    static TPoint Over(TText& text, int line, int run) {
        const TTextRun& found = text.GetLayout()->GetLines()[static_cast<size_t>(line)]->runs[static_cast<size_t>(run)];
        return TPoint(static_cast<int>((found.startX + found.endX) / 2), line * 16 + 8);
    }
    // Draws a frame, so that the screen is no longer marked for redraw.
    void Frame() {
        TickAt(services.now + 1000);
        ASSERT_FALSE(manager->IsInvalid());
    }

    TestLog log;
    StyleScript windowScript;
    FakePlatform platform;
    TStringTable strings;
    RecordingModal* dialog = nullptr;
};

TEST_F(TextTest, DescriptionKeysAndDefaults) {
    TText* text = MakeText("{ name = 't', w = 200, h = 50, label = 'hi', font = { 'fonts/none.mvec', 0 }, "
                           "flags = 1, padding = 3 }");
    ASSERT_NE(text->GetLayout(), nullptr);
    EXPECT_STREQ(text->GetText().c_str(), "hi");
    EXPECT_EQ(text->GetLayout()->GetLines()[0]->height, 12);
    EXPECT_EQ(text->GetLayout()->GetFlags(), 1);
    EXPECT_EQ(text->GetPadding(), 3);
    EXPECT_STREQ(text->GetClassName(), "TText");

    TText* byDefault = MakeText("{ w = 200, h = 50, label = 'x', defflags = 8 }");
    EXPECT_EQ(byDefault->GetLayout()->GetLines()[0]->height, 16);
    EXPECT_EQ(byDefault->GetLayout()->GetLines()[0]->runs[0].colour, TColor4f(0, 1, 0, 1));
    EXPECT_EQ(byDefault->GetLayout()->GetFlags(), 8);
}

TEST_F(TextTest, LabelsComeFromTheStringTableInUtf8Mode) {
    struct Case {
        const char* label;
        bool utf8;
        const char* shown;
    };
    const Case cases[] = {
        {"greeting", true, "Hello there"}, {"#greeting", true, "greeting"}, {"12.5", true, "12.5"},
        {"greeting", false, "greeting"},   {"#greeting", false, "#greeting"},
    };
    for (const Case& c : cases) {
        manager->SetUtf8Mode(c.utf8);
        TText* text = MakeText(std::string("{ w = 100, h = 20, label = '") + c.label + "' }");
        EXPECT_STREQ(text->GetText().c_str(), c.shown) << c.label << (c.utf8 ? " in UTF-8 mode" : "");
    }
    EXPECT_FALSE(log.Contains("#####"));
}

TEST_F(TextTest, AWindowWithoutSizeHasNoLayoutAndIgnoresEverything) {
    TText* text = MakeText("{ name = 'empty', w = 0, h = 20, label = 'gone' }");
    EXPECT_TRUE(log.Contains("ERROR: Attempting to create text window of size(0,0): named 'empty', label 'gone'"));
    EXPECT_EQ(text->GetLayout(), nullptr);
    text->SetText("new");
    EXPECT_STREQ(text->GetText().c_str(), "");
    text->Scroll(0.5f);
    text->Draw();
    EXPECT_FALSE(text->OnMouseDown(TPoint(1, 1)));
    EXPECT_FALSE(text->OnMouseMove(TPoint(1, 1)));
    EXPECT_FALSE(text->OnMouseUp(TPoint(1, 1)));
    EXPECT_FALSE(text->OnMouseLeave(TPoint(1, 1)));
    EXPECT_EQ(text->GetTextExtents(), TRect());
    EXPECT_FALSE(text->CreateLayout(0, 10, 0, "", 16, TColor4f(), 0, "x"));
}

TEST_F(TextTest, SettingTheSameTextAgainDoesNotRedraw) {
    TText* text = MakeText("{ w = 200, h = 20, label = 'one' }");
    Frame();
    text->SetText("one");
    EXPECT_FALSE(manager->IsInvalid());
    text->SetText("two");
    EXPECT_TRUE(manager->IsInvalid());
    EXPECT_STREQ(text->GetText().c_str(), "two");
}

TEST_F(TextTest, ALinkPressesTheButtonOfItsName) {
    auto* button = new FakeButton("ok");
    dialog->AddChild(button, false);
    TText* text = MakeText("{ w = 300, h = 40, label = 'Press <a id=\"ok\">here</a> now' }");
    TPoint link = Over(*text, 0, 1);
    EXPECT_FALSE(text->OnMouseDown(TPoint(1, 8)));
    EXPECT_TRUE(text->OnMouseDown(link));
    EXPECT_TRUE(text->OnMouseUp(link));
    EXPECT_EQ(button->activations, 1);
    EXPECT_EQ(button->clicks, 0);
    // The press is used up.
    EXPECT_FALSE(text->OnMouseUp(link));
    EXPECT_EQ(button->activations, 1);
}

TEST_F(TextTest, ReleasingOverAnotherLinkPressesNothing) {
    auto* ok = new FakeButton("ok");
    auto* no = new FakeButton("no");
    dialog->AddChild(ok, false);
    dialog->AddChild(no, false);
    TText* text = MakeText("{ w = 300, h = 40, label = '<a id=\"ok\">Yes</a> or <a id=\"no\">No</a>' }");
    EXPECT_TRUE(text->OnMouseDown(Over(*text, 0, 0)));
    text->OnMouseUp(Over(*text, 0, 2));
    EXPECT_EQ(ok->activations + no->activations, 0);
}

TEST_F(TextTest, LinksToMissingOrOtherWindowsAreLogged) {
    Child(dialog, "plain", TRect(0, 0, 10, 10));
    TText* text = MakeText("{ w = 300, h = 40, label = '<a id=\"nothere\">A</a> <a id=\"plain\">B</a>' }");
    for (int run : {0, 2}) {
        TPoint point = Over(*text, 0, run);
        text->OnMouseDown(point);
        text->OnMouseUp(point);
    }
    EXPECT_TRUE(log.Contains("ERROR: Command window nothere not found"));
    EXPECT_TRUE(log.Contains("ERROR: Command window plain not a derived class of TButton"));
}

TEST_F(TextTest, HoveringALinkRedrawsAndCapturesTheMouse) {
    TText* text = MakeText("{ w = 300, h = 40, label = 'a <a id=\"x\">link</a>' }");
    Frame();
    EXPECT_TRUE(text->OnMouseMove(Over(*text, 0, 1)));
    EXPECT_TRUE(manager->IsInvalid());
    EXPECT_TRUE(manager->HasCapture(text));
    Frame();
    EXPECT_FALSE(text->OnMouseMove(Over(*text, 0, 1)));
    EXPECT_FALSE(manager->IsInvalid());
    EXPECT_TRUE(text->OnMouseLeave(TPoint(-5, -5)));
    EXPECT_TRUE(manager->IsInvalid());
    EXPECT_FALSE(manager->HasCapture(text));
}

TEST_F(TextTest, ScrollingMovesTheFirstVisibleLineToTheLastPage) {
    TText* text = MakeText("{ w = 300, h = 40, label = '1<br>2<br>3<br>4<br>5<br>6' }");
    Frame();
    text->Scroll(1);
    // Lines 5 and 6 fill the last page, which starts after line 4.
    EXPECT_FLOAT_EQ(text->GetLayout()->GetFirstVisibleLine(), 4.5f);
    EXPECT_TRUE(manager->IsInvalid());
    text->Scroll(0);
    EXPECT_FLOAT_EQ(text->GetLayout()->GetFirstVisibleLine(), 0);
}

TEST_F(TextTest, FontSizeAndPaddingChangeTheLayoutAndRedraw) {
    TText* text = MakeText("{ w = 300, h = 100, label = 'one<br>two', font = { '', 20 } }");
    TRect large = text->GetTextExtents();
    Frame();
    text->SetFontSize(10);
    EXPECT_TRUE(manager->IsInvalid());
    EXPECT_EQ(text->GetLayout()->GetLines()[0]->height, 10);
    TRect small = text->GetTextExtents();
    EXPECT_LT(small.right - small.left, large.right - large.left);
    EXPECT_EQ(small.bottom - small.top, 20);

    // The same size, and sizes below 1, change nothing.
    Frame();
    for (int size : {10, 0, -3}) text->SetFontSize(size);
    EXPECT_FALSE(manager->IsInvalid());
    EXPECT_EQ(text->GetLayout()->GetLineHeight(), 10);

    text->SetPadding(-6);
    EXPECT_EQ(text->GetPadding(), -6);
    EXPECT_TRUE(manager->IsInvalid());
    Frame();
    text->SetPadding(-6);
    EXPECT_FALSE(manager->IsInvalid());

    TText* empty = MakeText("{ w = 0, h = 10 }");
    empty->SetFontSize(30);
    EXPECT_EQ(empty->GetLayout(), nullptr);
}

TEST_F(TextTest, CastToTTextFindsTextWindowsOnly) {
    TText* text = MakeText("{ w = 10, h = 10 }");
    TWindow* plain = Child(dialog, "plain", TRect(0, 0, 10, 10));
    EXPECT_EQ(CastToTText(text), text);
    EXPECT_EQ(CastToTText(plain), nullptr);
    EXPECT_EQ(CastToTText(nullptr), nullptr);
    std::unique_ptr<TWindow> made(TText::Create());
    EXPECT_EQ(CastToTText(made.get()), made.get());
}

}  // namespace
