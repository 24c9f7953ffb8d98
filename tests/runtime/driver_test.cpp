#include "runtime/driver.h"
#include "graphics/render/renderer.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/app/gamestate.h"
#include "core/app/msnzylomhandler.h"
#include "core/app/platformevent.h"
#include "runtime/platform.h"
#include "foundation/settings.h"
#include "platform/os/library.h"
#include "platform/os/paths.h"
#include "platform/os/programpath.h"
#include "platform/os/singleinstance.h"
#include "tests/core/app/handlermodule.h"
#include "tests/support/tempfolder.h"

namespace {

// What the test's main routine found.
struct Seen {
    bool ran = false;
    std::string commandLine;
    std::string stateCommandLine;
    std::string userDataDir;
    std::string installKey;
    std::string startupDir;
    std::string cheatCode;
    std::string extra;
    std::string activex;
    std::string workingFolder;
    bool statsOverlay = false;
};

Seen gSeen;

std::string SettingOf(const char* key) {
    return GetSetting(key, "(none)").c_str();
}

int TestMain(TPlatform* platform, const TString& commandLine) {
    gSeen.ran = platform == TPlatform::GetInstance() && platform != nullptr;
    gSeen.commandLine = commandLine.c_str();
    TGameState* state = TGameState::Get();
    gSeen.stateCommandLine = state ? state->GetState("cmdline").c_str() : "";
    gSeen.userDataDir = state ? state->GetState("userdatadir").c_str() : "";
    gSeen.installKey = SettingOf(kSettingInstallKey);
    gSeen.startupDir = SettingOf("startupdir");
    gSeen.cheatCode = SettingOf(kSettingCheatCode);
    gSeen.extra = SettingOf("extra");
    gSeen.activex = SettingOf("activex");
    gSeen.workingFolder = os::WorkingFolder();
    gSeen.statsOverlay = TRenderer::GetInstance()->GetStatsOverlay() != nullptr;
    platform->PostQuit(0);
    TPlatformEvent event;
    do platform->GetEvent(event);
    while (event.type != TPlatformEvent::kQuit);
    return 1;
}

size_t ThreadCount() {
    size_t count = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (dirent* entry = readdir(tasks)) count += entry->d_name[0] != '.';
        closedir(tasks);
    }
    return count;
}

std::string ReadFile(const std::string& path) {
    std::string bytes;
    if (FILE* file = fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t count;
        while ((count = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
        fclose(file);
    }
    return bytes;
}

std::string Lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

struct DriverTest : ::testing::Test {
    DriverTest() {
        os::MakeFolderTree(temp / "run");
        // Without an asset folder the driver would not start the game.
        os::MakeFolderTree(temp / "work/assets");
        symlink(HANDLER_MODULE, (temp / "work/host.qmmod").c_str());
        temp.Write("work/broken.qmmod", "not a library");
    }
    ~DriverTest() override {
        os::ChangeWorkingFolder(before);
        ResetPortalState();
    }

    int Run(const std::vector<std::string>& arguments, int flags = 0) {
        gSeen = Seen();
        std::vector<const char*> argv{"driver_test"};
        for (const std::string& argument : arguments) argv.push_back(argument.c_str());
        return EngineMain(static_cast<int>(argv.size()), argv.data(), TestMain, flags);
    }

    std::string before = os::WorkingFolder();
    TempFolder temp;
    ScopedEnv video{"SDL_VIDEODRIVER", "offscreen"};
    ScopedEnv audio{"SDL_AUDIODRIVER", "dummy"};
    ScopedEnv home{"HOME", temp.Path()};
    ScopedEnv data{"XDG_DATA_HOME", temp / "data"};
    ScopedEnv runtime{"XDG_RUNTIME_DIR", temp / "run"};
};

TEST_F(DriverTest, RunsTheGameAndLeavesNothingBehindForTheNextRun) {
    os::Library module;
    ASSERT_TRUE(module.Open(temp / "work/host.qmmod")) << module.Error();
    auto recordOf = reinterpret_cast<HandlerModuleRecordFunction>(module.Symbol("HandlerModuleRecordOf"));
    ASSERT_NE(recordOf, nullptr);
    const std::string userFolder = temp / "data/Quenmarth/vandermoot";
    const std::string exeFolder = os::FolderOf(os::ExecutablePath());
    const size_t threads = ThreadCount();

    const std::string work = "-wd=" + temp / "work";
    EXPECT_EQ(Run({work, "--cheat=abc", "options=extra=1"}), 0);
    ASSERT_TRUE(gSeen.ran);
    EXPECT_EQ(gSeen.commandLine, work + " --cheat=abc options=extra=1");
    // Read through the host library's handler, which marks what it reads.
    EXPECT_EQ(gSeen.stateCommandLine, "module:" + gSeen.commandLine);
    EXPECT_EQ(gSeen.userDataDir, "module:" + userFolder);
    EXPECT_EQ(gSeen.installKey, Lowered(exeFolder));
    EXPECT_EQ(gSeen.startupDir, before);
    EXPECT_EQ(gSeen.cheatCode, "abc");
    EXPECT_EQ(gSeen.extra, "1");
    EXPECT_EQ(gSeen.workingFolder, temp / "work");
    EXPECT_TRUE(gSeen.statsOverlay);
    // The host library was let go with the platform.
    EXPECT_EQ(recordOf()->created, 1);
    EXPECT_EQ(recordOf()->destroyed, 1);
    std::string log = ReadFile(userFolder + "/logfile.txt");
    EXPECT_NE(log.find("vandermoot, version "), std::string::npos) << log;
    EXPECT_NE(log.find("Switching current directory to: " + temp / "work"), std::string::npos) << log;
    EXPECT_NE(log.find("broken.qmmod"), std::string::npos) << log;

    EXPECT_EQ(TPlatform::GetInstance(), nullptr);
    EXPECT_EQ(TGameState::Current(), nullptr);
    EXPECT_EQ(SettingOf(kSettingInstallKey), "(none)");
    EXPECT_EQ(ThreadCount(), threads);
    os::SingleInstance lock;
    EXPECT_EQ(lock.Acquire(os::SingleInstanceText(os::ExecutablePath())), os::SingleInstance::Result::kFirst);
    lock.Release();

    EXPECT_EQ(Run({work}), 0);
    ASSERT_TRUE(gSeen.ran);
    EXPECT_EQ(gSeen.commandLine, work);
    EXPECT_EQ(gSeen.cheatCode, "(none)");
    EXPECT_EQ(gSeen.extra, "(none)");
    EXPECT_EQ(recordOf()->created, 2);
    EXPECT_EQ(recordOf()->destroyed, 2);
    EXPECT_EQ(ThreadCount(), threads);
}

TEST_F(DriverTest, ASecondCopyOfTheSameProgramEndsAtOnce) {
    os::SingleInstance first;
    ASSERT_EQ(first.Acquire(os::SingleInstanceText(os::ExecutablePath())), os::SingleInstance::Result::kFirst);
    EXPECT_EQ(Run({"-wd=" + temp / "work"}), 0);
    EXPECT_FALSE(gSeen.ran);
    EXPECT_TRUE(first.PollKnock());

    // Several copies may run when asked.
    EXPECT_EQ(Run({"--multiple", "-wd=" + temp / "work"}), 0);
    EXPECT_TRUE(gSeen.ran);
    EXPECT_EQ(Run({"-wd=" + temp / "work"}, 0x101), 0);
    EXPECT_TRUE(gSeen.ran);
}

TEST_F(DriverTest, EmbeddedRunsKeepTheirDataBesideTheProgramAndWriteNoLog) {
    const std::string exeFolder = os::FolderOf(os::ExecutablePath());
    const std::string log = temp / "data/Quenmarth/vandermoot/logfile.txt";
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    const struct {
        std::string parent;
        bool hosted;
    } cases[] = {
        {TString::Format("-wnd=%x", ends[0]).c_str(), false},
        {"--axtest", false},
        {"--axtest -pq=1", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run({c.parent, "-wd=" + temp / "work"}), 0) << c.parent;
        ASSERT_TRUE(gSeen.ran) << c.parent;
        EXPECT_EQ(gSeen.activex, "1") << c.parent;
        EXPECT_EQ(gSeen.workingFolder, temp / "work") << c.parent;
        if (c.hosted) {
            EXPECT_EQ(gSeen.userDataDir, "module:" + temp / "data/Quenmarth/vandermoot") << c.parent;
            EXPECT_NE(ReadFile(log), "") << c.parent;
        } else {
            EXPECT_EQ(gSeen.userDataDir, "module:" + exeFolder) << c.parent;
            EXPECT_EQ(ReadFile(log), "") << c.parent;
        }
    }
    // The platform's host channel owned the parent's end and closed it.
    close(ends[1]);
}

TEST_F(DriverTest, AParentWindowThatIsNotThereEndsTheRun) {
    for (const char* parent : {"-wnd=0", "-wnd=zz", "-wnd=7fff0000"}) {
        EXPECT_EQ(Run({parent}), -1) << parent;
        EXPECT_FALSE(gSeen.ran) << parent;
    }
}

}  // namespace
