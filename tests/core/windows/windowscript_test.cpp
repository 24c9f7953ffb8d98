#include "core/windows/windowscript.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/windows/imagelink.h"
#include "core/windows/layeredwindow.h"
#include "core/windows/textlink.h"
#include "core/windows/windowstyle.h"
#include "foundation/settings.h"
#include "tests/support/tempfolder.h"
#include "windowscripttesting.h"

namespace {

class FakeText : public TWindow, public TTextLink {
public:
    explicit FakeText(const char* name) { SetName(name); }
    TString GetText() const override { return text; }
    void SetText(const TString& value) override { text = value; }

    TString text;
};

class FakeImage : public TWindow, public TImageLink {
public:
    explicit FakeImage(const char* name) { SetName(name); }
    void SetImage(const TString& name, float value) override {
        image = name.c_str();
        scale = value;
    }
    bool HasTexture() const override { return !image.empty(); }

    std::string image;
    float scale = 0;
};

// Refuses to be attached, and counts its deletions.
class RefusingWindow : public TWindow {
public:
    static TWindow* Create() { return new RefusingWindow(); }
    ~RefusingWindow() override { ++deletions; }
    bool OnAttach() override { return false; }

    static int deletions;
};
int RefusingWindow::deletions = 0;

class TwoLayers : public TLayeredWindow {
public:
    static TWindow* Create() { return new TwoLayers(); }
    TwoLayers() : TLayeredWindow(2) {}
};

// Names of the window's children, front first.
std::string Children(const TWindow* window) {
    std::string names;
    for (const TWindow* child : window->GetChildren()) {
        names += std::string(names.empty() ? "" : " ") + child->GetName().c_str();
    }
    return names;
}

class WindowScriptTest : public WindowScriptFixture {
protected:
    TModalWindow* Dialog() {
        EXPECT_EQ(Run("dialogId = PushModal('dialog')"), "");
        return manager->GetTopModal();
    }
};

// --- Building dialogs ---

TEST_F(WindowScriptTest, NestedDescriptionsBuildATreeAndReturnToTheModal) {
    TModalWindow* dialog = Dialog();
    ASSERT_EQ(Run("GenericCreate{ typename = 'Window', name = 'panel', w = 200, h = 100 } "
                  "  GenericCreate{ typename = 'Window', name = 'button', w = 50, h = 30 } "
                  "  inner = gDialogWidth .. 'x' .. gDialogHeight "
                  "  PostCreate{} PopWindow() "
                  "PostCreate{} PopWindow() "
                  "PopWindow() "
                  "Window{ name = 'generated', w = 5, h = 6 }()"),
              "");
    EXPECT_EQ(Children(dialog), "generated panel");
    ASSERT_EQ(Run("SetWindowName('renamed')"), "");
    EXPECT_EQ(dialog->GetName(), "renamed");
    EXPECT_EQ(Children(dialog->FindChildWindow("panel", 1)), "button");
    EXPECT_EQ(Eval("inner"), "50x30");
    EXPECT_EQ(Eval("gDialogWidth .. 'x' .. gDialogHeight"), "5x6");
    // A stack of one entry stays: the modal is still the current window.
    EXPECT_EQ(script->GetCurrentWindow(), dialog);
    EXPECT_EQ(Eval("CreateCloseMessage().name == dialogId"), "true");
}

// Records the windows "GenericCreate" made, with a key of their description.
class RecordingHook : public TWindowCreationHook {
public:
    void OnWindowCreated(TWindow* window, const TWindowStyle& style) override {
        made += std::string(window->GetName().c_str()) + ":" + style.GetString("tag", "-").c_str() + " ";
    }

    std::string made;
};

TEST_F(WindowScriptTest, TheCreationHookHearsOfEachCreatedWindow) {
    RecordingHook hook;
    script->SetCreationHook(&hook);
    Dialog();
    ASSERT_EQ(Run("GenericCreate{ typename = 'Window', name = 'a', tag = 'x' } "
                  "GenericCreate{ typename = 'Nope', name = 'b' } "
                  "GenericCreate{ typename = 'Window', name = 'c' }"),
              "");
    EXPECT_EQ(hook.made, "a:x c:- ");
    script->SetCreationHook(nullptr);
}

TEST_F(WindowScriptTest, WidgetClassesNamedBeforehandAreCreatable) {
    EXPECT_FALSE(TWindowScript::SetWidgetClass("Gauge", &TwoLayers::Create));
    ASSERT_TRUE(TWindowScript::SetWidgetClass("Button", &TwoLayers::Create));
    FakeScriptServices otherServices;
    auto other = std::make_unique<TWindowScript>(otherServices);
    EXPECT_TRUE(TWindowScript::SetWidgetClass("Button", nullptr));
    lua_State* L = other->GetState();
    lua_pushstring(L, "Button");
    lua_rawget(L, LUA_GLOBALSINDEX);
    EXPECT_TRUE(lua_isfunction(L, -1));
    lua_pop(L, 1);
    EXPECT_EQ(Eval("Button"), "nil");  // this script was made before
}

TEST_F(WindowScriptTest, WrongArgumentsNeverBreakAFunction) {
    Dialog();
    const char* functions[] = {
        "PostCreate", "GetLabel", "_RegisterHotkey", "SetLabel", "TagHotKey", "_SetBitmap", "SetPosition",
        "SetCommand", "StripKeyFromLabel", "SetWindowName", "FillRect", "GetTimer", "GetConfig", "IsEnabled",
        "DoSelectLayer", "EnableWindow", "GetButtonToggleState", "SetButtonToggleState", "RealSetFocus",
        "StringToClipboard", "UpdateWindow", "GetWindowDepth", "GenericCreate", "CreateNamedMessage",
        "CreateCloseMessage", "PostMessage", "PostMessageToParent", "_GetString", "StartMovie", "IsMoviePlaying",
        "StopMovie", "ImageLoaded", "DestroyWindow", "DoFitToChildren", "PushModal", "DoPopModal",
        "ClearModalChildren", "PopWindow"};
    for (const char* function : functions) {
        SCOPED_TRACE(function);
        EXPECT_EQ(Run(std::string(function) + "()"), "");
        EXPECT_EQ(Run(std::string(function) + "({}, {}, false, {}, print, 0/0)"), "");
        EXPECT_EQ(Run(std::string(function) + "(-1e300, 1e300, 'x', nil, true, {})"), "");
    }
}

TEST_F(WindowScriptTest, DescriptionsWithoutARegisteredTypenameCreateNothing) {
    TModalWindow* dialog = Dialog();
    for (const char* description : {"{ typename = 'Nope' }", "{ typename = {} }", "{ typename = 12 }", "{}", "nil"}) {
        SCOPED_TRACE(description);
        EXPECT_EQ(Run(std::string("GenericCreate(") + description + ")"), "");
        EXPECT_EQ(Children(dialog), "");
        EXPECT_EQ(script->GetCurrentWindow(), dialog);
    }
}

TEST_F(WindowScriptTest, ClassNamesThatAreNoIdentifiersAreRefused) {
    TModalWindow* dialog = Dialog();
    const std::string injected = "X( t ) end injected = true function Y";
    for (const std::string& name : {injected, std::string(""), std::string("2d"), std::string("a.b")}) {
        SCOPED_TRACE(name);
        script->RegisterWindowType(name.c_str(), TWindow::ClassId());
        EXPECT_EQ(Run("GenericCreate{ typename = [[" + name + "]] }"), "");
    }
    EXPECT_EQ(Eval("injected"), "nil");
    EXPECT_EQ(Children(dialog), "");
    EXPECT_TRUE(log.Contains("'2d' is not a valid class name"));

    script->RegisterWindowType("Panel_2", TWindow::ClassId());
    EXPECT_EQ(Run("Panel_2{ name = 'made' }()"), "");
    EXPECT_EQ(Children(dialog), "made");
}

TEST_F(WindowScriptTest, ARefusedWindowIsDeleted) {
    TModalWindow* dialog = Dialog();
    script->RegisterWindowType("Refusing", &RefusingWindow::Create);
    RefusingWindow::deletions = 0;
    EXPECT_EQ(Run("GenericCreate{ typename = 'Refusing' }"), "");
    EXPECT_EQ(RefusingWindow::deletions, 1);
    EXPECT_EQ(Children(dialog), "");
    EXPECT_EQ(script->GetCurrentWindow(), dialog);
}

TEST_F(WindowScriptTest, FunctionsOfTheCurrentWindowDoNothingWithoutOne) {
    const char* calls[] = {"GenericCreate{ typename = 'Window' }", "PostCreate{}", "SetWindowName('x')",
                           "DoSelectLayer(1)", "RealSetFocus('x')", "DestroyWindow('x')", "DoFitToChildren()",
                           "closing = CreateCloseMessage()"};
    // A null modal, and a stack emptied by the destruction of its window.
    for (bool emptied : {false, true}) {
        if (emptied) {
            script->SetCurrentModal(root);
            script->OnWindowDestroyed(root);
        } else {
            script->SetCurrentModal(nullptr);
        }
        for (const char* call : calls) {
            SCOPED_TRACE(call);
            EXPECT_EQ(Run(call), "");
        }
        EXPECT_EQ(Eval("closing"), "nil");
        EXPECT_EQ(script->GetCurrentWindow(), nullptr);
    }
    EXPECT_EQ(Children(root), "");
    EXPECT_TRUE(log.Contains("AddWindow: there is no current window"));
}

TEST_F(WindowScriptTest, DestroyingTheWindowBeingFilledCutsTheStack) {
    TModalWindow* dialog = Dialog();
    // The current window's own name matches it first.
    ASSERT_EQ(Run("GenericCreate{ typename = 'Window', name = 'panel', w = 10, h = 10 } "
                  "DestroyWindow('panel') "
                  "GenericCreate{ typename = 'Window', name = 'late', w = 5, h = 5 }"),
              "");
    Flush();
    EXPECT_EQ(script->GetCurrentWindow(), dialog);
    ASSERT_EQ(Run("GenericCreate{ typename = 'Window', name = 'after' }"), "");
    EXPECT_EQ(Children(dialog), "after");
}

TEST_F(WindowScriptTest, ClearModalChildrenRestartsTheStackAtTheTopModal) {
    TModalWindow* dialog = Dialog();
    ASSERT_EQ(Run("GenericCreate{ typename = 'Window', name = 'panel', w = 10, h = 10 } "
                  "ClearModalChildren() "
                  "GenericCreate{ typename = 'Window', name = 'fresh', w = 5, h = 5 }"),
              "");
    Flush();
    EXPECT_EQ(Children(dialog), "fresh");
    EXPECT_EQ(script->GetCurrentWindow(), dialog->FindChildWindow("fresh", 1));
}

TEST_F(WindowScriptTest, AFailingPopLeavesTheModalStack) {
    Dialog();
    ASSERT_EQ(Run("DoPopModal('elsewhere') depth = GetWindowDepth()"), "");
    EXPECT_EQ(Eval("depth"), "2");
    ASSERT_EQ(Run("DoPopModal(dialogId) depth = GetWindowDepth()"), "");
    EXPECT_EQ(Eval("depth"), "1");
    EXPECT_EQ(script->GetCurrentWindow(), root);
}

TEST_F(WindowScriptTest, SelectLayerActsOnLayeredWindowsOnly) {
    Dialog();
    script->RegisterWindowType("Layers", &TwoLayers::Create);
    ASSERT_EQ(Run("GenericCreate{ typename = 'Layers', name = 'layers' } DoSelectLayer(1)"), "");
    auto* layers = dynamic_cast<TwoLayers*>(script->GetCurrentWindow());
    ASSERT_NE(layers, nullptr);
    EXPECT_EQ(layers->GetLayer(), 1);
    ASSERT_EQ(Run("PopWindow() DoSelectLayer(1)"), "");
}

TEST_F(WindowScriptTest, SetPositionResolvesCodedCoordinatesAgainstTheWindowsSize) {
    TModalWindow* dialog = Dialog();
    ASSERT_EQ(Run("GenericCreate{ typename = 'Window', name = 'box', w = 100, h = 20 } "
                  "SetPosition('box', 80000, 160000 - 30) SetPosition('nothing', 1, 1)"),
              "");
    const TRect& rect = dialog->FindChildWindow("box", 1)->GetRect();
    EXPECT_EQ(rect, TRect(350, 570, 450, 590));
}

// --- Labels and hot keys ---

TEST_F(WindowScriptTest, StripKeyFromLabelTakesTheFirstAmpersand) {
    struct Case {
        const char* label;
        const char* expected;
    };
    const Case cases[] = {
        {"E&xit", "Exit|@x"},  {"abc&", "abc|"},       {"plain", "plain|"},
        {"a&&b", "a&b|@&"},    {"&\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9|"},
        {"x&\xA9", "x\xA9|@\xA9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Eval(std::string("table.concat({ StripKeyFromLabel([[") + c.label + "]]) }, '|')"), c.expected);
    }
}

TEST_F(WindowScriptTest, TagHotKeyUnderlinesTheKeysCharacter) {
    struct Case {
        const char* key;
        const char* label;
        const char* expected;
    };
    const Case cases[] = {
        {"@x", "Exit", "E<u>x</u>it"},
        {"t", "Tattoo", "Ta<u>t</u>too"},
        {"@q", "Exit", "Exit"},
        {"", "Exit", "Exit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Eval(std::string("TagHotKey('") + c.key + "', '" + c.label + "')"), c.expected);
    }
}

// --- Widgets through their links ---

class WindowScriptWidgetTest : public WindowScriptTest {
protected:
    void SetUp() override {
        WindowScriptTest::SetUp();
        dialog = Dialog();
        for (TWindow* window : std::initializer_list<TWindow*>{button, text, image, plain}) {
            dialog->AddChild(window, false);
        }
        plain->SetName("plain");
    }

    TModalWindow* dialog = nullptr;
    FakeButton* button = new FakeButton("ok");
    FakeText* text = new FakeText("title");
    FakeImage* image = new FakeImage("logo");
    TWindow* plain = new TWindow();
};

TEST_F(WindowScriptWidgetTest, LabelsAreReadAndSetThroughTextAndButtonWindows) {
    ASSERT_EQ(Run("SetLabel('title', 'Hello') SetLabel('ok', 'Fine') SetLabel('plain', 'x')"), "");
    EXPECT_EQ(std::string(text->text.c_str()), "Hello");
    EXPECT_EQ(std::string(button->label.c_str()), "Fine");
    const char* expected[][2] = {
        {"title", "Hello"},
        {"ok", "Fine"},
        {"plain", "plain_is_not_a_TText_window_or_TButton"},
        {"nope", "nope_is_not_found"},
    };
    for (const auto& c : expected) EXPECT_EQ(Eval(std::string("GetLabel('") + c[0] + "')"), c[1]);
}

TEST_F(WindowScriptWidgetTest, ButtonsTakeCommandsToggleStatesAndVisibility) {
    ASSERT_EQ(Run("SetCommand('ok', 'not a function')"), "");
    EXPECT_EQ(button->action, nullptr);
    EXPECT_TRUE(log.Contains("SetCommand"));
    ASSERT_EQ(Run("SetCommand('ok', function() end)"), "");
    EXPECT_NE(button->action, nullptr);

    ASSERT_EQ(Run("SetButtonToggleState('ok', true) on = GetButtonToggleState('ok') "
                  "other = GetButtonToggleState('title')"),
              "");
    EXPECT_TRUE(button->on);
    EXPECT_EQ(Eval("on"), "true");
    EXPECT_EQ(Eval("other"), "false");

    EXPECT_EQ(Eval("EnableWindow('ok', false)"), "true");
    EXPECT_FALSE(button->IsVisible());
    EXPECT_EQ(Eval("EnableWindow('ok', true)"), "true");
    EXPECT_TRUE(button->IsVisible());
    EXPECT_EQ(Eval("EnableWindow('nope', true)"), "false");
}

TEST_F(WindowScriptWidgetTest, FocusGoesToANamedWindowOfTheCurrentOne) {
    ASSERT_EQ(Run("RealSetFocus('title')"), "");
    EXPECT_EQ(manager->GetFocus(), text);
    ASSERT_EQ(Run("RealSetFocus('nope')"), "");
    EXPECT_EQ(manager->GetFocus(), nullptr);
}

TEST_F(WindowScriptWidgetTest, ImagesShowNamedTexturesAtAScale) {
    EXPECT_EQ(Eval("ImageLoaded('logo')"), "false");
    ASSERT_EQ(Run("_SetBitmap('logo', 'images/logo', 2) _SetBitmap('plain', 'images/x', 1)"), "");
    EXPECT_EQ(image->image, "images/logo");
    EXPECT_FLOAT_EQ(image->scale, 2.0f);
    EXPECT_EQ(Eval("ImageLoaded('logo')"), "true");
    EXPECT_EQ(Eval("ImageLoaded('plain')"), "false");
}

TEST_F(WindowScriptWidgetTest, HotKeysNeedAKeyText) {
    ASSERT_EQ(Run("_RegisterHotkey('', 'ok') _RegisterHotkey('@o', 'ok')"), "");
    EXPECT_TRUE(dialog->OnKeyDown('O', 0));
    EXPECT_EQ(button->clicks, 1);
}

// --- Drawing and the platform ---

TEST_F(WindowScriptTest, FillRectIsClippedToTheRootWindow) {
    ASSERT_EQ(Run("FillRect({ -10, 5, 900, 15 }, { 1, 0.5, 0 })"), "");
    ASSERT_FALSE(recorder->GetCalls().empty());
    const auto& call = recorder->GetCalls().back();
    EXPECT_EQ(call.kind, TRecordingRenderBackEnd::kFillRect);
    EXPECT_EQ(call.rect, TRect(0, 5, 800, 15));
    EXPECT_EQ(call.color, TColor4f(1.0f, 0.5f, 0.0f, 0.0f));
}

TEST_F(WindowScriptTest, PlatformFunctionsReachTheServices) {
    services.now = 4321;
    SetSetting("testflag", "1");
    SetSetting("testname", "vandermoot");
    EXPECT_EQ(Eval("GetTimer()"), "4321");
    EXPECT_EQ(Eval("StringToClipboard('copied')"), "true");
    EXPECT_EQ(services.clipboard, "copied");
    EXPECT_EQ(Eval("GetConfig('testname') .. tostring(IsEnabled('testflag')) .. tostring(IsEnabled('absent'))"),
              "vandermoottruefalse");
    EXPECT_EQ(Eval("_GetString('#as written', '', '', '', '', '')"), "as written");
    EXPECT_EQ(Eval("_GetString('label')"), "label");
    EXPECT_TRUE(log.Contains("no string table"));
    EXPECT_FALSE(manager->SetUtf8Mode(true));
    EXPECT_TRUE(script->IsUtf8Mode());
}

TEST_F(WindowScriptTest, OneMovieIsKeptAtATime) {
    TempFolder folder;
    folder.Write("intro.swf", "movie");
    const std::string movie = folder / "intro.swf";
    EXPECT_EQ(Eval("StartMovie('" + movie + "', false, false)"), "true");
    EXPECT_EQ(Eval("StartMovie('" + movie + "', false, true)"), "true");
    EXPECT_EQ(services.players, 1);
    EXPECT_TRUE(manager->IsMovieShown());
    EXPECT_TRUE(manager->BlocksInput());
    EXPECT_EQ(Eval("IsMoviePlaying()"), "true");

    ASSERT_EQ(Run("StopMovie()"), "");
    EXPECT_EQ(services.players, 0);
    EXPECT_FALSE(manager->IsMovieShown());
    EXPECT_EQ(Eval("IsMoviePlaying()"), "false");
    EXPECT_EQ(Eval("StartMovie('', false, false)"), "false");
    EXPECT_EQ(Eval("StartMovie('" + movie + ".missing', false, false)"), "false");
    EXPECT_EQ(services.players, 0);
}

// --- Messages reaching the script ---

class WindowScriptQueueTest : public WindowScriptTest {
protected:
    void SetUp() override {
        WindowScriptTest::SetUp();
        ASSERT_EQ(Run("function Mark() marked = (marked or 0) + 1 end"), "");
        command = Function("Mark");
    }
    void TearDown() override {
        command.reset();
        WindowScriptTest::TearDown();
    }

    std::unique_ptr<TLuaFunction> command;
    Journal journal;  // outlives the windows that note into it
};

TEST_F(WindowScriptQueueTest, MessagesAndCommandsQueueInPostingOrderWhileTheScriptIsNotWaiting) {
    EXPECT_TRUE(script->QueueMessage(new TMessage(TMessage::kButtonPress, "first", nullptr), nullptr));
    EXPECT_TRUE(script->QueueMessage(new TMessage(TMessage::kButtonPress, "second", nullptr), command.get()));
    EXPECT_EQ(Eval("table.getn(gMessageQueue) .. gMessageQueue[1].name .. gMessageQueue[2].name"), "2firstsecond");
    EXPECT_EQ(Eval("gMessageToQueue"), "nil");
    EXPECT_EQ(Eval("marked"), "nil");
    ASSERT_EQ(Run("gCommandQueue[1]()"), "");
    EXPECT_EQ(Eval("marked"), "1");
}

TEST_F(WindowScriptQueueTest, AScriptWaitingForAMessageIsResumedWithIt) {
    const char* waiting =
        "local m, c = HandleGetMessage() got = m.name .. ':' .. m.type if c then c() end";
    struct Case {
        TMessage* message;
        bool withCommand;
        const char* expected;
    };
    const Case cases[] = {
        {new TMessage(TMessage::kButtonPress, "ok", nullptr), true, "ok:3"},
        {nullptr, true, ":8"},
        {new TMessage(TMessage::kModalClosed, "gone", nullptr), false, "gone:6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        ASSERT_EQ(Run("marked = nil"), "");
        StartCoroutine(waiting);
        ASSERT_EQ(script->GetWaitState(), TWindowScript::kWaitingForMessage);
        EXPECT_TRUE(script->QueueMessage(c.message, c.withCommand ? command.get() : nullptr));
        EXPECT_EQ(Eval("got"), c.expected);
        EXPECT_EQ(Eval("marked"), c.withCommand ? "1" : "nil");
        EXPECT_EQ(script->GetWaitState(), TWindowScript::kResumed);
        EXPECT_EQ(Eval("table.getn(gMessageQueue)"), "0");
    }
}

TEST_F(WindowScriptQueueTest, OnlyACoroutineWaitsForMessages) {
    EXPECT_NE(Run("HandleGetMessage()").find("only a coroutine can wait"), std::string::npos);
    EXPECT_EQ(script->GetWaitState(), TWindowScript::kStarting);
}

TEST_F(WindowScriptQueueTest, AMessageArrivingDuringYieldWaitsInTheQueue) {
    StartCoroutine(
        "coroutine.yield() "
        "while true do local m = table.remove(gMessageQueue) "
        "  if m then closed = m.name break end HandleGetMessage() end");
    ASSERT_TRUE(script->IsYielded());
    EXPECT_TRUE(script->QueueMessage(new TMessage(TMessage::kModalClosed, "dialog", nullptr), command.get()));
    EXPECT_EQ(Eval("marked"), "1");  // the command ran at once
    EXPECT_EQ(Eval("closed"), "nil");
    timer.Advance(1);
    frame.tasks.RunAll(0);
    EXPECT_EQ(Eval("closed"), "dialog");
}

TEST_F(WindowScriptQueueTest, AScriptThatWaitsAgainIsResumedByTheNextMessage) {
    StartCoroutine("while true do local m = HandleGetMessage() seen = (seen or '') .. m.name end");
    for (const char* name : {"a", "b", "c"}) {
        EXPECT_TRUE(script->QueueMessage(new TMessage(TMessage::kGeneric, name, nullptr), nullptr));
        EXPECT_EQ(script->GetWaitState(), TWindowScript::kWaitingForMessage);
    }
    EXPECT_EQ(Eval("seen"), "abc");
}

TEST_F(WindowScriptQueueTest, ACallMadeWhileWaitingRunsInsideTheWait) {
    StartCoroutine(
        "while true do local m, c = HandleGetMessage() "
        "  if c then handed = (handed or 0) + 1 c() end if m then got = m.name break end end");
    ASSERT_EQ(script->DoLuaString("ran = true"), 0);
    EXPECT_EQ(Eval("tostring(ran) .. handed"), "true1");
    EXPECT_EQ(script->GetWaitState(), TWindowScript::kWaitingForMessage);
    EXPECT_TRUE(script->QueueMessage(new TMessage(TMessage::kGeneric, "after", nullptr), nullptr));
    EXPECT_EQ(Eval("got"), "after");
}

TEST_F(WindowScriptQueueTest, AModalDialogIsBuiltClosedAndAnnouncedToTheScript) {
    ASSERT_EQ(Run("function WaitForMessage() "
                  "  if table.getn(gMessageQueue) > 0 then return table.remove(gMessageQueue) end "
                  "  local m, c = HandleGetMessage() if c then gYieldResult = c() end return m end"),
              "");
    StartCoroutine(
        "local id = PushModal('dialog') "
        "GenericCreate{ typename = 'Window', name = 'panel', w = 100, h = 50 } PopWindow() "
        "DoFitToChildren() PostMessage(CreateCloseMessage()) "
        "repeat m = WaitForMessage() until m and m.type == 6 and m.name == id "
        "closed = GetWindowDepth()");
    ASSERT_EQ(manager->GetModalStack().size(), 2u);
    EXPECT_EQ(manager->GetTopModal()->GetWidth(), 800);
    // Delivers the close message, then the deleted modal's kModalClosed.
    for (int event = 0; event < 3; ++event) manager->HandleEvent(Event(TPlatformEvent::kIdle));
    EXPECT_EQ(Eval("closed"), "1");
    EXPECT_FALSE(script->IsYielded());
    EXPECT_EQ(script->GetCurrentWindow(), root);
}

TEST_F(WindowScriptQueueTest, PostedScriptMessagesComeBackThroughTheQueue) {
    Dialog();
    ASSERT_EQ(Run("PostMessage(CreateNamedMessage(1001, 'posted')) PostMessage('no message')"), "");
    EXPECT_EQ(manager->GetQueuedCount(), 1u);
    manager->DeliverMessages();
    EXPECT_EQ(Eval("gMessageQueue[1].name .. gMessageQueue[1].type"), "posted1001");
}

TEST_F(WindowScriptQueueTest, MessagesPostedToTheParentReachTheModalBelow) {
    auto* below = new Recording<TModalWindow>("below", &journal);
    manager->PushModal(below);
    Dialog();
    ASSERT_EQ(Run("PostMessageToParent(CreateNamedMessage(1002, 'up'))"), "");
    journal.entries.clear();
    manager->DeliverMessages();
    EXPECT_EQ(journal.Joined(), "below:msg1002:up");
}

TEST_F(WindowScriptQueueTest, AWaitTimesOutOnTheTaskClock) {
    struct Case {
        const char* timeout;
        int32_t wakesAfter;  // -1: never
    };
    const Case cases[] = {
        {"100", 100}, {"-5", 0}, {"0/0", 0}, {"1e300", -1}, {"", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.timeout);
        ASSERT_EQ(Run("woken = nil"), "");
        StartCoroutine(std::string("local m = HandleGetMessage(") + c.timeout + ") woken = (m == nil)");
        if (c.wakesAfter > 0) {
            timer.Advance(c.wakesAfter - 1);
            frame.tasks.RunAll(0);
            EXPECT_EQ(Eval("woken"), "nil");
            timer.Advance(1);
        } else if (c.wakesAfter < 0) {
            timer.Advance(100000000);
        }
        frame.tasks.RunAll(0);
        EXPECT_EQ(Eval("woken"), c.wakesAfter >= 0 ? "true" : "nil");
        // Ends a wait that did not time out.
        script->QueueMessage(nullptr, nullptr);
        EXPECT_FALSE(script->IsYielded());
    }
}

}  // namespace
