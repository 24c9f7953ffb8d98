#include "core/windows/screenlibrary.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/windows/imagelink.h"
#include "core/windows/windowstyle.h"
#include "foundation/virtualfiles.h"
#include "tests/support/tempfolder.h"
#include "windowscripttesting.h"

namespace {

// The image window of splash screens: "missing" is an image that does not load.
class FakeBitmap : public TWindow, public TImageLink {
public:
    static TWindow* Create() { return new FakeBitmap(); }
    void Init(const TWindowStyle& style) override {
        TWindow::Init(style);
        image = style.GetString("image", TString()).c_str();
    }
    void SetImage(const TString& name, float) override { image = name.c_str(); }
    bool HasTexture() const override { return image != "missing"; }

    std::string image;
};

// Names of the window's children, front first.
std::string Children(const TWindow* window) {
    std::string names;
    for (const TWindow* child : window->GetChildren()) {
        names += std::string(names.empty() ? "" : " ") + child->GetName().c_str();
    }
    return names;
}

// A dialog of two windows, one of them holding a third, reaching past the
// 800x600 screen.
const char kDialogFile[] =
    "MakeDialog{ "
    "  Window{ name = 'panel', x = 10, y = 20, w = 890, h = 100, Window{ name = 'inner', w = 50, h = 30 } }, "
    "  Window{ name = 'tall', x = 300, y = 40, w = 80, h = 660 }, "
    "}";

class ScreenLibraryTest : public WindowScriptFixture {
protected:
    void SetUp() override {
        WindowScriptFixture::SetUp();
        script->RegisterWindowType("Bitmap", &FakeBitmap::Create);
        AddFile("scripts/dialog.lua", kDialogFile);
    }
    void TearDown() override {
        for (const auto& file : files) RegisterMemoryFile(file.first.c_str(), nullptr, 0);
        WindowScriptFixture::TearDown();
    }

    // An asset file, "assets/" + name to the script.
    void AddFile(const std::string& name, const std::string& text) {
        std::string& stored = files[name];
        stored = text;
        RegisterMemoryFile(name.c_str(), stored.data(), stored.size());
    }
    // Both clocks, the script's and the task list's, move on; the tasks run.
    void Advance(uint32_t milliseconds) {
        timer.Advance(milliseconds);
        services.now += milliseconds;
        frame.tasks.RunAll(0);
    }
    // Idle ticks: messages are delivered, popped modals deleted.
    void Idle(int ticks = 3) {
        for (int i = 0; i < ticks; ++i) manager->HandleEvent(Event(TPlatformEvent::kIdle));
    }
    void Post(int32_t type, const char* name) { script->QueueMessage(new TMessage(type, name, nullptr), nullptr); }
    std::string TopModalName() { return manager->GetTopModal()->GetName().c_str(); }

    std::map<std::string, std::string> files;
};

// --- The library itself ---

TEST_F(ScreenLibraryTest, EveryGlobalHasItsValue) {
    ASSERT_EQ(Run("function Describe(v) "
                  "  if type(v) == 'function' then return 'function' end "
                  "  if type(v) == 'table' then if next(v) == nil then return '{}' end return 'table' end "
                  "  return type(v) .. ':' .. tostring(v) end"),
              "");
    struct Global {
        const char* name;
        const char* value;
    };
    const Global globals[] = {
        {"LUA_PATH", "string:?;../?;../../?"},
        {"kHAlignLeft", "number:0"}, {"kHAlignCenter", "number:1"}, {"kHAlignRight", "number:2"},
        {"kVAlignTop", "number:0"}, {"kVAlignCenter", "number:4"}, {"kVAlignBottom", "number:8"},
        {"kPush", "number:0"}, {"kToggle", "number:1"}, {"kRadio", "number:2"}, {"kAllLayers", "number:-1"},
        {"kCenter", "number:80000"}, {"kMax", "number:160000"}, {"kDefault", "number:128"},
        {"kPushButtonAlignment", "number:5"}, {"kRadioButtonAlignment", "number:4"},
        {"kToggleButtonAlignment", "number:5"},
        {"kGeneric", "number:0"}, {"kCloseWindow", "number:1"}, {"kDefaultAction", "number:2"},
        {"kButtonPress", "number:3"}, {"kPressAnyKey", "number:4"}, {"kQuitNow", "number:5"},
        {"kModalClosed", "number:6"}, {"kTextEditChanged", "number:7"}, {"kCommandOnly", "number:8"},
        {"kSliderValChanged", "number:9"}, {"kSliderMouseUp", "number:10"}, {"kSliderPageUp", "number:11"},
        {"kSliderPageDown", "number:12"}, {"kUserMessageBase", "number:1000"},
        {"kCmdLine", "string:cmdline"}, {"kLevel", "string:level"}, {"kSubLevel", "string:sublevel"},
        {"kPause", "string:pause"}, {"kMute", "string:mute"}, {"kBreakNow", "string:breaknow"},
        {"kScore", "string:score"}, {"kGameMode", "string:gamemode"}, {"kGameOver", "string:gameover"},
        {"kNoMoreContent", "string:nomorecontent"}, {"kDownloadButton", "string:downloadbutton"},
        {"kUpsellFrequency", "string:upsellfrequency"}, {"kRestartButton", "string:restartbutton"},
        {"kSystemMode", "string:systemmode"}, {"kMaxLevel", "string:maxlevel"},
        {"gReturnValue", "nil:nil"},
        {"kCheatMode", "string:cheatmode"}, {"kComputerId", "string:computerid"}, {"kGameName", "string:gamename"},
        {"kGameVersion", "string:version"}, {"kEncryptionKey", "string:encryptionkey"},
        {"kHiscoreLocalOnly", "string:hiscorelocal"}, {"kHiscoreAnonymous", "string:hiscoreanon"},
        {"idtable", "{}"}, {"gParent", "{}"}, {"gCurrentDefaultStyle", "{}"}, {"gCurID", "number:100"},
        {"gBeginGroup", "number:0"}, {"gClosedWindows", "{}"}, {"gCommandQueue", "{}"}, {"gMessageQueue", "{}"},
        {"gDialogTable", "{}"},
        {"Color", "function"}, {"FColor", "function"}, {"Push", "function"}, {"Pop", "function"},
        {"DoWindow", "function"}, {"DoDialogCommand", "function"}, {"MakeDialog", "function"},
        {"Creating", "function"}, {"SetBeginGroup", "function"}, {"BeginGroup", "function"},
        {"GetTag", "function"}, {"SetDefaultStyle", "function"}, {"SetStyle", "function"},
        {"AppendStyle", "function"}, {"SetFocus", "function"}, {"SetDefault", "function"},
        {"DistributeX", "function"}, {"DistributeY", "function"}, {"WaitForCloseMessage", "function"},
        {"DoModal", "function"}, {"DoMainWindow", "function"}, {"ModalReturn", "function"},
        {"DisplaySplash", "function"}, {"FlushMessages", "function"}, {"WaitForMessage", "function"},
        {"Yield", "function"}, {"ReadFile", "function"}, {"CloseWindow", "function"},
        {"CustomCreator", "function"}, {"GetString", "function"}, {"SetBitmap", "function"},
        {"PopModal", "function"}, {"SwapToModal", "function"}, {"DisplayDialog", "function"},
        {"SelectLayer", "function"}, {"Group", "function"}, {"FitToChildren", "function"},
        {"Pause", "function"}, {"SetState", "function"}, {"RegisterHotkey", "function"},
    };
    for (const Global& global : globals) {
        SCOPED_TRACE(global.name);
        EXPECT_EQ(Eval(std::string("Describe(") + global.name + ")"), global.value);
    }
    EXPECT_FALSE(log.Contains("screen library"));
}

TEST_F(ScreenLibraryTest, ItsFunctionsRunUnderTheChunkNameGScreenInit) {
    EXPECT_NE(Run("Color()").find("[string \"gScreenInit\"]"), std::string::npos);
    std::string source(reinterpret_cast<const char*>(kScreenLibraryData), kScreenLibrarySize);
    EXPECT_NE(source.find("function RegisterHotkey"), std::string::npos);
}

// --- Building dialogs ---

TEST_F(ScreenLibraryTest, ColorsAndDistributionsAreTables) {
    ASSERT_EQ(Run("gDialogWidth = 400 gDialogHeight = 300"), "");
    const char* cases[][2] = {
        {"Color(255, 0, 0)", "1 0 0 1"},
        {"Color(0, 51, 255, 102)", "0 0.2 1 0.4"},
        {"FColor(0.5, 0, 1)", "0.5 0 1 1"},
        {"FColor(0, 0, 0, 0.25)", "0 0 0 0.25"},
        {"DistributeX(3)", "100 200 300"},
        {"DistributeY(1)", "150"},
        {"DistributeX(0)", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(Eval(std::string("table.concat(") + c[0] + ", ' ')"), c[1]);
    }
    // DistributeX leaves its working globals; DistributeY does not.
    ASSERT_EQ(Run("x = DistributeX(3) y = DistributeY(2)"), "");
    EXPECT_EQ(Eval("divisor"), "4");
    EXPECT_EQ(Eval("d == x"), "true");
}

TEST_F(ScreenLibraryTest, GetTagLooksThroughTheDefaultStyleAndItsParents) {
    ASSERT_EQ(Run("gCurrentDefaultStyle = { font = 'default', parent = { color = 'red', parent = { size = 3 } } }"),
              "");
    const char* cases[][2] = {
        {"GetTag({ font = 'own' }, 'font')", "own"},
        {"GetTag({}, 'font')", "default"},
        {"GetTag({}, 'color')", "red"},
        {"GetTag({}, 'size')", "3"},
        {"GetTag({ size = false }, 'size')", "3"},
        {"GetTag({}, 'absent')", "nil"},
        {"GetTag({}, 'font', true)", "nil"},
        {"GetTag({ parent = { font = 'up' } }, 'font', true)", "up"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(Eval(c[0]), c[1]);
    }
}

TEST_F(ScreenLibraryTest, GetTagStopsOnACyclicStyleChain) {
    // A style that is its own parent, counting the reads: an endless walk
    // fails here instead of running for ever below.
    ASSERT_EQ(Run("reads = 0 looped = setmetatable({}, { __index = function(t, key) reads = reads + 1 "
                  "  if reads > 1000 then error('endless') end if key == 'parent' then return looped end end }) "
                  "SetDefaultStyle(looped)"),
              "");
    ASSERT_EQ(Eval("GetTag({}, 'absent')"), "nil");
    ASSERT_EQ(Run("s = { own = 1 } SetDefaultStyle({}) AppendStyle(s)() AppendStyle(s)()"), "");
    EXPECT_EQ(Eval("s.parent == s and gCurrentDefaultStyle == s"), "true");
    EXPECT_EQ(Eval("GetTag({}, 'own')"), "1");
    EXPECT_EQ(Eval("GetTag({}, 'absent')"), "nil");
    // 32 tables are read, as window styles do: the description, the default
    // style and 30 of its parents.
    ASSERT_EQ(Run("function Chain(parents) local s = { deep = 'found' } "
                  "  for i = 1, parents do s = { parent = s } end return s end"),
              "");
    EXPECT_EQ(Eval("SetDefaultStyle(Chain(30)) or GetTag({}, 'deep')"), "found");
    EXPECT_EQ(Eval("SetDefaultStyle(Chain(31)) or GetTag({}, 'deep')"), "nil");
}

TEST_F(ScreenLibraryTest, MakeDialogRunsItsEntriesInOrderAndRestoresTheStyle) {
    ASSERT_EQ(Run("PushModal('dialog')"), "");
    TModalWindow* dialog = manager->GetTopModal();
    ASSERT_EQ(Run("function RealSetFocus(name) focused = name end "
                  "outer = gCurrentDefaultStyle styled = { tag = 'styled' } "
                  "a = { name = 'a', w = 10, h = 10 } b = { name = 'b', w = 10, h = 10 } "
                  "MakeDialog{ name = 'renamed', SetStyle(styled), Window(a), "
                  "  function() seen = GetTag({}, 'tag') end, "
                  "  BeginGroup(), Window(b), Group{ Window{ name = 'c', w = 900, h = 5 } }, "
                  "  FitToChildren(), SetDefault(1), SetFocus('b') }"),
              "");
    EXPECT_EQ(dialog->GetName(), "renamed");
    EXPECT_EQ(Children(dialog), "c b a");
    EXPECT_EQ(Eval("seen"), "styled");
    EXPECT_EQ(Eval("a.beginGroup .. b.beginGroup .. gBeginGroup"), "010");
    EXPECT_EQ(Eval("gCurrentDefaultStyle == outer"), "true");
    EXPECT_EQ(Eval("typename"), "nil");
    EXPECT_EQ(dialog->GetWidth(), 900);
    EXPECT_EQ(Eval("focused"), "b");
    EXPECT_EQ(script->GetCurrentWindow(), dialog);
}

TEST_F(ScreenLibraryTest, WrappersFillInLeftOutArguments) {
    ASSERT_EQ(Run("function _SetState(k, v) got = k .. '=' .. v end "
                  "function _GetString(l, a, b, c, d, e) got = table.concat({ l, a, b, c, d, e }, '|') end "
                  "function _SetBitmap(n, i, s) got = n .. ',' .. i .. ',' .. s end "
                  "function _RegisterHotkey(k, b) got = k .. ',' .. b end"),
              "");
    const char* cases[][2] = {
        {"SetState(kMute, true)", "mute=1"},
        {"SetState('x', false)", "x=0"},
        {"SetState(5, 2.5)", "5=2.5"},
        {"GetString('label', 'one')", "label|one||||"},
        {"GetString('label', 1, 2, 3, 4, 5)", "label|1|2|3|4|5"},
        {"SetBitmap('logo', 'images/logo')", "logo,images/logo,1"},
        {"SetBitmap('logo', 'images/logo', 2)", "logo,images/logo,2"},
        {"RegisterHotkey('@o')", "nil"},
        {"RegisterHotkey(nil, 'ok')", "nil"},
        {"RegisterHotkey('@o', 'ok')", "@o,ok"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        ASSERT_EQ(Run(std::string("got = nil ") + c[0]), "");
        EXPECT_EQ(Eval("got"), c[1]);
    }
}

// --- Modal dialogs ---

TEST_F(ScreenLibraryTest, AModalDialogIsBuiltWaitedForAndReturnsItsValue) {
    struct Case {
        const char* call;
        int width;  // DoModal fits the modal to its windows; DisplayDialog does not
    };
    const Case cases[] = {
        {"DoModal('scripts/dialog.lua')", 900},
        {"DisplayDialog{ 'scripts/dialog.lua', extra = 'given' }", 800},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        StartCoroutine(std::string("result = ") + c.call);
        ASSERT_EQ(manager->GetModalStack().size(), 2u);
        TModalWindow* dialog = manager->GetTopModal();
        EXPECT_EQ(TopModalName(), "scripts/dialog.lua");
        EXPECT_EQ(Children(dialog), "tall panel");
        EXPECT_EQ(Children(dialog->FindChildWindow("panel", 1)), "inner");
        EXPECT_EQ(dialog->GetWidth(), c.width);
        EXPECT_EQ(dialog->GetHeight(), c.width == 900 ? 700 : 600);
        EXPECT_EQ(script->GetWaitState(), TWindowScript::kWaitingForMessage);

        // A command the dialog runs while it waits, as a button's would.
        ASSERT_EQ(script->DoLuaString("CloseWindow(7)"), 0);
        EXPECT_EQ(Eval("result"), "nil");
        Idle();
        EXPECT_EQ(manager->GetModalStack().size(), 1u);
        EXPECT_FALSE(script->IsYielded());
        EXPECT_EQ(Eval("result"), "7");
        EXPECT_EQ(Eval("gReturnValue"), "nil");
        EXPECT_EQ(Eval("gLastMessage.type == kModalClosed"), "true");
        ASSERT_EQ(Run("result = nil"), "");
    }
    EXPECT_EQ(Eval("gDialogTable.extra"), "given");
}

TEST_F(ScreenLibraryTest, DisplayDialogWithoutAScriptPushesNothing) {
    ASSERT_EQ(Run("function DebugOut(text) said = text end"), "");
    for (const char* table : {"{}", "{ '' }"}) {
        SCOPED_TRACE(table);
        ASSERT_EQ(Run(std::string("said = nil result = DisplayDialog(") + table + ")"), "");
        EXPECT_EQ(Eval("said"), "DisplayDialog called with empty script; aborting");
        EXPECT_EQ(Eval("result"), "nil");
        EXPECT_EQ(manager->GetModalStack().size(), 1u);
    }
}

TEST_F(ScreenLibraryTest, ADialogFileThatCannotBeLoadedIsReportedAndItsModalPopped) {
    AddFile("scripts/broken.lua", "MakeDialog{ Window{ name = 'a' }");
    const struct {
        const char* call;
        const char* file;
    } cases[] = {
        {"result = DoModal('scripts/missing.lua')", "scripts/missing.lua"},
        {"result = DoModal('scripts/broken.lua')", "scripts/broken.lua"},
        {"result = DisplayDialog{ 'scripts/broken.lua' }", "scripts/broken.lua"},
        {"DoMainWindow('scripts/missing.lua')", "scripts/missing.lua"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        size_t before = log.Count("Lua error: dialog ");
        ASSERT_EQ(Run("result = 'unchanged'"), "");
        StartCoroutine(c.call);
        EXPECT_EQ(log.Count("Lua error: dialog "), before + 1);
        EXPECT_TRUE(log.Contains(std::string("dialog ") + c.file + " cannot be loaded: "));
        EXPECT_TRUE(log.Contains(std::string("assets/") + c.file));
        // The screen below is on top again, and the dialog's wait ends.
        EXPECT_EQ(manager->GetModalStack().size(), 1u);
        Idle();
        EXPECT_FALSE(script->IsYielded());
        EXPECT_EQ(Eval("result"), std::string(c.call).find("result") == 0 ? "nil" : "unchanged");
    }
}

TEST_F(ScreenLibraryTest, ADialogFileThatFailsWhileItRunsKeepsWhatItBuilt) {
    AddFile("scripts/failing.lua", "MakeDialog{ Window{ name = 'built', w = 5, h = 5 } } error('dialog failed')");
    StartCoroutine("result = DoModal('scripts/failing.lua')");
    EXPECT_TRUE(log.Contains("Lua error: "));
    EXPECT_TRUE(log.Contains("dialog failed"));
    ASSERT_EQ(TopModalName(), "scripts/failing.lua");
    EXPECT_EQ(Children(manager->GetTopModal()), "built");
    EXPECT_EQ(script->GetWaitState(), TWindowScript::kWaitingForMessage);
    ASSERT_EQ(script->DoLuaString("CloseWindow(3)"), 0);
    Idle();
    EXPECT_EQ(Eval("result"), "3");
    EXPECT_EQ(manager->GetModalStack().size(), 1u);
}

TEST_F(ScreenLibraryTest, ReadFileHandsBackTheFilesResults) {
    AddFile("data/values.lua", "return 1, nil, 'three'");
    ASSERT_EQ(Run("a, b, c = ReadFile('data/values.lua')"), "");
    EXPECT_EQ(Eval("tostring(a) .. tostring(b) .. tostring(c)"), "1nilthree");
}

TEST_F(ScreenLibraryTest, AnotherDialogsCloseIsRememberedForItsLaterWait) {
    StartCoroutine("WaitForCloseMessage('first') WaitForCloseMessage('second') done = true");
    Post(TMessage::kModalClosed, "second");
    EXPECT_EQ(Eval("gClosedWindows.second"), "true");
    EXPECT_EQ(Eval("done"), "nil");
    // The second wait ends without waiting for any further message.
    Post(TMessage::kModalClosed, "first");
    EXPECT_EQ(Eval("done"), "true");
    EXPECT_FALSE(script->IsYielded());
    EXPECT_EQ(Eval("gClosedWindows.second"), "nil");
}

TEST_F(ScreenLibraryTest, SwapToModalRebuildsTheTopModal) {
    AddFile("scripts/other.lua", "MakeDialog{ Window{ name = 'other', w = 1000, h = 10 } }");
    ASSERT_EQ(Run("PushModal('dialog') ReadFile('scripts/dialog.lua') SwapToModal('scripts/other.lua')"), "");
    Flush();
    EXPECT_EQ(Children(manager->GetTopModal()), "other");
    EXPECT_EQ(manager->GetTopModal()->GetWidth(), 1000);
}

TEST_F(ScreenLibraryTest, AMainWindowRunsUntilItsModalIsGone) {
    StartCoroutine("DoMainWindow('scripts/dialog.lua') done = true");
    EXPECT_EQ(TopModalName(), "scripts/dialog.lua");
    EXPECT_EQ(manager->GetTopModal()->GetWidth(), 900);
    Post(TMessage::kButtonPress, "button");
    EXPECT_EQ(Eval("gLastMessage.name"), "button");
    EXPECT_EQ(Eval("done"), "nil");
    // Checked after each message: the pop's own command ends it.
    ASSERT_EQ(script->DoLuaString("PopModal('scripts/dialog.lua')"), 0);
    EXPECT_EQ(Eval("done"), "true");
}

// --- Waiting ---

TEST_F(ScreenLibraryTest, QueuedMessagesAreTakenNewestFirst) {
    Post(TMessage::kGeneric, "older");
    Post(TMessage::kGeneric, "newer");
    StartCoroutine("first = WaitForMessage().name second = WaitForMessage().name");
    EXPECT_EQ(Eval("first .. ' ' .. second"), "newer older");
    EXPECT_EQ(Eval("message.name"), "older");
    EXPECT_FALSE(script->IsYielded());
}

TEST_F(ScreenLibraryTest, EachWaitRunsOneCommandTheLastQueued) {
    ASSERT_EQ(Run("function Handed() return 'handed' end"), "");
    auto handed = Function("Handed");
    for (bool withCommand : {false, true}) {
        SCOPED_TRACE(withCommand);
        ASSERT_EQ(Run("gCommandQueue = { function() return 'first' end, function() return 'last' end }"), "");
        StartCoroutine("m = WaitForMessage()");
        script->QueueMessage(new TMessage(TMessage::kGeneric, "m", nullptr), withCommand ? handed.get() : nullptr);
        EXPECT_EQ(Eval("m.name"), "m");
        EXPECT_EQ(Eval("gYieldResult"), withCommand ? "handed" : "last");
        EXPECT_EQ(Eval("table.getn(gCommandQueue)"), withCommand ? "2" : "1");
    }
}

TEST_F(ScreenLibraryTest, FlushMessagesDrainsWhatArrivesAndEmptiesTheQueues) {
    ASSERT_EQ(Run("gMessageQueue = { 1 } gCommandQueue = { print }"), "");
    StartCoroutine("FlushMessages() flushed = true");
    Post(TMessage::kGeneric, "arriving");
    EXPECT_EQ(Eval("flushed"), "nil");
    Advance(1);
    EXPECT_EQ(Eval("flushed"), "true");
    EXPECT_EQ(Eval("table.getn(gMessageQueue) + table.getn(gCommandQueue)"), "0");
}

TEST_F(ScreenLibraryTest, PauseEndsOnAKeyWhenAskedAndKeepsTheOtherMessages) {
    struct Case {
        const char* call;
        bool endsOnKey;
        const char* kept;
    };
    const Case cases[] = {
        {"Pause(500, true)", true, "a b"},
        {"Pause(500)", false, "a b raw:A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        ASSERT_EQ(Run("gMessageQueue = {} paused = nil"), "");
        StartCoroutine(std::string(c.call) + " paused = true");
        Post(TMessage::kButtonPress, "a");
        Post(TMessage::kGeneric, "b");
        Post(TMessage::kPressAnyKey, "raw:A");
        if (!c.endsOnKey) {
            Advance(499);
            EXPECT_EQ(Eval("paused"), "nil");
            Advance(1);
        }
        EXPECT_EQ(Eval("paused"), "true");
        EXPECT_EQ(Eval("table.concat({ gMessageQueue[1].name, gMessageQueue[2].name, "
                       "(gMessageQueue[3] or {}).name }, ' ')"),
                  c.kept);
    }
}

TEST_F(ScreenLibraryTest, APauseAcrossTheTimersWrapEnds) {
    services.now = 0xFFFFFF00u;
    StartCoroutine("Pause(500) paused = true");
    Advance(300);  // the script's timer reads 44 now
    Post(TMessage::kGeneric, "midway");
    Advance(199);
    EXPECT_EQ(Eval("paused"), "nil");
    Advance(1);
    EXPECT_EQ(Eval("paused"), "true");
}

// --- The splash screen ---

class SplashTest : public ScreenLibraryTest {
protected:
    // Runs the two 50 ms pauses after the image is shown.
    void ShowImage() {
        Advance(50);
        Advance(50);
    }
    FakeBitmap* Image() {
        return dynamic_cast<FakeBitmap*>(manager->GetTopModal()->FindChildWindow("splashimage", 1));
    }
    bool Popped() {
        Idle();
        return manager->GetModalStack().size() == 1;
    }
};

TEST_F(SplashTest, AnImageShowsForItsDuration) {
    for (uint32_t start : {1000u, 0xFFFFFE00u}) {
        SCOPED_TRACE(start);
        services.now = start;
        StartCoroutine("DisplaySplash(nil, 'images/splash', 1000) done = true");
        EXPECT_EQ(TopModalName(), "DisplaySplash");
        ASSERT_NE(Image(), nullptr);
        EXPECT_EQ(Image()->image, "images/splash");
        ShowImage();
        Advance(900);
        EXPECT_EQ(Eval("done"), "nil");
        Advance(1);
        EXPECT_EQ(Eval("done"), "true");
        EXPECT_TRUE(Popped());
        ASSERT_EQ(Run("done = nil"), "");
    }
}

TEST_F(SplashTest, MessagesEndTheSplashUnlessAbortIsDisabled) {
    struct Case {
        const char* style;
        int32_t type;
        const char* name;
        bool ends;
    };
    const Case cases[] = {
        {"{}", TMessage::kPressAnyKey, "mouse:up", true},
        {"{ disableAbort = true }", TMessage::kPressAnyKey, "mouse:up", false},
        {"{ disableAbort = true }", TMessage::kCloseWindow, "", true},
        {"{}", TMessage::kModalClosed, "elsewhere", false},
        {"{}", TMessage::kButtonPress, "button", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.style) + " " + c.name);
        ASSERT_EQ(Run(std::string("SetDefaultStyle(") + c.style + ") done = nil"), "");
        StartCoroutine("DisplaySplash(nil, 'images/splash', 5000) done = true");
        ShowImage();
        Post(c.type, c.name);
        EXPECT_EQ(Eval("done"), c.ends ? "true" : "nil");
        if (!c.ends) {
            Advance(5000);
            EXPECT_EQ(Eval("done"), "true");
        }
        EXPECT_TRUE(Popped());
    }
    EXPECT_EQ(Eval("gClosedWindows.elsewhere"), "true");
}

TEST_F(SplashTest, TheOverlayOfTheStyleLiesOnTheImage) {
    ASSERT_EQ(Run("SetDefaultStyle{ splashoverlay = Window{ name = 'overlay', w = 10, h = 10 } }"), "");
    StartCoroutine("DisplaySplash(nil, 'images/splash', 100)");
    ASSERT_NE(Image(), nullptr);
    EXPECT_EQ(Children(Image()), "overlay");
}

TEST_F(SplashTest, AnImageThatDoesNotLoadEndsTheSplash) {
    StartCoroutine("DisplaySplash(nil, 'missing', 5000) done = true");
    EXPECT_EQ(Eval("done"), "nil");
    ShowImage();
    EXPECT_EQ(Eval("done"), "true");
    EXPECT_TRUE(Popped());
}

TEST_F(SplashTest, WithoutAnImageTheSplashReturnsAndLeavesItsModal) {
    StartCoroutine("DisplaySplash(nil, nil, 5000) done = true");
    EXPECT_EQ(Eval("done"), "true");
    EXPECT_EQ(TopModalName(), "DisplaySplash");
    EXPECT_EQ(Children(manager->GetTopModal()), "");
}

TEST_F(SplashTest, AMovieShowsUntilItEnds) {
    TempFolder folder;
    folder.Write("intro.swf", "movie");
    StartCoroutine("DisplaySplash('" + (folder / "intro.swf") + "', nil, 100) done = true");
    EXPECT_EQ(services.players, 1);
    EXPECT_EQ(Eval("inMovie"), "true");
    Advance(500);
    EXPECT_EQ(Eval("done"), "nil");
    services.lastPlayer->playing = false;
    Advance(1);
    EXPECT_EQ(Eval("done"), "true");
    EXPECT_EQ(services.players, 0);
    EXPECT_TRUE(Popped());
}

}  // namespace
