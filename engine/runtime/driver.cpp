#include "runtime/driver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/app/dllgamestate.h"
#include "core/app/gamestate.h"
#include "core/app/msnzylomhandler.h"
#include "foundation/task.h"
#include "runtime/commandline.h"
#include "runtime/cursorthread.h"
#include "runtime/driverfolders.h"
#include "runtime/platform.h"
#include "runtime/platformdata.h"
#include "runtime/testharness.h"
#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "graphics/display/dxdisplayhandler.h"
#include "graphics/render/renderer.h"
#include "graphics/text/textlayoutoverlay.h"
#include "platform/display/gldevice.h"
#include "platform/host/socketchannel.h"
#include "platform/os/directory.h"
#include "platform/os/paths.h"
#include "platform/os/programpath.h"
#include "platform/os/singleinstance.h"
#include "platform/os/termination.h"
#include "platform/os/timer.h"
#include "platform/os/version.h"
#include "platform/window/sdlwindow.h"

namespace {

const char* const kDefaultGameName = "Kindlemoor Application";
const char* const kHostLibraryMark = ".qmmod";
const char* const kAssetFolder = "assets";
// The exit code of a run that finds no game to run.
const int kNoAssetsExitCode = 1;

// Brings the window forward when a second start knocked; runs on idle ticks.
class TKnockTask : public TTask {
public:
    TKnockTask(os::SingleInstance& instance, window::Window& window) : mInstance(instance), mWindow(window) {}
    bool Ready(int pass) override { return pass == 0; }
    bool DoTask() override {
        if (mInstance.PollKnock()) mWindow.TakeFocus();
        return true;
    }

private:
    os::SingleInstance& mInstance;
    window::Window& mWindow;
};

// The program's file name, without its folder.
std::string ProgramName(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

void SeedRandom() {
    std::srand((os::TimeMilliseconds() * 8627u) % 104729u);
}

bool IsParentAlive(host::Handle parent) {
    // A channel made with no inbox only looks; it leaves the handle open.
    host::SocketChannel channel(host::kNoWindow);
    return parent != host::kNoWindow && channel.IsAlive(parent);
}

// Game name, version and internal name from the version record and the
// "gamename" setting, whose default is the record's product name.
void ReadVersion(TPlatformSetup& setup) {
    const os::VersionRecord& record = os::ProgramVersion();
    std::string product = record.productName;
    product.erase(0, product.find_first_not_of(" \t\r\n"));
    setup.gameName = GetSetting(kSettingGameName, product.c_str());
    if (setup.gameName.Length() == 0) setup.gameName = kDefaultGameName;
    setup.gameVersion = os::FileVersionText(record).c_str();
    setup.internalName = record.internalName.c_str();
}

void InstallPortals(const TCommandLineSwitches& switches) {
    if (switches.msn) InstallMsnHandler();
    if (switches.zylom) InstallZylomHandler();
}

// Every entry of the working folder's top level whose name holds ".qmmod".
void LoadHostLibraries() {
    const std::string folder = os::WorkingFolder();
    os::DirectoryIterator entries;
    if (!entries.Open(folder)) return;
    std::string name;
    while (entries.Next(name, nullptr)) {
        if (name.find(kHostLibraryMark) == std::string::npos) continue;
        auto* handler = new TDllGameState();
        if (handler->LoadHandlerDll((folder + "/" + name).c_str())) {
            TGameState::AddHandler(handler);
        } else {
            delete handler;
        }
    }
}

// One run of the program, from the command line to the platform's teardown.
class TDriver {
public:
    TDriver(int argc, const char* const* argv, int flags);
    // The exit code.
    int Run(TGameMainFunction gameMain);

private:
    bool AllowsSeveral() const;
    // A line on standard error, after the program's name.
    void Complain(const std::string& text) const;
    // False, with a line on standard error and in the log, when the working
    // folder holds no asset folder.
    bool FindAssetFolder() const;
    // False when another copy runs.
    bool CheckSingleInstance();
    void FillSetup();
    void SetUpFolders();
    void RunGame(TGameMainFunction gameMain);
    void StoreCommandLineSettings();
    void ReportToGameState();

    std::string mProgramName;
    std::vector<std::string> mUnknownArguments;
    TString mCommandLine;
    int mFlags;
    TTestHarness mHarness;
    TCommandLineSwitches mSwitches;
    TProgramFolders mFolders;
    TPlatformSetup mSetup;
    os::SingleInstance mInstance;
};

TDriver::TDriver(int argc, const char* const* argv, int flags)
    : mProgramName(argc > 0 ? ProgramName(argv[0]) : std::string()),
      mUnknownArguments(UnknownArguments(argc, argv)),
      mCommandLine(JoinCommandLine(argc, argv)),
      mFlags(flags) {}

int TDriver::Run(TGameMainFunction gameMain) {
    // The run goes on: switches are found anywhere in the line.
    for (const std::string& argument : mUnknownArguments) {
        Complain("unknown option " + argument + " (--help lists the options)");
    }
    mHarness.Offer(mCommandLine);
    mSwitches = ReadCommandLineSwitches(mCommandLine);
    if (mSwitches.parentGiven && !IsParentAlive(mSwitches.parentWindow)) return -1;
    SeedRandom();
    // Before the window and sound libraries start: they take SIGTERM and
    // SIGINT only when nobody has.
    os::InstallTerminationHandlers();
    ReadProgramFolders(mFolders);
    if (!CheckSingleInstance()) return 0;
    FillSetup();
    InstallPortals(mSwitches);
    SetUpFolders();
    mHarness.LogProblems();
    if (!FindAssetFolder()) return kNoAssetsExitCode;
    RunGame(gameMain);
    return 0;
}

void TDriver::Complain(const std::string& text) const {
    std::fprintf(stderr, "%s: %s\n", mProgramName.c_str(), text.c_str());
}

bool TDriver::FindAssetFolder() const {
    os::DirectoryIterator assets;
    if (assets.Open(kAssetFolder)) return true;
    std::string folder = os::AbsolutePath(kAssetFolder);
    DebugLog("Error: the game's asset folder %s does not exist", folder.c_str());
    Complain("cannot start: the game's asset folder " + folder +
             " does not exist (start the program from its own folder, or give -wd=FOLDER)");
    return false;
}

bool TDriver::AllowsSeveral() const {
    return mSwitches.multiple || mSwitches.parentGiven || (mFlags & 0xff) == 1;
}

bool TDriver::CheckSingleInstance() {
    if (AllowsSeveral()) return true;
    return mInstance.Acquire(os::SingleInstanceText(mFolders.executablePath.c_str())) !=
           os::SingleInstance::Result::kAnother;
}

void TDriver::FillSetup() {
    mSetup.commandLine = mCommandLine;
    mSetup.utf8Mode = GetSettingBool(kSettingUtf8Mode);
    mSetup.embedded = mSwitches.parentGiven || mSwitches.axtest;
    mSetup.axtest = mSwitches.axtest;
    if (mSwitches.parentGiven) {
        mSetup.externalParent = mSwitches.parentWindow;
        SetSetting("activex", "1");
    }
    ReadVersion(mSetup);
}

// The data folders and the log, both skipped when embedded without "-pq=";
// then "-wd=", whose line the new log already holds.
void TDriver::SetUpFolders() {
    if (!mSetup.embedded || IsHostedMode(mCommandLine)) {
        SetUpDataFolders(mFolders, mSetup.gameName);
        SetLogFolder(mFolders.userFolder.c_str());
    }
    if (mSwitches.workingFolderGiven && !SwitchWorkingFolder(mSwitches.workingFolder)) {
        Complain(std::string("cannot switch to the folder ") + mSwitches.workingFolder.c_str() +
                 "; the working folder stays " + os::WorkingFolder());
    }
    if (!AllowsSeveral() && !mInstance.IsHeld()) {
        DebugLog("EngineMain: no single-instance lock at %s; other copies are not kept out", mInstance.LockPath().c_str());
    }
    mSetup.userFolder = mFolders.userFolder;
    mSetup.commonFolder = mFolders.commonFolder;
    mSetup.desktopFolder = mFolders.desktopFolder;
}

void TDriver::RunGame(TGameMainFunction gameMain) {
    auto data = std::make_unique<TPlatformData>(mSetup, std::make_unique<window::SdlWindow>());
    data->SetDisplayDevice(std::make_unique<display::GlDevice>());
    // The cursor thread starts last of the platform data and stops first.
    TCursorThread cursorThread;
    auto platform = std::make_unique<TPlatform>(std::move(data));
    platform->OpenWindow();
    // The window system tells the desktop's size only once it is up.
    if (TDxDisplayHandler* display = TDxDisplayHandler::GetInstance()) display->UpdateDesktopMode();
    if (mSwitches.axtest) SetSetting("activex", "1");
    if (mInstance.IsHeld()) platform->AddTask(new TKnockTask(mInstance, platform->GetData().GetWindow()));
    if (!platform->StartSound()) DebugLog("EngineMain: the game runs without sound");
    TRenderer::GetInstance()->SetStatsOverlay(std::make_unique<TTextLayoutOverlay>());
    StoreCommandLineSettings();
    if (IsHostedMode(mCommandLine)) InstallMsnHandler();
    LoadHostLibraries();
    ReportToGameState();
    gameMain(platform.get(), mCommandLine);
    mHarness.PostQuit();
    cursorThread.Stop();
    platform.reset();
}

void TDriver::StoreCommandLineSettings() {
    TString installKey = mFolders.executableFolder;
    installKey.ToLower();
    SetSetting(kSettingInstallKey, installKey);
    SetSetting("startupdir", mFolders.startupFolder);
    if (mSwitches.cheatCodeGiven) SetSetting(kSettingCheatCode, mSwitches.cheatCode);
    for (const auto& [key, value] : mSwitches.options) SetSetting(key, value);
}

void TDriver::ReportToGameState() {
    TGameState* state = TGameState::Get();
    if (!state) return;
    state->SetState("cmdline", mCommandLine);
    state->SetState("commondatadir", mFolders.commonFolder);
    state->SetState("userdatadir", mFolders.userFolder);
}

}  // namespace

int EngineMain(int argc, const char* const* argv, TGameMainFunction gameMain, int flags) {
    TDriver driver(argc, argv, flags);
    return driver.Run(gameMain);
}
