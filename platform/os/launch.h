// Starting another program with one argument, never through a shell. Code
// calls LaunchProgram; tests replace the launcher with a recording one.
#pragma once

#include <string>
#include <vector>

namespace os {

class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts the program (searched on PATH when it has no '/') with the
    // argument as its one argument; false when it cannot be started.
    virtual bool Launch(const std::string& program, const std::string& argument) = 0;
};

// posix_spawnp; a thread of its own waits for each child, so none is left a zombie.
class SpawnLauncher : public Launcher {
public:
    bool Launch(const std::string& program, const std::string& argument) override;
};

// Starts nothing and keeps what it was asked.
class RecordingLauncher : public Launcher {
public:
    struct Call {
        std::string program;
        std::string argument;
    };

    bool Launch(const std::string& program, const std::string& argument) override;

    std::vector<Call> calls;
    bool result = true;
};

// The current launcher: the spawning one unless replaced.
Launcher& CurrentLauncher();
// Replaces the current launcher (not owned); null restores the spawning one.
void SetCurrentLauncher(Launcher* launcher);
// Shorthand for CurrentLauncher().Launch(program, argument).
bool LaunchProgram(const std::string& program, const std::string& argument);

}  // namespace os
