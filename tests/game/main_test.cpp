// The game program run as a process, headless.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/host/recordreader.h"
#include "platform/os/singleinstance.h"
#include "tests/support/tempfolder.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

// A started program; killed when the test ends before it did.
class Process {
public:
    // Standard output and error go to the files given, else where the test's go.
    Process(const std::string& program, const std::vector<std::string>& arguments,
            const std::vector<std::string>& environment, const std::string& outputPath = "",
            const std::string& errorPath = "") {
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        std::vector<std::string> variables = environment;
        for (char** entry = environ; *entry; ++entry) variables.push_back(*entry);
        std::vector<char*> envp;
        for (std::string& variable : variables) envp.push_back(variable.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const int flags = O_WRONLY | O_CREAT | O_TRUNC;
        if (!outputPath.empty()) posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), flags, 0644);
        if (!errorPath.empty()) posix_spawn_file_actions_addopen(&actions, 2, errorPath.c_str(), flags, 0644);
        if (posix_spawn(&mPid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) mPid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Process() {
        if (mPid <= 0) return;
        kill(mPid, SIGKILL);
        waitpid(mPid, nullptr, 0);
    }

    bool Started() const { return mPid > 0; }
    // The exit code, or -1 when it has not ended within the time (or was killed).
    int Wait(std::chrono::milliseconds limit) {
        auto end = std::chrono::steady_clock::now() + limit;
        while (mPid > 0 && std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (waitpid(mPid, &status, WNOHANG) == mPid) {
                mPid = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(5ms);
        }
        return -1;
    }
    bool Running() { return mPid > 0 && waitpid(mPid, nullptr, WNOHANG) == 0; }
    void Terminate() { kill(mPid, SIGTERM); }
    void Signal(int number) { kill(mPid, number); }

private:
    pid_t mPid = -1;
};

struct ProgramTest : ::testing::Test {
    ProgramTest() {
        temp.Write("quit/assets/scripts/mainloop.lua", "PostMessage(CreateNamedMessage(5, \"quit\")) -- kQuitNow\n");
        temp.Write("stay/assets/scripts/mainloop.lua", "-- the first screen stays until the program ends\n");
        temp.Write("loop/assets/scripts/mainloop.lua", "while true do end -- never returns to the game's loop\n");
        std::filesystem::create_directories(temp / "run");
    }

    // Each run writes its log below a data folder of its own.
    std::vector<std::string> Environment(const std::string& data) const {
        return {"XDG_DATA_HOME=" + temp / data, "XDG_RUNTIME_DIR=" + temp / "run", "HOME=" + temp.Path(),
                "SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"};
    }
    std::string LogOf(const std::string& data) const { return temp.Read(data + "/Quenmarth/vandermoot/logfile.txt"); }
    // True once the run's log holds its start-up line.
    bool WaitForStart(const std::string& data) const { return WaitForLogLine(data, ", version "); }

    // The display is made, the last slow step before the game's loop.
    bool WaitForDisplay(const std::string& data) const { return WaitForLogLine(data, "D3DDESC: "); }

    bool WaitForLogLine(const std::string& data, const char* text) const {
        for (int i = 0; i < 1000; ++i) {
            if (LogOf(data).find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }

    TempFolder temp;
};

TEST_F(ProgramTest, AParentWindowOfZeroEndsWith255) {
    Process run(VANDERMOOT_EXE, {"--multiple", "-wnd=0"}, Environment("data"));
    ASSERT_TRUE(run.Started());
    EXPECT_EQ(run.Wait(10s), 255);
    EXPECT_EQ(LogOf("data"), "");
}

TEST_F(ProgramTest, AFirstScreenThatQuitsEndsTheRunWith0) {
    Process run(VANDERMOOT_EXE, {"--multiple", "-wd=" + temp / "quit"}, Environment("data"));
    ASSERT_TRUE(run.Started());
    EXPECT_EQ(run.Wait(10s), 0);
    std::string log = LogOf("data");
    EXPECT_NE(log.find("vandermoot, version "), std::string::npos) << log;
}

TEST_F(ProgramTest, ASecondStartOfTheSameProgramEndsWhileTheFirstRuns) {
    Process first(VANDERMOOT_EXE, {"-wd=" + temp / "stay"}, Environment("first"));
    ASSERT_TRUE(WaitForStart("first"));
    Process second(VANDERMOOT_EXE, {"-wd=" + temp / "stay"}, Environment("second"));
    EXPECT_EQ(second.Wait(10s), 0);
    EXPECT_EQ(LogOf("second"), "") << "the second start ends before it opens a log";
    EXPECT_TRUE(first.Running());

    // With "--multiple" both run.
    Process third(VANDERMOOT_EXE, {"--multiple", "-wd=" + temp / "stay"}, Environment("third"));
    EXPECT_TRUE(WaitForStart("third"));
    EXPECT_TRUE(third.Running());
    EXPECT_TRUE(first.Running());
}

// The lines of a text that start with the program's name.
std::vector<std::string> ProgramLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (line.rfind("vandermoot: ", 0) == 0) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

TEST_F(ProgramTest, WithoutAssetsTheRunStopsAtOnceNamingTheFolderItLookedIn) {
    std::filesystem::create_directories(temp / "empty");
    Process run(VANDERMOOT_EXE, {"-wd=" + temp / "empty"}, Environment("data"), "", temp / "stderr.txt");
    ASSERT_TRUE(run.Started());
    EXPECT_EQ(run.Wait(10s), 1);
    std::vector<std::string> lines = ProgramLines(temp.Read("stderr.txt"));
    ASSERT_EQ(lines.size(), 1u) << temp.Read("stderr.txt");
    EXPECT_NE(lines[0].find(temp / "empty/assets"), std::string::npos) << lines[0];
    std::string log = LogOf("data");
    EXPECT_NE(log.find(temp / "empty/assets"), std::string::npos) << log;
    // The lock went with the run.
    ScopedEnv runtime("XDG_RUNTIME_DIR", temp / "run");
    char* path = realpath(VANDERMOOT_EXE, nullptr);
    os::SingleInstance lock;
    EXPECT_EQ(lock.Acquire(os::SingleInstanceText(path)), os::SingleInstance::Result::kFirst);
    free(path);
}

TEST_F(ProgramTest, HelpPrintsTheOptionsAndEnds) {
    Process run(VANDERMOOT_EXE, {"--help"}, Environment("data"), temp / "stdout.txt");
    ASSERT_TRUE(run.Started());
    EXPECT_EQ(run.Wait(10s), 0);
    std::string help = temp.Read("stdout.txt");
    for (const char* option : {"--help", "--version", "--multiple", "-wd=FOLDER", "options=KEY=VALUE&KEY=VALUE",
                               "--cheat", "-wnd=", "--axtest", "-pq=", "-host=", "-msn", "-zylom"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(LogOf("data"), "") << "nothing starts";
}

TEST_F(ProgramTest, AnUnknownOptionOrAMissingWorkingFolderGetsOneLineAndTheRunGoesOn) {
    const struct {
        std::vector<std::string> arguments;
        const char* said;
    } cases[] = {
        {{"--multiple", "--bogus", "-wd=" + temp / "quit"}, "unknown option --bogus"},
        {{"--multiple", "stray", "--cheat", "code", "options=a=1&b=2", "-wd=" + temp / "quit"}, "unknown option stray"},
        // The run stays in the program's own folder, whose game starts.
        {{"--multiple", "-wd=" + temp / "absent"}, "cannot switch to the folder "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        std::filesystem::remove_all(temp / "data");
        Process run(VANDERMOOT_EXE, c.arguments, Environment("data"), "", temp / "stderr.txt");
        ASSERT_TRUE(WaitForStart("data"));
        run.Signal(SIGTERM);
        // A run still starting a second after the signal (a loaded machine)
        // ends by the signal's grace instead of its own quit.
        int code = run.Wait(10s);
        EXPECT_TRUE(code == 0 || code == 128 + SIGTERM) << code;
        std::vector<std::string> lines = ProgramLines(temp.Read("stderr.txt"));
        ASSERT_EQ(lines.size(), 1u) << temp.Read("stderr.txt");
        EXPECT_NE(lines[0].find(c.said), std::string::npos) << lines[0];
    }
}

TEST_F(ProgramTest, SigtermAndSigintEndTheRunAlsoWhenAScriptNeverReturns) {
    const struct {
        const char* folder;
        std::vector<int> signals;
        int exitCode;
    } cases[] = {
        // The game's loop reads the request as a quit and leaves normally.
        {"stay", {SIGTERM}, 0},
        {"stay", {SIGINT}, 0},
        // A script that never returns: the run ends after its grace time...
        {"loop", {SIGTERM}, 128 + SIGTERM},
        {"loop", {SIGINT}, 128 + SIGINT},
        // ...or at once on a second signal, which names the code.
        {"loop", {SIGINT, SIGTERM}, 128 + SIGTERM},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + " " + std::to_string(c.signals.front()) + " x" +
                     std::to_string(c.signals.size()));
        std::filesystem::remove_all(temp / "data");
        Process run(VANDERMOOT_EXE, {"--multiple", "-wd=" + temp / c.folder}, Environment("data"));
        // Signalled while it still starts, a loaded machine could take the
        // grace time to reach the loop that reads the request.
        ASSERT_TRUE(WaitForDisplay("data"));
        std::this_thread::sleep_for(100ms);
        for (int number : c.signals) {
            run.Signal(number);
            // Signals pending together are taken in the system's order.
            std::this_thread::sleep_for(50ms);
        }
        EXPECT_EQ(run.Wait(10s), c.exitCode);
    }
}

// An X server of the test's own, when the system has one to start.
class XServer {
public:
    explicit XServer(const TempFolder& temp)
        : mServer("/usr/bin/Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"}, {},
                  temp / "xvfb.txt") {
        for (int i = 0; i < 500 && mName.empty(); ++i) {
            std::string number = temp.Read("xvfb.txt");
            if (!number.empty() && number.back() == '\n') mName = ":" + number.substr(0, number.size() - 1);
            std::this_thread::sleep_for(10ms);
        }
    }

    // Empty when the server did not come up.
    const std::string& Name() const { return mName; }

private:
    Process mServer;
    std::string mName;
};

// Every top-level window on the server, of whichever program.
std::vector<Window> TopLevelWindows(Display* display) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    std::vector<Window> windows;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) && children) {
        windows.assign(children, children + count);
        XFree(children);
    }
    return windows;
}

TEST_F(ProgramTest, AWindowLostToTheWindowSystemEndsTheRunNormally) {
    if (access("/usr/bin/Xvfb", X_OK) != 0) GTEST_SKIP() << "no Xvfb to run an X server";
    const struct {
        const char* how;
        void (*lose)(Display*, Window);
    } cases[] = {
        {"destroyed by another program", [](Display* d, Window w) { XDestroyWindow(d, w); }},
        {"its connection cut", [](Display* d, Window w) { XKillClient(d, w); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        XServer server(temp);
        ASSERT_FALSE(server.Name().empty());
        std::filesystem::remove_all(temp / "data");
        std::vector<std::string> environment{"DISPLAY=" + server.Name(), "SDL_VIDEODRIVER=x11"};
        for (const std::string& variable : Environment("data")) environment.push_back(variable);
        Process run(VANDERMOOT_EXE, {"--multiple", "-wd=" + temp / "stay"}, environment);
        ASSERT_TRUE(WaitForStart("data"));
        Display* display = XOpenDisplay(server.Name().c_str());
        ASSERT_NE(display, nullptr);
        // The program makes and drops windows of its own meanwhile: one
        // already gone is no failure of the test.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        for (int i = 0; i < 500 && TopLevelWindows(display).empty(); ++i) std::this_thread::sleep_for(10ms);
        // The window system's libraries may make passing windows of their
        // own first; the game's window has come, and been drawn into, by now.
        std::this_thread::sleep_for(500ms);
        std::vector<Window> windows = TopLevelWindows(display);
        ASSERT_FALSE(windows.empty());
        for (Window window : windows) c.lose(display, window);
        XSync(display, False);
        XCloseDisplay(display);
        EXPECT_EQ(run.Wait(10s), 0);
        std::string log = LogOf("data");
        EXPECT_NE(log.find("The window system lost the game's window"), std::string::npos) << log;
    }
}

TEST_F(ProgramTest, AHarnessBesideTheProgramRewritesItsCommandLine) {
    // A copy of the program with the harness beside it, seen by no other run.
    std::filesystem::create_directories(temp / "bin");
    std::filesystem::copy_file(VANDERMOOT_EXE, temp / "bin/vandermoot");
    std::filesystem::copy_file(HARNESS_MODULE, temp / "bin/qmHarness.so");
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    std::vector<std::string> environment = Environment("data");
    environment.push_back("HARNESS_COMMAND_LINE=--multiple -wd=" + temp / "quit");
    environment.push_back("HARNESS_WINDOW=" + std::to_string(ends[0]));

    // Left as it is, "-wnd=0" would end the run with 255.
    Process run(temp / "bin/vandermoot", {"-wnd=0"}, environment);
    EXPECT_EQ(run.Wait(10s), 0);
    uint8_t bytes[host::kRecordSize];
    ASSERT_EQ(recv(ends[1], bytes, sizeof bytes, MSG_DONTWAIT), static_cast<ssize_t>(sizeof bytes));
    host::RecordReader reader;
    reader.Feed(bytes, sizeof bytes);
    host::Record record;
    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(record.message, 0x12u);
    close(ends[0]);
    close(ends[1]);
}

}  // namespace
