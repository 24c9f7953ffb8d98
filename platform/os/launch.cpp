#include "platform/os/launch.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <thread>

extern char** environ;

namespace os {

namespace {

SpawnLauncher gSpawnLauncher;
std::atomic<Launcher*> gCurrentLauncher{&gSpawnLauncher};

void Reap(pid_t child) {
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

bool SpawnLauncher::Launch(const std::string& program, const std::string& argument) {
    if (program.empty()) return false;
    // posix_spawnp's argv is not const; the strings outlive the call.
    std::string programCopy = program;
    std::string argumentCopy = argument;
    char* argv[] = {programCopy.data(), argumentCopy.data(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
    // The browser may run for as long as the game; its exit must not leave a zombie.
    std::thread(Reap, child).detach();
    return true;
}

bool RecordingLauncher::Launch(const std::string& program, const std::string& argument) {
    calls.push_back({program, argument});
    return result;
}

Launcher& CurrentLauncher() {
    return *gCurrentLauncher.load();
}

void SetCurrentLauncher(Launcher* launcher) {
    gCurrentLauncher.store(launcher ? launcher : &gSpawnLauncher);
}

bool LaunchProgram(const std::string& program, const std::string& argument) {
    return CurrentLauncher().Launch(program, argument);
}

}  // namespace os
