// The platform facade built whole: start-up settings, data roots and string
// tables, the settings hook, the display mode, the services it gives the
// game state, the movie windows and the window script, and its teardown.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/app/gamestate.h"
#include "core/app/gamestatehandler.h"
#include "foundation/task.h"
#include "runtime/platform.h"
#include "runtime/platformdata.h"
#include "core/windows/platformlink.h"
#include "core/windows/screen.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowscript.h"
#include "foundation/assetmanager.h"
#include "foundation/debuglog.h"
#include "foundation/file.h"
#include "foundation/settings.h"
#include "foundation/stringtable.h"
#include "foundation/virtualfiles.h"
#include "scriptedsprites/animationhost.h"
#include "graphics/display/dxdisplayhandler.h"
#include "graphics/render/renderer.h"
#include "graphics/text/qmminivecdraw.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "platform/display/gldevice.h"
#include "platform/display/recordingdevice.h"
#include "platform/flash/fakeplayer.h"
#include "platform/host/recordreader.h"
#include "platform/os/timer.h"
#include "platform/window/scriptedwindow.h"
#include "platform/window/sdlwindow.h"
#include "sound/soundmanager.h"
#include "tests/support/tempfolder.h"
#include "facadetesting.h"

namespace {

std::string Row(const std::string& label, const std::string& text) {
    return "<Row><Cell><Data ss:Type=\"String\">" + label + "</Data></Cell><Cell><Data ss:Type=\"String\">" + text +
           "</Data></Cell></Row>\n";
}

std::string Sheet(const std::string& rows) {
    return "<?xml version=\"1.0\"?>\n<Workbook><Worksheet><Table>\n" + rows + "</Table></Worksheet></Workbook>\n";
}

class FacadeTest : public FacadeFixture {};

// Defaults, then "::assets/settings.xml", then what the command line's
// "options=" sets later.
TEST_F(FacadeTest, MemoryLimitsFromDefaultsThenSettingsFileThenLaterSettings) {
    struct Case {
        const char* name;
        const char* fileValue;  // null: no settings.xml
        const char* laterValue;  // null: nothing set afterwards
        const char* expected;
    };
    const Case cases[] = {
        {"no settings.xml", nullptr, nullptr, "100000000"},
        {"settings.xml without the key", "", nullptr, "100000000"},
        {"settings.xml replaces the default", "5000", nullptr, "5000"},
        {"a later setting replaces the file", "5000", "7000", "7000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(mTemp / "assets/settings.xml");
        if (c.fileValue) {
            std::string body = *c.fileValue ? std::string("<memorymax>") + c.fileValue + "</memorymax>" : "";
            mTemp.Write("assets/settings.xml", "<settings>" + body + "<vsync>1</vsync></settings>");
        }
        Build();
        if (c.laterValue) SetSetting("memorymax", c.laterValue);
        EXPECT_STREQ(GetSetting("memorymax", "").c_str(), c.expected);
        EXPECT_STREQ(GetSetting("texturememorymax", "").c_str(), "100000000");
        EXPECT_STREQ(GetSetting(kSettingVsync, "").c_str(), c.fileValue ? "1" : "");
        mPlatform.reset();
    }
}

// What the reader got before the document broke off is kept; the rest keeps
// its defaults and start-up goes on.
// The display is made after settings.xml was read and still follows it.
TEST_F(FacadeTest, RenderHintsOfTheSettingsFileReachTheDisplay) {
    mTemp.Write("assets/settings.xml", "<settings><hint_antialias>1</hint_antialias><new_subtractive>1</new_subtractive>"
                                       "<vsync>1</vsync></settings>");
    Build();
    EXPECT_EQ(mDevice->Count("SetVSync"), 0);
    mPlatform->SetDisplay(800, 600, false);
    const std::vector<std::string>& calls = mDevice->GetCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "SetVSync(1)"), calls.end()) << "the wish is kept for the device";
    const TDxDisplayState& state = TDxDisplayHandler::GetInstance()->GetState();
    EXPECT_TRUE(state.hintAntialias);
    EXPECT_TRUE(state.newSubtractive);
    EXPECT_FALSE(state.newRenderBlend);
    SetSetting("new_render_blend", "1");
    EXPECT_TRUE(state.newRenderBlend);
}

TEST_F(FacadeTest, ATruncatedSettingsFileKeepsWhatWasReadAndTheDefaults) {
    mTemp.Write("assets/strings.xml", Sheet(Row("title", "Base")));
    mTemp.Write("assets/settings.xml", "<settings><vsync>1</vsync><memorymax>12</memo");
    TPlatform& platform = Build();
    EXPECT_STREQ(GetSetting(kSettingVsync, "").c_str(), "1");
    EXPECT_STREQ(GetSetting("texturememorymax", "").c_str(), "100000000");
    EXPECT_STREQ(platform.GetStringTable()->GetString("title").c_str(), "Base");
}

// "utf8modeinit" keeps "utf8mode" as it was before settings.xml was read.
TEST_F(FacadeTest, Utf8ModeInitCopiesTheModeBeforeTheSettingsFile) {
    mTemp.Write("assets/settings.xml", "<settings><utf8mode>1</utf8mode></settings>");
    Build();
    EXPECT_STREQ(GetSetting("utf8modeinit", "unset").c_str(), "");
    EXPECT_STREQ(GetSetting(kSettingUtf8Mode, "").c_str(), "1");
    mPlatform.reset();

    SetSetting(kSettingUtf8Mode, "0");
    Build();
    EXPECT_STREQ(GetSetting("utf8modeinit", "unset").c_str(), "0");
}

TEST_F(FacadeTest, StartUpStoresTheIdentityAndTheComputerId) {
    SetLogFolder((mTemp / "log").c_str());
    Build();
    EXPECT_STREQ(GetSetting(kSettingBuildTag, "").c_str(), "vdm");
    EXPECT_STREQ(GetSetting(kSettingGameName, "").c_str(), "Vandermoot");
    EXPECT_STREQ(GetSetting(kSettingVersion, "").c_str(), "1.2.3.4");
    EXPECT_EQ(GetSetting(kSettingComputerId, "").Length(), 16);
    EXPECT_NE(mTemp.Read("log/logfile.txt").find("Vandermoot, version 1.2.3.4."), std::string::npos);
}

// The file index is built after settings.xml, so the file picks the manifest.
TEST_F(FacadeTest, TheSettingsFileChoosesTheManifestOfTheFileIndex) {
    mTemp.Write("assets/a.txt", "a");
    mTemp.Write("assets/b.txt", "b");
    mTemp.Write("final.txt", "b.txt");
    mTemp.Write("firstpeek.txt", "a.txt");
    Build();
    EXPECT_TRUE(FileExists("a.txt"));
    EXPECT_FALSE(FileExists("b.txt"));
    mPlatform.reset();

    mTemp.Write("assets/settings.xml", "<settings><firstpeek>1</firstpeek></settings>");
    Build();
    EXPECT_FALSE(FileExists("a.txt"));
    EXPECT_TRUE(FileExists("b.txt"));
}

TEST_F(FacadeTest, StringTablesLoadStringsXmlThenUserThenCommonFiles) {
    mTemp.Write("assets/strings.xml", Sheet(Row("title", "Base") + Row("shared", "base")));
    mTemp.Write("user/strings_extra.xml", Sheet(Row("extra", "User") + Row("shared", "user")));
    mTemp.Write("user/mystrings.xml", Sheet(Row("mine", "Mine")));
    mTemp.Write("user/strings.txt", Sheet(Row("text", "Text")));
    mTemp.Write("common/stringsmore.xml", Sheet(Row("shared", "common")));
    TPlatform& platform = Build();
    const TStringTable& table = *platform.GetStringTable();
    EXPECT_STREQ(table.GetString("title").c_str(), "Base");
    EXPECT_STREQ(table.GetString("extra").c_str(), "User");
    EXPECT_STREQ(table.GetString("mine").c_str(), "#####");
    EXPECT_STREQ(table.GetString("text").c_str(), "#####");
    EXPECT_STREQ(table.GetString("shared").c_str(), "common");
    EXPECT_TRUE(platform.GetWindowManager()->IsUtf8Mode());
}

TEST_F(FacadeTest, WithoutStringsXmlLabelsShowAsWritten) {
    mTemp.Write("user/strings_extra.xml", Sheet(Row("extra", "User")));
    TPlatform& platform = Build();
    EXPECT_FALSE(platform.GetWindowManager()->IsUtf8Mode());
    EXPECT_STREQ(platform.GetStringTable()->GetString("extra").c_str(), "User");
}

TEST_F(FacadeTest, AnUnreadableUserFolderAddsNoTables) {
    mTemp.Write("assets/strings.xml", Sheet(Row("title", "Base")));
    TPlatformSetup setup = MakeSetup();
    setup.userFolder = (mTemp / "missing").c_str();
    TPlatform& platform = Build(setup);
    EXPECT_STREQ(platform.GetStringTable()->GetString("title").c_str(), "Base");
}

// Bad scales would later divide by nothing: the previous scale stays.
TEST_F(FacadeTest, ViewportScaleKeepsThePreviousScaleForBadValues) {
    struct Case {
        const char* value;
        float expected;
    };
    const Case cases[] = {
        {"2", 2.0f}, {"0.5", 0.5f}, {"0", 0.5f},   {"-1", 0.5f},  {"abc", 0.5f},
        {"", 0.5f},  {"nan", 0.5f}, {"inf", 0.5f}, {"1.25", 1.25f},
    };
    TPlatformSetup embedded = MakeSetup("-wnd=0");
    embedded.embedded = true;
    TPlatformData& data = Build(embedded).GetData();
    for (const Case& c : cases) {
        SetSetting("viewportscale", c.value);
        EXPECT_FLOAT_EQ(data.GetViewScale(), c.expected) << c.value;
    }
    mPlatform->SetDisplay(640, 480, false);
    EXPECT_FLOAT_EQ(data.GetViewScale(), 1.25f) << "a display set-up keeps the setting's scale";
    mPlatform.reset();

    SetSetting("viewportscale", "2");
    EXPECT_FLOAT_EQ(Build().GetData().GetViewScale(), 1.0f) << "applies only while embedded";
    SetSetting("viewportscale", "3");
    EXPECT_FLOAT_EQ(mPlatform->GetData().GetViewScale(), 1.0f);
}

TEST_F(FacadeTest, SetDisplayMakesTheRootScreenAndSetsTheMode) {
    TPlatform& platform = Build();
    TWindowManager& manager = *platform.GetWindowManager();
    platform.SetDisplay(0, 600, false);
    platform.SetDisplay(800, -1, false);
    EXPECT_EQ(manager.GetRootWindow(), nullptr);
    EXPECT_EQ(mDevice->Count("CreateScreen"), 0);
    EXPECT_EQ(TQmMiniVecDraw::GetInstance(), nullptr);

    platform.SetDisplay(800, 600, false);
    TQmMiniVecDraw* shapes = TQmMiniVecDraw::GetInstance();
    EXPECT_NE(shapes, nullptr) << "made with the first display";
    TWindow* root = manager.GetRootWindow();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetRect(), TRect(0, 0, 800, 600));
    EXPECT_EQ(mDevice->Count("CreateScreen"), 1);
    EXPECT_TRUE(platform.IsDisplayReady());
    EXPECT_EQ(TRenderer::GetInstance()->GetViewRect(), TRect(0, 0, 800, 600));

    platform.SetDisplay(640, 480, false);
    EXPECT_EQ(manager.GetRootWindow(), root) << "the root screen is made once";
    EXPECT_EQ(TQmMiniVecDraw::GetInstance(), shapes);
    EXPECT_EQ(root->GetRect(), TRect(0, 0, 640, 480));
    EXPECT_EQ(TRenderer::GetInstance()->GetViewRect(), TRect(0, 0, 640, 480));
    EXPECT_NE(platform.CreateTextureData(), nullptr);
    mPlatform.reset();
    EXPECT_EQ(TQmMiniVecDraw::GetInstance(), nullptr);
}

// A portal hears the full-screen wish and the display stays windowed.
TEST_F(FacadeTest, PortalHostedDisplaysStayWindowedAndTellTheHost) {
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
    TPlatformSetup portal = MakeSetup("-wnd=1 -pq=1");
    portal.embedded = true;
    portal.externalParent = ends[0];
    TPlatform& platform = Build(portal);
    EXPECT_NE(platform.GetHostChannel(), nullptr);
    EXPECT_EQ(platform.GetHostWindow(), ends[0]);
    platform.SetDisplay(800, 600, true);
    EXPECT_TRUE(platform.IsFullScreen());
    EXPECT_TRUE(platform.IsDisplayReady());
    EXPECT_FALSE(TDxDisplayHandler::GetInstance()->IsFullScreen());

    uint8_t wire[host::kRecordSize];
    ASSERT_EQ(read(ends[1], wire, sizeof wire), ssize_t(sizeof wire));
    host::RecordReader reader;
    reader.Feed(wire, sizeof wire);
    host::Record record;
    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(record, (host::Record{host::kUserMessage, 1, 0}));
    mPlatform.reset();
    close(ends[1]);
}

TEST_F(FacadeTest, SettingChangesReachTheDisplayAndLeaveTheLog) {
    SetLogFolder((mTemp / "log").c_str());
    TPlatform& platform = Build();
    platform.SetDisplay(800, 600, false);
    int vsyncCalls = mDevice->Count("SetVSync");
    SetSetting(kSettingVsync, "1");
    EXPECT_EQ(mDevice->Count("SetVSync"), vsyncCalls + 1);

    TString log = GetLogPath();
    SetSetting("memorymax", "123");
    EXPECT_STREQ(GetLogPath().c_str(), log.c_str());
    DebugLog("after the memory limit");
    EXPECT_NE(mTemp.Read("log/logfile.txt").find("after the memory limit"), std::string::npos);
}

TEST_F(FacadeTest, OutOfVideoMemorySwitchesTheDisplayToLowMemoryVideo) {
    TPlatform& platform = Build();
    platform.OutOfVideoMemory();
    EXPECT_FALSE(TDxDisplayHandler::GetInstance()->IsLowMemoryVideo()) << "no display yet";
    platform.SetDisplay(800, 600, false);
    platform.OutOfVideoMemory();
    EXPECT_TRUE(TDxDisplayHandler::GetInstance()->IsLowMemoryVideo());
    EXPECT_NE(mTemp.Read("common/display.xml"), "");
}

class CountingTask : public TAnimTask {
public:
    bool Animate() override { return true; }
};

// Tasks without a clock leave out the start and the host's pauses.
TEST_F(FacadeTest, TasksWithoutAClockReadThePlatformTimer) {
    os::FakeTimer timer(50000);
    os::SetCurrentTimer(&timer);
    TPlatform& platform = Build();
    timer.Advance(250);
    CountingTask task;
    EXPECT_EQ(task.Now(), 250);
    EXPECT_EQ(static_cast<uint32_t>(task.Now()), platform.Timer());
    mPlatform.reset();
    EXPECT_EQ(task.Now(), 50250);
    os::SetCurrentTimer(nullptr);
}

class RecordingTask : public TTask {
public:
    using TCheck = std::function<void()>;
    explicit RecordingTask(TCheck onDelete) : mOnDelete(std::move(onDelete)) {}
    ~RecordingTask() override { mOnDelete(); }
    bool DoTask() override { return true; }

private:
    TCheck mOnDelete;
};

std::vector<std::string>& TeardownSteps() {
    static std::vector<std::string> steps;
    return steps;
}

// Asks the engine for the game state and the platform while it goes.
class ProbingHandler : public TGameStateHandler {
public:
    ~ProbingHandler() override {
        TeardownSteps().push_back("handler");
        EXPECT_EQ(TPlatform::GetInstance(), nullptr);
        EXPECT_EQ(GetAnimationHost(), nullptr);
        EXPECT_EQ(GetSoundManager(), nullptr);
        EXPECT_NE(GetAssetManager(), nullptr);
        if (TGameState* state = TGameState::Get()) state->SetState("late", "1");
    }
    bool HandleSetState(const char*, const char*) override { return false; }
};

// Notes whether the window manager still lived when the movie closed.
class ProbingPlayer : public flash::FakePlayer {
public:
    void Close() override {
        TeardownSteps().push_back(TWindowManager::GetInstance() ? "movie closed" : "movie closed late");
        FakePlayer::Close();
    }
};

TEST_F(FacadeTest, TearsDownInOrderWithAKeptMovieAndAProbingHandler) {
    TeardownSteps().clear();
    mTemp.Write("assets/intro.swf", "movie");
    mPlayers = [] { return std::make_unique<ProbingPlayer>(); };
    TPlatform& platform = Build();
    platform.SetDisplay(800, 600, false);
    ASSERT_TRUE(RunScript("assert(StartMovie('intro.swf', false, false))"));
    ASSERT_TRUE(platform.StartSound());
    TGameState::Get()->SetState("key", "value");
    TGameState::AddHandler(new ProbingHandler);
    platform.AddTask(new RecordingTask([] {
        TeardownSteps().push_back("platform task");
        EXPECT_EQ(TWindowManager::GetInstance(), nullptr);
        EXPECT_NE(GetAnimationHost(), nullptr) << "sprites may still remove their tasks";
        EXPECT_NE(GetSoundManager(), nullptr);
    }));
    platform.AddRestoreTask(new RecordingTask([] {
        TeardownSteps().push_back("restore task");
        EXPECT_EQ(GetAssetManager(), nullptr);
        EXPECT_EQ(GetGameStateServices(), nullptr);
        EXPECT_STREQ(GetSetting("memorymax", "none").c_str(), "none");
        TString name;
        EXPECT_FALSE(FindVirtualFile("", name, true));
    }));

    mPlatform.reset();
    EXPECT_EQ(TeardownSteps(),
              (std::vector<std::string>{"movie closed", "platform task", "handler", "restore task"}));
    EXPECT_EQ(TGameState::Current(), nullptr);
    EXPECT_EQ(GetPlatformLink(), nullptr);
}

class FlagHandler : public TGameStateHandler {
public:
    explicit FlagHandler(bool& deleted) : mDeleted(deleted) {}
    ~FlagHandler() override { mDeleted = true; }
    bool HandleSetState(const char*, const char*) override { return false; }

private:
    bool& mDeleted;
};

TEST_F(FacadeTest, HandlersAddedBeforeAnyGameStateGoWithTheFacade) {
    bool deleted = false;
    Build();
    TGameState::AddHandler(new FlagHandler(deleted));
    ASSERT_EQ(TGameState::Current(), nullptr);
    mPlatform.reset();
    EXPECT_TRUE(deleted);
    EXPECT_EQ(TGameState::Current(), nullptr);
}

// Whole facades one after another in one process, each run idling through
// its window manager until frames were presented.
TEST_F(FacadeTest, TwoFacadesInARowStartFromNothing) {
    std::vector<uint32_t> draws;
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        EXPECT_STREQ(GetSetting("left", "none").c_str(), "none");
        TString name;
        EXPECT_FALSE(FindVirtualFile("", name, true));
        mTemp.Write("assets/data.txt", "data");

        std::srand(7);
        TPlatform& platform = Build();
        EXPECT_EQ(TPlatform::GetInstance(), &platform);
        EXPECT_EQ(GetPlatformLink(), &platform);
        EXPECT_EQ(GetAnimationHost(), &platform);
        EXPECT_EQ(TGameState::Current(), nullptr);
        EXPECT_TRUE(FindVirtualFile("", name, true));
        draws.push_back(platform.Rand());

        platform.OpenWindow();
        platform.SetDisplay(800, 600, false);
        TWindowManager& manager = *platform.GetWindowManager();
        for (int tick = 0; tick < 2000 && mDevice->Count("Present") < 3; ++tick) {
            TPlatformEvent event;
            platform.GetEvent(event);
            manager.HandleEvent(event);
            if (event.type != TPlatformEvent::kIdle) continue;
            // As an animation would, every tick.
            manager.Invalidate();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_GE(mDevice->Count("Present"), 3);
        SetSetting("left", "behind");
        TGameState::Get()->SetState("run", "1");
        mPlatform.reset();
        EXPECT_EQ(TPlatform::GetInstance(), nullptr);
    }
    EXPECT_EQ(draws[0], draws[1]) << "the generator is seeded from the C generator";
}

// The driver's set-up: the SDL window and the OpenGL device, offscreen.
TEST_F(FacadeTest, DrawsFramesOnTheSdlWindowWithOpenGl) {
    auto device = std::make_unique<display::GlDevice>();
    display::GlDevice& gl = *device;
    TPlatform& platform = Build(MakeSetup(), std::make_unique<window::SdlWindow>(), std::move(device));
    platform.OpenWindow();
    platform.SetDisplay(800, 600, false);
    ASSERT_TRUE(platform.IsDisplayReady());
    ASSERT_NE(TQmMiniVecDraw::GetInstance(), nullptr);
    EXPECT_NE(TQmMiniVecDraw::GetInstance()->GetPixelOffsets(), TQmMiniVecDraw::TPixelOffsets{})
        << "the self-test chose the offsets";
    EXPECT_EQ(TQmMiniVecDraw::GetInstance()->GetBatchVertices(), TQmMiniVecDraw::kBatchVertices);
    TWindowManager& manager = *platform.GetWindowManager();
    static_cast<TScreen*>(manager.GetRootWindow())->SetClearColor(TColor4f(0, 1, 0, 1));
    for (int tick = 0; tick < 2000 && manager.IsInvalid(); ++tick) {
        TPlatformEvent event;
        platform.GetEvent(event);
        manager.HandleEvent(event);
        // An offscreen window never has the focus: frames come 200 ms apart.
        if (event.type == TPlatformEvent::kIdle) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_FALSE(manager.IsInvalid()) << "a frame was drawn";
    uint32_t pixel = 0;
    ASSERT_EQ(gl.ReadPixels(display::kBackBuffer, {10, 10, 11, 11}, &pixel), display::Result::Ok);
    EXPECT_EQ(pixel & 0xFFFFFF, 0x00FF00u);
}

class CountingRestoreTask : public TTask {
public:
    bool DoTask() override {
        ++runs;
        return true;
    }
    int runs = 0;
};

TEST_F(FacadeTest, TheDisplayHostAnswersFromThePlatform) {
    TPlatformSetup axtest = MakeSetup("--axtest");
    axtest.embedded = axtest.axtest = true;
    Build(axtest);
    EXPECT_FALSE(TDxDisplayHandler::GetInstance()->GetHost().IsEmbedded()) << "the game's own window is the parent";
    mPlatform.reset();

    TPlatformSetup embedded = MakeSetup("-wnd=5");
    embedded.embedded = true;
    TPlatform& platform = Build(embedded);
    TDisplayHost& host = TDxDisplayHandler::GetInstance()->GetHost();
    EXPECT_TRUE(host.IsEmbedded());
    EXPECT_FALSE(host.IsHosted());
    EXPECT_FALSE(host.HasExternalParent());
    EXPECT_EQ(host.GetGameWindow(), nullptr);

    host.SetDisplayChanged();
    TPlatformEvent event;
    platform.GetEvent(event);
    EXPECT_EQ(event.type, TPlatformEvent::kDisplayNotice);

    EXPECT_FALSE(host.IsFrozen());
    platform.GetWindowManager()->SetMovieShown(true);
    EXPECT_TRUE(host.IsFrozen());

    auto* task = new CountingRestoreTask;
    host.AddRestoreTask(task);
    host.RunRestoreTasks();
    EXPECT_EQ(task->runs, 1);
    ASSERT_TRUE(host.RemoveRestoreTask(task));
    delete task;

    const uint32_t pixels[4] = {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000};
    host.SetColorCursor(pixels, 2, 2, 1, 0);
    EXPECT_EQ(mWindow->cursorPixels, std::vector<uint32_t>(pixels, pixels + 4));
    EXPECT_EQ(mWindow->cursorHotX, 1);

    // Focus lost: the display counts the application inactive.
    EXPECT_TRUE(host.IsActivationGateOpen());
    window::NativeEvent lost;
    lost.kind = window::EventKind::kFocusLost;
    mWindow->Queue(lost);
    platform.GetEvent(event);
    EXPECT_FALSE(host.IsActivationGateOpen());
}

TEST_F(FacadeTest, GivesTheGameStateItsServices) {
    TPlatform& platform = Build(MakeSetup("game -pq=7"));
    EXPECT_EQ(GetGameStateServices(), &platform);
    EXPECT_TRUE(platform.IsHostedMode());
    EXPECT_EQ(platform.GetHostChannel(), nullptr);
    EXPECT_EQ(platform.GetHostWindow(), host::kNoWindow);
    EXPECT_EQ(platform.GetSoundManager(), nullptr);

    lua_State* L = ScriptState();
    lua_pushstring(L, "GetState");
    lua_gettable(L, LUA_GLOBALSINDEX);
    EXPECT_FALSE(lua_isfunction(L, -1));
    lua_settop(L, 0);
    ASSERT_NE(TGameState::Get(), nullptr);
    EXPECT_TRUE(RunScript("assert(type(GetState) == 'function')"));
}

TEST_F(FacadeTest, MoviesBlockTheMouseAndHideTheSystemCursor) {
    TPlatform& platform = Build();
    platform.SetMouseBlocked(true);
    window::NativeEvent press;
    press.kind = window::EventKind::kButtonDown;
    press.button = window::Button::kLeft;
    window::NativeEvent key;
    key.kind = window::EventKind::kKeyDown;
    key.key = 'A';
    mWindow->Queue(press);
    mWindow->Queue(key);
    TPlatformEvent event;
    platform.GetEvent(event);
    EXPECT_EQ(event.type, TPlatformEvent::kNothing);
    platform.GetEvent(event);
    EXPECT_EQ(event.type, TPlatformEvent::kKeyDown);
    platform.SetMouseBlocked(false);
    mWindow->Queue(press);
    platform.GetEvent(event);
    EXPECT_EQ(event.type, TPlatformEvent::kMouseDown);

    EXPECT_TRUE(platform.IsSystemCursorShown());
    platform.ShowSystemCursor(false);
    EXPECT_FALSE(platform.IsSystemCursorShown());
    platform.FocusGameWindow();
    EXPECT_EQ(mWindow->focusRequests, 1);
}

}  // namespace
